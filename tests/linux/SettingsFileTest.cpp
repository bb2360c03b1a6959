#include <doctest/doctest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/SaverSettings.h"

namespace {

struct TempFolder {
    std::string path;
    TempFolder()
    {
        char pattern[] = "/tmp/arcveil-settings-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
    // The folder's tree, one path a line, for comparing what is left behind.
    std::string Tree() const
    {
        std::string tree;
        if (FILE* list = popen(("cd '" + path + "' && find . | sort").c_str(), "r")) {
            char buffer[256];
            while (fgets(buffer, sizeof buffer, list))
                tree += buffer;
            pclose(list);
        }
        return tree;
    }
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

} // namespace

TEST_CASE("the file's place does not follow the program's name; the old places do")
{
    CHECK(SettingsFilePath("/cfg", "/home/u") == std::string("/cfg/arcveil3d/settings.ini"));
    // A relative or empty XDG_CONFIG_HOME is ignored, as the XDG rule says.
    CHECK(SettingsFilePath("relative", "/home/u") == std::string("/home/u/.config/arcveil3d/settings.ini"));
    CHECK(SettingsFilePath("", "/home/u") == std::string("/home/u/.config/arcveil3d/settings.ini"));
    CHECK_FALSE(SettingsFilePath(nullptr, "").has_value());
    CHECK(OldSettingsFilePaths("/cfg", nullptr, "/usr/bin/storm.bin") ==
          std::vector<std::string>{"/cfg/Quenmoor Soft./storm/settings.ini", "/cfg/Quenmoor Soft./arcveil3d/settings.ini"});
    CHECK(OldSettingsFilePaths(nullptr, "/h", "arcveil3d") ==
          std::vector<std::string>{"/h/.config/Quenmoor Soft./arcveil3d/settings.ini"});
}

TEST_CASE("reading: good values apply, each bad line is named once in one warning, the file is left as it is")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    const std::string contents = "# comment\nWidth=800\n[Other]\nRain=5\n[Arcveil3D]\n  Rain = 0 \nHeight=tall\n"
                                 "Cross=2\nnot a setting\nDepth=99999999999\nDepth=24\r\nSounds=1\n\x01\xff\n";
    WriteText(path, contents);
    CFileProfileStore store(path);
    SettingsRecord settings = LinuxDefaultSettings();
    ReadSettingsFile(store, settings);
    CHECK(settings.Rain == 0);
    CHECK(settings.Depth == 24); // the last of a name wins
    CHECK(settings.Sounds == 1);
    CHECK(settings.Width == 640);  // outside any section
    CHECK(settings.Height == 480); // not a number
    CHECK(settings.Cross == 1);    // out of range
    CHECK(settings.HighQuality == 1);
    const std::string warning = store.WarningLine();
    CHECK(warning == "arcveil3d: warning: " + path + ": line 2 'Width=800' is not NAME=VALUE under a [section]; "
                     "line 7 'Height=tall' is not a whole number; line 8 'Cross=2' is outside 0 to 1; "
                     "line 9 'not a setting' is not NAME=VALUE under a [section]; "
                     "line 13 '?\?' is not NAME=VALUE under a [section]; the defaults stand for what cannot be read\n");
    CHECK(ReadText(path) == contents);

    // A missing file is a first run; a folder in its place is one problem.
    CFileProfileStore missing(folder.path + "/none.ini");
    CHECK(missing.WarningLine().empty());
    mkdir((folder.path + "/dir.ini").c_str(), 0700);
    CHECK(CFileProfileStore(folder.path + "/dir.ini").WarningLine().find(": cannot be read;") != std::string::npos);
}

TEST_CASE("writes go to the file once, at Commit, through a new file renamed over the old one")
{
    TempFolder folder;
    const std::string path = folder.path + "/a/b/settings.ini";
    REQUIRE(WriteFileAtomically(path, "[Other]\nKeep=1\n[Arcveil3D]\nRain=1\n").empty());
    struct stat before {};
    REQUIRE(stat(path.c_str(), &before) == 0);
    CHECK((before.st_mode & 0777) == 0600);
    CFileProfileStore store(path);
    WriteSettings(store, LinuxDefaultSettings());
    CHECK(ReadText(path) == "[Other]\nKeep=1\n[Arcveil3D]\nRain=1\n");
    REQUIRE(store.Commit());
    struct stat after {};
    REQUIRE(stat(path.c_str(), &after) == 0);
    CHECK(after.st_ino != before.st_ino); // written in place would keep the inode
    CHECK(ReadText(path).find("[Other]\nKeep=1\n[Arcveil3D]\nRain=1\nWidth=640\n") != std::string::npos);
    CHECK(ReadText(path).find("Sounds=0\n") != std::string::npos);
    CHECK(folder.Tree() == ".\n./a\n./a/b\n./a/b/settings.ini\n");

    // A rename cannot replace a folder, and a file blocks a folder: nothing is left behind.
    mkdir((folder.path + "/dir.ini").c_str(), 0700);
    CFileProfileStore blocked(folder.path + "/dir.ini");
    CHECK_FALSE(blocked.Commit());
    CHECK(blocked.CommitError() == "Is a directory");
    CHECK(WriteFileAtomically(path + "/x.ini", "x") == "Not a directory");
    CHECK(folder.Tree() == ".\n./a\n./a/b\n./a/b/settings.ini\n./dir.ini\n");
}

TEST_CASE("an old file moves to the new place once, and its emptied folders go")
{
    TempFolder folder;
    const std::string path = folder.path + "/new/arcveil3d/settings.ini";
    const std::string company = folder.path + "/Quenmoor Soft.";
    const std::vector<std::string> old = {company + "/storm/settings.ini", company + "/arcveil3d/settings.ini"};
    mkdir(company.c_str(), 0700);
    mkdir((company + "/storm").c_str(), 0700);
    mkdir((company + "/arcveil3d").c_str(), 0700);
    WriteText(old[0], "[Arcveil3D]\nRain=0\n");
    WriteText(old[1], "[Arcveil3D]\nCross=0\n");
    std::string warning;
    CHECK(MoveOldSettingsFile(path, old, warning) == path);
    CHECK(ReadText(path) == "[Arcveil3D]\nRain=0\n");
    CHECK(warning.empty());
    // The other old file stays, with its folders; the moved one's folder is gone.
    CHECK(folder.Tree() == ".\n./Quenmoor Soft.\n./Quenmoor Soft./arcveil3d\n./Quenmoor Soft./arcveil3d/settings.ini\n"
                           "./new\n./new/arcveil3d\n./new/arcveil3d/settings.ini\n");
    // Once the new file exists, old files are never read again.
    CHECK(MoveOldSettingsFile(path, {old[1]}, warning) == path);
    CHECK(ReadText(path) == "[Arcveil3D]\nRain=0\n");

    // The last old file takes the company folder with it.
    unlink(path.c_str());
    CHECK(MoveOldSettingsFile(path, {old[1]}, warning) == path);
    CHECK(folder.Tree() == ".\n./new\n./new/arcveil3d\n./new/arcveil3d/settings.ini\n");

    // A new place that cannot be written: the old file is read where it is.
    const std::string stuck = folder.path + "/new/arcveil3d/settings.ini/settings.ini";
    CHECK(MoveOldSettingsFile(stuck, {path}, warning) == path);
    CHECK(warning.find("could not be moved to " + stuck + " (Not a directory)") != std::string::npos);
}
