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
//   except one planted for the writer to write through. Every link on the
//   path, folders too, is checked before it is followed: one of the
//   writer's or root's is; anyone else's is refused in a sticky,
//   world-writable folder it does not own (the kernel's protected_symlinks
//   rule, as for a link planted in /tmp), and anywhere when what it names
//   is not its owner's (a link in a user's own folder to root's file);
// - an immutable or append-only file (chattr +i, +a) is refused up front;
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

// Makes a folder and those above it that are missing (mode 0777 less the
// umask), following links on the way by the same rule as a save.
WriteResult make_folder(const std::string& path);

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
    bool failed() const { return !error_.empty(); }
    WriteResult finish();   // all bytes written (and synced); nothing replaced yet
    WriteResult publish();  // the new bytes take the old file's place

    // For a set of files that stands or falls together: asked for before
    // publish(), the old file is kept (a hard link beside it, or its bytes)
    // until the writer goes, and revert() puts it back, or removes the new
    // file where there was none. A device's stream cannot be taken back.
    void keep_old() { keep_old_ = true; }
    WriteResult revert();

private:
    void fail(int error);
    bool flush();
    void hold_old();

    std::string path_, target_;
    Durability durability_;
    std::string error_;
    bool exists_ = false, in_place_ = false, raw_device_ = false, finished_ = false, published_ = false;
    unsigned existing_mode_ = 0, existing_uid_ = 0, existing_gid_ = 0;
    bool keep_old_ = false;
    std::string temp_name_, kept_name_;  // kept_name_: the old file, linked
    std::string old_bytes_;              // the old file, where it could not be linked
    int temp_fd_ = -1;
    std::string buffer_;  // pending bytes; for an in-place write, all of them
};
