#pragma once
#include "export/problem.hpp"
#include "export/render_settings.hpp"
#include "export/run_options.hpp"

#include <string>
#include <utility>
#include <vector>

// What the World window's fields say, each as brannoc-render world takes it
// on its command line. The window's world is the renderer's: its settings
// are read from these words by the renderer's own readers and checks, and
// the command it copies is made of the same words.
struct WorldChoice {
    std::string seed;
    int width = 0, height = 0;  // cells
    int iso_width = 0;
    std::string palette;
    int levels = 0;
    int variants = 0;
    int rivers = 0;
    bool operator==(const WorldChoice&) const = default;
};

// The renderer's own defaults: what `brannoc-render world` draws given no option.
WorldChoice default_world_choice();

// The options that say it, in the order the renderer applies its options.
std::vector<std::pair<RunOptionId, std::string>> world_arguments(const WorldChoice& choice);

// The settings brannoc-render world runs with for those options; the
// problem, as the renderer words it, when it would refuse them.
Problem world_run_settings(const WorldChoice& choice, RenderSettings& settings);

// "brannoc-render world --seed 7 --size 64x64 ..." and, given a folder,
// "--out FOLDER": quoted for a POSIX shell, to be run as it is.
std::string world_command(const WorldChoice& choice, const std::string& folder = "");
