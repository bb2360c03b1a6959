#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/SaverSettings.h"

namespace {

struct TempFolder {
    std::string path = [] {
        char pattern[] = "/tmp/arcveil-settings-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    ~TempFolder() { std::filesystem::remove_all(path); }
    // Everything under the folder, one path a line, to see what is left behind.
    std::string Tree() const
    {
        std::set<std::string> entries;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
            entries.insert("." + entry.path().string().substr(path.size()) + "\n");
        return std::accumulate(entries.begin(), entries.end(), std::string());
    }
};

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace

TEST_CASE("the file's place does not follow the program's name; the old places do")
{
    // A relative or empty XDG_CONFIG_HOME is ignored, as the XDG rule says.
    CHECK(SettingsFilePath("/cfg", "/home/u") == std::string("/cfg/arcveil3d/settings.ini"));
    CHECK(SettingsFilePath("relative", "/home/u") == std::string("/home/u/.config/arcveil3d/settings.ini"));
    CHECK_FALSE(SettingsFilePath("", "").has_value());
    CHECK(OldSettingsFilePaths("/c", nullptr, "/usr/bin/storm.bin") ==
          std::vector<std::string>{"/c/Quenmoor Soft./storm/settings.ini", "/c/Quenmoor Soft./arcveil3d/settings.ini"});
}

TEST_CASE("reading: good values apply, each bad line is named once in one warning, the file stays as it is")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    const std::string contents = "# comment\n; another\nWidth=800\n[Other]\nRain=5\n[Arcveil3D]\n  Rain = 0 \nHeight=tall\n"
                                 "Cross=2\nnot a setting\nDepth=99999999999\nDepth=24\r\nSounds=1\n\x01\xff\n";
    WriteText(path, contents);
    CFileProfileStore store(path);
    SettingsRecord settings = LinuxDefaultSettings();
    ReadSettingsFile(store, settings);
    const SettingsRecord expected {640, 480, 24, 0, 1, 1, 1, 0, 1}; // the last Depth wins
    for (const auto& descriptor : kSettingDescriptors) {
        INFO(descriptor.name);
        CHECK(settings.*descriptor.field == expected.*descriptor.field);
    }
    CHECK(store.WarningLine() ==
          "arcveil3d: warning: " + path + ": line 3 'Width=800' is not NAME=VALUE under a [section]; "
          "line 8 'Height=tall' is not a whole number; line 9 'Cross=2' is outside 0 to 1; "
          "line 10 'not a setting' is not NAME=VALUE under a [section]; "
          "line 14 '?\?' is not NAME=VALUE under a [section]; the defaults stand for what cannot be read\n");
    CHECK(ReadText(path) == contents);
    // A missing file is a first run; a folder in its place cannot be read.
    CHECK(CFileProfileStore(folder.path + "/none/settings.ini").WarningLine().empty());
    CHECK(CFileProfileStore(folder.path).WarningLine().find(": cannot be read;") != std::string::npos);
}

TEST_CASE("writes reach the file once, at Commit, through a new file renamed over the old one")
{
    TempFolder folder;
    const std::string path = folder.path + "/a/settings.ini";
    REQUIRE(WriteFileAtomically(path, "[Other]\nKeep=1\n").empty());
    struct stat before {};
    REQUIRE(stat(path.c_str(), &before) == 0);
    CHECK((before.st_mode & 0777) == 0600);
    CFileProfileStore store(path);
    WriteSettings(store, LinuxDefaultSettings());
    CHECK(ReadText(path) == "[Other]\nKeep=1\n");
    REQUIRE(store.Commit());
    struct stat after {};
    REQUIRE(stat(path.c_str(), &after) == 0);
    CHECK(after.st_ino != before.st_ino); // written in place, it would keep its inode
    CHECK(ReadText(path).find("[Other]\nKeep=1\n[Arcveil3D]\nWidth=640\nHeight=480\nDepth=16\nDesktop=0\nSounds=0\n") !=
          std::string::npos);

    // A rename cannot replace a folder, and a file blocks a folder: nothing is left behind.
    CFileProfileStore blocked(folder.path + "/a");
    CHECK_FALSE(blocked.Commit());
    CHECK(blocked.CommitError() == "Is a directory");
    CHECK(WriteFileAtomically(path + "/x.ini", "x") == "Not a directory");
    CHECK(folder.Tree() == "./a\n./a/settings.ini\n");
}

TEST_CASE("the first old file there is moves, once; one that cannot be moved is read where it is")
{
    TempFolder folder;
    const std::string path = folder.path + "/new/settings.ini";
    const std::vector<std::string> old = {folder.path + "/a/settings.ini", folder.path + "/b/settings.ini"};
    REQUIRE(WriteFileAtomically(old[1], "Cross=0\n").empty());
    std::string warning;
    CHECK(MoveOldSettingsFile(path, old, warning) == path);
    CHECK(ReadText(path) == "Cross=0\n");
    CHECK(folder.Tree() == "./new\n./new/settings.ini\n");
    REQUIRE(WriteFileAtomically(old[0], "Rain=0\n").empty());
    CHECK(MoveOldSettingsFile(path, old, warning) == path);
    CHECK(ReadText(path) == "Cross=0\n");
    CHECK(warning.empty());
    CHECK(MoveOldSettingsFile(path + "/x.ini", {old[0]}, warning) == old[0]);
    CHECK(warning.find("could not be moved to " + path + "/x.ini (Not a directory)") != std::string::npos);
}
