#include "recipe_table.hpp"

#include "recipes.hpp"

#include <array>

namespace texgen {

std::span<const TilingRow> tiling_rows() {
    static const std::array<TilingRow, 7> rows = {{
        {"walls", 18, 128, true, 0, false, wall_texel},
        {"plasters", 6, 128, true, 18, false, plaster_texel},
        {"roofs", 12, 128, true, 24, false, roof_texel},
        {"grass", 10, 64, false, 30, true, grass_texel},
        {"grounds", 10, 64, false, 40, true, ground_texel},
        {"waters", 10, 64, false, 50, true, water_texel},
        {"rocks", 20, 64, false, 60, true, rock_texel},
    }};
    return rows;
}

}  // namespace texgen
