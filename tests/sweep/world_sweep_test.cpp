// A seeded sweep over worlds and their merges: random world command lines
// of good and hostile values (sizes, splits, levels, thresholds, moving
// water, settings files), then chunk sets damaged as a job runner's folder
// or a hostile user might leave them. Whatever comes in, a run ends with
// 0, 1 or 2, a failure is one line, a refused run writes nothing, nothing
// temporary is left, and a finished world's manifest says it is complete
// and lists every file beside it as it is.
#include "app/render/command_line.hpp"
#include "app/render/shard_merge.hpp"
#include "app/render/world_run.hpp"
#include "canvas/content_hash.hpp"
#include "export/formats/world_file_names.hpp"

#include "../support/render_run.hpp"

#include "sweep_support.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
const std::vector<std::vector<std::string>> world_values = {{"--size", "3x2"},
                                                            {"--size", "1x9"},
                                                            {"--size", "5x5"},
                                                            {"--size", "0x4"},
                                                            {"--size", "4096x4096"},
                                                            {"--size", "x"},
                                                            {"--iso-width", "40"},
                                                            {"--iso-width", "41"},
                                                            {"--seed", "9"},
                                                            {"--levels", "0"},
                                                            {"--levels", "2"},
                                                            {"--levels", "9"},
                                                            {"--variants", "1"},
                                                            {"--variants", "65"},
                                                            {"--palette", "arid"},
                                                            {"--palette", "lunar"},
                                                            {"--thresholds", "rock=0.6"},
                                                            {"--thresholds", "water=0.5,water=0.4"},
                                                            {"--thresholds", "snow=0.1"},
                                                            {"--frames", "2"},
                                                            {"--frame-ms", "50"},
                                                            {"--flow", "45"},
                                                            {"--normals"},
                                                            {"--shard", "1/2"},
                                                            {"--shard", "0/3"},
                                                            {"--shard", "5/2"},
                                                            {"--shard", "0/40"},
                                                            {"--kind", "house"},
                                                            {"--count", "3"},
                                                            {"--jobs", "1"}};

const std::vector<std::string> world_settings = {R"({"size": "3x3", "levels": 1})", R"({"size": 3})",
                                                 R"({"thresholds": "forest=0.2"})", R"({"trim": true})", "[]"};

std::vector<std::string> leftovers(const fs::path& dir) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(".brannoc", 0) == 0) found.push_back(name);
    }
    return found;
}

std::string text_of(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of a finished world is listed, as it is.
void expect_listed(const fs::path& out, const std::string& manifest) {
    const nlohmann::json m = read_json(out / manifest);
    EXPECT_EQ(m["complete"], true);
    const std::string stem = manifest.substr(0, manifest.size() - 5);
    for (const auto& [name, written] : m["files"].items()) {
        const std::string bytes = slurp(out / name);
        EXPECT_EQ(written["bytes"], bytes.size()) << name;
        EXPECT_EQ(written["fnv1a64"], content_hash_hex(bytes.data(), bytes.size())) << name;
    }
    for (const std::string& name : world_file_names(stem)) {
        if (fs::exists(fs::symlink_status(out / name))) {
            EXPECT_TRUE(name == manifest || m["files"].contains(name)) << name << " lies there unlisted";
        }
    }
}
}  // namespace

TEST(WorldSweep, EveryWorldEndsCleanlyWithNothingLeftBehind) {
    ScratchDir scratch("brannoc-world-sweep-");
    RandomSource dice(20261210);
    const auto until = SweepClock::now() + sweep_budget(6.0);
    int runs = 0, refused = 0;
    while (SweepClock::now() < until) {
        const fs::path out = scratch.path() / "out";
        if (random_below(dice, 3) != 0) fs::remove_all(out);  // now and then over the last world
        std::vector<std::string> args = {"world", "--size", "3x3", "--iso-width", "40"};
        for (int n = random_below(dice, 4); n > 0; --n)
            for (const std::string& arg : one_of(dice, world_values)) args.push_back(arg);
        if (random_below(dice, 5) == 0) {
            const fs::path file = scratch.path() / "s.json";
            std::ofstream(file, std::ios::binary | std::ios::trunc) << one_of(dice, world_settings);
            args.insert(args.end(), {"--settings", file.string()});
        }
        args.insert(args.end(), {"--out", out.string(), "--quiet"});
        const bool existed = fs::exists(out);
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        const ParsedCommandLine parsed =
            parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
        int code = parsed.exit_code;
        std::string text = parsed.settings ? "" : parsed.text + "\n";
        if (parsed.settings) {
            std::FILE* report = std::tmpfile();
            code = run_world(*parsed.settings, report);
            text = text_of(report);
        }
        ++runs;
        std::string line;
        for (const std::string& a : args) line += " " + a;
        SCOPED_TRACE(line);
        ASSERT_TRUE(code == 0 || code == 1 || code == 2) << code;
        EXPECT_TRUE(leftovers(scratch.path()).empty()) << leftovers(scratch.path()).front();
        if (code != 0) {
            ++refused;
            EXPECT_EQ(text.rfind("brannoc-render: ", 0), 0u) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
            if (code == 2 && !existed) {
                EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out)) << text;
            }
            continue;
        }
        const std::string manifest = parsed.settings->shards > 1
                                         ? "world_" + std::to_string(parsed.settings->shard) + ".json"
                                         : "world.json";
        expect_listed(out, manifest);
    }
    std::printf("world sweep: %d runs, %d refused\n", runs, refused);
    EXPECT_GT(runs, 10);
}

// A chunk set damaged: values of the wrong type, lies about the chunk's
// place, map and files, truncation, odd names, files missing, changed or
// replaced by a pipe. Merge ends with 0, 1 or 2, a refusal is one line and
// writes none of the merge's files.
TEST(WorldSweep, EveryDamagedChunkSetIsRefusedInOneLineOrMergedWhole) {
    ScratchDir scratch("brannoc-chunk-sweep-");
    const fs::path good = scratch.path() / "good", p = scratch.path() / "p";
    for (const char* shard : {"0/2", "1/2"}) {
        std::vector<std::string> args = {"world", "--size", "4x3", "--iso-width", "40", "--levels", "1",
                                         "--jobs", "1", "--quiet", "--shard", shard, "--out", good.string()};
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        const ParsedCommandLine parsed =
            parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
        ASSERT_TRUE(parsed.settings) << parsed.text;
        ASSERT_EQ(run_world(*parsed.settings, stderr), 0);
    }
    const std::vector<std::string> keys = {"map",  "x",        "y",     "width", "height",   "of",      "index",
                                           "size", "settings", "files", "bytes", "complete", "fnv1a64", "seed",
                                           "tile_size", "tilesets", "image", "chunk"};
    const std::vector<std::string> values = {"\"0\"", "null", "-1", "[]", "{}", "\"yes\"", "18446744073709551616",
                                             "1e308", "\"../../../etc/passwd\"", "\"world_0.tmx\"", "7",
                                             std::string(100000, '[') + std::string(100000, ']')};
    RandomSource dice(20261211);
    const auto until = SweepClock::now() + sweep_budget(4.0);
    int runs = 0, merged = 0;
    while (SweepClock::now() < until) {
        fs::remove_all(p);
        fs::copy(good, p);
        for (int n = random_below(dice, 3); n > 0; --n) {  // now and then a set as it was written
            const fs::path m = p / ("world_" + std::to_string(random_below(dice, 2)) + ".json");
            if (!fs::is_regular_file(fs::symlink_status(m))) continue;
            std::string text = slurp(m);
            switch (random_below(dice, 7)) {
                case 0:
                case 1:
                case 2: {  // a key's value of the wrong type, or another's
                    const std::string key = "\"" + one_of(dice, keys) + "\":";
                    const std::size_t at = text.find(key);
                    if (at == std::string::npos) break;
                    const std::size_t end = text.find_first_of(",\n", at + key.size() + 1);
                    text.replace(at + key.size(), end - at - key.size(), " " + one_of(dice, values));
                    break;
                }
                case 3: text.resize(random_below(dice, static_cast<int>(text.size()))); break;
                case 4: fs::remove(p / ("world_" + std::to_string(random_below(dice, 2)) + ".tmx")); break;
                case 5:
                    fs::remove(m);
                    ASSERT_EQ(::mkfifo(m.c_str(), 0644), 0);
                    continue;
                case 6: fs::rename(m, p / "world_7.json"); continue;
            }
            std::ofstream(m, std::ios::binary | std::ios::trunc) << text;
        }
        std::FILE *out = std::tmpfile(), *report = std::tmpfile();
        const int code = merge_shards(MergeRequest{p.string(), 0, false}, out, report);
        const std::string said = text_of(out), text = text_of(report);
        ++runs;
        ASSERT_TRUE(code == 0 || code == 1 || code == 2) << code;
        EXPECT_TRUE(leftovers(p).empty()) << leftovers(p).front();
        if (code == 0) {
            ++merged;
            EXPECT_EQ(read_json(p / "world_chunks.json")["complete"], true);
        } else {
            EXPECT_EQ(text.rfind("brannoc-render: merge: ", 0), 0u) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
            for (const char* file : {"world.world", "world_chunks.json", "world_chunks.tscn"})
                EXPECT_FALSE(fs::exists(p / file)) << file << ": " << text;
        }
    }
    std::printf("chunk merge sweep: %d merges, %d whole\n", runs, merged);
    EXPECT_GT(runs, 10);
}
