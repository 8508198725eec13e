#include "app/SettingsFile.h"
#include "core/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

// A process killed at any moment of a save leaves either the complete old file or the complete
// new one.
TEST(SettingsCrash, KilledSavesLeaveTheOldOrTheNewFile) {
    test::TempDir dir;
    const std::string path = dir.File("vostrel.dat");
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
    const long maxDelay = std::clamp<long>(3 * perSave, 200, 20000);

    std::mt19937 rng(12345);
    std::uniform_int_distribution<long> delay(0, maxDelay);
    const int kTrials = 400;
    int sawA = 0;
    int sawB = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    int trial = 0;
    for (; trial < kTrials && std::chrono::steady_clock::now() < deadline; ++trial) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            const char go = 1;
            if (::write(ready[1], &go, 1) != 1) {
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
        ::usleep(static_cast<useconds_t>(delay(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string now = test::ReadBytes(path);
        if (now == bytesA) {
            ++sawA;
        } else if (now == bytesB) {
            ++sawB;
        } else {
            FAIL() << "trial " << trial << ": the file holds " << now.size()
                   << " bytes that are neither version";
        }
        // Bring the file back to A for the next trial; the killed child's temporary files
        // may stay, as they would after a real crash.
        ASSERT_EQ(SaveSettings(path, a), 0);
    }
    EXPECT_GE(trial, 300) << "too few trials in the time";
    // Both outcomes must have happened, or the kills missed the saves.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    RecordProperty("trials", trial);
    RecordProperty("old", sawA);
    RecordProperty("new", sawB);
    std::printf("%d trials: old %d, new %d; save %ld us\n", trial, sawA, sawB,
                static_cast<long>(perSave));
}

} // namespace
} // namespace vostrel
