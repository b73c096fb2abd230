// A seeded sweep over brannoc-render's inputs: random command lines built
// from good and hostile values, hostile settings files and texture folders.
// Whatever comes in, a run ends with 0, 1 or 2; a failure is one line;
// a refused run writes nothing; no temporary file or lock is left; and a
// finished run's manifest says it is complete and lists every tile.
#include "../support/render_run.hpp"

#include "canvas/random_source.hpp"

#include "sweep_support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::vector<std::vector<std::string>> option_values = {{"--kind", "house"},
                                                             {"--kind", "water"},
                                                             {"--kind", "mountain"},
                                                             {"--kind", "castle"},
                                                             {"--kind", ""},
                                                             {"--iso-width", "40"},
                                                             {"--iso-width", "64"},
                                                             {"--iso-width", "63"},
                                                             {"--iso-width", "-2"},
                                                             {"--count", "2"},
                                                             {"--count", "0"},
                                                             {"--count", "99999999999999999999"},
                                                             {"--seed", "7"},
                                                             {"--seed", "-1"},
                                                             {"--jobs", "2"},
                                                             {"--jobs", "100000"},
                                                             {"--format", "bmp"},
                                                             {"--format", "gif"},
                                                             {"--transparent"},
                                                             {"--trim"},
                                                             {"--columns", "2"},
                                                             {"--spacing", "3"},
                                                             {"--margin", "5000"},
                                                             {"--cell-frames"},
                                                             {"--tile-seed", "12"},
                                                             {"--frames"},
                                                             {"--frames", "3"},
                                                             {"--frames", "99"},
                                                             {"--frame-ms", "5"},
                                                             {"--gif"},
                                                             {"--wall-texture", "3,7"},
                                                             {"--wall-texture", ""},
                                                             {"--wall-texture", "1,,2"},
                                                             {"--door-texture", "99"},
                                                             {"--house-shape", "4 x 4"},
                                                             {"--leaves", "60"},
                                                             {"--lock-size=false"},
                                                             {"--conifer"},
                                                             {"--grass"},
                                                             {"--cout", "3"},
                                                             {"--out"},
                                                             {"--kind", "ho\x1b[2Juse\n"},
                                                             {"--settings", "--quiet"}};

// Settings files, good and hostile; "FIFO" and "DIR" stand for a pipe and a folder.
const std::vector<std::string> settings_texts = {R"({"kind": "terrain", "iso-width": 64, "grass": true, "count": 2})",
                                                 R"({"out": null})",
                                                 R"({"count": [3]})",
                                                 R"({"transparent": 1})",
                                                 R"({"count": 2, "count": 3})",
                                                 R"({"sheet": "a\u0000.png"})",
                                                 R"({"kind": {"nested": true}})",
                                                 R"([1, 2])",
                                                 R"({"kind": "water")",
                                                 std::string(5000, '[') + std::string(5000, ']'),
                                                 R"({"settings": "self.json"})",
                                                 R"({"seed": 1.5})",
                                                 R"({"wall-texture": [3, "x"]})",
                                                 "FIFO",
                                                 "DIR",
                                                 ""};

// What goes in place of one sheet of a texture folder.
const std::vector<std::string> sheet_faults = {"good", "missing", "FIFO", "DIR", "zero", "truncated", "text"};

class OptionSweep : public ::testing::Test {
protected:
    void make_settings(const fs::path& path, const std::string& text) {
        fs::remove_all(path);
        if (text == "FIFO") ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        else if (text == "DIR") fs::create_directory(path);
        else std::ofstream(path, std::ios::binary) << text;
    }
    void make_textures(const fs::path& folder, RandomSource& dice) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* name : {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"}) {
            const fs::path sheet = folder / name, builtin = fs::path(BRANNOC_ASSETS_DIR) / name;
            const std::string& fault = random_below(dice, 3) == 0 ? one_of(dice, sheet_faults) : sheet_faults[0];
            if (fault == "good") fs::copy_file(builtin, sheet);
            else if (fault == "FIFO") ASSERT_EQ(::mkfifo(sheet.c_str(), 0644), 0);
            else if (fault == "DIR") fs::create_directory(sheet);
            else if (fault == "zero") fs::create_symlink("/dev/zero", sheet);
            else if (fault == "truncated") {
                const std::vector<std::uint8_t> bytes = read_file(builtin);
                std::ofstream(sheet, std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()), bytes.size() / 3);
            } else if (fault == "text") std::ofstream(sheet) << "no picture";
        }
    }
    ScratchDir scratch_{"brannoc-option-sweep-"};
    const fs::path& dir_ = scratch_.path();
};

std::vector<std::string> leftovers(const fs::path& dir) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(".brannoc-", 0) == 0 || name.find(".lock") != std::string::npos) found.push_back(name);
    }
    return found;
}
}  // namespace

TEST_F(OptionSweep, EveryInputEndsCleanlyWithNothingLeftBehind) {
    RandomSource dice(20261208);
    const auto until = SweepClock::now() + sweep_budget(8.0);
    int runs = 0, refused = 0;
    while (SweepClock::now() < until) {
        const fs::path out = dir_ / "out";
        fs::remove_all(out);
        std::vector<std::string> args;
        for (int n = random_below(dice, 4); n > 0; --n)
            for (const std::string& arg : one_of(dice, option_values)) args.push_back(arg);
        if (random_below(dice, 3) == 0) {
            make_settings(dir_ / "s.json", one_of(dice, settings_texts));
            args.insert(args.end(), {"--settings", (dir_ / "s.json").string()});
        }
        if (random_below(dice, 4) == 0) {
            make_textures(dir_ / "textures", dice);
            args.insert(args.end(), {"--textures", (dir_ / "textures").string()});
        }
        const bool sheet = random_below(dice, 4) == 0;
        args.insert(args.end(), {sheet ? "--sheet" : "--out", sheet ? (out / "s.png").string() : out.string()});
        if (sheet) fs::create_directories(out);

        args.push_back("--quiet");
        const ParsedCommandLine parsed = parse_args(args);
        int code = parsed.exit_code;
        std::string text = parsed.settings ? "" : parsed.text + "\n";
        if (parsed.settings) {
            std::FILE* report = std::tmpfile();
            code = run_batch(*parsed.settings, report);
            std::rewind(report);
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, report)) > 0;) text.append(buffer, n);
            std::fclose(report);
        }
        ++runs;
        std::string line;
        for (const std::string& a : args) line += " " + a;
        SCOPED_TRACE(line);

        ASSERT_TRUE(code == 0 || code == 1 || code == 2) << code;
        EXPECT_TRUE(leftovers(dir_).empty()) << leftovers(dir_).front();
        if (code != 0) {
            ++refused;
            EXPECT_EQ(text.rfind("brannoc-render: ", 0), 0u) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        }
        if (code == 2) {
            EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out) || sheet) << text;
        }
        if (code == 0 && !sheet) {
            const nlohmann::json manifest = read_json(out / "manifest.json");
            EXPECT_EQ(manifest["complete"], true);
            for (const auto& tile : manifest["tiles"]) EXPECT_TRUE(fs::exists(out / tile["file"].get<std::string>()));
        }
        if (code == 0 && sheet) {
            EXPECT_TRUE(fs::exists(out / "s.json"));
        }
    }
    std::printf("option sweep: %d runs, %d refused\n", runs, refused);
    EXPECT_GT(runs, 20);
}
