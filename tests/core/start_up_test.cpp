// Start-up and shutdown over real files: loading, the missing and unreadable file, the game
// dialog's run and the save at exit.

#include "Child.h"
#include "TempDir.h"
#include "app/CGameApp.h"
#include "app/FileReasons.h"
#include "app/GameFile.h"
#include "app/InPlaceRewrite.h"
#include "app/SaveFailure.h"
#include "app/SettingsFile.h"
#include "app/WinConstants.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FaultyFileCalls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vostrel {
namespace {

using fakes::FakeAppShell;
using fakes::ShownBox;

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.path().empty()); }

    void Write(const std::string& bytes) const { test::WriteBytes(path_, bytes); }
    std::string Read() const { return test::ReadBytes(path_); }
    static SettingsRecord Defaults() {
        SettingsRecord s;
        InstallDefaultSettings(s);
        return s;
    }
    SettingsRecord Reload() const {
        CGameApp other;
        EXPECT_EQ(other.LoadSettings(path_), 0);
        return other.settings;
    }

    test::TempDir dir_;
    std::string path_ = dir_.File("vostrel.dat");
    CGameApp app;
    FakeAppShell shell;
};

TEST_F(StartUpTest, AMissingFileIsReportedThenCreatedWithDefaultsAndSavedAgainAtExit) {
    shell.onGameDialog = [&](CGameApp& running) {
        EXPECT_EQ(&running, &app);
        EXPECT_EQ(shell.boxes.shown.size(), 1u);
        EXPECT_EQ(running.settings, Defaults());
        // Written before the window opened.
        EXPECT_EQ(Reload(), Defaults());
        // Played: a new name in the table and other settings.
        running.settings.highScores.name[0] = "Hanako";
        running.settings.repeatCount = 5;
    };
    EXPECT_EQ(app.InitInstance(shell, path_), 0);
    EXPECT_EQ(shell.gameDialogRuns, 1);
    ASSERT_EQ(shell.boxes.shown.size(), 1u);
    EXPECT_EQ(shell.boxes.Last(), (ShownBox{"設定ファイルが見つからないので初期化します。",
                                            "設定ファイルエラー", MB_OK | MB_ICONEXCLAMATION}));
    EXPECT_EQ(shell.boxes.Last().style, 0x30u);
    const SettingsRecord saved = Reload();
    EXPECT_EQ(saved.highScores.name[0], "Hanako");
    EXPECT_EQ(saved.repeatCount, 5);
    EXPECT_EQ(saved, app.settings);
}

// The save at the first start fails and is told, once: the game still runs, and the save at
// its end, failing again, ends it with status 1 and no second box.
TEST_F(StartUpTest, AFileThatCannotBeCreatedIsToldOnceAndStillGivesAGameWithDefaults) {
    path_ = dir_.File("no-such-dir/vostrel.dat");
    shell.onGameDialog = [&](CGameApp&) { EXPECT_EQ(shell.boxes.shown.size(), 2u); };
    EXPECT_EQ(app.InitInstance(shell, path_), 1);
    ASSERT_EQ(shell.boxes.shown.size(), 2u);
    EXPECT_EQ(shell.boxes.Last(), (ShownBox{"設定ファイルの保存に失敗しました。\n\n" + path_ +
                                                "\n保存先のフォルダがありません。",
                                            "設定ファイルエラー", MB_OK | MB_ICONERROR}));
    EXPECT_EQ(shell.gameDialogRuns, 1);
    EXPECT_EQ(app.settings, Defaults());
    EXPECT_FALSE(std::filesystem::exists(path_));
}

// A good start whose file is taken away during play: the save at the end is told.
TEST_F(StartUpTest, ASaveThatFailsAtTheEndIsTold) {
    Write(FormatSettings(Defaults()));
    shell.onGameDialog = [&](CGameApp&) {
        std::filesystem::remove(path_);
        std::filesystem::create_directory(path_);
    };
    EXPECT_EQ(app.InitInstance(shell, path_), 1);
    ASSERT_EQ(shell.boxes.shown.size(), 1u);
    EXPECT_EQ(shell.boxes.Last().text, "設定ファイルの保存に失敗しました。\n\n" + path_ +
                                           "\n同じ名前のフォルダがあります。");
    // Each cause the player can act on is told in its own words.
    const std::pair<int, std::string> causes[] = {
        {EROFS, "読取り専用のディスクです。"},
        {EACCES, "このファイルまたはフォルダへの書込みが許可されていません。"},
        {EPERM, "このファイルまたはフォルダへの書込みが許可されていません。"},
        {ENOSPC, "ディスクの空きが足りません。"},
    };
    for (const auto& [reason, why] : causes) {
        EXPECT_EQ(SaveFailureText(path_, reason),
                  "設定ファイルの保存に失敗しました。\n\n" + path_ + "\n" + why);
    }
}

// The desktop ends the session while the game runs: the record as it stands is saved at
// once, without a box, and not again when the window goes; a failure is one line on standard
// error and status 1.
TEST_F(StartUpTest, TheEndOfASessionSavesOnceWithoutABox) {
    // An empty line that a save would not write back.
    const std::string loaded = FormatSettings(Defaults()) + "\r\n";
    Write(loaded);
    shell.onGameDialog = [&](CGameApp& running) {
        running.SaveForSession(); // nothing changed: nothing written
        EXPECT_EQ(Read(), loaded);
        running.settings.highScores.name[0] = "Hanako";
        running.SaveForSession();
        EXPECT_EQ(Reload().highScores.name[0], "Hanako");
        // What it wrote is known: asked again with nothing changed, it leaves the file alone.
        const std::string written = Read();
        Write("touched");
        running.SaveForSession();
        EXPECT_EQ(Read(), "touched");
        Write(written);
        running.settings.repeatCount = 7;
        // A name typed for a new row and not confirmed: the game may go on, and the player
        // may still press Esc, so only the end keeps it.
        InsertHighScore(running.settings.highScores, 600);
        running.typedName = {0, {"J?rgen", "J\xC3\xBCrgen"}};
        running.SaveForSession();
        EXPECT_EQ(Reload().highScores.name[0], "none");
        running.EndSession();
        EXPECT_EQ(Reload().repeatCount, 7);
        EXPECT_EQ(Reload().highScores.name[0], "J?rgen");
        EXPECT_EQ(Reload().highScores.fullName[0], "J\xC3\xBCrgen");
        EXPECT_EQ(Reload().highScores.name[1], "Hanako");
        running.settings.repeatCount = 8; // after the end: not saved
        running.EndSession();
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(app.InitInstance(shell, path_), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(shell.boxes.shown.empty());
    EXPECT_EQ(Reload().repeatCount, 7);

    CGameApp next;
    FakeAppShell sh;
    sh.onGameDialog = [&](CGameApp& running) {
        std::filesystem::remove(path_);
        std::filesystem::create_directory(path_);
        running.settings.repeatCount = 5;
        running.EndSession();
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(next.InitInstance(sh, path_), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vostrel: the settings could not be saved to " + path_ + ": " +
                  std::strerror(EISDIR) + "\n");
    EXPECT_TRUE(sh.boxes.shown.empty());
}

// A folder or a FIFO by the file's name is no settings file: the box names what is there, the
// game plays with the defaults and saves nothing over it. A FIFO must not hold the start.
TEST_F(StartUpTest, AFolderOrAFifoInTheFilesPlaceIsNamedAndLeftAlone) {
    const std::string folder = dir_.File("folder/vostrel.dat");
    const std::string fifo = dir_.File("fifo/vostrel.dat");
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    test::WriteBytes(folder + "/inside", "keep");
    ASSERT_TRUE(std::filesystem::create_directories(dir_.File("fifo")));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const struct {
        std::string path;
        int reason;
    } cases[] = {{folder, EISDIR}, {fifo, kNotAFile}};
    for (const auto& c : cases) {
        const std::string& path = c.path;
        const int reason = c.reason;
        SCOPED_TRACE(path);
        const int code = test::InChild(
            [&] {
                CGameApp fresh;
                FakeAppShell sh;
                const bool ok =
                    fresh.InitInstance(sh, path) == 1 && sh.gameDialogRuns == 1 &&
                    sh.boxes.shown.size() == 1 &&
                    sh.boxes.Last() == ShownBox{ReadFailureText(path, reason, true),
                                                "設定ファイルエラー", MB_OK | MB_ICONERROR} &&
                    fresh.settings == Defaults();
                return ok ? 0 : 1;
            },
            10);
        EXPECT_EQ(code, 0) << "-1: the start did not end within 10 seconds";
    }
    EXPECT_EQ(test::ReadBytes(folder + "/inside"), "keep");
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_NE(ReadFailureText(fifo, kNotAFile, true).find("FIFO"), std::string::npos);
}

// A rewrite in place cut off by a kill anywhere: the next start finishes or undoes it, says
// which, and plays with what the file then holds.
TEST_F(StartUpTest, ACutRewriteIsMendedAndTold) {
    SettingsRecord before = Defaults();
    before.highScores.score[0] = 1000;
    SettingsRecord after = Defaults();
    after.highScores.name[0] = std::string(300, 'n');
    after.highScores.score[0] = 2000;
    const std::string oldBytes = FormatSettings(before);
    const std::string newBytes = FormatSettings(after);
    int told = 0;
    for (int call = 0;; ++call) {
        SCOPED_TRACE(call);
        Write(oldBytes);
        fakes::FaultyFileCalls calls;
        calls.killBeforeCall = call;
        const int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const int written = InPlaceRewrite::Write(fd, newBytes, calls);
        ::close(fd);
        const std::string cut = Read();
        CGameApp fresh;
        FakeAppShell sh;
        SettingsRecord played;
        sh.onGameDialog = [&](CGameApp& running) { played = running.settings; };
        EXPECT_EQ(fresh.InitInstance(sh, path_), 0);
        EXPECT_EQ(sh.gameDialogRuns, 1);
        if (cut == oldBytes || cut == newBytes) {
            EXPECT_TRUE(sh.boxes.shown.empty());
            EXPECT_EQ(played, cut == oldBytes ? before : after);
        } else {
            ++told;
            ASSERT_EQ(sh.boxes.shown.size(), 1u);
            const bool finished = played == after;
            EXPECT_TRUE(finished || played == before);
            EXPECT_EQ(sh.boxes.Last(), (ShownBox{MendedText(path_, finished), "設定ファイルエラー",
                                                 MB_OK | MB_ICONINFORMATION}));
        }
        if (written == 0) {
            break;
        }
    }
    EXPECT_GT(told, 0);
}

// A file far larger than any the game writes is refused before it is read.
TEST_F(StartUpTest, AHugeFileIsRefusedAtOnce) {
    Write("rn:5\r\n");
    ASSERT_EQ(::truncate(path_.c_str(), kMaxSettingsFile + 1), 0);
    EXPECT_EQ(app.InitInstance(shell, path_), 1);
    ASSERT_EQ(shell.boxes.shown.size(), 1u);
    EXPECT_EQ(shell.boxes.Last().text, ReadFailureText(path_, kFileTooLarge, false));
    EXPECT_EQ(shell.gameDialogRuns, 0);
    EXPECT_EQ(app.settings.repeatCount, 0);
}

// An installed game keeps the file in the player's data folder, made when first saved.
TEST_F(StartUpTest, TheDataFolderIsMadeAtTheFirstSaveAndReadAtTheNextStart) {
    const SettingsLocation location{dir_.File("home/.local/share/vostrel/vostrel.dat"), true};
    // The game under way goes to a file of its own beside vostrel.dat, in the made folder.
    const std::string game = dir_.File("home/.local/share/vostrel/") + kGameFileName;
    shell.onGameDialog = [](CGameApp& running) {
        running.settings.repeatCount = 1;
        EXPECT_EQ(running.keptGameReason, ENOENT);
        EXPECT_EQ(running.KeepGame("game under way\n"), 0);
    };
    EXPECT_EQ(app.InitInstance(shell, location), 0);
    EXPECT_EQ(test::ReadBytes(game), "game under way\n");
    EXPECT_EQ(test::ReadBytes(location.path).find("game under way"), std::string::npos);
    EXPECT_EQ(shell.boxes.shown.size(), 1u);
    struct stat st;
    ASSERT_EQ(::stat(dir_.File("home/.local/share/vostrel").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    CGameApp next;
    FakeAppShell sh;
    sh.onGameDialog = [&game](CGameApp& running) {
        EXPECT_EQ(running.gamePath, game);
        EXPECT_EQ(running.keptGameReason, 0);
        EXPECT_EQ(running.keptGame, "game under way\n");
    };
    EXPECT_EQ(next.InitInstance(sh, location), 0);
    EXPECT_TRUE(sh.boxes.shown.empty());
    EXPECT_EQ(next.settings.repeatCount, 1);
}

// A file whose bytes are wrong (a CR without its LF, a line longer than the bound, a file the
// game wrote but cut short) is told with its path and reason; the program ends and leaves it.
TEST_F(StartUpTest, AnUnreadableFileEndsTheProgramAndIsLeftAsItWas) {
    const std::string whole = FormatSettings(Defaults());
    const struct {
        std::string bytes;
        int reason;
    } cases[] = {
        {"rn:5\r\nnsd:1\rX\r\nhss0:900\r\n", kBadLineEnd}, // a CR without its LF
        {"rn:5\r\nhsn0:" + std::string(LineReader::kMaxLine, 'x') + "\r\n", kLineTooLong},
        {whole.substr(0, whole.size() - 1), kCutShort},    // no final LF
        {whole.substr(0, whole.find("hsn3:")), kCutShort}, // whole lines, keys missing
        {"\r" + whole.substr(1), kCutShort},               // a rewrite in place, unfinished
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        Write(c.bytes);
        CGameApp fresh;
        FakeAppShell sh;
        EXPECT_EQ(fresh.InitInstance(sh, path_), 1);
        ASSERT_EQ(sh.boxes.shown.size(), 1u);
        EXPECT_EQ(sh.boxes.Last(), (ShownBox{ReadFailureText(path_, c.reason, false),
                                             "設定ファイルエラー", MB_OK | MB_ICONERROR}));
        EXPECT_EQ(sh.boxes.Last().style, 0x10u);
        EXPECT_EQ(sh.gameDialogRuns, 0);
        EXPECT_EQ(Read(), c.bytes);
    }
    EXPECT_EQ(ReadFailureText(path_, kBadLineEnd, false),
              "設定ファイルの読込みに失敗しました。\n\n" + path_ +
                  "\nLF が続かない CR があります。");
}

// A file that is there but cannot be read now (here: no read permission) is no missing file:
// the player is told, plays with the defaults, and the file is never saved over, neither at the
// end nor at a session's end; the run ends with 1.
TEST_F(StartUpTest, AFileThatCannotBeReadNowIsToldAndNeverSavedOver) {
    SettingsRecord mine = Defaults();
    mine.highScores.name[0] = "Hanako";
    mine.highScores.score[0] = 900;
    const std::string bytes = FormatSettings(mine);
    Write(bytes);
    ASSERT_EQ(::chmod(path_.c_str(), 0200), 0);
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
    for (const bool sessionEnds : {false, true}) {
        const int code = test::InChild([&] {
            if (!test::BecomePlayer()) {
                return 3;
            }
            CGameApp fresh;
            FakeAppShell sh;
            bool defaults = false;
            sh.onGameDialog = [&](CGameApp& running) {
                defaults = running.settings == Defaults();
                running.settings.highScores.name[1] = "new";
                if (sessionEnds) {
                    running.SaveForSession();
                    running.EndSession();
                }
            };
            const int status = fresh.InitInstance(sh, path_);
            const bool told =
                sh.boxes.shown.size() == 1 &&
                sh.boxes.Last() == ShownBox{ReadFailureText(path_, EACCES, true),
                                            "設定ファイルエラー", MB_OK | MB_ICONERROR};
            return status == 1 && told && defaults && sh.gameDialogRuns == 1 ? 0 : 1;
        });
        EXPECT_EQ(code, 0) << (sessionEnds ? "ended by the session" : "window closed");
        EXPECT_EQ(Read(), bytes);
    }
    EXPECT_EQ(dir_.Listing(), "vostrel.dat\n");
    EXPECT_NE(
        ReadFailureText(path_, EACCES, true).find("このファイルの読込みが許可されていません。"),
        std::string::npos);
}

// An empty file holds nothing to lose: it is taken as the first start, not as an empty table.
TEST_F(StartUpTest, AnEmptyFileIsTheFirstStart) {
    Write("");
    EXPECT_EQ(app.InitInstance(shell, path_), 0);
    ASSERT_EQ(shell.boxes.shown.size(), 1u);
    EXPECT_EQ(shell.boxes.Last().style, static_cast<uint32_t>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(app.settings, Defaults());
    EXPECT_EQ(Read(), FormatSettings(Defaults()));
}

TEST_F(StartUpTest, AGoodFileIsUsedAsItIsAndWrittenBackAtExit) {
    Write("rn:7\r\nnsd:1\r\nnsr:0\r\nrto:0\r\neu:0\r\n"
          "hsn0:Taro\r\nhss0:900\r\nhsn1:B\r\nhss1:800\r\nhsn2:C\r\nhss2:700\r\n"
          "hsn3:D\r\nhss3:600\r\nhsn4:E\r\nhss4:500\r\n");
    SettingsRecord seen;
    shell.onGameDialog = [&](CGameApp& running) {
        seen = running.settings;
        running.settings.highScores.score[4] = 550;
    };
    EXPECT_EQ(app.InitInstance(shell, path_), 0);
    EXPECT_TRUE(shell.boxes.shown.empty());
    EXPECT_EQ(seen.repeatCount, 7);
    EXPECT_EQ(seen.scoreInexactDivision, 1);
    EXPECT_EQ(seen.scoreOtherResults, 0);
    EXPECT_EQ(seen.usePower, 0);
    EXPECT_EQ(seen.highScores.name[0], "Taro");
    EXPECT_EQ(seen.highScores.score[0], 900);
    const SettingsRecord saved = Reload();
    EXPECT_EQ(saved.highScores.score[4], 550);
    EXPECT_EQ(saved, app.settings);
    EXPECT_NE(Read().find("rn:7\r\n"), std::string::npos);
}

TEST_F(StartUpTest, ARepeatCountBelowOneBecomesThreeAndReachesTheFile) {
    for (const std::string& rn : {std::string("rn:0\r\n"), std::string()}) {
        SCOPED_TRACE(rn);
        Write(rn + "nsd:1\r\nhsn0:A\r\nhss0:10\r\n");
        CGameApp fresh;
        FakeAppShell sh;
        int32_t during = -1;
        sh.onGameDialog = [&](CGameApp& running) { during = running.settings.repeatCount; };
        EXPECT_EQ(fresh.InitInstance(sh, path_), 0);
        EXPECT_TRUE(sh.boxes.shown.empty());
        EXPECT_EQ(during, 3);
        EXPECT_EQ(Reload().repeatCount, 3);
        EXPECT_NE(Read().find("rn:3\r\n"), std::string::npos);
    }
}

TEST_F(StartUpTest, RepeatCountsAboveTenFromTheFileAreKept) {
    Write("rn:2147483647\r\n");
    EXPECT_EQ(app.InitInstance(shell, path_), 0);
    EXPECT_EQ(app.settings.repeatCount, 2147483647);
}

} // namespace
} // namespace vostrel
