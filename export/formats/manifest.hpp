#pragma once
#include "export/render_settings.hpp"
#include "export/formats/sheet_layout.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

// One file written for a tile, as a merge confirms it: its name in the
// folder, its size and its content hash (FNV-1a 64, canvas/content_hash).
struct WrittenFile {
    std::string name;
    std::uint64_t bytes = 0;
    std::string hash;  // sixteen hex digits
};

// What a run's manifest says of one tile, kept small: a run of a million
// tiles would not fit as one tree of JSON values.
struct TileRecord {
    int index = 0;
    int width = 0, height = 0, left = 0, top = 0, anchor_x = 0, anchor_y = 0;
    std::uint64_t seed = 0;
    std::string drawn;               // the settings it was drawn with, as JSON text
    std::string textures;            // the texture cells and grass colour it shows, as JSON text
    int corners = -1;                // a transition tile's corner mask
    std::vector<WrittenFile> files;  // a run of one file a tile: what it wrote for this tile
};

TileRecord record_of(const RenderedTile& tile, int index);

// The file name of tile `index` of a run: "house-0007.png"; the number has
// as many digits as the run's largest index needs, four at least.
std::string tile_file_name(const RenderSettings& settings, int index);
// Its animated preview beside it: "water-0007.gif".
std::string tile_gif_name(const RenderSettings& settings, int index);

// A run's manifest is written as its tiles finish, so memory stays flat
// however many there are: the head, then each tile's entry (first says
// whether it opens the list), then the tail. Only the tail of a finished
// run says "complete": true; a run that stopped early lists exactly the
// tiles it wrote under "complete": false.
std::string run_manifest_head(const RenderSettings& settings);
// Where a run's manifest goes: DIR/manifest.json, or for shard K of N
// DIR/manifest.K-of-N.json.
std::string run_manifest_path(const RenderSettings& settings);
std::string run_manifest_entry(const RenderSettings& settings, const TileRecord& record, bool first);
std::string manifest_tail(bool complete);
// The tail a later run puts in place of manifest_tail(true) when it
// replaces files the manifest lists: the manifest is then stale.
std::string stale_manifest_tail(const std::string& why);

// The pieces of the text, for a merge that must give the same bytes: a
// head object (without its tiles) left open for them, and one tile's entry
// from its parsed fields.
std::string manifest_head_text(const nlohmann::json& head);
std::string manifest_entry_text(nlohmann::json tile, bool first);

// A run's tile files are "KIND-NUMBER.EXT", and its GIFs and lighting maps
// "KIND-NUMBER.gif", "KIND-NUMBER_n.png", ... whatever the image format:
// the family "KIND-*" names the files two runs may share; empty for a name
// of another shape.
std::string tile_family(const std::string& file_name);

// The whole manifest of a run of one file a tile: for each its file, seed,
// size, place on the canvas, anchor and settings.
std::string run_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records, bool complete = true);

// The manifest of a sheet named `image`: the sheet's grid, then each tile's
// cell, seed, anchor in its cell and settings.
std::string sheet_manifest(const RenderSettings& settings, const std::vector<TileRecord>& records,
                           const SheetLayout& layout, const std::string& image);
