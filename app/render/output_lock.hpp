#pragma once
#include <optional>
#include <string>

// Keeps a second run from writing the same manifest (and the files it
// lists) at once: an exclusive flock on a hidden file beside the manifest,
// ".NAME.lock", removed when the run ends. A lock left by a killed run
// holds nothing: the kernel released it with the process.
class OutputLock {
public:
    // The lock, or nullopt with problem saying why (another run holds it,
    // or the folder takes no file).
    static std::optional<OutputLock> acquire(const std::string& manifest_path, std::string& problem);
    ~OutputLock();
    OutputLock(OutputLock&& other) noexcept;
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;
    OutputLock& operator=(OutputLock&&) = delete;

    static std::string path_for(const std::string& manifest_path);

private:
    OutputLock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    std::string path_;
    int fd_ = -1;
};
