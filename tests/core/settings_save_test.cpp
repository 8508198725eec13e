#include "app/FileReasons.h"
#include "app/SaveTemporaries.h"
#include "app/SettingsFile.h"
#include "core/Child.h"
#include "core/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vostrel {
namespace {

using test::BecomePlayer;
using test::InChild;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

SettingsRecord Defaults() {
    SettingsRecord s;
    InstallDefaultSettings(s);
    return s;
}

SettingsRecord Changed() {
    SettingsRecord s = Defaults();
    s.repeatCount = 9;
    s.highScores.name[0] = "\x90\x56"; // "新"
    s.highScores.score[0] = 777;
    return s;
}

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

ino_t InodeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(SaveSettings, NewFileHoldsExactlyTheLinesAndNothingIsLeftBeside) {
    TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    ASSERT_EQ(SaveSettings(path, Changed()), 0);
    EXPECT_EQ(ReadBytes(path), FormatSettings(Changed()));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(ModeOf(path), 0644 & ~mask);
    EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
}

TEST(SaveSettings, ReplacingKeepsTheModeOfTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0666}}) {
        WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_EQ(SaveSettings(path, Changed()), 0);
        EXPECT_EQ(ReadBytes(path), FormatSettings(Changed()));
        EXPECT_EQ(ModeOf(path), mode);
    }
    EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
}

TEST(SaveSettings, ThroughALinkTheLinkedFileIsReplaced) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
    const std::string real = dir.File("real/vostrel.dat");
    const std::string link = dir.File("vostrel.dat");
    WriteBytes(real, "old");
    ASSERT_EQ(::symlink("real/vostrel.dat", link.c_str()), 0);
    ASSERT_EQ(SaveSettings(link, Changed()), 0);
    struct stat st;
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(real), FormatSettings(Changed()));
}

TEST(SaveSettings, PlacesThatCannotHoldTheFileGiveMinusOne) {
    TempDir dir;
    // The name is taken by a directory with something in it.
    const std::string taken = dir.File("vostrel.dat");
    ASSERT_EQ(::mkdir(taken.c_str(), 0755), 0);
    WriteBytes(taken + "/inside", "keep");
    int reason = 0;
    EXPECT_EQ(SaveSettings(taken, Defaults(), &reason), -1);
    EXPECT_EQ(reason, EISDIR);
    EXPECT_EQ(ReadBytes(taken + "/inside"), "keep");

    // A component of the path is a plain file.
    const std::string plain = dir.File("plain");
    WriteBytes(plain, "keep");
    EXPECT_EQ(SaveSettings(plain + "/vostrel.dat", Defaults(), &reason), -1);
    EXPECT_EQ(reason, ENOTDIR);
    EXPECT_EQ(ReadBytes(plain), "keep");

    EXPECT_EQ(SaveSettings("", Defaults(), &reason), -1);
    EXPECT_EQ(reason, ENOENT);
    EXPECT_EQ(dir.Listing(), "plain\nvostrel.dat\n");
}

// A file size limit makes the write fail part way, as a full disk would: the old file stays
// exactly, whether the save replaces it (a folder the player may write) or rewrites it in place
// (one the player may not), where the space is taken before any byte changes.
TEST(SaveSettings, AFailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    // Made by hand, shorter than what the game writes.
    const std::string old = "rn:4\r\nhsn0:Hanako\r\nhss0:900\r\n";
    for (const bool players : {true, false}) {
        SCOPED_TRACE(players ? "the player's folder" : "root's folder");
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        WriteBytes(path, old);
        ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        ASSERT_TRUE(players ? test::GiveToPlayer(dir.path().c_str())
                            : ::chmod(dir.path().c_str(), 0555) == 0);
        const int code = InChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlim_t limit = old.size() + 10;
            const struct rlimit rl = {limit, limit};
            if (!BecomePlayer() || ::setrlimit(RLIMIT_FSIZE, &rl) != 0) {
                return 3;
            }
            int reason = 0;
            return SaveSettings(path, Changed(), &reason) == -1 && reason == EFBIG ? 0 : 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
    }
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
}

TEST(SaveSettings, AReadOnlyFileIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    ASSERT_EQ(SaveSettings(path, Defaults()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(test::GiveToPlayer(dir.path().c_str()));
    const int code = InChild([&] {
        if (!BecomePlayer()) {
            return 3;
        }
        int reason = 0;
        return SaveSettings(path, Changed(), &reason) == -1 && reason == EACCES ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), FormatSettings(Defaults()));
    EXPECT_EQ(ModeOf(path), 0444);
    EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
}

// A folder the player may write gets a new file put in place whole; a folder the player may
// not write, holding a file the player may, gets the file rewritten where it is.
TEST(SaveSettings, ReplacesTheFileOrRewritesItWhereTheFolderIsReadOnly) {
    TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    ASSERT_EQ(SaveSettings(path, Defaults()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t first = InodeOf(path);
    ASSERT_TRUE(test::GiveToPlayer(dir.path().c_str()));
    ASSERT_EQ(InChild([&] { return BecomePlayer() ? SaveSettings(path, Changed()) & 0xff : 3; }),
              0);
    EXPECT_NE(InodeOf(path), first);
    EXPECT_EQ(ReadBytes(path), FormatSettings(Changed()));

    // Root's again, and closed to the player.
    ASSERT_EQ(::chown(dir.path().c_str(), ::geteuid(), ::getegid()), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    SettingsRecord longer = Changed();
    longer.highScores.name[4] = std::string(2000, 'x');
    ASSERT_EQ(SaveSettings(path, longer), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t before = InodeOf(path);
    const int code = InChild([&] {
        if (!BecomePlayer()) {
            return 3;
        }
        return SaveSettings(path, Defaults()) & 0xff;
    });
    EXPECT_EQ(code, 0);
    // Shorter than what was there: nothing of the old file may remain after it.
    EXPECT_EQ(ReadBytes(path), FormatSettings(Defaults()));
    EXPECT_EQ(ModeOf(path), 0666);
    EXPECT_EQ(InodeOf(path), before);
    EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
}

// Another user's symbolic link, at the file or at a folder on the way (another user may put
// one in a folder that others can write), is never written through: the file it names stays
// as it is, and the save fails with its reason. Neither does the clean-up of killed saves
// follow it. The player's and root's own links are followed (see above).
TEST(SaveSettings, AnotherUsersLinkIsNeverWrittenThrough) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a link that belongs to another user";
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
    ASSERT_EQ(::mkdir(dir.File("home").c_str(), 0700), 0);
    const std::string victim = dir.File("home/victim.txt");
    WriteBytes(victim, "the player's own\n");
    WriteBytes(dir.File("home/vostrel.dat.tmp-1-2"), "x");
    ASSERT_EQ(::symlink(victim.c_str(), dir.File("vostrel.dat").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("home").c_str(), dir.File("folder").c_str()), 0);
    for (const char* link : {"vostrel.dat", "folder"}) {
        ASSERT_EQ(::lchown(dir.File(link).c_str(), 65534, 65534), 0);
    }
    for (const std::string& path :
         {dir.File("vostrel.dat"), dir.File("folder/vostrel.dat"), dir.File("folder/victim.txt")}) {
        int reason = 0;
        EXPECT_EQ(SaveSettings(path, Changed(), &reason), -1) << path;
        EXPECT_EQ(reason, kOtherUsersLink) << path;
        EXPECT_EQ(RemoveSaveLeftovers(path), 0) << path;
    }
    EXPECT_EQ(ReadBytes(victim), "the player's own\n");
    EXPECT_EQ(ReadBytes(dir.File("home/vostrel.dat.tmp-1-2")), "x");
    struct stat st;
    ASSERT_EQ(::lstat(dir.File("vostrel.dat").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.Listing(), "folder\nhome\nvostrel.dat\n");
}

TEST(WriteLine, EndsTheTextWithCrLf) {
    TempDir dir;
    const std::string path = dir.File("line");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(WriteLine(fd, "hsn0:\x82\xa0"), 0);
    EXPECT_EQ(WriteLine(fd, ""), 0);
    ::close(fd);
    EXPECT_EQ(ReadBytes(path), "hsn0:\x82\xa0\r\n\r\n");
    EXPECT_EQ(WriteLine(-1, "x"), -1);
}

} // namespace
} // namespace vostrel
