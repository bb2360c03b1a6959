#include "linux/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadCall g_readCall = ::read;

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes the descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
};

bool SyncFolder(const std::string& folder)
{
    const Descriptor dir {open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    // Some file systems cannot sync a folder at all; that is no failure of this write.
    return dir.fd >= 0 && (fsync(dir.fd) == 0 || errno == EINVAL);
}

// mkdir -p, private to the user like the rest of ~/.config; each new folder's name is
// synced in its parent.
bool MakeFolders(const std::string& folder)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    const std::string parent = FolderOf(folder);
    if (parent != folder && !MakeFolders(parent))
        return false;
    if (mkdir(folder.c_str(), 0700) != 0)
        return errno == EEXIST;
    return SyncFolder(parent);
}

// The file at the end of path's links, a relative link read from its own folder.
bool FollowLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof link - 1);
        if (length < 0)
            return false;
        const std::string next(link, static_cast<std::size_t>(length));
        target = next[0] == '/' ? next : FolderOf(target) + "/" + next;
    }
    errno = ELOOP;
    return false;
}

// Removes a leftover of an interrupted replacement: the name is this program's own, and
// only a regular file of that name is taken for one.
void RemoveLeftover(const std::string& name)
{
    struct stat info {};
    if (lstat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        unlink(name.c_str());
}

// Each process writes through a name of its own, so that replacements at once never
// take each other's file: the target's name, hidden, then the process's number.
std::string NewFilePrefix(const std::string& target)
{
    return "." + target.substr(target.find_last_of('/') + 1) + ".arcveil3d-new.";
}

// The leftovers of processes that are gone, which no one else will remove, and the one
// an earlier version left under its single name.
void RemoveLeftovers(const std::string& folder, const std::string& target)
{
    const std::string prefix = NewFilePrefix(target);
    RemoveLeftover(folder + "/" + prefix.substr(0, prefix.size() - 1));
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string number = name.substr(std::min(name.size(), prefix.size()));
        if (name.compare(0, prefix.size(), prefix) != 0 || number.empty() || number.size() > 9 ||
            number.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (kill(static_cast<pid_t>(std::stol(number)), 0) != 0 && errno == ESRCH)
            RemoveLeftover(folder + "/" + name);
    }
    closedir(dir);
}

int WriteAll(int fd, const std::string& contents)
{
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    return 0;
}

// An unnamed file in folder, given the name once its bytes are on disk: killed before
// that, nothing is left. Where the folder's file system cannot make one, a named one.
int OpenNewFile(const std::string& folder, const std::string& name, bool& unnamed)
{
    RemoveLeftover(name);
    const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    unnamed = fd >= 0;
    if (unnamed)
        return fd;
    return open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int GiveName(int fd, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

} // namespace

FileBytes ReadSmallFile(const std::string& path)
{
    FileBytes result;
    const auto refuse = [&result](const std::string& problem, const std::string& reason) {
        result.problem = problem;
        result.reason = reason;
        result.bytes.clear();
        return result;
    };
    const auto tooLarge = "cannot be read; it is larger than " + std::to_string(kMaxSmallFile / 1024) + " KiB";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        result.missing = errno == ENOENT || errno == ENOTDIR;
        return result.missing ? result : refuse(std::string("cannot be read (") + std::strerror(errno) + ")",
                                                std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode))
        return refuse("cannot be read; it is not a regular file",
                      S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file");
    if (static_cast<std::size_t>(info.st_size) > kMaxSmallFile)
        return refuse(tooLarge, "larger than " + std::to_string(kMaxSmallFile / 1024) + " KiB");
    // Non-blocking, in case something else took the name since: checked again below.
    const Descriptor file {open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return refuse(std::string("cannot be read (") + std::strerror(errno) + ")", std::strerror(errno));
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return refuse("cannot be read; it is not a regular file", "not a regular file");
    char buffer[4096];
    for (;;) {
        const ssize_t n = g_readCall(file.fd, buffer, sizeof buffer);
        if (n == 0)
            return result;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(std::string("cannot be read to the end (") + std::strerror(errno) + ")",
                          std::strerror(errno));
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > kMaxSmallFile)
            return refuse(tooLarge, "larger than " + std::to_string(kMaxSmallFile / 1024) + " KiB");
    }
}

std::string WriteFileAtomically(const std::string& path, const std::string& contents)
{
    std::string target;
    if (!FollowLinks(path, target))
        return std::strerror(errno);
    const std::string folder = FolderOf(target);
    if (!MakeFolders(folder))
        return std::strerror(errno);
    // The new file keeps the permission bits of the one it replaces; one its owner made
    // read-only stays as it is.
    struct stat info {};
    const bool exists = stat(target.c_str(), &info) == 0;
    if (exists && (info.st_mode & S_IWUSR) == 0)
        return "it is read-only";
    const mode_t mode = exists ? info.st_mode & 07777 : 0600;
    RemoveLeftovers(folder, target);
    const std::string name = folder + "/" + NewFilePrefix(target) + std::to_string(getpid());
    bool unnamed = false;
    const Descriptor file {OpenNewFile(folder, name, unnamed)};
    if (file.fd < 0)
        return std::strerror(errno);
    int error = WriteAll(file.fd, contents);
    if (error == 0 && fchmod(file.fd, mode) != 0)
        error = errno;
    // The data must be on disk before the name points at it.
    if (error == 0 && fsync(file.fd) != 0)
        error = errno;
    if (error == 0 && unnamed)
        error = GiveName(file.fd, name);
    if (error == 0 && std::rename(name.c_str(), target.c_str()) != 0)
        error = errno;
    if (error == 0 && !SyncFolder(folder))
        error = errno;
    if (error != 0 && (!unnamed || error != EEXIST))
        RemoveLeftover(name);
    return error == 0 ? std::string() : std::strerror(error);
}
