#include "app/SettingsFile.h"
#include "core/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace vostrel {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
};

CliRun RunCli(const std::string& args) {
    CliRun r;
    const std::string cmd = std::string(VOSTREL_CLI) + " " + args + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) {
        return r;
    }
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) {
        r.out.append(buf, n);
    }
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(SettingsCommand, PrintsTheLoadResultAndTheBytesASaveWouldWrite) {
    test::TempDir dir;
    const std::string path = dir.File("vostrel.dat");
    test::WriteBytes(path, "rn:05\nhsn0:\x83\x5c\r\nhsn1:\r\nhss1:99999999999\r\nhss4:1");
    SettingsRecord expected;
    expected.repeatCount = 5;
    expected.highScores.name[0] = std::string("\x83\x5c", 2);
    expected.highScores.name[1] = "none";
    expected.highScores.score[1] = 2147483647;

    const CliRun ok = RunCli("settings " + path);
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, "load 0\n" + FormatSettings(expected));

    test::WriteBytes(path, "rn:7\r\nnsd:1\r\r\n");
    expected = SettingsRecord{};
    expected.repeatCount = 7;
    const CliRun bad = RunCli("settings " + path);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "load -9\n" + FormatSettings(expected));

    const CliRun missing = RunCli("settings " + dir.File("missing.dat"));
    EXPECT_EQ(missing.exitCode, 1);
    // A file the game wrote, cut short: loads, but is no whole file.
    test::WriteBytes(path, FormatSettings(expected).substr(0, 30));
    EXPECT_EQ(RunCli("settings " + path).exitCode, 1);
    EXPECT_EQ(missing.out, "load -1\n" + FormatSettings(SettingsRecord{}));
}

// A line far longer than any command is refused without being held whole; the lines around it
// are answered as ever.
TEST(EvalCommand, ALineTooLongIsRefusedAndTheOthersAnswered) {
    test::TempDir dir;
    const std::string input = dir.File("in");
    const std::string good = "1234 0000 0000 0123 0 001";
    test::WriteBytes(input, good + "\n" + std::string(8 * 1024 * 1024, '7') + "\n" + good);
    const CliRun run = RunCli("eval < " + input);
    EXPECT_EQ(run.exitCode, 1);
    const size_t first = run.out.find('\n');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(run.out.substr(first + 1, run.out.find('\n', first + 1) - first),
              "error: line too long\n");
    EXPECT_EQ(run.out.substr(run.out.size() - (first + 1)), run.out.substr(0, first + 1));
}

TEST(StatsCommand, PrintsTheFiguresOfWhatCouldBeReadAndFailsOnWhatCouldNot) {
    test::TempDir dir;
    const std::string path = dir.File("vostrel-history.txt");
    // Two finished games and a damaged line; 10, 10 then 3 is a run of two.
    test::WriteBytes(path, ":VostrelHistory 1\ngame 20260101 0001 3 f 700 800,10,0,0 700,10,1,0 "
                           "600,3,2,1\njunk\ngame 20260102 0001 1 f -20 -20,4,9,0\n");
    const std::string bands = " bands 1 0 0 1 2 0 0 0 0 0 0 0\n";
    const CliRun ok = RunCli("stats " + path);
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out,
              "skipped 1\n"
              "all played 2 finished 2 mean 340.0 best 700 longest-run 2 made-10 2 other 2 "
              "hints 1" +
                  bands +
                  "set 0001 3 played 1 finished 1 mean 700.0 best 700 longest-run 2 made-10 2 "
                  "other 1 hints 1 bands 0 0 0 1 2 0 0 0 0 0 0 0\n"
                  "set 0001 1 played 1 finished 1 mean -20.0 best -20 longest-run 0 made-10 0 "
                  "other 1 hints 0 bands 1 0 0 0 0 0 0 0 0 0 0 0\n"
                  "recent 700 -20\n");
    EXPECT_EQ(RunCli("stats " + dir.File("missing")).exitCode, 1);
    EXPECT_EQ(RunCli("stats " + dir.path()).exitCode, 1);
    EXPECT_EQ(RunCli("stats").exitCode, 2);
}

TEST(SettingsCommand, WrongUsageExitsWithTwo) {
    EXPECT_EQ(RunCli("settings").exitCode, 2);
    EXPECT_EQ(RunCli("settings a b").exitCode, 2);
}

} // namespace
} // namespace vostrel
