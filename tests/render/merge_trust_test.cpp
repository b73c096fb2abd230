// Folders, shards and merges that never lie: one run's files per folder,
// a merge that checks the files it lists, never crashes on a hostile
// manifest, and refuses shards drawn with other options. Runs the real
// program, as a job runner would.
#include "export/output/output_lock.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
struct Ran {
    int code = -1;
    std::string out, err;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MergeTrust : public ::testing::Test {
protected:
    // brannoc-render with `args` (already quoted where they must be).
    Ran render(const std::string& args) const {
        const fs::path out = dir_ / ".stdout", err = dir_ / ".stderr";
        const int status =
            std::system((quoted(BRANNOC_RENDER) + " " + args + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
        Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(out), slurp(err)};
        fs::remove(out);
        fs::remove(err);
        return ran;
    }
    std::string run_args(const fs::path& out, int seed, const std::string& kind = "house") const {
        return "--kind " + kind + " --iso-width 40 --count 12 --seed " + std::to_string(seed) +
               " --jobs 1 --quiet --out " + quoted(out.string());
    }
    void shards(const fs::path& out, int seed, int n, const std::string& extra = "",
                const std::string& kind = "house") const {
        for (int k = 0; k < n; ++k)
            ASSERT_EQ(render(run_args(out, seed, kind) + " " + extra + " --shard " + std::to_string(k) + "/" +
                             std::to_string(n))
                          .code,
                      0);
    }
    Ran merge(const fs::path& folder, const std::string& extra = "") const {
        return render("merge " + extra + " " + quoted(folder.string()));
    }
    ScratchDir scratch_{"brannoc-merge-trust-"};
    const fs::path& dir_ = scratch_.path();
};

void expect_refused(const Ran& ran, const std::string& words) {
    EXPECT_EQ(ran.code, 2) << ran.err;
    EXPECT_NE(ran.err.find(words), std::string::npos) << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
}
}  // namespace

// Item 1: while a shard writes house-*.png, an unsharded run of the same
// names is refused, naming what the shard holds; a finished run of other
// settings over the same names makes the shard manifests stale.
TEST_F(MergeTrust, OneRunsFilesPerFolder) {
    const fs::path p = dir_ / "p";
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(BRANNOC_RENDER, BRANNOC_RENDER, "--kind", "house", "--iso-width", "40", "--count", "200000", "--jobs",
                "1", "--quiet", "--out", p.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until && !fs::exists(p / "house-000001.png"))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The last ten of the same names, as a shard.
    const Ran part = render("--kind house --iso-width 40 --count 200000 --quiet --out " + quoted(p.string()) +
                            " --shard 19999/20000");
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    expect_refused(part, "(listing them in manifest.json) is writing house-000000.png");
    EXPECT_FALSE(fs::exists(p / "manifest.19999-of-20000.json"));

    const fs::path q = dir_ / "q";
    shards(q, 5, 3);
    ASSERT_EQ(render(run_args(q, 6)).code, 0);  // other settings, the same names
    EXPECT_EQ(read_json(q / "manifest.1-of-3.json")["complete"], false);
    expect_refused(merge(q), "stale");
    EXPECT_EQ(read_json(q / "manifest.json")["settings"]["seed"], 6);
    // And the other way round: a shard over a whole run's tiles.
    ASSERT_EQ(render(run_args(q, 5) + " --shard 0/3").code, 0);
    EXPECT_EQ(read_json(q / "manifest.json")["complete"], false);
    EXPECT_TRUE(read_json(q / "manifest.json").contains("stale"));
}

// The lock is by name: runs writing other names share a folder (sheets of
// their own names, the other shards of a split), others are refused.
TEST_F(MergeTrust, RunsOfOtherNamesShareAFolder) {
    const fs::path p = dir_ / "p";
    fs::create_directories(p);
    std::string problem;
    const std::optional<OutputLock> sheet_a = OutputLock::acquire(p, {{"a.json", "a.png"}}, problem);
    const std::optional<OutputLock> shard_0 =
        OutputLock::acquire(p, {{"manifest.0-of-3.json"}, "house-*", 0, 4}, problem);
    ASSERT_TRUE(sheet_a && shard_0) << problem;
    const std::string sheet = "--kind house --iso-width 40 --count 2 --quiet --sheet ";
    EXPECT_EQ(render(sheet + quoted((p / "b.png").string())).code, 0);
    expect_refused(render(sheet + quoted((p / "a.png").string())), "a.json");
    EXPECT_EQ(render(run_args(p, 5) + " --shard 1/3").code, 0);
    expect_refused(render(run_args(p, 5) + " --format bmp"), "house-0000.bmp to house-0003.bmp");
}

// Item 2: a merge confirms every listed file, by size and content hash.
TEST_F(MergeTrust, MergeChecksTheFilesItLists) {
    const fs::path p = dir_ / "p", copied = dir_ / "copied";
    shards(p, 5, 2);
    fs::create_directories(copied);
    for (const char* name : {"manifest.0-of-2.json", "manifest.1-of-2.json"}) fs::copy_file(p / name, copied / name);
    expect_refused(merge(copied), "house-0000.png");
    EXPECT_FALSE(fs::exists(copied / "manifest.json"));

    std::string bytes = slurp(p / "house-0007.png");
    bytes[bytes.size() / 2] ^= 0x5a;  // same size, other content
    std::ofstream(p / "house-0007.png", std::ios::binary) << bytes;
    expect_refused(merge(p), "house-0007.png");
}

// Item 3: wrong types, absurd nesting and odd names are refused with exit 2
// naming the file, never a crash.
TEST_F(MergeTrust, MergeNeverCrashesOnAHostileManifest) {
    const fs::path p = dir_ / "p";
    shards(p, 5, 2);
    const std::string good = slurp(p / "manifest.0-of-2.json");
    const auto swap = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    };
    const std::vector<std::string> hostile = {
        swap("\"index\":0,", "\"index\":\"0\","),
        swap("\"index\": 0\n", "\"index\": null\n"),
        swap("\"complete\": true", "\"complete\": \"true\""),
        swap("\"count\": 2,", "\"count\": \"2\","),
        swap("\"index\":0,", "\"index\":0.5,"),
        swap("\"tiles\": [", "\"tiles\": [" + std::string(200000, '[') + std::string(200000, ']') + ","),
        "null",
    };
    for (const std::string& text : hostile) {
        std::ofstream(p / "manifest.0-of-2.json", std::ios::binary | std::ios::trunc) << text;
        const Ran ran = merge(p);
        expect_refused(ran, "manifest.0-of-2.json");
    }
    std::ofstream(p / "manifest.0-of-2.json", std::ios::binary | std::ios::trunc) << good;
    fs::copy_file(p / "manifest.0-of-2.json", p / "manifest.0-of-0.json");
    expect_refused(merge(p), "manifest.0-of-0.json");
    fs::remove(p / "manifest.0-of-0.json");

    // A leftover split beside this one: choose with --split.
    shards(p, 5, 3);
    expect_refused(merge(p), "--split");
    EXPECT_EQ(merge(p, "--split 3").code, 0);
}

// Item 4: shards drawn with other lighting maps are of another run.
TEST_F(MergeTrust, ShardsRecordEveryOptionThatChangesTheirFiles) {
    const fs::path p = dir_ / "p";
    ASSERT_EQ(render(run_args(p, 5) + " --normals --lit 135,45 --shard 0/2").code, 0);
    ASSERT_EQ(render(run_args(p, 5) + " --normals --lit 90,45 --shard 1/2").code, 0);
    EXPECT_EQ(read_json(p / "manifest.0-of-2.json")["settings"]["lit"], "135,45");
    EXPECT_EQ(read_json(p / "manifest.0-of-2.json")["settings"]["normals"], true);
    expect_refused(merge(p), "lit");
    ASSERT_EQ(render(run_args(p, 5) + " --lit 135,45 --shard 1/2").code, 0);
    expect_refused(merge(p), "normals");
}

// Item 8: the merged manifest is the unsharded run's, byte for byte.
TEST_F(MergeTrust, AMergedManifestIsByteIdenticalToTheWholeRuns) {
    ASSERT_EQ(render(run_args(dir_ / "whole", 5, "water") + " --gif --frames 2").code, 0);
    shards(dir_ / "parts", 5, 3, "--gif --frames 2", "water");
    ASSERT_EQ(merge(dir_ / "parts").code, 0);
    EXPECT_EQ(slurp(dir_ / "parts" / "manifest.json"), slurp(dir_ / "whole" / "manifest.json"));
}

// Item 11: the temporary files of a killed run are removed by the next run
// in that folder, which says so.
TEST_F(MergeTrust, TheNextRunRemovesAKilledRunsTemporaryFiles) {
    const fs::path out = dir_ / "out";
    fs::create_directories(out);
    std::ofstream(out / ".brannoc-Ab3xYz", std::ios::binary) << std::string(1300, 'x');
    std::ofstream(out / ".brannoc-notours.txt") << "kept";
    const Ran ran = render("--kind house --iso-width 40 --count 2 --out " + quoted(out.string()));
    EXPECT_EQ(ran.code, 0) << ran.err;
    EXPECT_FALSE(fs::exists(out / ".brannoc-Ab3xYz"));
    EXPECT_TRUE(fs::exists(out / ".brannoc-notours.txt"));
    EXPECT_NE(ran.err.find("removed 1 temporary file"), std::string::npos) << ran.err;
}

// Item 16: merge has its help, and says what it merged.
TEST_F(MergeTrust, MergeHasHelpAndASummary) {
    const Ran help = render("merge --help");
    EXPECT_EQ(help.code, 0) << help.err;
    EXPECT_NE(help.out.find("--split"), std::string::npos) << help.out;
    EXPECT_TRUE(help.err.empty()) << help.err;
    const fs::path p = dir_ / "p";
    shards(p, 5, 3);
    const Ran merged = render("merge " + quoted(p.string()));
    EXPECT_EQ(merged.code, 0) << merged.err;
    EXPECT_NE(merged.out.find("12 tiles from 3 shards"), std::string::npos) << merged.out;
    EXPECT_EQ(std::count(merged.out.begin(), merged.out.end(), '\n'), 1) << merged.out;
    EXPECT_TRUE(render("merge --quiet " + quoted(p.string())).out.empty());
}
