#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What a run (or a merge) claims in its folder: file names of its own (its
// manifest), and the tiles [first, end) of a family of tile files
// ("house-*": images, GIFs and maps). Two claims conflict when they share
// a name, or a family and a tile: shards of one split write apart, a
// second run over the same tiles is refused.
struct LockClaim {
    std::vector<std::string> names;
    std::string family;  // empty: no tiles
    long long first = 0, end = 0;
    // A tile's file name, to say which tiles another run holds.
    std::function<std::string(long long)> tile_name;
    // The manifest of the run holding tiles [first, end), to name it.
    std::function<std::string(long long, long long)> holder;
};

// Keeps runs from writing the same files at once: open-file-description
// byte-range locks in one hidden file of the folder, ".brannoc.lock". Each
// name is a byte, each family a range of bytes, one a tile; byte 0 is
// held, shared, by every run in the folder. The kernel releases a killed
// run's locks with the process; the last holder removes the file.
class OutputLock {
public:
    // The lock, or nullopt with problem saying why (another run holds a
    // file of the claim, or the folder takes no file). Taken when no other
    // run is in the folder, it first removes the temporary files a killed
    // run of ours left there.
    static std::optional<OutputLock> acquire(const std::string& folder, const LockClaim& claim, std::string& problem);
    ~OutputLock();
    OutputLock(OutputLock&& other) noexcept;
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;
    OutputLock& operator=(OutputLock&&) = delete;

    static std::string path_in(const std::string& folder);
    // How many temporary files of a killed run were removed on acquiring.
    int leftovers_removed() const { return leftovers_removed_; }

    // The line that says so ("removed 2 temporary files that a killed run
    // left in DIR"), or "" when there were none.
    std::string leftovers_line(const std::string& folder) const;

private:
    OutputLock(std::string path, int fd, int removed) : path_(std::move(path)), fd_(fd), leftovers_removed_(removed) {}
    std::string path_;
    int fd_ = -1;
    int leftovers_removed_ = 0;
};
