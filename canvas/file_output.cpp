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

WriteResult failure(int error) { return {false, std::strerror(error)}; }

bool write_all(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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

// The file a path finally names: symbolic links followed one by one, so a
// dangling link yields the name it points to. Fails only on a loop.
bool final_target(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        char link[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), link, sizeof link - 1);
        if (n < 0) return true;
        link[n] = '\0';
        target = link[0] == '/' ? std::string(link) : folder_of(target) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

WriteResult write_in_place(const std::string& path, const std::vector<std::uint8_t>& bytes, bool truncate) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | (truncate ? O_TRUNC : 0));
    if (fd < 0) return failure(errno);
    const bool written = write_all(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && written) return failure(errno);
    return written ? WriteResult{true, {}} : failure(error);
}

// Removes the temporary file when the save does not reach its rename.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder) : name_(folder + "/.brannoc-XXXXXX") {
        fd_ = ::mkstemp(name_.data());
        if (fd_ >= 0) ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!kept_) ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void keep() { kept_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool kept_ = false;
};

}  // namespace

WriteResult write_file_safely(const std::string& path, const std::vector<std::uint8_t>& bytes, Durability durability) {
    if (path.empty()) return {false, "no file name"};
    const mode_t umask_bits = process_umask();
    std::string target;
    if (!final_target(path, target)) return failure(errno);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return failure(EISDIR);
        if (!S_ISREG(existing.st_mode)) return write_in_place(target, bytes, false);
        // As a plain open for writing would refuse it, and before anything
        // is touched: a write-protected file stays as it is.
        const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) return failure(errno);
        ::close(probe);
        if (existing.st_nlink > 1) return write_in_place(target, bytes, true);
    }

    TemporaryFile temp(folder_of(target));
    if (temp.fd() < 0) {
        const int error = errno;
        // The folder takes no new file, but the file itself may be written.
        if (exists && (error == EACCES || error == EPERM || error == EROFS || error == EDQUOT || error == ENOSPC))
            return write_in_place(target, bytes, true);
        return failure(error);
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~umask_bits);
    if (!write_all(temp.fd(), bytes)) return failure(errno);
    if (durability == Durability::synced && ::fsync(temp.fd()) != 0) return failure(errno);
    // Root keeps the owner; a user keeps at least the group, where it may.
    if (exists && ::fchown(temp.fd(), existing.st_uid, existing.st_gid) != 0) {
        [[maybe_unused]] const int group_kept = ::fchown(temp.fd(), static_cast<uid_t>(-1), existing.st_gid);
    }
    ::fchmod(temp.fd(), mode);  // after the owner, which may clear set-id bits
    if (!temp.close()) return failure(errno);
    if (::rename(temp.name().c_str(), target.c_str()) != 0) {
        const int error = errno;
        // A sticky folder lets only a file's owner replace it; a file the
        // user may write is written in place instead.
        if (exists && (error == EPERM || error == EACCES)) return write_in_place(target, bytes, true);
        return failure(error);
    }
    temp.keep();
    return {true, {}};
}
