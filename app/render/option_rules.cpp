#include "app/render/option_rules.hpp"

#include "app/render/report_line.hpp"
#include "app/render/sheet_output.hpp"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;

std::string absolute(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::absolute(path).lexically_normal().string() : full.string();
}
}  // namespace

std::optional<std::string> outputs_that_collide(const RenderSettings& settings, const std::string& settings_file) {
    if (settings.sheet.empty()) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> files;  // (path, what it is)
    const std::vector<std::string> outputs = sheet_set_paths(settings);
    for (const std::string& path : outputs) files.emplace_back(path, "an output");
    if (!settings_file.empty()) files.emplace_back(settings_file, "the settings file");
    for (std::size_t a = 0; a < files.size(); ++a)
        for (std::size_t b = a + 1; b < files.size(); ++b) {
            struct stat one {
            }, two{};
            const bool same_name = absolute(files[a].first) == absolute(files[b].first);
            const bool same_file = ::stat(files[a].first.c_str(), &one) == 0 &&
                                   ::stat(files[b].first.c_str(), &two) == 0 && one.st_dev == two.st_dev &&
                                   one.st_ino == two.st_ino;
            if (same_name || same_file)
                return "\"" + shown(files[a].first) + "\" and \"" + shown(files[b].first) + "\" are one file, " +
                       files[b].second + " and " + files[a].second + " of this run: name them apart";
        }
    return std::nullopt;
}

std::string nearest_name(const std::string& name, const std::vector<std::string>& known) {
    // Edit distance, one row at a time.
    const auto distance = [](const std::string& a, const std::string& b) {
        std::vector<std::size_t> row(b.size() + 1);
        for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i) {
            std::size_t diagonal = row[0];
            row[0] = i;
            for (std::size_t j = 1; j <= b.size(); ++j) {
                const std::size_t above = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        return row[b.size()];
    };
    std::string best;
    std::size_t best_distance = std::max<std::size_t>(2, name.size() / 3) + 1;
    for (const std::string& candidate : known)
        if (const std::size_t d = distance(name, candidate); d < best_distance) best = candidate, best_distance = d;
    return best;
}
