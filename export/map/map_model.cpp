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
