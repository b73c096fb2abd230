#pragma once
#include "canvas/open_folder.hpp"
#include "export/output/output_lock.hpp"
#include "export/output/publish_files.hpp"
#include "export/world/world_build.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The folder a world (or one chunk of it, named `stem`) is written into,
// made ready before its files go in: made if missing and opened (every
// file then goes through its descriptor, Godot 3's folder inside it too), every name the world may write
// locked against other runs, and each checked to be replaceable. Both the
// renderer and the window write a world through one of these, so both
// write it with the same safety.
class WorldFolder {
public:
    // nullopt with `problem` in a sentence when the world cannot go there.
    static std::optional<WorldFolder> prepare(const std::string& out, const std::string& stem, std::string& problem);

    // "removed 2 temporary files that a killed run left in DIR", or "".
    std::string leftovers_line() const { return lock_.leftovers_line(out_); }

    struct Written {
        PublishOutcome outcome;
        std::string removed_old;  // the line naming an older world's files removed, or ""
    };
    // Puts the world's files in place, all or none, the manifest saying it is
    // not complete while they go in; then removes what an older world of
    // this name left that this one does not write.
    // `streamed`: the world's picture, already written into its writer.
    Written write(WorldFiles& world, const std::function<int()>& stop_signal = {},
                  std::vector<StreamedWrite> streamed = {}) const;

private:
    WorldFolder(std::string out, std::string stem, OpenFolder folder, OpenFolder godot3, OutputLock lock,
                std::vector<std::string> names);
    std::string out_, stem_;
    OpenFolder folder_, godot3_;  // the folder and Godot 3's inside it
    OutputLock lock_;
    std::vector<std::string> names_;
};
