#include "export/world/world_output.hpp"

#include "canvas/file_output.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/formats/world_manifest.hpp"
#include "export/output/output_folder.hpp"
#include "export/shown_text.hpp"
#include "export/world/old_world_files.hpp"

WorldFolder::WorldFolder(std::string out, std::string stem, OpenFolder folder, OpenFolder godot3, OutputLock lock,
                         std::vector<std::string> names)
    : out_(std::move(out)),
      stem_(std::move(stem)),
      folder_(std::move(folder)),
      godot3_(std::move(godot3)),
      lock_(std::move(lock)),
      names_(std::move(names)) {}

std::optional<WorldFolder> WorldFolder::prepare(const std::string& out, const std::string& stem, std::string& problem) {
    std::optional<OpenFolder> folder = open_output_folder(out, problem);
    if (!folder) return std::nullopt;
    // Every name the world may write, whatever it finds to draw: no other
    // run writes any of them meanwhile, and each can be replaced.
    std::vector<std::string> names = world_file_names(stem);
    std::optional<OutputLock> lock = OutputLock::acquire(out, LockClaim{names, {}, 0, 0, nullptr, nullptr}, problem);
    if (!lock) return std::nullopt;
    // Godot 3's folder inside it, its files reached through its own descriptor.
    std::optional<OpenFolder> godot3 = open_output_folder(out + "/" + world_godot3_folder, problem);
    if (!godot3) return std::nullopt;
    for (const std::string& name : names)
        if (const WriteResult ok = check_destination(out + "/" + name); !ok.ok) {
            problem = "cannot write " + shown_path(out + "/" + name) + ": " + ok.error;
            return std::nullopt;
        }
    return WorldFolder(out, stem, std::move(*folder), std::move(*godot3), std::move(*lock), std::move(names));
}

WorldFolder::Written WorldFolder::write(WorldFiles& world, const std::function<int()>& stop_signal,
                                        std::vector<StreamedWrite> streamed) const {
    Written done;
    std::vector<std::string> written;
    for (auto& [name, bytes] : world.files) written.push_back(name), name = out_ + "/" + name;
    const std::string marker = world_manifest_not_complete(world.files.back().second);
    for (const StreamedWrite& file : streamed) written.push_back(file.path.substr(out_.size() + 1));
    const std::size_t held = world.files.size();
    done.outcome = publish_files(world.files, "the world", &marker, stop_signal, std::move(streamed));
    for (std::size_t k = 0; k < held; ++k) world.files[k].first = written[k];  // the names again
    if (!done.outcome.problem) done.removed_old = remove_old_world_files(out_, names_, written);
    return done;
}
