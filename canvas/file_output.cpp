#include "canvas/file_output.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t flush_size = 1 << 16;
const char* const refused_link = "a symbolic link another user made in a shared folder is not followed";

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

// The kernel's protected_symlinks rule, kept whether or not the machine
// enables it: in a sticky world-writable folder, only links of the writer
// or of the folder's owner are followed.
bool may_follow(const std::string& link, const struct stat& link_info) {
    struct stat folder {};
    if (::stat(folder_of(link).c_str(), &folder) != 0) return true;  // the write itself will fail
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link_info.st_uid == ::geteuid() || link_info.st_uid == folder.st_uid;
}

// The file a path finally names: symbolic links followed one by one, so a
// dangling link yields the name it points to.
WriteResult final_target(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return {true, {}};
        if (!may_follow(target, info)) return {false, refused_link};
        char link[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), link, sizeof link - 1);
        if (n < 0) return {true, {}};
        link[n] = '\0';
        target = link[0] == '/' ? std::string(link) : folder_of(target) + "/" + link;
    }
    return failure(ELOOP);
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
    if (WriteResult resolved = final_target(path, d.target); !resolved.ok) return resolved;
    d.exists = ::lstat(d.target.c_str(), &d.info) == 0;
    if (!d.exists) return {true, {}};
    if (S_ISDIR(d.info.st_mode)) return failure(EISDIR);
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

FileWriter::FileWriter(std::string path, Durability durability) : path_(std::move(path)), durability_(durability) {
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
    return inspect(path, ignored);
}
