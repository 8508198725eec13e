// A save that rewrites the file in place, cut off by a kill after any byte or before any call,
// or failing at any call: the next start finds the old file, the new one, or one that Mend
// makes one of them, and nothing else.
#include "app/FileReasons.h"
#include "app/InPlaceRewrite.h"
#include "app/PosixFileCalls.h"
#include "app/SettingsFile.h"
#include "core/TempDir.h"
#include "fakes/FaultyFileCalls.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace vostrel {
namespace {

using Outcome = InPlaceRewrite::Outcome;

SettingsRecord Record(size_t nameLength, int32_t repeat) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    s.repeatCount = repeat;
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = std::string(nameLength, static_cast<char>('a' + i));
    }
    return s;
}

class Rewrite : public ::testing::TestWithParam<bool> {
protected:
    test::TempDir dir;
    std::string path = dir.File("vostrel.dat");
    // Growing or shrinking.
    SettingsRecord oldRecord = GetParam() ? Record(3, 1) : Record(400, 1);
    SettingsRecord newRecord = GetParam() ? Record(400, 2) : Record(3, 2);
    std::string oldBytes = FormatSettings(oldRecord);
    std::string newBytes = FormatSettings(newRecord);

    // Writes the new bytes over the old ones through calls; the result of Write.
    int RewriteWith(IFileCalls& calls) {
        test::WriteBytes(path, oldBytes);
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        const int r = InPlaceRewrite::Write(fd, newBytes, calls);
        ::close(fd);
        return r;
    }

    // How many calls a whole rewrite makes.
    int CallsOfAWholeRewrite() {
        fakes::FaultyFileCalls whole;
        EXPECT_EQ(RewriteWith(whole), 0);
        return whole.calls;
    }
    // A rewrite killed before the given call.
    void RewriteKilledBefore(int call) {
        fakes::FaultyFileCalls calls;
        calls.killBeforeCall = call;
        RewriteWith(calls);
    }

    // What the next start sees before mending: the old or the new record loaded whole, or a
    // cut rewrite reported; never anything else.
    void ExpectLoadsWholeOrReported(const std::string& what) {
        SettingsRecord s;
        LoadReport report;
        const int32_t r = LoadSettings(path, s, &report);
        const bool whole = r == 0 && !report.CutShort() && (s == oldRecord || s == newRecord);
        const bool reported = r == -9 && report.reason == kCutRewrite;
        EXPECT_TRUE(whole || reported) << what << ": load " << r << ", reason " << report.reason;
    }

    // Mends the file as the next start does: the outcome, with the file now the old or the new.
    Outcome Mend(const std::string& what) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        PosixFileCalls calls;
        int why = 0;
        const Outcome out = InPlaceRewrite::Mend(fd, calls, why);
        ::close(fd);
        const std::string now = test::ReadBytes(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << what << ": " << now.size() << " bytes";
        EXPECT_EQ(out == Outcome::Finished || (out == Outcome::Whole && now == newBytes),
                  now == newBytes)
            << what;
        EXPECT_NE(out, Outcome::Failed) << what << ": " << why;
        return out;
    }
};

TEST_P(Rewrite, WholeWritesTheNewBytesAndNothingMore) {
    fakes::FaultyFileCalls calls;
    ASSERT_EQ(RewriteWith(calls), 0);
    EXPECT_EQ(test::ReadBytes(path), newBytes);
    EXPECT_EQ(Mend("whole"), Outcome::Whole);
}

TEST_P(Rewrite, AKillAfterAnyByteLeavesAFileTheNextStartLoadsOrMends) {
    fakes::FaultyFileCalls whole;
    ASSERT_EQ(RewriteWith(whole), 0);
    int finished = 0;
    int undone = 0;
    for (long long cut = 0; cut <= whole.written; ++cut) {
        fakes::FaultyFileCalls calls;
        calls.killAfterBytes = cut;
        RewriteWith(calls);
        const std::string what = "cut after byte " + std::to_string(cut);
        ExpectLoadsWholeOrReported(what);
        const Outcome out = Mend(what);
        finished += out == Outcome::Finished;
        undone += out == Outcome::Undone;
        if (HasFailure()) {
            return;
        }
    }
    // Cuts before and after the new bytes were safe both came.
    EXPECT_GT(finished, 0);
    EXPECT_GT(undone, 0);
}

TEST_P(Rewrite, AKillBeforeAnyCallLeavesAFileTheNextStartLoadsOrMends) {
    const int all = CallsOfAWholeRewrite();
    for (int call = 0; call <= all; ++call) {
        RewriteKilledBefore(call);
        const std::string what = "killed before call " + std::to_string(call);
        ExpectLoadsWholeOrReported(what);
        Mend(what);
    }
}

// A failed call is told; before the new bytes are safe the old file is left exactly, after it
// the next start finishes the save. A full disk fails the first call, the reservation.
TEST_P(Rewrite, AFailureAtAnyCallIsToldAndLeavesTheOldFileOrOneThatIsFinished) {
    fakes::FaultyFileCalls whole;
    ASSERT_EQ(RewriteWith(whole), 0);
    int exact = 0;
    for (int call = 0; call < whole.calls; ++call) {
        fakes::FaultyFileCalls calls;
        calls.failCall = call;
        const std::string what = "call " + std::to_string(call) + " failed";
        EXPECT_EQ(RewriteWith(calls), EIO) << what;
        const std::string left = test::ReadBytes(path);
        const bool old = left == oldBytes;
        exact += old;
        if (call == 0) {
            EXPECT_TRUE(old) << what;
        }
        ExpectLoadsWholeOrReported(what);
        // A failure after the last byte is in (the final sync) leaves the new file.
        EXPECT_EQ(Mend(what), old || left == newBytes ? Outcome::Whole : Outcome::Finished) << what;
    }
    EXPECT_GT(exact, 0);
    EXPECT_LT(exact, whole.calls);
}

// New bytes that the disk lost after they were marked safe are never copied in: the file is
// left as it is and reported.
TEST_P(Rewrite, ACopyThatDoesNotMatchItsMarkIsNotUsed) {
    const auto mend = [](const std::string& file, int& why) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
        PosixFileCalls real;
        const Outcome out = InPlaceRewrite::Mend(fd, real, why);
        ::close(fd);
        return out;
    };
    const int all = CallsOfAWholeRewrite();
    for (int call = 0; call <= all; ++call) {
        RewriteKilledBefore(call);
        const std::string cut = test::ReadBytes(path);
        // Killed once the mark was in, before the copy over the old bytes began.
        const std::string probe = dir.File("probe");
        test::WriteBytes(probe, cut);
        int why = 0;
        if (cut.compare(0, oldBytes.size(), oldBytes) != 0 ||
            mend(probe, why) != Outcome::Finished) {
            continue;
        }
        std::string spoiled = cut;
        const size_t copyAt = spoiled.find(newBytes, oldBytes.size());
        ASSERT_NE(copyAt, std::string::npos);
        spoiled[copyAt + newBytes.size() / 2] ^= 1;
        test::WriteBytes(path, spoiled);
        EXPECT_EQ(mend(path, why), Outcome::Failed);
        EXPECT_EQ(why, kCutShort);
        EXPECT_EQ(test::ReadBytes(path), spoiled);
        return;
    }
    FAIL() << "no kill left the mark in before the copy";
}

INSTANTIATE_TEST_SUITE_P(GrowingAndShrinking, Rewrite, ::testing::Bool());

} // namespace
} // namespace vostrel
