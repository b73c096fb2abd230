// Saves as users expect them, checked as an ordinary user where permissions
// matter (these tests drop root's privileges rather than skip).
#include "canvas/bmp_writer.hpp"

#include "../support/as_user.hpp"
#include "../support/test_files.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
RasterImage tile(int size, Colour c) {
    RasterImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.set_pixel(x, y, c);
    return image;
}

std::string save_outcome(const RasterImage& image, const fs::path& path) {
    const WriteResult result = write_bmp(image, path.string());
    return result.ok ? "ok" : "error: " + result.error;
}

struct stat stat_of(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

// A piece run in a child process as the current user (so a mount made
// there stays there).
ChildOutcome run_in_child(const std::function<std::string()>& piece) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const std::string out = piece();
        [[maybe_unused]] const ssize_t n = ::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) outcome.output.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exited = WIFEXITED(status);
    return outcome;
}

int entries(const fs::path& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// A folder for one test, owned by the ordinary user the saves run as.
class UserDir : public ::testing::Test {
protected:
    void SetUp() override { give_to_user(dir_); }
    static void give_to_user(const fs::path& path) {
        ASSERT_EQ(::lchown(path.c_str(), ordinary_uid(), ordinary_gid()), 0) << path;
    }
    // A file with the given content, owned by the user, with the given mode.
    fs::path user_file(const std::string& name, const RasterImage& image, mode_t mode) {
        const fs::path path = dir_ / name;
        EXPECT_TRUE(write_bmp(image, path.string()).ok);
        give_to_user(path);
        ::chmod(path.c_str(), mode);
        return path;
    }
    ScratchDir scratch_{"brannoc-save-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(UserDir, AReadOnlyFileIsRefusedWithTheReasonAndKept) {
    const RasterImage kept = tile(8, rgb(1, 2, 3));
    const fs::path path = user_file("protected.bmp", kept, 0444);
    const ChildOutcome save = run_as_ordinary_user([&] { return save_outcome(tile(9, rgb(9, 9, 9)), path); });
    EXPECT_EQ(save.output, "error: Permission denied");
    EXPECT_EQ(read_file(path), bmp_file_bytes(kept));
    EXPECT_EQ(stat_of(path).st_mode & 07777, 0444u);
    EXPECT_EQ(entries(dir_), 1);
}

TEST_F(UserDir, AWritableFileInAFolderTheUserCannotWriteIsSavedInPlace) {
    const fs::path path = user_file("mine.bmp", tile(8, rgb(1, 2, 3)), 0644);
    ::chmod(dir_.c_str(), 0555);
    const RasterImage fresh = tile(12, rgb(7, 8, 9));
    const ChildOutcome save = run_as_ordinary_user([&] { return save_outcome(fresh, path); });
    EXPECT_EQ(save.output, "ok");
    EXPECT_EQ(read_file(path), bmp_file_bytes(fresh));
    // A new file there is still refused, with the reason.
    const ChildOutcome create = run_as_ordinary_user([&] { return save_outcome(fresh, dir_ / "new.bmp"); });
    EXPECT_EQ(create.output, "error: Permission denied");
    ::chmod(dir_.c_str(), 0755);
    EXPECT_EQ(entries(dir_), 1);
}

TEST_F(UserDir, AWritableFileInSomeoneElsesStickyFolderIsSaved) {
    // Root's sticky folder, a file in it the user may write but not replace.
    ::chown(dir_.c_str(), 0, 0);
    ::chmod(dir_.c_str(), 01777);
    const fs::path path = dir_ / "shared.bmp";
    ASSERT_TRUE(write_bmp(tile(4, rgb(1, 1, 1)), path.string()).ok);
    ::chmod(path.c_str(), 0666);
    const RasterImage fresh = tile(6, rgb(5, 6, 7));
    const ChildOutcome save = run_as_ordinary_user([&] { return save_outcome(fresh, path); });
    EXPECT_EQ(save.output, "ok");
    EXPECT_EQ(read_file(path), bmp_file_bytes(fresh));
    EXPECT_EQ(entries(dir_), 1);
}

TEST_F(UserDir, EveryLegalNameLengthWorks) {
    for (const std::size_t length : {243u, 250u, 255u}) {
        const fs::path path = dir_ / (std::string(length - 4, 'n') + ".bmp");
        const ChildOutcome first = run_as_ordinary_user([&] { return save_outcome(tile(3, rgb(1, 1, 1)), path); });
        EXPECT_EQ(first.output, "ok") << length;
        const ChildOutcome again = run_as_ordinary_user([&] { return save_outcome(tile(5, rgb(2, 2, 2)), path); });
        EXPECT_EQ(again.output, "ok") << length;
        EXPECT_EQ(read_file(path), bmp_file_bytes(tile(5, rgb(2, 2, 2))));
    }
    EXPECT_EQ(entries(dir_), 3);
}

TEST_F(UserDir, HardLinksAllSeeTheNewTile) {
    const fs::path path = user_file("a.bmp", tile(4, rgb(1, 1, 1)), 0644);
    fs::create_hard_link(path, dir_ / "b.bmp");
    const RasterImage fresh = tile(7, rgb(3, 4, 5));
    EXPECT_EQ(run_as_ordinary_user([&] { return save_outcome(fresh, path); }).output, "ok");
    EXPECT_EQ(read_file(dir_ / "b.bmp"), bmp_file_bytes(fresh));
    EXPECT_EQ(stat_of(path).st_nlink, 2u);
}

TEST_F(UserDir, AReplacedFileKeepsItsOwnerModeAndGroup) {
    // Root saving over a user's file (as a root-run program would).
    const fs::path path = user_file("owned.bmp", tile(4, rgb(1, 1, 1)), 0640);
    ASSERT_TRUE(write_bmp(tile(6, rgb(2, 2, 2)), path.string()).ok);
    const struct stat info = stat_of(path);
    EXPECT_EQ(info.st_uid, ordinary_uid());
    EXPECT_EQ(info.st_gid, ordinary_gid());
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(dir_), 1);
}

TEST_F(UserDir, ADanglingSymlinkCreatesTheFileItNames) {
    fs::create_symlink("made-later.bmp", dir_ / "link.bmp");
    give_to_user(dir_ / "link.bmp");
    const RasterImage fresh = tile(5, rgb(9, 8, 7));
    EXPECT_EQ(run_as_ordinary_user([&] { return save_outcome(fresh, dir_ / "link.bmp"); }).output, "ok");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.bmp"));
    EXPECT_EQ(read_file(dir_ / "made-later.bmp"), bmp_file_bytes(fresh));
}

TEST_F(UserDir, AFileSizeLimitFailsTheSaveWithoutKillingItOrLeavingATemporary) {
    const RasterImage big = tile(260, rgb(4, 4, 4));  // about 200 KB
    const ChildOutcome save = run_as_ordinary_user([&] {
        const rlimit limit{100 * 1024, 100 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return save_outcome(big, dir_ / "huge.bmp");
    });
    EXPECT_TRUE(save.exited) << "the save must not be killed by SIGXFSZ";
    EXPECT_EQ(save.output, "error: File too large");
    EXPECT_EQ(entries(dir_), 0);
}

TEST_F(UserDir, ALinkSomeoneElsePlantedInASharedFolderIsNotFollowed) {
    // Root writing into a sticky world-writable folder where the ordinary
    // user has planted a link to a file of root's (protected_symlinks).
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's link needs root";
    ::chown(dir_.c_str(), 0, 0);
    ::chmod(dir_.c_str(), 01777);
    fs::create_directories(dir_ / "private");
    const fs::path important = dir_ / "private" / "important.conf";
    std::ofstream(important) << "keep me";
    fs::create_symlink(important, dir_ / "manifest.bmp");
    give_to_user(dir_ / "manifest.bmp");
    EXPECT_EQ(save_outcome(tile(4, rgb(1, 1, 1)), dir_ / "manifest.bmp"),
              "error: a symbolic link another user made in a shared folder is not followed");
    EXPECT_EQ(read_file(important), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_EQ(entries(dir_), 2);
    // The writer's own link there is followed, as the kernel would.
    fs::create_symlink(important, dir_ / "mine.bmp");
    EXPECT_EQ(save_outcome(tile(4, rgb(1, 1, 1)), dir_ / "mine.bmp"), "ok");
    EXPECT_EQ(read_file(important), bmp_file_bytes(tile(4, rgb(1, 1, 1))));
}

TEST_F(UserDir, RootRefusesAFileMadeReadOnlyToo) {
    const RasterImage kept = tile(8, rgb(1, 2, 3));
    const fs::path path = user_file("package.bmp", kept, 0444);
    EXPECT_EQ(save_outcome(tile(9, rgb(9, 9, 9)), path), "error: Permission denied");
    EXPECT_EQ(read_file(path), bmp_file_bytes(kept));
    EXPECT_EQ(entries(dir_), 1);
}

TEST_F(UserDir, AFailedWriteInPlacePutsTheOldBytesBack) {
    const RasterImage kept = tile(8, rgb(1, 2, 3));
    const fs::path path = user_file("a.bmp", kept, 0644);
    fs::create_hard_link(path, dir_ / "b.bmp");
    const ChildOutcome save = run_as_ordinary_user([&] {
        const rlimit limit{100 * 1024, 100 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return save_outcome(tile(260, rgb(4, 4, 4)), path);
    });
    EXPECT_EQ(save.output, "error: File too large");
    EXPECT_EQ(read_file(dir_ / "b.bmp"), bmp_file_bytes(kept));
}

TEST_F(UserDir, AFullDiskIsReportedAndTheOldFileKept) {
    // A tiny file system of its own, with no room and no free inodes left:
    // the save must fail with the reason, not fall back to writing in place.
    const ChildOutcome full = run_in_child([&] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k,nr_inodes=6") != 0)
            return std::string("no mount");
        const RasterImage kept = tile(12, rgb(1, 2, 3));
        if (!write_bmp(kept, (dir_ / "keep.bmp").string()).ok) return std::string("setup");
        std::vector<char> block(4096, 'x');
        if (FILE* filler = std::fopen((dir_ / "filler").c_str(), "wb")) {
            while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
            }
            std::fclose(filler);
        }
        for (int k = 0; k < 10; ++k)
            if (FILE* empty = std::fopen((dir_ / ("i" + std::to_string(k))).c_str(), "wb")) std::fclose(empty);
        const std::string outcome = save_outcome(tile(100, rgb(9, 9, 9)), dir_ / "keep.bmp");
        return outcome + (read_file(dir_ / "keep.bmp") == bmp_file_bytes(kept) ? " kept" : " lost");
    });
    if (full.output == "no mount") GTEST_SKIP() << "no private mounts here";
    EXPECT_EQ(full.output, "error: No space left on device kept");
}

TEST_F(UserDir, ASetOfFilesIsPutBackWhenALaterOneCannotTakeItsPlace) {
    const RasterImage kept = tile(8, rgb(1, 2, 3));
    const fs::path old_file = user_file("a.bmp", kept, 0640), new_file = dir_ / "b.bmp", late = dir_ / "c.bmp";
    const ChildOutcome run = run_as_ordinary_user([&] {
        std::vector<std::unique_ptr<FileWriter>> writers;
        for (const fs::path& path : {old_file, new_file, late}) {
            writers.push_back(std::make_unique<FileWriter>(path.string()));
            writers.back()->append("new bytes");
            if (!writers.back()->finish().ok) return std::string("not made");
            writers.back()->keep_old();
        }
        fs::create_directory(late);  // in the way by the time it is put in place
        if (!writers[0]->publish().ok || !writers[1]->publish().ok || writers[2]->publish().ok)
            return std::string("published wrongly");
        return std::string(writers[1]->revert().ok && writers[0]->revert().ok ? "reverted" : "kept new");
    });
    EXPECT_EQ(run.output, "reverted");
    EXPECT_EQ(read_file(old_file), bmp_file_bytes(kept));
    EXPECT_EQ(stat_of(old_file).st_mode & 07777, 0640u);
    EXPECT_FALSE(fs::exists(new_file));
    EXPECT_EQ(entries(dir_), 2) << "the old file and the folder in the way, no temporary";
}
