#include "app/FileReasons.h"
#include "app/FileSave.h"
#include "app/SaveTemporaries.h"
#include "app/SettingsFile.h"
#include "core/Child.h"
#include "core/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vostrel {
namespace {

SettingsRecord Version(int32_t n) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    s.repeatCount = n;
    // Long names make each save take several writes' worth of time.
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = std::string(3000, static_cast<char>('a' + n + i));
    }
    return s;
}

// Saves a and b in turn, without end, in a child (as an ordinary player when asked), and kills it
// delayUs microseconds after its first save began.
void KillSavesAfter(const std::string& path, const SettingsRecord& a, const SettingsRecord& b,
                    long delayUs, bool asPlayer) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        const char go = 1;
        if ((asPlayer && !test::BecomePlayer()) || ::write(ready[1], &go, 1) != 1) {
            ::_exit(2);
        }
        for (unsigned n = 0;; ++n) {
            SaveSettings(path, n % 2 ? a : b);
        }
    }
    ::close(ready[1]);
    char go = 0;
    ASSERT_EQ(::read(ready[0], &go, 1), 1);
    ::close(ready[0]);
    ::usleep(static_cast<useconds_t>(delayUs));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
}

// A process killed at any moment of a save leaves either the complete old file or the complete
// new one; the temporaries of the saves killed midway are what the next start removes, and
// nothing else.
TEST(SettingsCrash, KilledSavesLeaveTheOldOrTheNewFile) {
    test::TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    // Look-alikes that no save of this file left.
    const std::string others[] = {"kept",
                                  "other.dat.tmp-1-2",
                                  "vostrel.dat.tmp-1-2",
                                  "vostrel.dat.tmp-1-3",
                                  "vostrel.dat.tmp-1-x",
                                  "vostrel.dat.tmp-1-",
                                  "vostrel.dat.tmp--2",
                                  "vostrel.dat.tmp-1-2.bak",
                                  "xvostrel.dat.tmp-1-2"};
    for (const std::string& name : others) {
        if (name == "vostrel.dat.tmp-1-2") {
            ASSERT_EQ(::symlink(dir.File("kept").c_str(), dir.File(name).c_str()), 0);
        } else if (name == "vostrel.dat.tmp-1-3") {
            ASSERT_EQ(::mkdir(dir.File(name).c_str(), 0700), 0);
        } else {
            test::WriteBytes(dir.File(name), "x");
        }
    }
    const SettingsRecord a = Version(1);
    const SettingsRecord b = Version(2);
    const std::string bytesA = FormatSettings(a);
    const std::string bytesB = FormatSettings(b);

    // Kill delays spread over a few saves' time.
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(SaveSettings(path, i % 2 ? a : b), 0);
    }
    const auto perSave =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
            .count() /
        10;
    long maxDelay = std::clamp<long>(3 * perSave, 200, 20000);

    std::mt19937 rng(12345);
    // A fixed count, not a time budget, so that a loaded machine runs the same test; at most
    // 20 ms a kill keeps it to a few seconds.
    const int kTrials = 300;
    int sawA = 0;
    int sawB = 0;
    int trial = 0;
    // A save in a forked child under the sanitizers can take far longer than one timed here:
    // while no kill comes after a whole save, the delays reach further.
    int sinceNew = 0;
    for (; trial < kTrials; ++trial) {
        std::uniform_int_distribution<long> delay(0, maxDelay);
        ASSERT_NO_FATAL_FAILURE(KillSavesAfter(path, a, b, delay(rng), false));

        const std::string now = test::ReadBytes(path);
        if (now == bytesA) {
            ++sawA;
        } else if (now == bytesB) {
            ++sawB;
            sinceNew = 0;
        } else {
            FAIL() << "trial " << trial << ": the file holds " << now.size()
                   << " bytes that are neither version";
        }
        if (now == bytesA && ++sinceNew == 40) {
            maxDelay = std::min<long>(2 * maxDelay, 200000);
            sinceNew = 0;
        }
        // Bring the file back to A for the next trial; the killed child's temporary files
        // may stay, as they would after a real crash.
        ASSERT_EQ(SaveSettings(path, a), 0);
    }
    const std::string killed = dir.Listing();
    const int leftovers = static_cast<int>(std::count(killed.begin(), killed.end(), '\n')) -
                          static_cast<int>(std::size(others)) - 1;
    EXPECT_GT(leftovers, 0) << "no kill came inside a save";
    EXPECT_EQ(RemoveSaveLeftovers(path), leftovers);
    std::vector<std::string> kept(std::begin(others), std::end(others));
    kept.push_back("vostrel.dat");
    std::sort(kept.begin(), kept.end());
    std::string keptListing;
    for (const std::string& name : kept) {
        keptListing += name + "\n";
    }
    EXPECT_EQ(dir.Listing(), keptListing);
    EXPECT_EQ(test::ReadBytes(path), bytesA);
    // Both outcomes must have happened, or the kills missed the saves.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    RecordProperty("trials", trial);
    RecordProperty("old", sawA);
    RecordProperty("new", sawB);
    std::printf("%d trials: old %d, new %d, left %d; save %ld us\n", trial, sawA, sawB, leftovers,
                static_cast<long>(perSave));
}

// Where the folder refuses a new file, the save rewrites the file in place: a kill at any moment
// leaves a file that loads as the old or the new settings, or that loading reports as a cut
// rewrite, which mending makes the old or the new; never one that loads as something else.
TEST(SettingsCrash, KilledRewritesInPlaceLoadWholeOrAreReported) {
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string path = dir.File("vostrel.dat");
    // Of different lengths, so that both growing and shrinking are cut.
    SettingsRecord a = Version(1);
    const SettingsRecord b = Version(2);
    a.highScores.name[4].resize(100);
    ASSERT_EQ(SaveSettings(path, a), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);

    std::mt19937 rng(54321);
    std::uniform_int_distribution<long> delay(0, 20000);
    int sawA = 0;
    int sawB = 0;
    int mended = 0;
    for (int trial = 0; trial < 200; ++trial) {
        ASSERT_NO_FATAL_FAILURE(KillSavesAfter(path, a, b, delay(rng), true));

        SettingsRecord s;
        LoadReport report;
        const int32_t r = LoadSettings(path, s, &report);
        if (r == 0 && !report.CutShort() && s == a) {
            ++sawA;
        } else if (r == 0 && !report.CutShort() && s == b) {
            ++sawB;
        } else if (r == -9 && report.reason == kCutRewrite) {
            int why = 0;
            const InPlaceRewrite::Outcome out = MendCutSave(path, why);
            const std::string now = test::ReadBytes(path);
            // The saves write a and b in turn: the cut one's old bytes are either.
            ASSERT_TRUE((out == InPlaceRewrite::Outcome::Finished ||
                         out == InPlaceRewrite::Outcome::Undone) &&
                        (now == FormatSettings(a) || now == FormatSettings(b)))
                << "trial " << trial << ": mending gave " << static_cast<int>(out) << ", " << why;
            ++mended;
        } else {
            FAIL() << "trial " << trial << ": load " << r << ", reason " << report.reason
                   << ", cut short " << report.CutShort();
        }
        // Root replaces the file whole, keeping its mode.
        ASSERT_EQ(SaveSettings(path, a), 0);
    }
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(dir.Listing(), "vostrel.dat\n");
    EXPECT_GT(sawA + sawB, 0);
    std::printf("in place: old %d, new %d, mended %d\n", sawA, sawB, mended);
}

// The leftovers lie beside the file a save replaces, named after it; another player's, in a
// folder that players share, are theirs to keep.
TEST(SaveLeftovers, AreThisPlayersBesideTheRealFile) {
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("game").c_str(), 0755), 0);
    test::WriteBytes(dir.File("scores.dat"), "x");
    ASSERT_EQ(::symlink(dir.File("scores.dat").c_str(), dir.File("game/vostrel.dat").c_str()), 0);
    test::WriteBytes(dir.File("scores.dat.tmp-1-2"), "x");
    // Only root can make another player's file.
    const bool other = ::geteuid() == 0;
    if (other) {
        test::WriteBytes(dir.File("scores.dat.tmp-3-4"), "x");
        ASSERT_EQ(::chown(dir.File("scores.dat.tmp-3-4").c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(RemoveSaveLeftovers(dir.File("game/vostrel.dat")), 1);
    EXPECT_EQ(dir.Listing(),
              other ? "game\nscores.dat\nscores.dat.tmp-3-4\n" : "game\nscores.dat\n");
    EXPECT_EQ(FolderOf("vostrel.dat"), ".");
    EXPECT_EQ(FolderOf("/vostrel.dat"), "/");
}

} // namespace
} // namespace vostrel
