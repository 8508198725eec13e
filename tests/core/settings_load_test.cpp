#include "app/FileReasons.h"
#include "app/SettingsFile.h"
#include "core/Child.h"
#include "core/Sanitized.h"
#include "core/TempDir.h"
#include "fakes/EndlessByteSource.h"
#include "fakes/FailingByteSource.h"
#include "fakes/MemoryByteSource.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vostrel {
namespace {

using namespace std::string_literals;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A record that differs from the start values everywhere, so that "left as it was" shows.
SettingsRecord Marked() {
    SettingsRecord s;
    int32_t mark = -1; // rn -1, nsd -2, nsr -3, rto -4, eu -5, ...
    for (const SettingDef& d : SettingsTable()) {
        s.*d.field = mark--;
    }
    for (int i = 0; i < kHighScoreRows; ++i) {
        s.highScores.name[i] = "was" + std::to_string(i);
        s.highScores.score[i] = -10 - i;
    }
    return s;
}

class LoadTest : public ::testing::Test {
protected:
    // Loads the bytes through a real file.
    int32_t Load(const std::string& bytes, SettingsRecord& s, LoadReport* report = nullptr) {
        const std::string path = dir_.File("vostrel.dat");
        WriteBytes(path, bytes);
        return LoadSettings(path, s, report);
    }
    // The record after loading one line into the marked record.
    SettingsRecord AfterLine(const std::string& line) {
        SettingsRecord s = Marked();
        EXPECT_EQ(Load(line + "\r\n", s), 0) << line;
        return s;
    }

    TempDir dir_;
};

TEST_F(LoadTest, DefaultFileHasTheseExactBytes) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    // The keys of the first version keep their place and defaults; a setting added later
    // follows them.
    std::string settings;
    for (const SettingDef& d : SettingsTable()) {
        settings += std::string(d.key) + ":" + std::to_string(d.defaultValue) + "\r\n";
    }
    const std::string firstVersion = "rn:3\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n";
    EXPECT_EQ(settings.substr(0, firstVersion.size()), firstVersion);
    EXPECT_EQ(FormatSettings(s), ":Vostrel\r\n"
                                 ":Ver. 2.0.2005.0117\r\n"
                                 ":Copyright (C) 2026 The Vostrel developers\r\n" +
                                     settings +
                                     "hsn0:ABC\r\nhss0:500\r\nhsn1:XYZ\r\nhss1:450\r\n"
                                     "hsn2:PYR\r\nhss2:400\r\nhsn3:owns\r\nhss3:350\r\n"
                                     "hsn4:ZORVEK\r\nhss4:300\r\n");
}

TEST_F(LoadTest, SavedFileReadsBackWithEmptyNamesAsNone) {
    SettingsRecord out;
    out.repeatCount = 10;
    out.scoreInexactDivision = 1;
    out.scoreOtherResults = 0;
    out.usePower = 1;
    out.highScores.name[0] = "a:b";
    out.highScores.score[0] = 2147483647;
    out.highScores.name[1] = " x";
    out.highScores.score[1] = 7;
    out.highScores.name[3] = "";
    out.highScores.score[3] = 0;
    const std::string path = dir_.File("vostrel.dat");
    ASSERT_EQ(SaveSettings(path, out), 0);
    EXPECT_EQ(ReadBytes(path), FormatSettings(out));

    SettingsRecord in = Marked();
    ASSERT_EQ(LoadSettings(path, in), 0);
    SettingsRecord expected = out;
    for (auto& name : expected.highScores.name) {
        if (name.empty()) {
            name = "none";
        }
    }
    EXPECT_EQ(in, expected);
}

TEST_F(LoadTest, ShiftJisNamesSurviveLoadAndSaveByteForByte) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    // Includes trail bytes 0x5C and 0x7C, which are '\' and '|' when read as ASCII.
    s.highScores.name[0] = "\x83\x5c\x83\x74\x83\x67";         // "ソフト"
    s.highScores.name[1] = "\x95\x5c\x8e\xa6";                 // "表示"
    s.highScores.name[2] = "\x82\xa0\x81\x7c\xb1\xb2\xb3";     // "あ－" and half-width kana
    s.highScores.name[3] = "\x88\xea\x88\xea\x88\xea\x88\xea"; // "一一一一"
    const std::string original = FormatSettings(s);

    SettingsRecord in;
    ASSERT_EQ(Load(original, in), 0);
    EXPECT_EQ(in.highScores.name[0], s.highScores.name[0]);
    const std::string copy = dir_.File("copy.dat");
    ASSERT_EQ(SaveSettings(copy, in), 0);
    EXPECT_EQ(ReadBytes(copy), original);
}

// A name that code page 932 cannot hold is written in full after the lines every version
// writes. A reader of those lines alone (an older game, another program) finds them as they
// would be for the name's code page 932 bytes, and only printable ASCII in the lines after,
// none longer than a reader takes, even for the longest name the box holds.
TEST_F(LoadTest, FullNamesFollowTheLinesEveryVersionReads) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    s.highScores.name[1] = "J?rgen Gr??e";
    s.highScores.fullName[1] = "J\xC3\xBCrgen Gr\xC3\xB6\xC3\x9F"
                               "e";
    // Every byte that must not stand as it is: the escape, backslash, tilde, controls, UTF-8.
    s.highScores.name[3] = "%\\~\t?";
    s.highScores.fullName[3] = "%\\~\t\xE2\x82\xAC";
    const std::string bytes = FormatSettings(s);
    SettingsRecord plain = s;
    for (std::string& full : plain.highScores.fullName) {
        full.clear();
    }
    const std::string old = FormatSettings(plain);
    ASSERT_EQ(bytes.substr(0, old.size()), old);
    EXPECT_EQ(bytes.substr(old.size()),
              "hsu1:J%C3%BCrgen Gr%C3%B6%C3%9Fe\r\nhsu3:%25%5C%7E%09%E2%82%AC\r\n");

    SettingsRecord in;
    LoadReport report;
    ASSERT_EQ(Load(bytes, in, &report), 0);
    EXPECT_EQ(in, s);
    EXPECT_FALSE(report.CutShort());

    // The longest name the box takes, each character three bytes of UTF-8.
    std::string longest;
    for (int i = 0; i < 32767; ++i) {
        longest += "\xEF\xBF\xBD";
    }
    s.highScores.fullName[4] = longest;
    const std::string big = FormatSettings(s);
    const std::string added = big.substr(old.size());
    size_t lineStart = 0;
    for (size_t i = 0; i < added.size(); ++i) {
        const auto b = static_cast<unsigned char>(added[i]);
        if (b == '\r') {
            ASSERT_EQ(added.at(i + 1), '\n') << i;
            EXPECT_LT(i - lineStart, LineReader::kMaxLine);
            lineStart = i + 2;
            ++i;
            continue;
        }
        ASSERT_TRUE(b >= 0x20 && b < 0x7F) << "byte " << int{b} << " at " << i;
    }
    ASSERT_EQ(Load(big, in), 0);
    EXPECT_EQ(in.highScores.fullName[4], longest);

    // A full name that is not one the game writes is dropped, its row kept.
    for (const char* bad : {"a%4", "a%zz", "a%4a", "caf\xC3\xA9", "a~b"}) {
        SettingsRecord r = Marked();
        EXPECT_EQ(Load("hsu2:" + std::string(bad) + "\r\nhsn2:x\r\n", r), 0);
        EXPECT_EQ(r.highScores.fullName[2], "") << bad;
        EXPECT_EQ(r.highScores.name[2], "x") << bad;
    }
}

TEST_F(LoadTest, LfOnlyReadsLikeCrLf) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    s.highScores.name[2] = "lf";
    std::string crlf = FormatSettings(s);
    std::string lf;
    for (const char c : crlf) {
        if (c != '\r') {
            lf += c;
        }
    }
    SettingsRecord a;
    SettingsRecord b;
    ASSERT_EQ(Load(crlf, a), 0);
    ASSERT_EQ(Load(lf, b), 0);
    EXPECT_EQ(a, s);
    EXPECT_EQ(b, s);
}

TEST_F(LoadTest, BytesAfterTheLastLineEndAreIgnored) {
    SettingsRecord s;
    EXPECT_EQ(Load("hss3:350\r\nhss4:300", s), 0);
    EXPECT_EQ(s.highScores.score[3], 350);
    EXPECT_EQ(s.highScores.score[4], 0);

    // A CR as the very last byte is no error, and its line is still unfinished.
    SettingsRecord t;
    EXPECT_EQ(Load("hss3:350\r\nhss4:300\r", t), 0);
    EXPECT_EQ(t.highScores.score[3], 350);
    EXPECT_EQ(t.highScores.score[4], 0);
}

TEST_F(LoadTest, EmptyFileChangesNothing) {
    SettingsRecord s = Marked();
    EXPECT_EQ(Load("", s), 0);
    EXPECT_EQ(s, Marked());
}

TEST_F(LoadTest, CrWithoutLfFailsAfterTheLinesBeforeIt) {
    const char* const cases[] = {
        "rn:4\r\nnsd:1\nhsn0:A\rB\r\nnsr:1\r\n", // inside a line
        "rn:4\r\nnsd:1\n\r\r\nnsr:1\r\n",        // CR CR LF
        "rn:4\r\nnsd:1\nnsr:1\rx",               // in the unfinished last line
    };
    for (const char* bytes : cases) {
        SettingsRecord s = Marked();
        LoadReport report;
        EXPECT_EQ(Load(bytes, s, &report), -9) << bytes;
        EXPECT_EQ(report.reason, kBadLineEnd);
        EXPECT_EQ(s.repeatCount, 4);
        EXPECT_EQ(s.scoreInexactDivision, 1);
        EXPECT_EQ(s.scoreInexactRoot, -3);
        EXPECT_EQ(s.highScores.name[0], "was0");
    }
    // As the very first byte: a rewrite in place that did not finish.
    SettingsRecord s = Marked();
    LoadReport report;
    EXPECT_EQ(Load("\rVostrel\r\nrn:4\r\n", s, &report), -9);
    EXPECT_EQ(report.reason, kCutShort);
    EXPECT_EQ(s, Marked());
}

TEST_F(LoadTest, NumbersAreAllDigitsOrTheFallback) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const Case rn[] = {
        {"", 3},
        {"abc", 3},
        {" 5", 3},
        {"5 ", 3},
        {"+5", 3},
        {"-5", 3},
        {"5.0", 3},
        {"\x82\x54", 3}, // full-width 5 in Shift-JIS
        {"05", 5},
        {"0", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999", 2147483647},
        {"000000000000000000000012", 12},
        {"99999999999999999999999999999999", 2147483647},
    };
    for (const Case& c : rn) {
        EXPECT_EQ(AfterLine(std::string("rn:") + c.value).repeatCount, c.expected) << c.value;
    }
    EXPECT_EQ(AfterLine("hss2:-20").highScores.score[2], 500);
    EXPECT_EQ(AfterLine("hss2:20").highScores.score[2], 20);

    // Each key's own fallback; every score row falls back to 500.
    for (const SettingDef& d : SettingsTable()) {
        EXPECT_EQ(AfterLine(std::string(d.key) + ":x").*d.field, d.defaultValue) << d.key;
        EXPECT_EQ(AfterLine(std::string(d.key) + ":").*d.field, d.defaultValue) << d.key;
    }
    for (int i = 0; i < kHighScoreRows; ++i) {
        EXPECT_EQ(AfterLine("hss" + std::to_string(i) + ":").highScores.score[i], 500);
    }
    EXPECT_EQ(AfterLine("nsd:2").scoreInexactDivision, 2);
}

TEST_F(LoadTest, NamesAreKeptAsTheyStand) {
    EXPECT_EQ(AfterLine("hsn1:").highScores.name[1], "none");
    EXPECT_EQ(AfterLine("hsn1: x").highScores.name[1], " x");
    EXPECT_EQ(AfterLine("hsn0:a:b").highScores.name[0], "a:b");
    EXPECT_EQ(AfterLine("hsn4:x ").highScores.name[4], "x ");
}

TEST_F(LoadTest, OnlyExactKeysCount) {
    for (const char* line : {"RN:5", "rn :5", " rn:5", ":rn:5", "rn5", "rn", "r:5", "rnn:5",
                             "hsn5:x", "hss:5", "hsn00:x"}) {
        EXPECT_EQ(AfterLine(line), Marked()) << line;
    }
}

TEST_F(LoadTest, TheLastLineForAKeyWins) {
    SettingsRecord s;
    EXPECT_EQ(Load("rn:4\r\nhsn0:first\r\nrn:7\r\nhsn0:second\r\n", s), 0);
    EXPECT_EQ(s.repeatCount, 7);
    EXPECT_EQ(s.highScores.name[0], "second");
}

TEST_F(LoadTest, NulEndsTheTextOfALine) {
    SettingsRecord s = Marked();
    EXPECT_EQ(Load("hsn0:AB\0CD\r\nrn\0:5\r\nhss0:1\0002\r\n"s, s), 0);
    EXPECT_EQ(s.highScores.name[0], "AB");
    EXPECT_EQ(s.repeatCount, -1);
    EXPECT_EQ(s.highScores.score[0], 1);
}

TEST_F(LoadTest, LongLinesAreReadWholeUpToTheBound) {
    // 5000 bytes, one long enough to span several reads of the file, and the longest read.
    for (const size_t length : {size_t{5000}, size_t{300000}, LineReader::kMaxLine}) {
        std::string name(length - 5, 'n');
        name.back() = 'z';
        for (const char* end : {"\r\n", "\n"}) {
            SettingsRecord s;
            EXPECT_EQ(Load("rn:2\r\nhsn3:" + name + end + "hss3:9\r\n", s), 0);
            EXPECT_EQ(s.highScores.name[3], name);
            EXPECT_EQ(s.highScores.score[3], 9);
            EXPECT_EQ(s.repeatCount, 2);
        }
    }
    // One byte more fails where it stands, whatever cuts the reads: nothing after it is read.
    const std::string tooLong =
        "rn:2\r\nhsn3:" + std::string(LineReader::kMaxLine - 4, 'n') + "\r\nhss3:9\r\n";
    for (const size_t block : {size_t{4096}, LineReader::kDefaultBlock}) {
        SettingsRecord s = Marked();
        MemoryByteSource src(tooLong);
        LoadReport report;
        EXPECT_EQ(LoadSettingsFrom(src, s, block, &report), -9);
        EXPECT_EQ(report.reason, kLineTooLong);
        EXPECT_EQ(s.repeatCount, 2);
        EXPECT_EQ(s.highScores.name[3], "was3");
        EXPECT_EQ(s.highScores.score[3], -13);
    }
}

// Only a file that is not there is missing (-1); one that is there but cannot be opened is a
// read failure (-9) with its reason, so that start-up never saves defaults over it.
TEST_F(LoadTest, FileThatCannotBeOpenedChangesNothing) {
    SettingsRecord s = Marked();
    LoadReport report;
    EXPECT_EQ(LoadSettings(dir_.File("missing.dat"), s, &report), -1);
    EXPECT_EQ(report.reason, ENOENT);
    EXPECT_EQ(LoadSettings(dir_.File("no-folder/vostrel.dat"), s), -1);
    EXPECT_EQ(LoadSettings("", s), -1);
    // A directory is no file, nor missing: what it is is told.
    ASSERT_EQ(::mkdir(dir_.File("sub").c_str(), 0700), 0);
    EXPECT_EQ(LoadSettings(dir_.File("sub"), s, &report), -9);
    EXPECT_EQ(report.reason, EISDIR);
    // A link of the player's to a file not yet made: the file is still to be made.
    ASSERT_EQ(::symlink("later.dat", dir_.File("dangling.dat").c_str()), 0);
    EXPECT_EQ(LoadSettings(dir_.File("dangling.dat"), s), -1);
    // A path through a plain file.
    WriteBytes(dir_.File("plain"), "rn:4\r\n");
    EXPECT_EQ(LoadSettings(dir_.File("plain/vostrel.dat"), s, &report), -9);
    EXPECT_EQ(report.reason, ENOTDIR);
    EXPECT_EQ(s, Marked());

    // No read permission: only an ordinary player is refused.
    const std::string locked = dir_.File("locked.dat");
    WriteBytes(locked, "rn:4\r\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0200), 0);
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
    const int code = test::InChild([&] {
        if (!test::BecomePlayer()) {
            return 3;
        }
        SettingsRecord t = Marked();
        LoadReport r;
        return LoadSettings(locked, t, &r) == -9 && r.reason == EACCES && t == Marked() ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
}

// A symbolic link on the way is followed when the player or root made it, never when another
// user did: theirs could lead to any file of the player's.
TEST_F(LoadTest, AnotherUsersLinkIsNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a link that belongs to another user";
    }
    ASSERT_EQ(::mkdir(dir_.File("real").c_str(), 0755), 0);
    WriteBytes(dir_.File("real/vostrel.dat"), "rn:4\r\n");
    for (const char* name : {"file.dat", "folder"}) {
        ASSERT_EQ(::symlink(name[1] == 'i' ? "real/vostrel.dat" : "real", dir_.File(name).c_str()),
                  0);
    }
    // Root's own links are followed.
    SettingsRecord s;
    EXPECT_EQ(LoadSettings(dir_.File("file.dat"), s), 0);
    EXPECT_EQ(LoadSettings(dir_.File("folder/vostrel.dat"), s), 0);
    EXPECT_EQ(s.repeatCount, 4);
    for (const char* name : {"file.dat", "folder"}) {
        ASSERT_EQ(::lchown(dir_.File(name).c_str(), 65534, 65534), 0);
    }
    for (const char* path : {"file.dat", "folder/vostrel.dat"}) {
        SettingsRecord t = Marked();
        LoadReport report;
        EXPECT_EQ(LoadSettings(dir_.File(path), t, &report), -9) << path;
        EXPECT_EQ(report.reason, kOtherUsersLink) << path;
        EXPECT_EQ(t, Marked()) << path;
    }
}

// A link put in the file's place after its path was checked is not followed, whoever made it:
// what is read is what stands under the name, never the file the link names. A folder on the
// way that others may write is refused before anything is read.
TEST_F(LoadTest, ALinkSwappedInAfterThePathWasCheckedIsNotFollowed) {
    const std::string path = dir_.File("vostrel.dat");
    const std::string other = dir_.File("other.dat");
    WriteBytes(path, "rn:4\r\n");
    WriteBytes(other, "rn:9\r\n");
    TrustedPath checked;
    ASSERT_EQ(checked.Resolve(path), 0);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::symlink(other.c_str(), path.c_str()), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0);
    }
    SettingsRecord s = Marked();
    LoadReport report;
    EXPECT_EQ(LoadSettingsAt(checked, s, &report), -9);
    EXPECT_EQ(report.reason, kOtherUsersLink);
    EXPECT_EQ(s, Marked());

    ASSERT_EQ(::mkdir(dir_.File("shared").c_str(), 0700), 0);
    WriteBytes(dir_.File("shared/vostrel.dat"), "rn:4\r\n");
    ASSERT_EQ(::chmod(dir_.File("shared").c_str(), 0777), 0);
    EXPECT_EQ(LoadSettings(dir_.File("shared/vostrel.dat"), s, &report), -9);
    EXPECT_EQ(report.reason, kSharedFolder);
    EXPECT_EQ(s, Marked());
}

// What the game writes has its first line, every key and a final line end: a file that starts
// like it but lacks any of them was cut short. A file made by hand is not judged.
TEST_F(LoadTest, TheReportTellsAFileCutShort) {
    SettingsRecord s;
    InstallDefaultSettings(s);
    const std::string whole = FormatSettings(s);
    const auto report = [&](const std::string& bytes) {
        SettingsRecord t;
        LoadReport r;
        EXPECT_EQ(Load(bytes, t, &r), 0) << bytes;
        return r;
    };
    EXPECT_FALSE(report(whole).CutShort());
    EXPECT_TRUE(report(whole).header);
    // With the empty lines that a rewrite in place may leave after it.
    EXPECT_FALSE(report(whole + "\r\n\r\n\n").CutShort());
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        const LoadReport r = report(whole.substr(0, cut));
        EXPECT_TRUE(r.CutShort()) << cut;
        EXPECT_FALSE(r.empty) << cut;
    }
    // Any one line missing that every version writes, wherever it stood.
    for (size_t start = whole.find("\r\n") + 2, end;
         (end = whole.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string key = whole.substr(start, whole.find(':', start) - start);
        bool every = key.rfind("hs", 0) == 0;
        for (const SettingDef& d : SettingsTable()) {
            every = every || (key == d.key && d.inEveryFile);
        }
        const std::string without = whole.substr(0, start) + whole.substr(end + 2);
        EXPECT_EQ(report(without).CutShort(), every) << key;
    }
    EXPECT_TRUE(report("").empty);
    EXPECT_FALSE(report("").CutShort());
    // Made by hand: some keys, or no final line end, without the game's first line.
    EXPECT_FALSE(report("rn:5\r\nhsn0:Taro\r\n").CutShort());
    EXPECT_FALSE(report("rn:5\r\nhss4:300").CutShort());
    // Nothing whole at all.
    EXPECT_TRUE(report("rn:5").CutShort());
}

TEST_F(LoadTest, ReadErrorsFailAfterTheLinesBeforeThem) {
    test::FailingByteSource source("rn:6\r\nhsn0:ok\nhss0:12");
    SettingsRecord t = Marked();
    LoadReport report;
    EXPECT_EQ(LoadSettingsFrom(source, t, LineReader::kDefaultBlock, &report), -9);
    EXPECT_EQ(report.reason, EIO);
    EXPECT_EQ(t.repeatCount, 6);
    EXPECT_EQ(t.highScores.name[0], "ok");
    EXPECT_EQ(t.highScores.score[0], -10);
}

// Every way of cutting the input into reads gives the same outcome.
TEST_F(LoadTest, ReadBoundariesDoNotMatter) {
    const std::string inputs[] = {
        "rn:4\r\nhsn0:A\r\nhss0:5\r\n",
        "rn:4\r\nhsn0:A\r\r\nhss0:5\r\n",
        "rn:4\nhsn0:\r\nhss0:5\r",
        "hsn1:x\0y\r\n\r\n\n:\r\nhss1:77"s,
    };
    for (const std::string& in : inputs) {
        SettingsRecord whole = Marked();
        MemoryByteSource all(in);
        const int32_t expected = LoadSettingsFrom(all, whole);
        for (size_t chunk = 1; chunk <= in.size(); ++chunk) {
            SettingsRecord s = Marked();
            MemoryByteSource src(in, chunk);
            EXPECT_EQ(LoadSettingsFrom(src, s), expected) << chunk;
            EXPECT_EQ(s, whole) << chunk;
        }
    }
}

TEST(LoadMemory, LineLargerThanMemoryFailsWithoutACrash) {
    if (test::kSanitized) {
        GTEST_SKIP() << "an address-space limit does not combine with AddressSanitizer";
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for a few times the longest line more than the process uses now, then no more:
        // the reader must stop at its bound, not at the end of memory.
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) {
                pages = 0;
            }
            std::fclose(f);
        }
        const rlim_t limit =
            static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + 8 * LineReader::kMaxLine;
        const struct rlimit rl = {limit, limit};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &rl) != 0) {
            ::_exit(3);
        }
        test::EndlessByteSource endless('x');
        SettingsRecord s;
        s.repeatCount = 42;
        LoadReport report;
        const int32_t r = LoadSettingsFrom(endless, s, LineReader::kDefaultBlock, &report);
        ::_exit(r == -9 && report.reason == kLineTooLong && s.repeatCount == 42 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SettingsPath, IsBesideTheRunningExecutable) {
    const std::string path = GetSettingsPath("vostrel.dat");
    ASSERT_GE(path.size(), std::string("/vostrel.dat").size());
    EXPECT_EQ(path.front(), '/');
    const std::string dir = path.substr(0, path.size() - std::string("vostrel.dat").size());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(::access((dir + "vostrel_tests").c_str(), X_OK), 0) << dir;
}

TEST(CheckDigitsTest, EmptyDigitsOrOther) {
    EXPECT_EQ(CheckDigits(""), 1);
    EXPECT_EQ(CheckDigits("0123456789"), 0);
    EXPECT_EQ(CheckDigits("12a"), 2);
    EXPECT_EQ(CheckDigits("/"), 2); // just below '0'
    EXPECT_EQ(CheckDigits(":"), 2); // just above '9'
    EXPECT_EQ(CheckDigits("1\0"s), 2);
}

} // namespace
} // namespace vostrel
