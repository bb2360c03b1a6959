#include <doctest/doctest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
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

TEST_CASE("reading: good values apply, the first five bad lines are named in one warning, the file stays as it is")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    const std::string contents = "# comment\n; another\nWidth=800\n[Other]\nRain=5\n[Arcveil3D]\n  Rain = 0 \nHeight=tall\n"
                                 "Cross=2\nnot a setting\r\r\nDepth=99999999999\nDepth=24\r\nSounds=1\n\x01\xff\nsixth\n";
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
          "line 10 'not a setting' is not NAME=VALUE under a [section]; line 14 '?\?' is not NAME=VALUE under a "
          "[section]; and 1 more; the defaults stand for what cannot be read\n");
    CHECK(ReadText(path) == contents);
    // A missing file is a first run (a folder in its place: the refusals below).
    CHECK(CFileProfileStore(folder.path + "/none/settings.ini").WarningLine().empty());
}

TEST_CASE("writes reach the file once, at Commit, through a new file renamed over the old one")
{
    TempFolder folder;
    const std::string path = folder.path + "/a/settings.ini";
    REQUIRE(WriteFileAtomically(path, "[Other]\nKeep=1\n").empty());
    CHECK(std::filesystem::status(path).permissions() == std::filesystem::perms(0600));
    const auto inode = [&path] { struct stat info {}; return stat(path.c_str(), &info) == 0 ? info.st_ino : 0; };
    const ino_t before = inode();
    CFileProfileStore store(path);
    WriteSettings(store, LinuxDefaultSettings());
    CHECK(ReadText(path) == "[Other]\nKeep=1\n");
    REQUIRE(store.Commit());
    CHECK(inode() != before); // written in place, it would keep its inode
    CHECK(ReadText(path).find("[Other]\nKeep=1\n[Arcveil3D]\nWidth=640\nHeight=480\nDepth=16\nDesktop=0\nSounds=0\n") !=
          std::string::npos);

    // A file blocks a folder, leaving nothing behind (a folder in the file's place: below).
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
    CHECK((MoveOldSettingsFile(path, old, warning) == path && ReadText(path) == "Cross=0\n"));
    CHECK(folder.Tree() == "./new\n./new/settings.ini\n");
    REQUIRE(WriteFileAtomically(old[0], "Rain=0\n").empty());
    CHECK((MoveOldSettingsFile(path, old, warning) == path && ReadText(path) == "Cross=0\n"));
    // The old file stays beside the new one, named once.
    CHECK(warning == "arcveil3d: warning: " + old[0] + " is no longer read: " + path + " is; the old file is kept\n");
    warning.clear();
    CHECK(MoveOldSettingsFile(path + "/x.ini", {old[0]}, warning) == old[0]);
    CHECK(warning.find("could not be moved to " + path + "/x.ini (Not a directory)") != std::string::npos);
}

namespace {

// read(2) that gives the first few bytes, then fails as a disk would.
int g_reads = 0;
ssize_t FailingRead(int fd, void* buffer, std::size_t size)
{
    errno = EIO;
    return g_reads++ > 0 ? -1 : ::read(fd, buffer, std::min<std::size_t>(size, 4));
}

struct ReadFailure {
    explicit ReadFailure(bool on) { g_readCall = on ? (g_reads = 0, FailingRead) : ::read; }
    ~ReadFailure() { g_readCall = ::read; }
};

} // namespace

TEST_CASE("a commit changes only the values written; every other byte keeps its place")
{
    const struct {
        const char* before;
        int rain; // as read, -1 for none
        const char* after;
    } cases[] = {
        {"; mine\n\n[Other]\nRain=1\n[Arcveil3D]\nKeep=x\n  Rain = 1  \nnot a line\n\n# end\n", 1,
         "; mine\n\n[Other]\nRain=1\n[Arcveil3D]\nKeep=x\n  Rain = 0  \nCross=0\nnot a line\n\n# end\n"},
        {"\xEF\xBB\xBF[Arcveil3D]\r\nRain=1\r\n", 1, "\xEF\xBB\xBF[Arcveil3D]\r\nRain=0\r\nCross=0\r\n"},
        {"[Arcveil3D]\nRain=1", 1, "[Arcveil3D]\nRain=0\nCross=0\n"},
        {"[Other]\r\nX=1", -1, "[Other]\r\nX=1\r\n[Arcveil3D]\r\nRain=0\r\nCross=0\r\n"},
        {"[Arcveil3D]\nRain=1\n[Other]\n[Arcveil3D]\nRain=1\n# x\n", 1,
         "[Arcveil3D]\nRain=1\n[Other]\n[Arcveil3D]\nRain=0\nCross=0\n# x\n"},
        {"[Arcveil3D]\nRain=1\nCross=1\n[Other]\nX=1", 1, "[Arcveil3D]\nRain=0\nCross=0\n[Other]\nX=1"},
        {"[Arcveil3D]\nRain=\n", -1, "[Arcveil3D]\nRain=0\nCross=0\n"},
    };
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini";
    for (const auto& c : cases) {
        INFO(c.before);
        WriteText(path, c.before);
        CFileProfileStore store(path);
        CHECK(store.GetProfileInt("Arcveil3D", "Rain", -1) == c.rain);
        for (const auto& [name, value] : {std::pair{"Rain", 0}, {"Cross", 1}, {"Cross", 0}})
            store.WriteProfileInt("Arcveil3D", name, value);
        REQUIRE(store.Commit());
        CHECK(ReadText(path) == c.after);
    }
}

TEST_CASE("what cannot be read whole is refused without a blocking read, never replaced, and never moved")
{
    TempFolder folder;
    const std::string path = folder.path + "/settings.ini", moved = folder.path + "/new/settings.ini";
    const std::string plain = "[Arcveil3D]\nRain=0\n";
    const char* notRegular = "cannot be read; it is not a regular file";
    const struct {
        std::function<void()> make;
        bool failRead;
        const char* problem;
        const char* reason;
        bool leftAlone; // as an old file: not a regular one, named and left; else read where it is
    } cases[] = {
        {[&] { mkfifo(path.c_str(), 0600); }, false, notRegular, "not a regular file", true},
        // A link to one of the folder's own: a faulty commit must never reach outside it.
        {[&] { mkfifo((path + ".fifo").c_str(), 0600), symlink("settings.ini.fifo", path.c_str()); }, false, notRegular,
         "not a regular file", true},
        {[&] { mkdir(path.c_str(), 0700); }, false, notRegular, "Is a directory", true},
        {[&] { WriteText(path, plain + std::string(64 * 1024, '#')); }, false,
         "cannot be read; it is larger than 64 KiB", "larger than 64 KiB", false},
        {[&] { WriteText(path, plain); }, true, "cannot be read to the end (Input/output error)", "Input/output error",
         false},
    };
    for (const auto& c : cases) {
        INFO(c.problem);
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(path + ".fifo");
        c.make();
        const std::string before = folder.Tree();
        const ReadFailure failing(c.failRead);
        CFileProfileStore store(path);
        CHECK(store.GetProfileInt("Arcveil3D", "Rain", 7) == 7);
        CHECK(store.WarningLine() ==
              "arcveil3d: warning: " + path + ": " + c.problem + "; the defaults stand for what cannot be read\n");
        CHECK_FALSE(store.Commit());
        CHECK(store.CommitError() == c.reason);
        std::string warning;
        CHECK(MoveOldSettingsFile(moved, {path}, warning) == (c.leftAlone ? moved : path));
        CHECK(warning == (c.leftAlone ? "arcveil3d: warning: " + path + " is not a regular file; it is left alone\n" : ""));
        CHECK(folder.Tree() == before);
        CHECK((!c.failRead || ReadText(path) == plain));
    }
}

TEST_CASE("a link stays a link: its target is replaced in its own folder, with its permission bits, unless its owner "
          "made it read-only; what interrupted saves left goes, but a running one's file")
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path + "/dots");
    std::filesystem::create_directories(folder.path + "/cfg");
    const std::string target = folder.path + "/dots/real.ini", link = folder.path + "/cfg/settings.ini";
    WriteText(target, "[Arcveil3D]\nRain=1\n");
    chmod(target.c_str(), 0640);
    // An earlier version's leftover, and gone processes' (one had this process's number), go with the next save.
    const std::string leftover = folder.path + "/dots/.real.ini.arcveil3d-new", running = "/.real.ini.arcveil3d-new.";
    const std::string own = leftover + "." + std::to_string(getpid());
    for (const std::string& name : {leftover, leftover + ".999999999", own, folder.path + "/dots" + running + "1"})
        WriteText(name, "half");
    REQUIRE(symlink("../dots/real.ini", link.c_str()) == 0);
    CFileProfileStore store(link);
    store.WriteProfileInt("Arcveil3D", "Rain", 0);
    REQUIRE(store.Commit());
    CHECK(std::filesystem::read_symlink(link) == "../dots/real.ini");
    CHECK(ReadText(target) == "[Arcveil3D]\nRain=0\n");
    CHECK(std::filesystem::status(target).permissions() == std::filesystem::perms(0640));
    CHECK(folder.Tree() == "./cfg\n./cfg/settings.ini\n./dots\n./dots" + running + "1\n./dots/real.ini\n");
    chmod(target.c_str(), 0440);
    store.WriteProfileInt("Arcveil3D", "Rain", 1);
    CHECK((!store.Commit() && store.CommitError() == "it is read-only" && ReadText(target) == "[Arcveil3D]\nRain=0\n"));
}
