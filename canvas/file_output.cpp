#include "canvas/file_output.hpp"

#include "canvas/link_rule.hpp"
#include "canvas/open_folder.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <mutex>
#include <vector>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t flush_size = 1 << 16;

WriteResult failure(int error) { return {false, std::strerror(error)}; }

bool write_all(int fd, const char* data, std::size_t size, off_t at = -1) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = at < 0 ? ::write(fd, data + done, size - done)
                                 : ::pwrite(fd, data + done, size - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Once per process: a write past the file-size limit should fail with EFBIG,
// not end the program; and the umask, read once, for the modes of new files.
mode_t process_umask() {
    static std::once_flag once;
    static mode_t mask = 022;
    std::call_once(once, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        mask = ::umask(022);
        ::umask(mask);
    });
    return mask;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string parent_of(const std::string& folder) {
    // An open folder's descriptor path: its parent is the kernel's to find.
    if (descriptor_prefix(folder) == folder.size()) return folder + "/..";
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return folder + "/..";
    const std::string last = folder.substr(slash + 1);
    return last == "." || last == ".." ? folder + "/.." : folder.substr(0, slash);
}

// The file a path finally names, resolved one component at a time so that
// every symbolic link on the way is checked before it is followed; a
// dangling link yields the name it points to. With make_folders, missing
// folders are made on the way, the last component too.
WriteResult walk_path(const std::string& path, std::string& target, bool make_folders) {
    std::vector<std::string> rest;  // components still to walk, the next last
    const auto push_components = [&rest](const std::string& text) {
        std::vector<std::string> parts;
        for (std::size_t at = 0; at <= text.size();) {
            const std::size_t slash = std::min(text.find('/', at), text.size());
            parts.push_back(text.substr(at, slash - at));
            at = slash + 1;
        }
        rest.insert(rest.end(), parts.rbegin(), parts.rend());
    };
    // A folder the run holds open is taken as it is, by its descriptor.
    const std::size_t held = descriptor_prefix(path);
    push_components(path.substr(held));
    std::string done = held > 0 ? path.substr(0, held) : path[0] == '/' ? "" : ".";  // "" is the root
    for (int hops = 0, tries = 0; !rest.empty();) {
        const std::string name = rest.back();
        rest.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            done = done.empty() ? done : parent_of(done);
            continue;
        }
        const std::string here = done + "/" + name;
        struct stat info {};
        if (::lstat(here.c_str(), &info) != 0) {
            if (errno != ENOENT) return failure(errno);  // a name too long, a folder not searchable
            if (make_folders && ++tries < 100) {
                if (::mkdir(here.c_str(), 0777) != 0 && errno != EEXIST) return failure(errno);
                rest.push_back(name);  // looked at again: a link may have been put there meanwhile
                continue;
            }
            // Not there: the write makes it, or fails for a missing folder.
            done = here;
            while (!rest.empty()) done += "/" + rest.back(), rest.pop_back();
            break;
        }
        if (!S_ISLNK(info.st_mode)) {
            done = here;
            continue;
        }
        if (++hops > 40) return failure(ELOOP);
        if (const char* refusal = refusal_of_link(done.empty() ? "/" : done, here, info))
            return {false, rest.empty() ? refusal : here + ": " + refusal};
        char text[PATH_MAX];
        const ssize_t n = ::readlink(here.c_str(), text, sizeof text - 1);
        if (n <= 0) return failure(n < 0 ? errno : ENOENT);
        if (text[0] == '/') done = "";
        push_components(std::string(text, static_cast<std::size_t>(n)));
    }
    target = done.empty() ? "/" : done;
    return {true, {}};
}

// Set by chattr +i or +a: not even root may replace or rewrite the file.
bool immutable(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    const bool fixed = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL));
    ::close(fd);
    return fixed;
}

// Read-only is the mode bits' call: root passes every open, so for root a
// file with no write bit at all is read-only; anyone else is asked of the
// kernel, which also knows ACLs.
bool writable(const std::string& file, const struct stat& info) {
    if (::geteuid() == 0) return (info.st_mode & 0222) != 0;
    const int probe = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (probe < 0) return false;
    ::close(probe);
    return true;
}

struct Destination {
    std::string target;
    bool exists = false;
    struct stat info {};
};

WriteResult inspect(const std::string& path, Destination& d) {
    if (path.empty()) return {false, "no file name"};
    if (path.find('\0') != std::string::npos) return {false, "the file name holds a NUL character"};
    if (WriteResult resolved = walk_path(path, d.target, false); !resolved.ok) return resolved;
    d.exists = ::lstat(d.target.c_str(), &d.info) == 0;
    if (!d.exists) return {true, {}};
    if (S_ISDIR(d.info.st_mode)) return failure(EISDIR);
    if (S_ISREG(d.info.st_mode) && immutable(d.target)) return failure(EPERM);
    // Before anything is touched: a write-protected file stays as it is.
    if (S_ISREG(d.info.st_mode) && !writable(d.target, d.info)) return failure(EACCES);
    return {true, {}};
}

bool read_all(int fd, std::string& out) {
    char chunk[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.append(chunk, static_cast<std::size_t>(n));
        at += n;
    }
}

// Overwrites a regular file where it stands, keeping its old bytes in hand
// until the new ones are all there, and putting them back if they are not.
WriteResult write_in_place(const std::string& file, const std::string& bytes, Durability durability) {
    bool backed_up = true;
    int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 && errno == EACCES) {  // write-only: nothing to keep
        backed_up = false;
        fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    if (fd < 0) return failure(errno);
    std::string old;
    if (backed_up && !read_all(fd, old)) {
        const int error = errno;
        ::close(fd);
        return failure(error);
    }
    bool written = write_all(fd, bytes.data(), bytes.size(), 0) &&
                   ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
                   (durability == Durability::unsynced || ::fsync(fd) == 0);
    const int error = errno;
    if (!written && backed_up) {
        [[maybe_unused]] const bool restored =
            write_all(fd, old.data(), old.size(), 0) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0;
    }
    if (::close(fd) != 0 && written) return failure(errno);
    return written ? WriteResult{true, {}} : failure(error);
}

// A device, a pipe or a socket takes the bytes as a stream; opening never
// waits for a reader.
WriteResult write_to_device(const std::string& file, const std::string& bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return failure(errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const bool written = write_all(fd, bytes.data(), bytes.size());
    const int error = errno;
    if (::close(fd) != 0 && written) return failure(errno);
    return written ? WriteResult{true, {}} : failure(error);
}

}  // namespace

FileWriter::FileWriter(std::string path, Durability durability)
    : path_(opened_path(path)),
      durability_(durability) {
    const mode_t umask_bits = process_umask();
    Destination d;
    if (const WriteResult found = inspect(path_, d); !found.ok) {
        error_ = found.error;
        return;
    }
    target_ = d.target;
    exists_ = d.exists;
    existing_mode_ = exists_ ? d.info.st_mode & 07777 : 0666 & ~umask_bits;
    existing_uid_ = d.info.st_uid;
    existing_gid_ = d.info.st_gid;
    if (exists_ && !S_ISREG(d.info.st_mode)) {
        in_place_ = raw_device_ = true;
        return;
    }
    if (exists_ && d.info.st_nlink > 1) {
        in_place_ = true;
        return;
    }
    temp_name_ = folder_of(target_) + "/.brannoc-XXXXXX";
    temp_fd_ = ::mkstemp(temp_name_.data());
    if (temp_fd_ >= 0) {
        ::fcntl(temp_fd_, F_SETFD, FD_CLOEXEC);
        return;
    }
    const int error = errno;
    temp_name_.clear();
    // The folder takes no new file by permission, but the file itself may
    // be written. A full disk or quota is an error, never a reason to.
    if (exists_ && (error == EACCES || error == EPERM)) in_place_ = true;
    else fail(error);
}

FileWriter::~FileWriter() {
    if (temp_fd_ >= 0) ::close(temp_fd_);
    if (!temp_name_.empty()) ::unlink(temp_name_.c_str());
    if (!kept_name_.empty()) ::unlink(kept_name_.c_str());
}

// The old file, kept for revert(): a second name for it when it is to be
// replaced by a rename, else (or when no link can be made) its bytes.
void FileWriter::hold_old() {
    if (!keep_old_ || !exists_ || raw_device_) return;
    if (!in_place_) {
        for (int attempt = 0; attempt < 10 && kept_name_.empty(); ++attempt) {
            std::string name = folder_of(target_) + "/.brannoc-XXXXXX";
            const int fd = ::mkstemp(name.data());
            if (fd < 0) break;
            ::close(fd);
            ::unlink(name.c_str());
            if (::link(target_.c_str(), name.c_str()) == 0) kept_name_ = name;
            else if (errno != EEXIST) break;
        }
        if (!kept_name_.empty()) return;
    }
    const int fd = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        read_all(fd, old_bytes_);
        ::close(fd);
    }
}

WriteResult FileWriter::revert() {
    if (!published_) return {true, {}};
    published_ = false;
    if (!kept_name_.empty()) {
        if (::rename(kept_name_.c_str(), target_.c_str()) != 0) return failure(errno);
        kept_name_.clear();
        return {true, {}};
    }
    if (!exists_) return ::unlink(target_.c_str()) == 0 ? WriteResult{true, {}} : failure(errno);
    if (raw_device_) return {false, "a device's stream cannot be taken back"};
    return write_in_place(target_, old_bytes_, durability_);
}

void FileWriter::fail(int error) {
    if (error_.empty()) error_ = std::strerror(error);
}

bool FileWriter::flush() {
    if (in_place_ || buffer_.empty()) return error_.empty();
    if (!write_all(temp_fd_, buffer_.data(), buffer_.size())) fail(errno);
    buffer_.clear();
    return error_.empty();
}

void FileWriter::append(std::string_view bytes) {
    if (!error_.empty() || finished_) return;
    buffer_.append(bytes);
    if (buffer_.size() >= flush_size) flush();
}

WriteResult FileWriter::finish() {
    if (finished_ || !error_.empty()) return {error_.empty(), error_};
    finished_ = true;
    if (in_place_ || !flush()) return {error_.empty(), error_};
    if (durability_ == Durability::synced && ::fsync(temp_fd_) != 0) fail(errno);
    // Root keeps the owner; a user keeps at least the group, where it may.
    if (exists_ && ::fchown(temp_fd_, existing_uid_, existing_gid_) != 0) {
        [[maybe_unused]] const int group_kept = ::fchown(temp_fd_, static_cast<uid_t>(-1), existing_gid_);
    }
    ::fchmod(temp_fd_, existing_mode_);  // after the owner, which may clear set-id bits
    const int fd = temp_fd_;
    temp_fd_ = -1;
    if (::close(fd) != 0) fail(errno);
    return {error_.empty(), error_};
}

WriteResult FileWriter::publish() {
    if (published_) return {true, {}};
    if (const WriteResult finished = finish(); !finished.ok) return finished;
    hold_old();
    WriteResult result{true, {}};
    if (raw_device_) {
        result = write_to_device(target_, buffer_);
    } else if (in_place_) {
        result = write_in_place(target_, buffer_, durability_);
    } else if (::rename(temp_name_.c_str(), target_.c_str()) == 0) {
        temp_name_.clear();
    } else {
        const int error = errno;
        // A sticky folder lets only a file's owner replace it; a file the
        // user may write is written in place instead.
        if (exists_ && (error == EPERM || error == EACCES)) {
            if (!kept_name_.empty()) {  // the old file is about to change where it stands: keep its bytes
                const int old = ::open(kept_name_.c_str(), O_RDONLY | O_CLOEXEC);
                if (old >= 0) read_all(old, old_bytes_), ::close(old);
                ::unlink(kept_name_.c_str());
                kept_name_.clear();
            }
            std::string bytes;
            const int fd = ::open(temp_name_.c_str(), O_RDONLY | O_CLOEXEC);
            const bool read = fd >= 0 && read_all(fd, bytes);
            if (fd >= 0) ::close(fd);
            result = read ? write_in_place(target_, bytes, durability_) : failure(errno);
        } else {
            result = failure(error);
        }
    }
    if (!result.ok) error_ = result.error;
    published_ = result.ok;
    return result;
}

WriteResult write_file_safely(const std::string& path, const std::vector<std::uint8_t>& bytes, Durability durability) {
    FileWriter writer(path, durability);
    writer.append({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    return writer.publish();
}

WriteResult check_destination(const std::string& path) {
    Destination ignored;
    return inspect(opened_path(path), ignored);
}

WriteResult make_folder(const std::string& path) {
    if (path.empty()) return {false, "no folder name"};
    std::string folder;
    if (WriteResult made = walk_path(opened_path(path), folder, true); !made.ok) return made;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return failure(errno);
    return S_ISDIR(info.st_mode) ? WriteResult{true, {}} : failure(ENOTDIR);
}
