#include "app/window/world_choice.hpp"

#include "app/window/render_command.hpp"
#include "generators/world/world_palettes.hpp"

#include <algorithm>
#include <set>
#include <thread>

WorldChoice default_world_choice() {
    const RenderSettings s = default_world_settings();
    WorldChoice choice;
    choice.seed = std::to_string(s.seed);
    choice.width = s.world_shape.width;
    choice.height = s.world_shape.height;
    choice.iso_width = s.iso_width;
    choice.palette = s.world_shape.palette.empty() ? world_palettes().front().name : s.world_shape.palette;
    choice.levels = s.world_shape.levels;
    choice.variants = s.variants;
    choice.rivers = s.world_shape.rivers;
    return choice;
}

std::vector<std::pair<RunOptionId, std::string>> world_arguments(const WorldChoice& choice) {
    using Id = RunOptionId;
    std::vector<std::pair<Id, std::string>> given = {
        {Id::iso_width, std::to_string(choice.iso_width)},
        {Id::seed, choice.seed},
        {Id::variants, std::to_string(choice.variants)},
        {Id::size, std::to_string(choice.width) + "x" + std::to_string(choice.height)},
        {Id::levels, std::to_string(choice.levels)},
        {Id::palette, choice.palette},
        {Id::rivers, std::to_string(choice.rivers)},
    };
    // As the renderer applies them: in the order of its options.
    const auto place = [](Id id) {
        const auto& rows = run_options();
        return std::find_if(rows.begin(), rows.end(), [id](const RunOption& row) { return row.id == id; }) -
               rows.begin();
    };
    std::stable_sort(given.begin(), given.end(),
                     [&](const auto& a, const auto& b) { return place(a.first) < place(b.first); });
    return given;
}

Problem world_run_settings(const WorldChoice& choice, RenderSettings& settings) {
    settings = default_world_settings();
    settings.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::set<std::string> named;
    for (const auto& [id, value] : world_arguments(choice)) {
        const std::string name = run_option(id).name;
        if (Problem problem = apply_setting(settings, name, value)) return problem;
        named.insert(name);
    }
    return check_run(settings, named);
}

std::string world_command(const WorldChoice& choice, const std::string& folder) {
    std::string command = "brannoc-render world";
    for (const auto& [id, value] : world_arguments(choice)) command += " " + dashed(id) + " " + shell_word(value);
    if (!folder.empty()) command += " " + dashed(RunOptionId::out) + " " + shell_word(folder);
    return command;
}
