// brannoc-render when things go wrong around it: another run on the same
// folder, a file that cannot be written halfway, a stop signal, a link
// planted for root to write through. Nothing followed, nothing lost, and
// no manifest that lies.
#include "export/output/output_lock.hpp"

#include "../support/as_user.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <poll.h>
#include <pty.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int code = -1;
    std::string text;  // what the run reported
};

Outcome run_captured(std::vector<std::string> args) {
    std::FILE* report = std::tmpfile();
    Outcome outcome;
    outcome.code = run_render(std::move(args), report);
    std::rewind(report);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, report)) > 0;) outcome.text.append(buffer, n);
    std::fclose(report);
    return outcome;
}

std::set<std::string> names_in(const fs::path& dir, const std::string& prefix) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) names.insert(entry.path().filename().string());
    return names;
}

std::set<std::string> regular_tiles(const fs::path& dir, const std::string& kind) {
    std::set<std::string> names;
    for (const std::string& name : names_in(dir, kind + "-"))
        if (fs::is_regular_file(dir / name)) names.insert(name);
    return names;
}

std::set<std::string> listed(const nlohmann::json& manifest) {
    std::set<std::string> names;
    for (const auto& tile : manifest["tiles"]) names.insert(tile["file"].get<std::string>());
    return names;
}

// In the child of a fork (pid 0).
bool child_of(pid_t pid) { return pid == 0; }

class Faults : public ::testing::Test {
protected:
    ScratchDir scratch_{"brannoc-faults-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(Faults, ASecondRunOnTheSameFolderIsRefusedNamingTheLock) {
    const std::string out = (dir_ / "out").string();
    fs::create_directories(out);
    std::string problem;
    {
        const std::optional<OutputLock> held = OutputLock::acquire(out, {{"manifest.json"}, {}, 0, 0, {}, {}}, problem);
        ASSERT_TRUE(held.has_value()) << problem;
        const Outcome second = run_captured({"--kind", "water", "--count", "3", "--out", out});
        EXPECT_EQ(second.code, 2);
        EXPECT_NE(second.text.find("another run is writing manifest.json in " + out), std::string::npos) << second.text;
        EXPECT_TRUE(regular_tiles(out, "water").empty());
    }
    EXPECT_EQ(run_captured({"--kind", "water", "--count", "3", "--out", out}).code, 0);
    EXPECT_TRUE(names_in(out, ".").empty()) << "the lock goes with its run";
}

TEST_F(Faults, ARunThatFailsHalfwayListsExactlyTheTilesItWrote) {
    const fs::path out = dir_ / "out";
    fs::create_directories(out);
    ASSERT_EQ(run_captured({"--kind", "water", "--count", "3", "--out", out.string()}).code, 0);
    EXPECT_EQ(read_json(out / "manifest.json")["complete"], true);
    // A pipe nobody reads where tile 5 goes: the write fails there.
    ASSERT_EQ(::mkfifo((out / "water-0005.png").c_str(), 0644), 0);
    fs::remove(out / "water-0000.png");
    const Outcome failed = run_captured({"--kind", "water", "--count", "40", "--jobs", "2", "--out", out.string()});
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.text.find("water-0005.png"), std::string::npos) << failed.text;
    EXPECT_EQ(std::count(failed.text.begin(), failed.text.end(), '\n'), 1) << failed.text;
    const nlohmann::json manifest = read_json(out / "manifest.json");
    EXPECT_EQ(manifest["complete"], false);
    EXPECT_EQ(listed(manifest), regular_tiles(out, "water"));
    EXPECT_TRUE(names_in(out, ".brannoc").empty());
}

TEST_F(Faults, SigintAndSigtermStopTheRunTidilyWith130And143) {
    for (const int signal : {SIGINT, SIGTERM}) {
        const fs::path out = dir_ / std::to_string(signal);
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(run_render(
                {"--kind", "water", "--iso-width", "40", "--count", "100000", "--jobs", "2", "--out", out.string()}));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until && (!fs::exists(out) || regular_tiles(out, "water").size() < 5))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by the signal instead of stopping";
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        const nlohmann::json manifest = read_json(out / "manifest.json");
        EXPECT_EQ(manifest["complete"], false);
        EXPECT_EQ(listed(manifest), regular_tiles(out, "water"));
        EXPECT_LT(manifest["tiles"].size(), 100000u);
        EXPECT_TRUE(names_in(out, ".").empty()) << "no temporary file or lock is left";
    }
}

TEST_F(Faults, ALinkPlantedInASharedOutputFolderStopsTheRunBeforeAnythingIsWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's link needs root";
    const fs::path shared = dir_ / "shared", important = dir_ / "important.conf";
    fs::create_directories(shared);
    ::chmod(shared.c_str(), 01777);
    std::ofstream(important) << "keep me";
    fs::create_symlink(important, shared / "manifest.json");
    ASSERT_EQ(::lchown((shared / "manifest.json").c_str(), ordinary_uid(), ordinary_gid()), 0);
    const Outcome run = run_captured({"--kind", "water", "--count", "2", "--out", shared.string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.text.find("is not followed"), std::string::npos) << run.text;
    EXPECT_EQ(read_file(important).size(), 7u);
    EXPECT_TRUE(regular_tiles(shared, "water").empty());
}

TEST_F(Faults, AnEmptyShardShowsItsProgressOnATerminalWithoutDividingByZero) {
    // The progress bar is drawn only on a terminal: the run gets one.
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        const ParsedCommandLine parsed =
            parse_args({"--count", "1", "--shard", "5/1000", "--out", (dir_ / "o").string()});
        ::_exit(parsed.settings ? run_batch(*parsed.settings, stderr) : 99);
    }
    ASSERT_GT(child, 0);
    std::string shown;
    char buffer[256];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << shown;
    EXPECT_NE(shown.find("0/0"), std::string::npos) << shown;
}

TEST_F(Faults, ASheetSetThatCannotBeWrittenWholeLeavesTheOldSetWhole) {
    const fs::path sheet = dir_ / "s.png", manifest = dir_ / "s.json";
    ASSERT_EQ(run_captured({"--kind", "water", "--count", "2", "--sheet", sheet.string()}).code, 0);
    const std::vector<std::uint8_t> old_sheet = read_file(sheet), old_manifest = read_file(manifest);
    const auto expect_old_set_kept = [&](const Outcome& run) {
        EXPECT_EQ(run.code, 2) << run.text;
        EXPECT_TRUE(read_file(sheet) == old_sheet) << "the sheet was replaced";
        EXPECT_TRUE(read_file(manifest) == old_manifest) << "the manifest was replaced";
        EXPECT_TRUE(names_in(dir_, ".").empty());
    };
    const std::string long_map = (dir_ / (std::string(300, 'm') + ".tmx")).string();
    SCOPED_TRACE("a map name too long");
    expect_old_set_kept(
        run_captured({"--kind", "water", "--count", "2", "--seed", "9", "--sheet", sheet.string(), "--tmx", long_map}));
    // An immutable manifest (where this process may set the flag).
    const int fd = ::open(manifest.c_str(), O_RDONLY);
    int flags = FS_IMMUTABLE_FL;
    if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0) {
        SCOPED_TRACE("an immutable manifest");
        const Outcome run = run_captured({"--kind", "water", "--count", "2", "--seed", "9", "--sheet", sheet.string()});
        flags = 0;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        expect_old_set_kept(run);
    }
    ::close(fd);
}

TEST_F(Faults, LinksPlantedOnTheWayOrInAnotherUsersFolderAreNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's link needs root";
    const auto planted = [](const fs::path& to, const fs::path& link) {
        fs::create_symlink(to, link);
        ASSERT_EQ(::lchown(link.c_str(), ordinary_uid(), ordinary_gid()), 0);
    };
    // A link for a folder, planted in a shared sticky folder, to a third
    // user's private folder: not written into, nor made into.
    const fs::path shared = dir_ / "shared", hidden = dir_ / "hidden";
    fs::create_directories(shared);
    ::chmod(shared.c_str(), 01777);
    fs::create_directories(hidden);
    ::chown(hidden.c_str(), ordinary_uid() - 1, ordinary_gid() - 1);
    ::chmod(hidden.c_str(), 0700);
    planted(hidden, shared / "tiles");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--out", (shared / "tiles").string()},
                                                 {"--out", (shared / "tiles" / "new").string()},
                                                 {"--sheet", (shared / "tiles" / "s.png").string()}}) {
        SCOPED_TRACE(args[1]);
        std::vector<std::string> run_args = {"--kind", "water", "--count", "2"};
        run_args.insert(run_args.end(), args.begin(), args.end());
        const Outcome run = run_captured(run_args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.text.find("is not followed"), std::string::npos) << run.text;
        EXPECT_TRUE(fs::is_empty(hidden));
    }
    // In the user's own folder, the user's link to root's file is refused;
    // to a folder of the user's own it is followed.
    const fs::path theirs = dir_ / "theirs", secret = dir_ / "secret";
    fs::create_directories(theirs / "real");
    for (const fs::path& folder : {theirs, theirs / "real"})
        ASSERT_EQ(::chown(folder.c_str(), ordinary_uid(), ordinary_gid()), 0);
    std::ofstream(secret) << "keep me";
    ::chmod(secret.c_str(), 0600);
    planted(secret, theirs / "manifest.json");
    const Outcome run = run_captured({"--kind", "water", "--count", "2", "--out", theirs.string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.text.find("is not followed"), std::string::npos) << run.text;
    EXPECT_EQ(read_file(secret).size(), 7u);
    planted(theirs / "real", theirs / "tiles");
    EXPECT_EQ(run_captured({"--kind", "water", "--count", "2", "--out", (theirs / "tiles").string()}).code, 0);
    EXPECT_TRUE(fs::exists(theirs / "real" / "manifest.json"));
}

// Another user who swaps the output folder for a link once the run has
// opened it redirects nothing: every file goes through the folder's
// descriptor. The run is caught halfway by a pipe in a tile's place.
TEST_F(Faults, AFolderSwappedForALinkMidRunRedirectsNothing) {
    const fs::path out = dir_ / "out", moved = dir_ / "moved", victim = dir_ / "victim";
    fs::create_directories(out);
    fs::create_directories(victim);
    ASSERT_EQ(::mkfifo((out / "water-0001.png").c_str(), 0644), 0);
    const int reader = ::open((out / "water-0001.png").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETPIPE_SZ, 4096);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(run_render({"--kind", "water", "--iso-width", "40", "--count", "4", "--jobs", "1", "--out", out}));
    pollfd waiting{reader, POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 60'000), 1) << "the run never reached the pipe";
    fs::rename(out, moved);
    fs::create_directory_symlink(victim, out);
    ::fcntl(reader, F_SETFL, 0);  // now wait for the rest of the tile's bytes
    char buffer[4096];
    while (::read(reader, buffer, sizeof buffer) > 0) {
    }
    ::close(reader);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(fs::is_empty(victim)) << "written through the link: " << fs::directory_iterator(victim)->path();
    EXPECT_TRUE(fs::exists(moved / "water-0003.png"));
    EXPECT_EQ(read_json(moved / "manifest.json")["complete"], true);
}

// Runs of several users share a folder such as /tmp: the lock one user's
// run holds there does not stop another's, and a lock file another user
// left that others may not write is refused saying whose it is and what
// to do, not with a bare "Permission denied".
TEST_F(Faults, UsersShareAFoldersLockAndAForeignOneIsExplained) {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's lock needs root";
    const fs::path shared = dir_ / "shared";
    fs::create_directories(shared);
    ::chmod(shared.c_str(), 01777);
    const uid_t other = ordinary_uid() - 1;
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t holder = ::fork();
    if (child_of(holder)) {
        if (::setgid(other) != 0 || ::setuid(other) != 0) ::_exit(99);
        std::string problem;
        const std::optional<OutputLock> lock = OutputLock::acquire(shared, {{"theirs.json"}}, problem);
        char byte = lock ? 1 : 0;
        [[maybe_unused]] const ssize_t told = ::write(ready[1], &byte, 1);
        [[maybe_unused]] const ssize_t waited = ::read(done[0], &byte, 1);
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 1);
    const std::string out = shared.string();
    const ChildOutcome beside = run_as_ordinary_user([&] {
        return std::to_string(run_render({"--kind", "water", "--iso-width", "40", "--count", "2", "--out", out}));
    });
    [[maybe_unused]] const ssize_t told = ::write(done[1], "x", 1);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(beside.output, "0") << "another user's run in the folder stopped this one";

    std::ofstream(shared / ".brannoc.lock") << "";
    ::chmod((shared / ".brannoc.lock").c_str(), 0644);
    ASSERT_EQ(::chown((shared / ".brannoc.lock").c_str(), other, other), 0);
    const ChildOutcome refused = run_as_ordinary_user([&] {
        std::FILE* report = std::tmpfile();
        const int code = run_render({"--kind", "water", "--iso-width", "40", "--count", "2", "--out", out}, report);
        std::rewind(report);
        char text[1024] = {};
        const std::size_t n = std::fread(text, 1, sizeof text - 1, report);
        return std::to_string(code) + " " + std::string(text, n);
    });
    EXPECT_EQ(refused.output.rfind("2 ", 0), 0u) << refused.output;
    EXPECT_NE(refused.output.find("ask them to"), std::string::npos) << refused.output;
}
