// A seeded sweep over merges of damaged and hostile shard sets: values of
// the wrong type, absurd nesting, truncation, odd names, files missing,
// changed or replaced by a pipe. Whatever the damage, merge ends with 0, 1
// or 2 (never a crash, here under the sanitizers in CI), a refusal is one
// line and writes no manifest.json, and nothing temporary is left.
#include "app/render/shard_merge.hpp"

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

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> keys = {"index", "count", "first", "end",      "complete", "bytes", "fnv1a64", "file",
                                       "files", "tiles", "shard", "settings", "version",  "gif",   "stale"};
const std::vector<std::string> values = {"\"0\"",
                                         "null",
                                         "0.5",
                                         "-1",
                                         "[]",
                                         "{}",
                                         "\"true\"",
                                         "18446744073709551616",
                                         "1e308",
                                         "\"../../../etc/passwd\"",
                                         "\"\"",
                                         "true",
                                         std::string(100000, '[') + std::string(100000, ']')};
const std::vector<std::string> names = {"manifest.0-of-0.json", "manifest.5-of-2.json", "manifest.0-of-3.json",
                                        "manifest.00-of-2.json"};

std::string text_of(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

// One damage to the set in `p`.
void damage(const fs::path& p, RandomSource& dice) {
    const std::string manifest = "manifest." + std::to_string(random_below(dice, 2)) + "-of-2.json";
    const fs::path m = p / manifest;
    const auto plain = [](const fs::path& file) { return fs::is_regular_file(fs::symlink_status(file)); };
    if (!plain(m)) return;  // already a pipe, a link or gone
    std::string text = slurp(m);
    switch (random_below(dice, 9)) {
        case 0:
        case 1:
        case 2: {  // a key's value of the wrong type; the old one kept under another key
            const std::string key = "\"" + one_of(dice, keys) + "\":";
            std::vector<std::size_t> at;
            for (std::size_t k = text.find(key); k != std::string::npos; k = text.find(key, k + 1)) at.push_back(k);
            if (at.empty()) return;
            const std::size_t where = at[random_below(dice, static_cast<int>(at.size()))];
            text.replace(where, key.size(), key + one_of(dice, values) + ", \"x" + key.substr(1));
            break;
        }
        case 3: text.resize(random_below(dice, static_cast<int>(text.size()))); break;
        case 4: fs::rename(m, p / one_of(dice, names)); return;
        case 5: fs::remove(m); return;
        case 6: {  // a tile file missing, changed, longer, or not a file
            const std::string tile = "house-000" + std::to_string(random_below(dice, 6)) + ".png";
            const int how = random_below(dice, 5);
            if (!plain(p / tile)) return;
            std::string bytes = slurp(p / tile);
            fs::remove(p / tile);
            if (how == 0) return;
            if (how == 1) bytes[bytes.size() / 2] ^= 1;
            if (how == 2) bytes += "x";
            if (how == 3) {
                ASSERT_EQ(::mkfifo((p / tile).c_str(), 0644), 0);
                return;
            }
            if (how == 4) {
                fs::create_symlink("/dev/zero", p / tile);
                return;
            }
            std::ofstream(p / tile, std::ios::binary) << bytes;
            return;
        }
        case 7:
            fs::remove(m);
            if (random_below(dice, 2)) ASSERT_EQ(::mkfifo(m.c_str(), 0644), 0);
            else fs::create_symlink("/dev/zero", m);
            return;
        case 8: text = "{\"shard\": {\"index\": 0, \"count\": 2}, \"tiles\": " + one_of(dice, values) + "}"; break;
    }
    std::ofstream(m, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> leftovers(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".brannoc", 0) == 0) found.push_back(name);
    }
    return found;
}
}  // namespace

TEST(MergeSweep, EveryDamagedSetIsRefusedInOneLineOrMergedWhole) {
    ScratchDir scratch("brannoc-merge-sweep-");
    const fs::path good = scratch.path() / "good", p = scratch.path() / "p";
    for (const char* shard : {"0/2", "1/2"})
        ASSERT_EQ(run_render({"--kind", "house", "--iso-width", "40", "--count", "6", "--jobs", "1", "--out",
                              good.string(), "--shard", shard}),
                  0);
    RandomSource dice(20261209);
    const auto until = SweepClock::now() + sweep_budget(4.0);
    int runs = 0, merged = 0;
    while (SweepClock::now() < until) {
        fs::remove_all(p);
        fs::copy(good, p);
        for (int n = 1 + random_below(dice, 2); n > 0; --n) damage(p, dice);
        std::FILE *out = std::tmpfile(), *report = std::tmpfile();
        const int code = merge_shards(MergeRequest{p.string(), random_below(dice, 4) == 0 ? 3 : 0, false}, out, report);
        const std::string said = text_of(out), text = text_of(report);
        ++runs;
        ASSERT_TRUE(code == 0 || code == 1 || code == 2) << code;
        EXPECT_TRUE(leftovers(p).empty()) << leftovers(p).front();
        if (code == 0) {
            ++merged;
            EXPECT_NE(said.find("6 tiles from 2 shards"), std::string::npos) << said;
            EXPECT_EQ(read_json(p / "manifest.json")["complete"], true);
        } else {
            EXPECT_EQ(text.rfind("brannoc-render: merge: ", 0), 0u) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
            EXPECT_FALSE(fs::exists(p / "manifest.json")) << text;
        }
    }
    std::printf("merge sweep: %d merges, %d whole\n", runs, merged);
    EXPECT_GT(runs, 20);
}
