#include <doctest/doctest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/Settings.h"
#include "linux/SettingsFile.h"

namespace {

struct TempFolder {
    std::string path;
    TempFolder()
    {
        char pattern[] = "/tmp/arcveil-settings-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
};

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> FolderEntries(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

int CountLines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace

TEST_CASE("the file lies in a folder named like the registry key")
{
    CHECK(SettingsFilePath("/cfg", "/home/u", "arcveil3d") == std::string("/cfg/Quenmoor Soft./arcveil3d/settings.ini"));
    CHECK(SettingsFilePath(nullptr, "/home/u", "arcveil3d") ==
          std::string("/home/u/.config/Quenmoor Soft./arcveil3d/settings.ini"));
    // A relative or empty XDG_CONFIG_HOME is ignored, as the XDG rule says.
    CHECK(SettingsFilePath("relative/cfg", "/home/u", "a") == std::string("/home/u/.config/Quenmoor Soft./a/settings.ini"));
    CHECK(SettingsFilePath("", "/home/u", "a") == std::string("/home/u/.config/Quenmoor Soft./a/settings.ini"));
    CHECK_FALSE(SettingsFilePath(nullptr, nullptr, "a").has_value());
    CHECK_FALSE(SettingsFilePath(nullptr, "", "a").has_value());

    // Another file name, other settings: the name without folder and extension.
    CHECK(ProgramNameFromPath("/usr/libexec/xscreensaver/arcveil3d") == "arcveil3d");
    CHECK(ProgramNameFromPath("./my.saver.bin") == "my.saver");
    CHECK(ProgramNameFromPath("storm") == "storm");
    CHECK(ProgramNameFromPath(".hidden") == ".hidden");
}

TEST_CASE("values of the file reach the record; missing ones take their defaults; no warning")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    WriteText(path, "# comment\n; another\n\n[Other]\nRain=5\n[Arcveil3D]\n  Rain = 0 \nWidth=1024\r\nCross=-3\n");
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Rain == 0);
    CHECK(settings.Width == 1024);
    CHECK(settings.Cross == -3);
    CHECK(settings.Height == 480);
    CHECK(settings.HighQuality == 1);
    CHECK(warnings.str().empty());
}

TEST_CASE("a missing file is a first run: defaults, no warning, nothing written")
{
    TempFolder folder;
    const std::string path = folder.path + "/Quenmoor Soft./arcveil3d/settings.ini";
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Width == 640);
    CHECK(settings.Sounds == 1);
    CHECK(warnings.str().empty());
    CHECK(FolderEntries(folder.path).empty());
}

TEST_CASE("a malformed file gives defaults for what cannot be read, with one warning")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    const std::string contents = "Width=800\n[Arcveil3D]\nthis is not a setting\nHeight=tall\nRain=0\nCross=1.5\n"
                                 "Depth=99999999999\n=7\n\x01\x02\xff\n";
    WriteText(path, contents);
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.Width == 640);  // outside any section
    CHECK(settings.Height == 480); // not an integer
    CHECK(settings.Cross == 1);
    CHECK(settings.Depth == 16);   // beyond 32 bits
    CHECK(settings.Rain == 0);     // the readable value still counts
    CHECK(CountLines(warnings.str()) == 1);
    CHECK(warnings.str().find(path) != std::string::npos);
    // Reading never repairs or rewrites the file.
    CHECK(ReadText(path) == contents);
    CHECK(FolderEntries(folder.path).size() == 1);
}

TEST_CASE("a file that cannot be read as one warns once and gives the defaults")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    mkdir(path.c_str(), 0700); // a folder where the file should be
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    SettingsRecord settings;
    ReadSettings(store, settings);
    CHECK(settings.HighQuality == 1);
    CHECK(CountLines(warnings.str()) == 1);
}

TEST_CASE("writing creates the folders and a file that reads back the same")
{
    TempFolder folder;
    const std::string path = folder.path + "/cfg/Quenmoor Soft./arcveil3d/settings.ini";
    std::ostringstream warnings;
    SettingsRecord written = DefaultSettings();
    written.Rain = 0;
    written.Width = -7;
    {
        CFileProfileStore store(path, warnings);
        WriteSettings(store, written);
        CHECK(store.FailedWrites() == 0);
    }
    CFileProfileStore again(path, warnings);
    SettingsRecord read;
    ReadSettings(again, read);
    CHECK(read.Rain == 0);
    CHECK(read.Width == -7);
    CHECK(read.HighQuality == 1);
    CHECK(warnings.str().empty());
    CHECK(ReadText(path).find("[Arcveil3D]\nWidth=-7\nHeight=480\n") != std::string::npos);
}

TEST_CASE("a write replaces the file through a new file and a rename, keeping other sections")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    WriteText(path, "[Other]\nKeep=1\n[Arcveil3D]\nRain=1\n");
    struct stat before {};
    REQUIRE(stat(path.c_str(), &before) == 0);
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    CHECK(store.WriteProfileInt("Arcveil3D", "Rain", 0));
    struct stat after {};
    REQUIRE(stat(path.c_str(), &after) == 0);
    // Writing in place would keep the inode; a rename brings a new one.
    CHECK(after.st_ino != before.st_ino);
    CHECK(FolderEntries(folder.path) == std::vector<std::string>{"settings.ini"});
    const std::string text = ReadText(path);
    CHECK(text.find("[Other]\nKeep=1\n") != std::string::npos);
    CHECK(text.find("[Arcveil3D]\nRain=0\n") != std::string::npos);
}

TEST_CASE("a refused write leaves the old file whole and no temporary file behind")
{
    TempFolder folder;
    // The rename cannot replace a folder: the write fails after the temporary is written.
    const std::string path = folder.path + "/settings.ini";
    mkdir(path.c_str(), 0700);
    std::ostringstream warnings;
    CFileProfileStore store(path, warnings);
    CHECK_FALSE(store.WriteProfileInt("Arcveil3D", "Rain", 0));
    CHECK(store.FailedWrites() == 1);
    CHECK(FolderEntries(folder.path) == std::vector<std::string>{"settings.ini"});

    // A folder that cannot be made (a file is in its way).
    const std::string blocked = folder.path + "/file";
    WriteText(blocked, "x");
    CFileProfileStore under(blocked + "/settings.ini", warnings);
    SettingsRecord settings = DefaultSettings();
    WriteSettings(under, settings);
    CHECK(under.FailedWrites() == 9);
    CHECK(ReadText(blocked) == "x");
}
