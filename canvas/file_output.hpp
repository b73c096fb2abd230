#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct WriteResult {
    bool ok = false;
    std::string error;  // the reason when ok is false
};

// Writes files the way users expect a save to behave, and so that a failed
// save never destroys what was there:
// - an existing file that is read-only by its mode bits is refused with the
//   system's reason, untouched, for root as for anyone (write protection
//   holds in build containers too);
// - the bytes go to a short temporary file beside the target, which is
//   renamed over it only when complete and is removed on every failure;
//   a full disk or quota is reported, never worked around;
// - the replaced file keeps its mode, and its owner and group where the
//   process may set them;
// - written in place instead: a file with several hard links (so every link
//   sees the new content), a device or other non-regular file, and a
//   writable file in a folder that takes no new files or lets only its
//   owner replace it. The old bytes are kept until the new ones are all
//   written and put back if the write fails;
// - a symbolic link is followed, a dangling one creating the file it names,
//   except one the kernel's protected_symlinks rule would refuse: a link in
//   a sticky, world-writable folder owned by neither the writer nor the
//   folder's owner (someone planting a link in /tmp for root to write
//   through).
// An over-large write fails with "File too large" instead of killing the
// program (SIGXFSZ is ignored).
//
// Durable: the data reaches the disk before the rename, so even a crash
// leaves the old file or the whole new one. A batch of thousands of files
// may trade that for speed; the rename still makes each file appear whole.
enum class Durability { synced, unsynced };
WriteResult write_file_safely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                              Durability durability = Durability::synced);

// Whether write_file_safely would accept path as its destination (links,
// folders, protection), without writing anything.
WriteResult check_destination(const std::string& path);

// The same save, with the bytes given piece by piece: a file of any length
// written with flat memory. Nothing is replaced before publish(); a writer
// destroyed unpublished leaves the old file as it was and no temporary.
// finish() and publish() are apart so several files can be made ready
// before any of them replaces what was there.
class FileWriter {
public:
    explicit FileWriter(std::string path, Durability durability = Durability::synced);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // The first failure sticks: later appends do nothing and finish()
    // reports it.
    void append(std::string_view bytes);
    WriteResult finish();   // all bytes written (and synced); nothing replaced yet
    WriteResult publish();  // the new bytes take the old file's place

private:
    void fail(int error);
    bool flush();

    std::string path_, target_;
    Durability durability_;
    std::string error_;
    bool exists_ = false, in_place_ = false, raw_device_ = false, finished_ = false, published_ = false;
    unsigned existing_mode_ = 0, existing_uid_ = 0, existing_gid_ = 0;
    std::string temp_name_;
    int temp_fd_ = -1;
    std::string buffer_;  // pending bytes; for an in-place write, all of them
};
