#include "export/formats/relative_path.hpp"

#include <filesystem>

std::string path_from_file(const std::string& file, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path from = fs::absolute(file, error).lexically_normal().parent_path();
    const fs::path to = fs::absolute(target, error).lexically_normal();
    fs::path relative = to.lexically_relative(from);
    if (relative.empty()) relative = to;  // no common root: only the whole path will do
    std::string text = relative.generic_string();
    const std::size_t first_slash = text.find('/');
    if (!relative.is_absolute() && text.find(':') < first_slash) text = "./" + text;
    return text;
}
