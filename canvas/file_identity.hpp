#pragma once
#include <compare>
#include <optional>
#include <string>
#include <sys/types.h>

// Which file a path names, whether or not it exists yet: two paths that
// name one file have one identity, through symbolic links, hard links and
// any spelling. An existing file is its device and inode; a file not yet
// there is its folder's (links followed, a dangling link to the name it
// would create) and its name. A folder that does not exist either leaves
// the absolute path itself.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;  // empty for an existing file
    auto operator<=>(const FileIdentity&) const = default;
};
FileIdentity file_identity(const std::string& path);
