#include "sheets.hpp"

#include "recipe_table.hpp"
#include "recipes.hpp"
#include "sheet_layout.hpp"

namespace texgen {
namespace {

// Paints every tiling row that lives on the given sheet.
void paint_tiling_rows(PixelImage& sheet, bool building) {
    int columns = sheet.width() / (building ? kLargeCell : kSmallCell);
    for (const TilingRow& row : tiling_rows()) {
        if (row.on_building_sheet != building) continue;
        for (int v = 0; v < row.count; ++v) {
            int cell = row.first_cell + v;
            int x0 = (cell % columns) * row.period, y0 = (cell / columns) * row.period;
            for (int y = 0; y < row.period; ++y)
                for (int x = 0; x < row.period; ++x) sheet.set(x0 + x, y0 + y, row.texel(v, x, y));
        }
    }
}

}  // namespace

PixelImage make_building_sheet() {
    PixelImage sheet(kBuildingWidth, kBuildingHeight, kSpareColour);
    paint_tiling_rows(sheet, true);
    return sheet;
}

PixelImage make_ground_sheet() {
    PixelImage sheet(kGroundWidth, kGroundHeight);
    for (int i = 0; i < 10; ++i) {
        sheet.blit(paint_door(i), 0, 0, kSmallCell, kSmallCell, i * kSmallCell, kDoorRow * kSmallCell);
        sheet.blit(paint_window(i), 0, 0, kSmallCell, kSmallCell, i * kSmallCell, kWindowRow * kSmallCell);
        sheet.fill_rect(i * kSmallCell, kFlatGrassRow * kSmallCell, kSmallCell, kSmallCell,
                        kFlatGrass[static_cast<std::size_t>(i)]);
    }
    paint_tiling_rows(sheet, false);
    return sheet;
}

PixelImage make_boulder_sheet() {
    PixelImage sheet(kBoulderWidth, kBoulderHeight);
    for (int i = 0; i < 12; ++i)
        sheet.blit(paint_boulder(i), 0, 0, kSmallCell, kSmallCell, (i % 4) * kSmallCell, (i / 4) * kSmallCell);
    for (int i = 0; i < 4; ++i)
        sheet.fill_rect(i * kSmallCell, 3 * kSmallCell, kSmallCell, kSmallCell,
                        kBoulderFlat[static_cast<std::size_t>(i)]);
    return sheet;
}

}  // namespace texgen

namespace texgen {

SheetSet make_all_sheets() {
    SheetSet s;
    s.boulder = make_boulder_sheet();
    s.ground = make_ground_sheet();
    s.building = make_building_sheet();
    return s;
}

}  // namespace texgen
