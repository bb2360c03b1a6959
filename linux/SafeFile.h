#pragma once
// Reading and replacing a small file of the user's without ever losing it. Reading
// refuses, without opening it for a blocking read, anything that is not a regular file
// (a FIFO would block, a link to /dev/zero would never end) and anything larger than
// kMaxSmallFile. Replacing writes the file a link points at, in its own folder, with its
// permission bits; the new bytes are synced before the name points at them, and the
// folder after, so that a crash leaves the old file or the new one, never half of one.
#include <cstddef>
#include <string>
#include <sys/types.h>

inline constexpr std::size_t kMaxSmallFile = 64 * 1024;

struct FileBytes {
    bool missing = false; // no such file (nor folder): nothing to read, nothing lost
    std::string problem;  // why it could not be read, as a warning says it; empty when read
    std::string reason;   // the same, short, as strerror says such things
    std::string bytes;
};
FileBytes ReadSmallFile(const std::string& path);

// The read(2) that ReadSmallFile calls; a test puts a failing one in its place.
using ReadCall = ssize_t (*)(int fd, void* buffer, std::size_t size);
extern ReadCall g_readCall;

// Replaces the file at path (or at the end of the links it is) with contents, making
// the folders it needs (private to the user). Empty when done, else the reason
// (strerror's text, or "it is read-only" for a file whose owner cannot write it, which
// stays as it is). Each process writes through a file of its own beside the target,
// ".NAME.arcveil3d-new.PID", so that replacements at once never meet; what an
// interrupted one leaves there the next replacement removes, once its process is gone.
std::string WriteFileAtomically(const std::string& path, const std::string& contents);
