#include "export/output/output_lock.hpp"

#include "canvas/open_folder.hpp"

#include "canvas/content_hash.hpp"
#include "export/shown_text.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <vector>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Where each thing is locked in the lock file: byte 0 the folder, a name
// one byte below 2^41, a family 2^21 bytes (more than the most tiles of a
// run) from 2^41 on.
constexpr off_t names_from = 1, names_span = off_t(1) << 40;
constexpr off_t families_from = off_t(1) << 41, family_span = off_t(1) << 21;

off_t offset_of(const std::string& text, off_t from, off_t slots, off_t span) {
    ContentHash hash;
    hash.add(text.data(), text.size());
    return from + static_cast<off_t>(hash.value() % static_cast<std::uint64_t>(slots)) * span;
}
off_t name_offset(const std::string& name) { return offset_of(name, names_from, names_span - 1, 1); }
off_t family_offset(const std::string& family) { return offset_of(family, families_from, off_t(1) << 20, family_span); }

struct flock range(short type, off_t start, off_t length) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    return lock;
}

// Non-blocking; false when another holder is in the way.
bool try_lock(int fd, short type, off_t start, off_t length) {
    struct flock lock = range(type, start, length);
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// A temporary file as the file writer names them: ".brannoc-" and six
// letters or digits (mkstemp's).
bool is_our_temporary(const std::string& name) {
    static const std::string prefix = ".brannoc-";
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t k = prefix.size(); k < name.size(); ++k)
        if (!std::isalnum(static_cast<unsigned char>(name[k]))) return false;
    return true;
}

// With no other run in the folder, every temporary file of ours there is
// a killed run's: removed, if it is a regular file of this user.
int remove_leftovers(const std::string& folder) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(opened_path(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        struct stat info {};
        if (!is_our_temporary(name) || ::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

// Why a lock file another user left cannot be used, and what to do; ""
// when it is not another's.
std::string not_ours(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || info.st_uid == ::geteuid()) return {};
    std::string owner = "user " + std::to_string(info.st_uid);
    std::vector<char> buffer(16384);
    struct passwd entry {}, *found = nullptr;
    if (::getpwuid_r(info.st_uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        owner = found->pw_name;
    return " (" + owner + " made it, and only they or the folder's owner may remove it: ask them to, or write "
           "elsewhere)";
}

// What another run holds of the claim, in a sentence.
std::string held_by_another(int fd, const LockClaim& claim, const std::string& folder, off_t start, off_t length,
                            bool tiles) {
    struct flock lock = range(F_WRLCK, start, length);
    const std::string where = " in " + shown_path(folder) + ": wait for it to finish, or write elsewhere";
    if (!tiles) return "another run is writing " + claim.names.front() + where;
    if (::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK && claim.tile_name) {
        const long long base = family_offset(claim.family);
        const long long first = std::max<long long>(lock.l_start - base, 0);
        const long long last = lock.l_len > 0 ? first + lock.l_len - 1 : first;
        const std::string manifest = claim.holder ? claim.holder(first, last + 1) : std::string();
        return "another run" + (manifest.empty() ? std::string() : " (listing them in " + manifest + ")") +
               " is writing " + claim.tile_name(first) + " to " + claim.tile_name(last) + where;
    }
    return "another run is writing the files " + claim.family + where;
}
}  // namespace

std::string OutputLock::path_in(const std::string& folder) { return folder + "/.brannoc.lock"; }

std::optional<OutputLock> OutputLock::acquire(const std::string& folder, const LockClaim& claim, std::string& problem) {
    const std::string lock_name = path_in(folder), path = opened_path(lock_name);
    // The last holder removes the lock file; a lock taken on a file
    // already unlinked is taken again on the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Every user may write it: runs of several users share a folder
        // such as /tmp, and a lock only one of them could take would stop
        // the others from writing there at all.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd < 0) {
            problem = "cannot lock " + shown_path(lock_name) + ": " + std::strerror(errno) + not_ours(path);
            return std::nullopt;
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            problem = "cannot lock " + shown_path(lock_name) + ": not a regular file" + not_ours(path);
            return std::nullopt;
        }
        if (held.st_uid == ::geteuid() && (held.st_mode & 0666) != 0666) ::fchmod(fd, 0666);  // past the umask
        const bool alone = try_lock(fd, F_WRLCK, 0, 1);
        if (!alone) {
            struct flock shared = range(F_RDLCK, 0, 1);
            if (::fcntl(fd, F_OFD_SETLKW, &shared) != 0) {
                problem = "cannot lock " + shown_path(lock_name) + ": " + std::strerror(errno);
                ::close(fd);
                return std::nullopt;
            }
        }
        // Checked before any clean-up: alone on a file already unlinked
        // says nothing of the runs on the new one.
        if (::stat(path.c_str(), &named) != 0 || named.st_ino != held.st_ino || named.st_dev != held.st_dev) {
            ::close(fd);
            continue;
        }
        int removed = 0;
        if (alone) {
            removed = remove_leftovers(folder);
            try_lock(fd, F_RDLCK, 0, 1);  // converted in place: never let go
        }
        for (const std::string& name : claim.names)
            if (!try_lock(fd, F_WRLCK, name_offset(name), 1)) {
                LockClaim one = claim;
                one.names = {name};
                problem = held_by_another(fd, one, folder, name_offset(name), 1, false);
                ::close(fd);
                return std::nullopt;
            }
        if (!claim.family.empty() && claim.end > claim.first) {
            const off_t start = family_offset(claim.family) + claim.first, length = claim.end - claim.first;
            if (!try_lock(fd, F_WRLCK, start, length)) {
                problem = held_by_another(fd, claim, folder, start, length, true);
                ::close(fd);
                return std::nullopt;
            }
        }
        return OutputLock(lock_name, fd, removed);
    }
    problem = "cannot lock " + shown_path(lock_name) + ": it keeps changing";
    return std::nullopt;
}

std::string OutputLock::leftovers_line(const std::string& folder) const {
    if (leftovers_removed_ == 0) return {};
    return "removed " + std::to_string(leftovers_removed_) + " temporary file" + (leftovers_removed_ == 1 ? "" : "s") +
           " that a killed run left in " + shown_path(folder);
}

OutputLock::OutputLock(OutputLock&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(other.fd_),
      leftovers_removed_(other.leftovers_removed_) {
    other.fd_ = -1;
}

OutputLock::~OutputLock() {
    if (fd_ < 0) return;
    // The whole file, only when no other run holds any of it: then it goes.
    if (try_lock(fd_, F_WRLCK, 0, 0)) ::unlink(opened_path(path_).c_str());
    ::close(fd_);
}
