// The game window running the high-score and settings dialogs, as a player meets them.
#include "BoxResponder.h"
#include "app/CGameApp.h"
#include "app/WinConstants.h"
#include "core/TempDir.h"
#include "engine/Evaluator.h"
#include "fakes/ScriptedRandom.h"
#include "ui/CGameDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/CStaticEx.h"
#include "ui/CStatsDlg.h"
#include "ui/ControlIds.h"
#include "ui/GameDialogs.h"
#include "ui/platform/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace vostrel {
namespace {

class GameDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallDefaultSettings(app.settings);
        dlg = std::make_unique<CGameDlg>(app, [this] {
            const int d = digits.empty() ? 9 : digits.front();
            if (!digits.empty()) {
                digits.pop_front();
            }
            return fakes::ScriptedRandom::ValueOf(d);
        });
        dlg->show();
    }
    QString Digit(int k) {
        if (CStaticEx* s = dlg->Label(IDC_DIGIT0 + k)) {
            return s->WindowText();
        }
        auto* label = qobject_cast<QLabel*>(dlg->Control(IDC_DIGIT0 + k));
        return label != nullptr ? label->text() : QString();
    }
    void Click(int id) { QTest::mouseClick(dlg->Control(id), Qt::LeftButton); }
    // Runs `act` on the modal dialog of type T once it is up.
    template <typename T> void WhenUp(std::function<void(T&)> act) {
        QTimer::singleShot(0, [this, act] {
            auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->parentWidget(), dlg.get());
            seen = true;
            act(*d);
        });
    }

    CGameApp app;
    std::deque<int> digits{1, 2, 3, 4};
    fakes::BoxResponder boxes;
    std::unique_ptr<CGameDlg> dlg;
    bool seen = false;
};

TEST_F(GameDialogsTest, AppliedSettingsDiscardTheGameAndStartANewOne) {
    Click(IDC_EVALUATE); // the game is under way now
    ASSERT_EQ(dlg->Flow().State().touched, true);
    digits = {5, 6, 7, 8};
    boxes.answers = {IDYES};
    WhenUp<CSettingDlg>([](CSettingDlg& s) {
        auto* combo = static_cast<QComboBox*>(s.GetDlgItem(CSettingDlg::IDC_REPEAT_COUNT));
        combo->setEditText("1");
        static_cast<QCheckBox*>(s.GetDlgItem(CSettingDlg::IDC_SCORE_INEXACT_DIVISION + 3))
            ->setChecked(false);
        static_cast<QPushButton*>(s.GetDlgItem(CSettingDlg::IDC_CHANGE))->click();
    });
    Click(IDC_SETTINGS);
    EXPECT_TRUE(seen);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.Last().caption, "変更確認");
    EXPECT_EQ(app.settings.repeatCount, 1);
    EXPECT_EQ(app.settings.usePower, 0);
    EXPECT_EQ(dlg->Flow().State().touched, false);
    EXPECT_EQ(Digit(0), "5");
    EXPECT_EQ(Digit(3), "8");
    EXPECT_FALSE(dlg->Label(IDC_POWER0)->isEnabled());
}

TEST_F(GameDialogsTest, ClosingTheSettingsLeavesTheGameAsItWas) {
    Click(IDC_EVALUATE);
    WhenUp<CSettingDlg>([](CSettingDlg& s) {
        static_cast<QComboBox*>(s.GetDlgItem(CSettingDlg::IDC_REPEAT_COUNT))->setEditText("5");
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    Click(IDC_SETTINGS);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(app.settings.repeatCount, 3);
    EXPECT_EQ(dlg->Flow().State().touched, true);
    EXPECT_EQ(Digit(0), "1");
}

TEST_F(GameDialogsTest, KeysTypedAsTheSettingsOpenNeverReachTheGameWindowBehindThem) {
    Click(IDC_EVALUATE); // a game under way: exit would ask
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    bool settingsUp = false;
    QTimer::singleShot(400, [this, &settingsUp] {
        auto* s = qobject_cast<CSettingDlg*>(QApplication::activeModalWidget());
        settingsUp = s != nullptr;
        dlg->close(); // the close box of the window behind does nothing either
        if (s != nullptr) {
            s->reject();
        }
    });
    // Alt+X a moment after Alt+S, before the settings dialog is up.
    QTest::keyClick(dlg->windowHandle(), Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(dlg->windowHandle(), Qt::Key_X, Qt::AltModifier);
    QTest::qWait(600);
    EXPECT_TRUE(settingsUp);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->Flow().State().touched, true);
}

// A box over the settings dialog over the game closes, as a box of the settings dialog does:
// hidden, then gone. The keyboard goes back to the settings dialog under it, not past it to the
// game window.
TEST_F(GameDialogsTest, ABoxOverTheSettingsGivesTheKeyboardBackToTheSettings) {
    // The window system's keyboard, not Qt's idea of an active window, which a dialog shares
    // with the boxes it owns.
    const auto active = [](QWidget* w) {
        w->windowHandle()->requestActivate();
        return QTest::qWaitFor([w] { return QGuiApplication::focusWindow() == w->windowHandle(); });
    };
    ASSERT_TRUE(active(dlg.get()));
    CSettingDlg settings(app.settings, false, dlg.get());
    settings.setWindowModality(Qt::ApplicationModal);
    settings.show();
    ASSERT_TRUE(active(&settings));
    std::unique_ptr<QMessageBox> box =
        BuildMessageBox(&settings, "text", "caption", MB_OK | MB_ICONEXCLAMATION);
    box->show();
    ASSERT_TRUE(active(box.get()));
    box->hide();
    box.reset();
    EXPECT_TRUE(QTest::qWaitFor(
        [&settings] { return QGuiApplication::focusWindow() == settings.windowHandle(); }));
    QTest::qWait(50); // and it stays there
    EXPECT_EQ(QGuiApplication::focusWindow(), settings.windowHandle());
}

TEST_F(GameDialogsTest, TheStatisticsOpenByTheirKeyAndAreClearedOnlyAfterAYes) {
    test::TempDir dir;
    const std::string path = dir.File("vostrel-history.txt");
    app.historyPath = path;
    // Two finished games under the current settings: scores 300 and 500, three 10s in a row,
    // then a miss and two hints.
    const SettingsSet now = SetOf(app.settings);
    app.history.Append({20260101, now, true, 300, {{450, 10, 0, 0}, {450, 10, 1, 0}}});
    app.history.Append({20260102, now, true, 500, {{800, 10, 0, 0}, {-20, 3, 9, 2}}});
    std::vector<QString> before;
    std::vector<QString> after;
    WhenUp<CStatsDlg>([&](CStatsDlg& s) {
        QTableWidget* t = s.Table();
        EXPECT_EQ(s.focusWidget(), t); // the table first, for the keyboard and a reader
        ASSERT_EQ(t->columnCount(), 2);
        EXPECT_EQ(t->horizontalHeaderItem(1)->text(), CStatsDlg::SetName(now));
        for (int r = 0; r < 8; ++r) {
            before.push_back(t->item(r, 1)->text());
        }
        boxes.answers = {IDNO, IDYES};
        s.ClearButton()->click();
        EXPECT_EQ(app.history.games.size(), 2u);
        s.ClearButton()->click();
        after.push_back(t->item(0, 0)->text());
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    // The window menu's entry with its key.
    for (QAction* a : dlg->WindowMenu()->actions()) {
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_T)) {
            a->trigger();
        }
    }
    ASSERT_TRUE(seen);
    // Played, finished, mean, best, longest run, made 10, another result, hints.
    EXPECT_EQ(before, (std::vector<QString>{"2", "2", "400.0", "500", "3", "3", "1", "2"}));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.Last().style,
              static_cast<uint32_t>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(after, std::vector<QString>{"0"});
    EXPECT_TRUE(app.history.games.empty());
    GameHistory read;
    HistoryReport report;
    EXPECT_EQ(LoadHistory(path, read, report), 0);
    EXPECT_EQ(read, GameHistory{});
}

TEST_F(GameDialogsTest, TheLastGradeOpensTheTableForTheNewName) {
    app.settings.repeatCount = 1;
    // 1+2+3+4 = 10 graded with no try, above every default score.
    const int32_t points = Evaluate(dlg->Flow().State().expr, 0, SwitchesOf(app.settings)).points;
    ASSERT_GT(points, app.settings.highScores.score[0]);
    WhenUp<CHiScoreDlg>([points](CHiScoreDlg& h) {
        auto* edit = static_cast<QLineEdit*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_NAME_EDIT));
        EXPECT_TRUE(edit->isVisible());
        EXPECT_EQ(static_cast<QLabel*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_FINAL))->text(),
                  QString::number(points));
        edit->setText(QStringLiteral("鈴木"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    Click(IDC_GRADE);
    EXPECT_TRUE(seen);
    EXPECT_EQ(app.settings.highScores.name[0], "\x97\xE9\x96\xD8");
    EXPECT_EQ(app.settings.highScores.score[0], points);
    EXPECT_EQ(app.settings.highScores.name[1], "ABC");
    EXPECT_EQ(dlg->Flow().State().problemIndex, 0);
    EXPECT_EQ(Digit(0), "9"); // a new game
}

TEST(GameDialogRegistry, EachKindOfTheFlowOpensOneDialogAndEveryDialogCanOpen) {
    const auto all = GameDialogs();
    for (const DialogKind kind : {DialogKind::HiScore, DialogKind::Settings}) {
        EXPECT_EQ(std::count_if(all.begin(), all.end(),
                                [kind](const GameDialog& d) { return d.kind == kind; }),
                  1);
        EXPECT_EQ(GameDialogOf(kind).kind, kind);
    }
    for (const GameDialog& d : all) {
        // Neither the flow nor the window menu would ever open it.
        EXPECT_TRUE(d.kind.has_value() || d.menuText != nullptr) << d.name;
        // Nor may the menu open one of the flow's behind its back (a settings change would not
        // restart the game).
        EXPECT_EQ(d.kind.has_value() && d.menuText != nullptr, false) << d.name;
        // Registered once: a second entry would stand twice in the window menu.
        EXPECT_EQ(std::count_if(all.begin(), all.end(),
                                [&d](const GameDialog& o) { return o.type == d.type; }),
                  1)
            << d.name;
    }
}

} // namespace
} // namespace vostrel
