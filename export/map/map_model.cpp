#include "export/map/map_model.hpp"

#include "export/formats/tiled_files.hpp"

MapTileset map_tileset(const SheetLayout& layout, const Sheet& sheet, std::string name, std::string source,
                       int first_gid) {
    const TiledOffset offset = tiled_tile_offset(layout);
    return {std::move(name), std::move(source), &sheet.image,
            &sheet.alpha,    first_gid,         layout.columns * layout.rows,
            layout.columns,  layout.cell_width, layout.cell_height,
            layout.spacing,  layout.margin,     offset.x,
            offset.y};
}

int map_tileset_of(const MapModel& map, std::uint32_t gid) {
    gid &= ~map_gid_flags;
    int found = -1;
    for (int i = 0; i < static_cast<int>(map.tilesets.size()); ++i)
        if (static_cast<std::uint32_t>(map.tilesets[i].first_gid) <= gid &&
            (found < 0 || map.tilesets[i].first_gid > map.tilesets[found].first_gid))
            found = i;
    return found;
}
