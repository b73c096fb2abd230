#pragma once
#include <string>
#include <sys/stat.h>

// The rule every writer applies to a symbolic link on its way (see
// file_output.hpp): the kernel's protected_symlinks rule, kept whether or
// not the machine enables it and widened to every folder on the path. A
// link of the writer's or root's is followed. Anyone else's link is
// followed only when
// - it is not in a sticky world-writable folder, or is that folder owner's
//   (the kernel's rule: /tmp holds links anyone may plant), and
// - what it names is its owner's too (the file, or the folder a dangling
//   link would create it in): a link may not lend its owner the writer's
//   rights over someone else's file or folder, even in the owner's folder.
// `link` lies in `folder`; `link_info` is its lstat. The reason it is
// refused, or null when it may be followed.
const char* refusal_of_link(const std::string& folder, const std::string& link, const struct stat& link_info);
