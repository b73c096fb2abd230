#include "export/world/old_world_files.hpp"

#include "canvas/open_folder.hpp"

#include "export/shown_text.hpp"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

std::string remove_old_world_files(const std::string& folder, const std::vector<std::string>& names,
                                   const std::vector<std::string>& written) {
    std::vector<std::string> removed;
    for (const std::string& name : names) {
        if (std::find(written.begin(), written.end(), name) != written.end()) continue;
        const std::string path = opened_path(folder + "/" + name);
        struct stat info {};
        // Never another user's file, nor what a link names.
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (::unlink(path.c_str()) == 0) removed.push_back(name);
    }
    if (removed.empty()) return {};
    std::string list;
    for (const std::string& name : removed) list += (list.empty() ? "" : ", ") + shown(name);
    return "removed " + std::to_string(removed.size()) + (removed.size() == 1 ? " file" : " files") +
           " of an older world in " + shown_path(folder) + " that this one does not write: " + list;
}
