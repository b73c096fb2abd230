#include "export/manifest.hpp"

#include "export/control_options.hpp"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {
constexpr int manifest_version = 1;

// The head, then the tiles written one by one, each with the settings it
// was drawn with, kept as text.
template <typename Entry>
std::string manifest_text(const RenderSettings& settings, const std::vector<TileRecord>& records,
                          nlohmann::json head, Entry&& entry) {
    head["version"] = manifest_version;
    head["generator"] = "brannoc-render";
    head["kind"] = tab_name(settings.tab);
    head["settings"] = nlohmann::json::parse(settings_as_json(settings));
    std::string text = head.dump(1);
    text.resize(text.rfind('}'));  // reopen the object
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    text += ",\n \"tiles\": [";
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const TileRecord& r = records[i];
        std::string tile = entry(i, r).dump();
        tile.pop_back();  // the closing brace; the settings follow
        text += (i == 0 ? "\n  " : ",\n  ") + tile + ",\"drawn\":" + r.drawn + "}";
    }
    text += "\n ]\n}\n";
    return text;
}
}  // namespace

TileRecord record_of(const RenderedTile& tile) {
    return {tile.image.width(), tile.image.height(), tile.left,     tile.top,
            tile.anchor_x,      tile.anchor_y,       tile.seed, tile.drawn.dump()};
}

std::string tile_file_name(const RenderSettings& settings, int index) {
    int digits = 4;
    for (int n = settings.count - 1; n >= 10000; n /= 10) ++digits;
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, index);
    return tab_name(settings.tab) + "-" + number + (settings.png ? ".png" : ".bmp");
}

std::string run_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records) {
    return manifest_text(settings, records, {}, [&settings](int i, const TileRecord& r) {
        return nlohmann::json{{"index", i},
                              {"file", tile_file_name(settings, i)},
                              {"seed", r.seed},
                              {"width", r.width},
                              {"height", r.height},
                              {"canvas_offset", {r.left, r.top}},
                              {"anchor", {r.anchor_x, r.anchor_y}}};
    });
}

std::string sheet_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records,
                           const SheetLayout& layout, const std::string& image) {
    const nlohmann::json sheet = {{"image", image},
                                  {"width", layout.width},
                                  {"height", layout.height},
                                  {"columns", layout.columns},
                                  {"rows", layout.rows},
                                  {"cell_width", layout.cell_width},
                                  {"cell_height", layout.cell_height},
                                  {"spacing", layout.spacing},
                                  {"margin", layout.margin},
                                  {"anchor", {layout.anchor_x, layout.anchor_y}},
                                  {"diamond", {layout.diamond_width, layout.diamond_height}}};
    return manifest_text(settings, records, {{"sheet", sheet}}, [&layout](int i, const TileRecord& r) {
        return nlohmann::json{{"index", i},
                              {"cell", {i % layout.columns, i / layout.columns}},
                              {"seed", r.seed},
                              {"anchor", {layout.anchor_x, layout.anchor_y}}};
    });
}
