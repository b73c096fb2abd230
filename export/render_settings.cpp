#include "export/render_settings.hpp"

#include "export/control_options.hpp"

#include <nlohmann/json.hpp>

std::string settings_as_json(const RenderSettings& s) {
    nlohmann::json out;
    out["kind"] = tab_name(s.tab);
    out["iso-width"] = s.iso_width;
    out["count"] = s.count;
    if (s.tile_stream) out["tile-seed"] = *s.tile_stream;
    else out["seed"] = s.seed;
    if (!s.texture_folder.empty()) out["textures"] = s.texture_folder;
    out["format"] = s.png ? "png" : "bmp";
    out["transparent"] = s.transparent;
    out["trim"] = s.trim;
    if (s.loop_frames > 1) out["frames"] = s.loop_frames, out["frame-ms"] = s.frame_ms;
    if (s.gif) out["gif"] = true;
    if (s.tab == transition_kind) {
        out["terrains"] = terrain_name(s.terrain_a) + "," + terrain_name(s.terrain_b);
        out["variants"] = s.variants;
    }
    for (const auto& [control, state] : s.controls)
        for (const ControlOption& option : control_options())
            if (option.control == control && option.name != "iso-width") {
                if (option.kind == OptionKind::flag) out[option.name] = state != 0;
                else out[option.name] = option.spec->items[state];
            }
    for (const auto& [button, picks] : s.textures)
        for (const ControlOption& option : control_options())
            if (option.control == button) {
                if (option.kind == OptionKind::texture) out[option.name] = picks.front();
                else out[option.name] = picks;
            }
    return out.dump(2);
}
