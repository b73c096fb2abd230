#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct WriteResult {
    bool ok = false;
    std::string error;  // the system's reason when ok is false
};

// Writes bytes to path the way users expect a save to behave, and so that a
// failed save never destroys what was there:
// - an existing file the user may not write is refused with the system's
//   reason, untouched (write protection holds);
// - the bytes go to a short temporary file beside the target, which is
//   renamed over it only when complete and is removed on every failure;
// - the replaced file keeps its mode, and its owner and group where the
//   process may set them;
// - written in place instead, with the same error reporting: a file with
//   several hard links (so every link sees the new content), a device or
//   other non-regular file, and a writable file in a folder that takes no
//   new files;
// - a symbolic link is followed, a dangling one creating the file it names.
// An over-large write fails with "File too large" instead of killing the
// program (SIGXFSZ is ignored).
//
// Durable: the data reaches the disk before the rename, so even a crash
// leaves the old file or the whole new one. A batch of thousands of files
// may trade that for speed; the rename still makes each file appear whole.
enum class Durability { synced, unsynced };
WriteResult write_file_safely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                              Durability durability = Durability::synced);
