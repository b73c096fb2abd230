// Worlds and their merges that never lie: a chunk's manifest is checked for
// everything it claims, a world never writes over what it reads or what
// another run writes, and a world.json never says complete over files it
// does not describe. Runs the real program, as a job runner would.
#include "export/output/output_lock.hpp"
#include "export/formats/world_file_names.hpp"

#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
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

void expect_refused(const Ran& ran, const std::string& words) {
    EXPECT_EQ(ran.code, 2) << ran.err;
    EXPECT_NE(ran.err.find(words), std::string::npos) << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
}

class WorldTrust : public ::testing::Test {
protected:
    Ran render(const std::string& args) const {
        const fs::path out = dir_ / ".stdout", err = dir_ / ".stderr";
        const int status =
            std::system((quoted(BRANNOC_RENDER) + " " + args + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
        Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(out), slurp(err)};
        fs::remove(out);
        fs::remove(err);
        return ran;
    }
    // A small world, quick under the sanitizers too.
    std::string world(const fs::path& out, const std::string& extra = "") const {
        return "world --size 6x4 --seed 3 --levels 1 --iso-width 40 --jobs 1 --quiet --out " + quoted(out.string()) +
               " " + extra;
    }
    void chunks(const fs::path& out, const std::string& extra = "") const {
        for (const char* k : {"0/2", "1/2"}) ASSERT_EQ(render(world(out, extra + " --shard " + k)).code, 0);
    }
    Ran merge(const fs::path& folder) const { return render("merge " + quoted(folder.string())); }
    ScratchDir scratch_{"brannoc-world-trust-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

// A chunk's manifest is trusted for nothing it says: its shape, its place,
// its map and its files are all checked, and a refusal names the file.
TEST_F(WorldTrust, MergeChecksEverythingAChunkClaims) {
    const fs::path p = dir_ / "p";
    chunks(p);
    const std::string good = slurp(p / "world_1.json");
    const auto swap = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        std::ofstream(p / "world_1.json", std::ios::binary | std::ios::trunc) << text;
    };
    const std::pair<std::pair<std::string, std::string>, std::string> lies[] = {
        {{"\"map\": \"world_1.tmx\"", "\"map\": \"../../etc/passwd\""}, "\"map\""},
        {{"\"x\": 3,", "\"x\": 2,"}, "grid"},
        {{"\"settings\":", "\"settinks\":"}, "\"settings\" is missing"},
        {{"\"complete\": true", "\"complete\": \"yes\""}, "\"complete\""},
        {{"\"world_1.tmx\": {", "\"../world_1.tmx\": {"}, "not a file of chunk 1"},
    };
    for (const auto& [change, words] : lies) {
        SCOPED_TRACE(change.second);
        swap(change.first, change.second);
        expect_refused(merge(p), "world_1.json");
        expect_refused(merge(p), words);
    }
    // Its files left out: nothing would say they are unchanged.
    nlohmann::json m = nlohmann::json::parse(good);
    m["files"] = nlohmann::json::object();
    std::ofstream(p / "world_1.json", std::ios::binary | std::ios::trunc) << m.dump();
    expect_refused(merge(p), "leave out");
    // Too large to be ours: refused by its size, before it is read.
    std::ofstream(p / "world_1.json", std::ios::binary | std::ios::trunc) << good;
    fs::resize_file(p / "world_1.json", std::uintmax_t(257) << 20);
    expect_refused(merge(p), "world_1.json");
    EXPECT_FALSE(fs::exists(p / "world.world"));

    // Chunks of other variants are of another world.
    std::ofstream(p / "world_1.json", std::ios::binary | std::ios::trunc) << good;
    ASSERT_EQ(render(world(p, "--variants 2 --shard 1/2")).code, 0);
    expect_refused(merge(p), "another world");
}

// A merge lists what it wrote, and never passes over a set it does not join.
TEST_F(WorldTrust, MergeWritesItsManifestAndRefusesAFolderOfTwoSets) {
    const fs::path p = dir_ / "p";
    chunks(p);
    const Ran merged = merge(p);
    ASSERT_EQ(merged.code, 0) << merged.err;
    const nlohmann::json m = read_json(p / "world_chunks.json");
    EXPECT_EQ(m["complete"], true);
    ASSERT_EQ(m["chunks"].size(), 2u);
    EXPECT_EQ(m["chunks"][1]["manifest"], "world_1.json");
    for (const char* file : {"world.world", "world_chunks.tscn", "godot3/world_chunks.tscn"})
        EXPECT_EQ(m["files"][file]["bytes"].get<std::uintmax_t>(), fs::file_size(p / file)) << file;
    for (const char* shard : {"0/2", "1/2"})
        ASSERT_EQ(render("--kind house --iso-width 40 --count 2 --quiet --out " + quoted(p.string()) + " --shard " +
                         shard)
                      .code,
                  0);
    expect_refused(merge(p), "move one set to a folder of its own");
}

// Item 8: a world's outputs are never its inputs nor one another.
TEST_F(WorldTrust, AWorldNeverWritesOverWhatItReads) {
    const fs::path a = dir_ / "a";
    fs::create_directories(a);
    std::ofstream(a / "world.tmx") << R"({"size": "4x4"})";
    expect_refused(render(world(a, "--settings " + quoted((a / "world.tmx").string()))), "the settings file");
    EXPECT_EQ(slurp(a / "world.tmx"), R"({"size": "4x4"})");

    const fs::path textures = dir_ / "textures", b = dir_ / "b";
    fs::create_directories(textures);
    fs::create_directories(b);
    for (const char* sheet : {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"})
        fs::copy_file(fs::path(BRANNOC_ASSETS_DIR) / sheet, textures / sheet);
    fs::create_hard_link(textures / "ground_sheet.png", b / "world_tiles.png");
    expect_refused(render(world(b, "--textures " + quoted(textures.string()))), "a texture sheet");
    fs::remove(b / "world_tiles.png");
    fs::create_symlink("world_tiles.png", b / "world_objects.png");
    expect_refused(render(world(b)), "are one file");
}

// Item 9: every file of a world is locked, and a sheet over one makes the
// world's manifest stale.
TEST_F(WorldTrust, AWorldsFilesAreLockedAndASheetOverOneMakesItStale) {
    const fs::path w = dir_ / "w";
    fs::create_directories(w);
    std::string problem;
    {
        const std::optional<OutputLock> held = OutputLock::acquire(w, {world_file_names("world")}, problem);
        ASSERT_TRUE(held) << problem;
        expect_refused(render("--kind water --count 2 --quiet --sheet " + quoted((w / "world_tiles.png").string())),
                       "world_tiles");
        expect_refused(render("--kind water --count 2 --quiet --sheet " + quoted((dir_ / "s.png").string()) +
                              " --tmx " + quoted((w / "world.tmx").string())),
                       "world.tmx");
    }
    ASSERT_EQ(render(world(w)).code, 0);
    ASSERT_EQ(render("--kind water --count 2 --quiet --sheet " + quoted((w / "world_tiles.png").string())).code, 0);
    const nlohmann::json m = read_json(w / "world.json");
    EXPECT_EQ(m["complete"], false);
    EXPECT_NE(m.value("stale", "").find("world_tiles.json"), std::string::npos) << m.value("stale", "");
}

// Item 10: while a world's files go in, its manifest says it is not
// complete, so a run killed then leaves no manifest that lies. The render's
// place is a pipe that takes its bytes slowly: the run is caught halfway.
TEST_F(WorldTrust, AWorldKilledWhilePublishingLeavesAManifestThatSaysSo) {
    const fs::path w = dir_ / "w";
    ASSERT_EQ(render(world(w)).code, 0);
    fs::remove(w / "world.png");
    ASSERT_EQ(::mkfifo((w / "world.png").c_str(), 0644), 0);
    const int reader = ::open((w / "world.png").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETPIPE_SZ, 4096);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(BRANNOC_RENDER, BRANNOC_RENDER, "world", "--size", "6x4", "--seed", "4", "--levels", "1",
                "--iso-width", "40", "--jobs", "1", "--quiet", "--out", w.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pollfd waiting{reader, POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 60'000), 1) << "the run never reached the render";
    const nlohmann::json halfway = read_json(w / "world.json");
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(reader);
    EXPECT_EQ(halfway["complete"], false);
    EXPECT_EQ(halfway["seed"], 4);
    EXPECT_EQ(read_json(w / "world.json")["complete"], false);
}

// Items 11 and 12: a world one process cannot draw is refused at once,
// saying how to split it; one over an older world removes what that one
// left and this one does not write.
TEST_F(WorldTrust, AWorldTooLargeIsRefusedAtOnceAndAnOlderOnesFilesGo) {
    const fs::path big = dir_ / "big";
    const Ran refused = render("world --size 4096x4096 --iso-width 64 --out " + quoted(big.string()));
    expect_refused(refused, "--shard K/4 (a grid of 2 x 2)");
    EXPECT_FALSE(fs::exists(big));

    const fs::path w = dir_ / "w";
    ASSERT_EQ(render("world --size 12x8 --seed 4 --iso-width 40 --quiet --out " + quoted(w.string())).code, 0);
    ASSERT_TRUE(fs::exists(w / "world_objects.png"));
    std::ofstream(w / ".brannoc-Ab3xYz") << "a killed run's";
    const Ran flat = render("world --size 2x2 --levels 0 --iso-width 40 --out " + quoted(w.string()));
    ASSERT_EQ(flat.code, 0) << flat.err;
    // The objects' and the mountains' sheets, tilesets and TileSets, and
    // Godot 3's TileSets and sheets.
    EXPECT_NE(flat.err.find("removed 10 files of an older world"), std::string::npos) << flat.err;
    EXPECT_NE(flat.err.find("removed 1 temporary file"), std::string::npos) << flat.err;
    const nlohmann::json listed = read_json(w / "world.json")["files"];
    for (const auto& entry : fs::recursive_directory_iterator(w)) {
        const std::string name = fs::relative(entry.path(), w).string();
        EXPECT_TRUE(name == "world.json" || name == "godot3" || listed.contains(name)) << name;
    }
}
