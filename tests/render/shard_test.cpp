// A run split into shards by a job runner (GNU parallel here) and merged
// gives the files and manifest of the whole run.
#include "app/render/shard_merge.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
class ShardDir : public ::testing::Test {
protected:
    static int shell(const std::string& command) { return std::system(command.c_str()); }
    std::string render() const { return std::string("'") + BRANNOC_RENDER + "'"; }
    std::string run_args(const fs::path& out, std::uint64_t seed = 5) const {
        return "--kind house --count 40 --seed " + std::to_string(seed) + " --transparent --jobs 1 --quiet --out '" +
               out.string() + "'";
    }
    // Shards 0, 1 and 2 of three, drawn at once by GNU parallel, then merged.
    void sharded(const fs::path& out) {
        ASSERT_EQ(shell("parallel --will-cite --halt now,fail=1 " + render() + " " + run_args(out) +
                        " --shard {}/3 ::: 0 1 2"),
                  0);
    }
    ScratchDir scratch_{"brannoc-shards-"};
    const fs::path& dir_ = scratch_.path();
};

TEST_F(ShardDir, ThreeShardsThroughGnuParallelMergeIntoTheWholeRun) {
    ASSERT_EQ(shell(render() + " " + run_args(dir_ / "whole")), 0);
    sharded(dir_ / "parts");
    EXPECT_TRUE(fs::exists(dir_ / "parts" / "manifest.1-of-3.json"));
    EXPECT_FALSE(fs::exists(dir_ / "parts" / "manifest.json"));
    ASSERT_EQ(merge_shards((dir_ / "parts").string(), stderr), 0);

    for (int i = 0; i < 40; ++i) {
        const std::string name = "house-" + std::string(i < 10 ? "000" : "00") + std::to_string(i) + ".png";
        ASSERT_EQ(read_file(dir_ / "parts" / name), read_file(dir_ / "whole" / name)) << name;
        EXPECT_EQ(read_rgba(dir_ / "parts" / name).width, read_rgba(dir_ / "whole" / name).width);
    }
    const nlohmann::json merged = read_json(dir_ / "parts" / "manifest.json");
    const nlohmann::json whole = read_json(dir_ / "whole" / "manifest.json");
    EXPECT_EQ(merged["tiles"], whole["tiles"]);
    EXPECT_EQ(merged["settings"], whole["settings"]);
    EXPECT_EQ(merged["complete"], true);
    EXPECT_FALSE(merged.contains("shard"));
}

TEST_F(ShardDir, MergeRefusesASetWithAShardMissingTwiceOrFromAnotherRun) {
    sharded(dir_ / "p");
    const fs::path p = dir_ / "p";
    const auto merge_says = [&](const char* words) {
        testing::internal::CaptureStderr();
        const int code = merge_shards(p.string(), stderr);
        const std::string line = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 2) << line;
        EXPECT_NE(line.find(words), std::string::npos) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        EXPECT_FALSE(fs::exists(p / "manifest.json"));
    };
    fs::rename(p / "manifest.1-of-3.json", dir_ / "kept.json");
    merge_says("shard 1 of 3 is missing");
    fs::copy_file(dir_ / "kept.json", p / "manifest.1-of-3.json");
    fs::copy_file(dir_ / "kept.json", p / "manifest.01-of-3.json");
    merge_says("is there twice");
    fs::remove(p / "manifest.01-of-3.json");
    ASSERT_EQ(shell(render() + " " + run_args(p, 6) + " --shard 1/3"), 0);  // another seed over shard 1
    merge_says("from another run");
    EXPECT_NE(run_render({"--kind", "house", "--count", "4", "--sheet", (dir_ / "s.png").string(), "--shard", "0/2"}),
              0);
    EXPECT_FALSE(fs::exists(dir_ / "s.png"));
}
}  // namespace
