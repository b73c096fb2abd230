#pragma once
#include "canvas/file_output.hpp"

#include <optional>
#include <string>

// A folder a run writes in, opened once and held by its descriptor, so
// that every file the run writes, reads, locks or removes there is reached
// through that descriptor: another user who swaps the folder for a link
// once it is open (in a shared /tmp) redirects nothing. It is opened one
// component at a time, no link followed unseen: each is checked by the
// save rule (link_rule.hpp) before it is followed, and one swapped in
// meanwhile is seen and checked too.
//
// While one lives, opened_path() sends every path in it (the folder as the
// run named it, and the names in it) through /proc/self/fd/N, which the
// kernel resolves by the descriptor, not by name; the file writer and
// readers below call it, so callers keep naming files as the user did (and
// messages show those names).
class OpenFolder {
public:
    // With `make`, missing folders are made on the way (mode 0777 less the
    // umask). nullopt with `problem` when the folder cannot be opened.
    static std::optional<OpenFolder> open(const std::string& path, bool make, WriteResult& problem);
    ~OpenFolder();
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    OpenFolder& operator=(OpenFolder&&) = delete;

    int fd() const { return fd_; }
    // /proc/self/fd/N: the folder through its descriptor.
    std::string path() const;

private:
    OpenFolder(std::string name, int fd);
    std::string name_;  // as the run named it
    int fd_ = -1;
};

// `path` through the descriptor of the open folder it lies in (or is), or
// `path` itself when it lies in none.
std::string opened_path(const std::string& path);

// Whether `path` starts with a folder's descriptor path (/proc/self/fd/N),
// and how long that start is: the writer takes it as a folder already
// checked, not as links to resolve again.
std::size_t descriptor_prefix(const std::string& path);
