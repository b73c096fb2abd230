#include "app/render/option_rules.hpp"

#include "app/render/report_line.hpp"
#include "app/render/sheet_output.hpp"
#include "canvas/file_identity.hpp"
#include "export/formats/lighting_map_files.hpp"
#include "export/formats/manifest.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/tile/user_textures.hpp"
#include "generators/world/world_chunks.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;

struct Named {
    std::string path, role;
};

// What a run of one file a tile writes into --out: its manifest, the tile
// files already there (only those can be links or hard links to anything),
// the names a dangling link among them would create, and any input's name
// that is one of the run's.
std::vector<Named> tile_run_outputs(const RenderSettings& settings, const std::vector<Named>& inputs) {
    std::vector<Named> outputs = {{run_manifest_path(settings), "an output"}};
    const auto add = [&](const std::string& name) { outputs.push_back({settings.out + "/" + name, "an output"}); };
    std::error_code error;
    for (fs::directory_iterator it(settings.out, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!written_by_run(settings, name)) continue;
        add(name);
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) continue;
        const FileIdentity names = file_identity(it->path().string());
        if (!names.name.empty() && written_by_run(settings, names.name)) add(names.name);
    }
    for (const Named& input : inputs)
        if (const std::string name = fs::path(input.path).filename().string(); written_by_run(settings, name))
            add(name);
    return outputs;
}
}  // namespace

bool written_by_run(const RenderSettings& settings, const std::string& name) {
    const std::size_t dash = name.rfind('-');
    if (dash == std::string::npos) return false;
    const int index = std::atoi(name.c_str() + dash + 1);
    if (index < 0 || index >= settings.count) return false;
    const std::string image = tile_file_name(settings, index);
    if (name == image || (settings.gif && name == tile_gif_name(settings, index))) return true;
    for (const std::string& suffix : lighting_map_suffixes(settings))
        if (name == lighting_map_file_name(image, suffix)) return true;
    return false;
}

std::optional<std::string> outputs_that_collide(const RenderSettings& settings, const std::string& settings_file) {
    std::vector<Named> inputs;
    if (!settings_file.empty()) inputs.push_back({settings_file, "the settings file"});
    if (!settings.texture_folder.empty())
        for (const std::string& file : user_texture_files(settings.texture_folder))
            inputs.push_back({file, "a texture sheet"});
    std::vector<Named> outputs;
    if (settings.world) {
        // Every name the world may write: an existing one linked to another is one file.
        const WorldChunk chunk =
            world_chunk(settings.world_shape.width, settings.world_shape.height, settings.shard, settings.shards);
        for (const std::string& name : world_file_names(chunk.stem))
            outputs.push_back({settings.out + "/" + name, "an output"});
    } else if (settings.sheet.empty()) outputs = tile_run_outputs(settings, inputs);
    else
        for (const std::string& path : sheet_set_paths(settings)) outputs.push_back({path, "an output"});
    // Outputs against each other, then inputs against outputs: a run never
    // writes one file twice, nor over what it reads.
    std::map<FileIdentity, const Named*> written;
    const auto clash = [&](const Named& file, bool output) -> std::optional<std::string> {
        const FileIdentity identity = file_identity(file.path);
        const auto [at, fresh] = output ? written.emplace(identity, &file) : std::pair{written.find(identity), false};
        if (fresh || at == written.end()) return std::nullopt;
        return "\"" + shown(at->second->path) + "\" and \"" + shown(file.path) + "\" are one file, " +
               at->second->role + " and " + file.role + " of this run: name them apart";
    };
    for (const Named& file : outputs)
        if (std::optional<std::string> same = clash(file, true)) return same;
    for (const Named& file : inputs)
        if (std::optional<std::string> same = clash(file, false)) return same;
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
