// The looks of each kind: a few drawings of each variety and size, so a
// forest of a thousand trees shows no pattern and the sheet stays small.
#include "generators/world/world_looks.hpp"

#include <algorithm>
#include <array>

namespace {

using Variety = WorldLookVariety;

struct LookRun {
    Variety variety;
    std::vector<int> widths;  // per size, smallest first, in hundredths of the tile width
    int drawings;             // of each size
};

std::vector<WorldLook> looks_of(const std::vector<LookRun>& runs) {
    std::vector<WorldLook> looks;
    for (const LookRun& run : runs)
        for (int size = 0; size < static_cast<int>(run.widths.size()); ++size)
            for (int k = 0; k < run.drawings; ++k)
                looks.push_back({run.variety, size, run.widths[static_cast<std::size_t>(size)]});
    return looks;
}

const std::array<std::vector<WorldLook>, 5>& all_looks() {
    // By WorldObjectKind: tree, house, boulder, bush, mountain. Trees from
    // saplings to old trees; mountains two and three cells across, crags
    // inside one.
    static const std::array<std::vector<WorldLook>, 5> looks = {
        looks_of({{Variety::plain, {80, 100, 115, 130}, 3}, {Variety::conifer, {60, 70, 80, 88}, 3}}),
        looks_of({{Variety::plain, {100}, 4}}),
        looks_of({{Variety::plain, {100}, 4}}),
        looks_of({{Variety::plain, {100}, 4}}),
        looks_of({{Variety::plain, {200, 300}, 3},
                  {Variety::snowy, {200, 300}, 3},
                  {Variety::crag, {85}, 3},
                  {Variety::snowy_crag, {85}, 3}}),
    };
    return looks;
}

}  // namespace

const std::vector<WorldLook>& world_looks(WorldObjectKind kind) { return all_looks()[static_cast<std::size_t>(kind)]; }

int world_object_looks(WorldObjectKind kind) { return static_cast<int>(world_looks(kind).size()); }

int world_look_sizes(WorldObjectKind kind, WorldLookVariety variety) {
    int sizes = 0;
    for (const WorldLook& look : world_looks(kind))
        if (look.variety == variety) sizes = std::max(sizes, look.size + 1);
    return sizes;
}

int world_look(WorldObjectKind kind, WorldLookVariety variety, int size, std::uint64_t pick) {
    const std::vector<WorldLook>& looks = world_looks(kind);
    size = std::clamp(size, 0, std::max(0, world_look_sizes(kind, variety) - 1));
    int first = -1, count = 0;
    for (int k = 0; k < static_cast<int>(looks.size()); ++k)
        if (looks[static_cast<std::size_t>(k)].variety == variety && looks[static_cast<std::size_t>(k)].size == size) {
            if (first < 0) first = k;
            ++count;
        }
    if (count == 0) return 0;
    return first + static_cast<int>(pick % static_cast<std::uint64_t>(count));
}
