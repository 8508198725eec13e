#include "BoxResponder.h"
#include "LayoutCheck.h"
#include "app/CGameApp.h"
#include "app/SettingsFile.h"
#include "app/WinConstants.h"
#include "game/SpokenText.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CStaticEx.h"
#include "ui/platform/Cp932.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace vostrel {
namespace {

using Dlg = CHiScoreDlg;

// Key presses that carry text, as a keyboard layout gives them: one a character.
void TypeText(QWidget* w, const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, one);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, one);
        QApplication::sendEvent(w, &release);
    }
}

// What an input method hands over when the player confirms a conversion.
void CommitText(QWidget* w, const QString& text) {
    QInputMethodEvent preedit(QStringLiteral("たなか"), {});
    QApplication::sendEvent(w, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}

// Text that a reader may take for loose text near the focus and read out as the dialog opens:
// a label that names nothing and is named by nothing.
bool LooseText(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr && iface->role() == QAccessible::StaticText &&
           !iface->state().invisible && iface->relations().isEmpty();
}

class HiScoreDlgTest : public ::testing::Test {
protected:
    CGameApp app;

    void SetUp() override { SetDefaultHighScores(app.settings); }

    // The end of a game the next dialog shows; none: the table alone.
    std::optional<GameEnd> end;
    // Told what the name box holds as it changes, as the game window is.
    std::function<void(const StoredName&)> keepTyped;

    // As the game flow does at the end of a game.
    void EndGame(int32_t finalScore) {
        const int32_t row = InsertHighScore(app.settings.highScores, finalScore);
        end = GameEnd{app.settings.highScores, finalScore, row};
    }
    std::unique_ptr<Dlg> Make() const {
        return end ? std::make_unique<Dlg>(*end) : std::make_unique<Dlg>(app.settings.highScores);
    }

    // Runs the dialog modally; `act` runs once it is up, with the dialog and the focus widget.
    // The name it gives back goes into the table, as the game does.
    int32_t Run(const std::function<void(Dlg&)>& act) {
        const std::unique_ptr<Dlg> made = Make();
        Dlg& dlg = *made;
        if (keepTyped) {
            dlg.KeepTypedName(keepTyped);
        }
        QTimer::singleShot(0, &dlg, [&dlg, &act] {
            QApplication::setActiveWindow(&dlg);
            act(dlg);
        });
        const int32_t r = dlg.DoModal();
        if (dlg.EnteredName() && end && end->row >= 0) {
            app.settings.highScores.name[end->row] = dlg.EnteredName()->bytes;
            app.settings.highScores.fullName[end->row] = dlg.EnteredName()->full;
        }
        return r;
    }

    static CStaticEx* Name(const Dlg& d, int k) {
        return static_cast<CStaticEx*>(d.GetDlgItem(Dlg::IDC_HS_NAME0 + k));
    }
    static CStaticEx* Score(const Dlg& d, int k) {
        return static_cast<CStaticEx*>(d.GetDlgItem(Dlg::IDC_HS_SCORE0 + k));
    }
    static QLineEdit* Edit(const Dlg& d) {
        return static_cast<QLineEdit*>(d.GetDlgItem(Dlg::IDC_HS_NAME_EDIT));
    }
    static QLabel* Final(const Dlg& d) {
        return static_cast<QLabel*>(d.GetDlgItem(Dlg::IDC_HS_FINAL));
    }
    static QPushButton* Ok(const Dlg& d) {
        return static_cast<QPushButton*>(d.GetDlgItem(Dlg::IDC_HS_OK));
    }
};

TEST_F(HiScoreDlgTest, ViewModeShowsTheWholeTableOnWhiteAndNoFinalScore) {
    app.settings.highScores.score[4] = -7;
    const std::unique_ptr<Dlg> made = Make();
    Dlg& d = *made;
    d.show();
    for (int k = 0; k < kHighScoreRows; ++k) {
        CStaticEx* name = Name(d, k);
        EXPECT_EQ(name->objectName(), QStringLiteral("lblHsName%1").arg(k));
        EXPECT_TRUE(name->isVisible());
        EXPECT_EQ(name->BackColor(), QColor(255, 255, 255));
        EXPECT_EQ(Score(d, k)->BackColor(), QColor(255, 255, 255));
        EXPECT_EQ(name->geometry(), QRect(30, 30 + 20 * k, 155, 15));
        EXPECT_EQ(Score(d, k)->geometry(), QRect(195, 30 + 20 * k, 45, 15));
        EXPECT_EQ(Score(d, k)->Style(), SS_CENTERIMAGE | SS_RIGHT);
    }
    EXPECT_EQ(Name(d, 0)->WindowText(), "ABC");
    EXPECT_EQ(Name(d, 4)->WindowText(), "ZORVEK");
    EXPECT_EQ(Score(d, 0)->WindowText(), "500");
    EXPECT_EQ(Score(d, 4)->WindowText(), "-7");
    EXPECT_FALSE(Edit(d)->isVisible());
    EXPECT_FALSE(Final(d)->isVisible());
    EXPECT_FALSE(d.GetDlgItem(Dlg::IDC_HS_FINAL_CAPTION)->isVisible());
    EXPECT_EQ(Ok(d)->text(), QStringLiteral("閉じる(&C)"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("ハイスコア"));
    EXPECT_EQ(Name(d, 0)->font().pixelSize(), Final(d)->font().pixelSize());
    // As it opens a reader hears every row once, in order, from the description; no cell of
    // the table is loose text that it would read again.
    QString rows;
    for (int k = 0; k < kHighScoreRows; ++k) {
        const QString row = Name(d, k)->SpokenValue();
        EXPECT_EQ(d.accessibleDescription().count(row), 1) << k;
        EXPECT_GT(d.accessibleDescription().indexOf(row), rows.size() - 1) << k;
        rows += row;
        EXPECT_FALSE(LooseText(Name(d, k))) << k;
        EXPECT_FALSE(LooseText(Score(d, k))) << k;
    }
    // Heard once: as the player goes from row to row the table is no longer in front of each.
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    Name(d, 0)->setFocus(Qt::TabFocusReason);
    Name(d, 1)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(d.accessibleDescription().isEmpty());
}

TEST_F(HiScoreDlgTest, NamesAreDecodedForDisplayAndTheirBytesNeverChange) {
    const std::string bad = "A\x80\x8E\x52";                   // an invalid byte, then 山
    const std::string jp = "\x97\xE9\x96\xD8\x81\x60\x87\x40"; // 鈴木～①
    app.settings.highScores.name[1] = bad;
    app.settings.highScores.name[2] = jp;
    const HighScoreTable before = app.settings.highScores;
    EXPECT_EQ(Run([this](Dlg& d) {
                  EXPECT_EQ(Name(d, 1)->WindowText(), QStringLiteral("A\uFFFD山"));
                  EXPECT_EQ(Name(d, 2)->WindowText(), QStringLiteral("鈴木～①"));
                  // A reader hears the name as shown, not its stored bytes.
                  EXPECT_EQ(Name(d, 2)->SpokenValue().toStdString(),
                            HighScoreRowSpeech(2, "鈴木～①", app.settings.highScores.score[2]));
                  d.accept();
              }),
              IDOK);
    EXPECT_EQ(app.settings.highScores, before);
}

TEST_F(HiScoreDlgTest, EntryModeLaysTheEditOverTheNewRowAndStoresTheTypedName) {
    EndGame(400); // below the existing 400: row 3
    ASSERT_EQ(end->row, 3);
    const int32_t r = Run([](Dlg& d) {
        QLineEdit* edit = Edit(d);
        EXPECT_TRUE(edit->isVisible());
        EXPECT_TRUE(edit->text().isEmpty());
        EXPECT_EQ(edit->geometry(), QRect(28, 28 + 20 * 3, 160, 18));
        EXPECT_EQ(d.childAt(100, 28 + 20 * 3 + 9), edit); // on top
        EXPECT_FALSE(Name(d, 3)->isVisible());
        for (int k : {0, 1, 2, 4}) {
            EXPECT_TRUE(Name(d, k)->isVisible()) << k;
        }
        EXPECT_EQ(Name(d, 4)->WindowText(), "owns");
        EXPECT_EQ(Score(d, 3)->WindowText(), "400");
        EXPECT_TRUE(Final(d)->isVisible());
        EXPECT_EQ(Final(d)->text(), "400");
        EXPECT_EQ(Ok(d)->text(), QStringLiteral("確定(&D)"));
        EXPECT_EQ(QApplication::focusWidget(), edit);
        // A reader hears every cell by its row and column, and the box as the cell it covers.
        EXPECT_EQ(edit->accessibleName(), QStringLiteral("4位の名前"));
        QAccessibleInterface* score = QAccessible::queryAccessibleInterface(Score(d, 0));
        EXPECT_EQ(score->role(), QAccessible::StaticText);
        EXPECT_EQ(score->text(QAccessible::Name), QStringLiteral("1位のスコア、500"));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(Name(d, 4))->text(QAccessible::Name),
                  QStringLiteral("5位、owns、350点"));
        // Read as the dialog opens, before the box.
        EXPECT_EQ(d.accessibleDescription(), QStringLiteral("今回のスコア 400、4位に入りました"));
        // Up and Down go past the row under the box.
        Name(d, 2)->setFocus();
        QTest::keyClick(Name(d, 2), Qt::Key_Down);
        EXPECT_EQ(QApplication::focusWidget(), Name(d, 4));
        QTest::keyClick(Name(d, 4), Qt::Key_Up);
        EXPECT_EQ(QApplication::focusWidget(), Name(d, 2));
        edit->setFocus();
        TypeText(edit, QStringLiteral(" "));
        CommitText(edit, QStringLiteral("田中"));
        TypeText(edit, QStringLiteral(" ～花子€ "));
        QTest::keyClick(edit, Qt::Key_Return); // the default button
    });
    EXPECT_EQ(r, IDOK);
    const HighScoreTable& t = app.settings.highScores;
    // Kept exactly as typed, blanks included; the euro sign has no code in code page 932, so
    // the name goes whole beside those bytes.
    EXPECT_EQ(t.name[3], std::string(" \x93\x63\x92\x86\x20\x81\x60\x89\xD4\x8E\x71?\x20"));
    EXPECT_EQ(QString::fromStdString(t.fullName[3]), QStringLiteral(" 田中 ～花子€ "));
    EXPECT_EQ(t.score[3], 400);
    EXPECT_EQ(t.name[2], "PYR");
    EXPECT_EQ(t.score[2], 400);
    EXPECT_EQ(t.name[4], "owns");
    EXPECT_EQ(t.score[4], 350);
}

// Every language's names come back as typed after a restart; those code page 932 holds keep
// their bytes alone, as files always had them.
TEST_F(HiScoreDlgTest, NamesInEveryLanguageComeBackAsTypedAfterARestart) {
    struct Case {
        QString typed;
        std::string bytes; // empty: not held by code page 932
    };
    const Case cases[] = {
        {QStringLiteral("Jürgen Größe"), ""},
        {QStringLiteral("Łucja Ñúñez"), ""},
        {QStringLiteral("김민준 😀"), ""},
        {QStringLiteral("¥"), ""}, // stored as 0x5C it would come back as a backslash
        {QStringLiteral("ΑΒΓ 山田"), "\x83\x9F\x83\xA0\x83\xA1 \x8E\x52\x93\x63"},
        {QStringLiteral("Hana"), "Hana"},
    };
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("vostrel.dat")).toStdString();
    int32_t score = 600;
    for (const Case& c : cases) {
        EndGame(score++); // above the last name: row 0
        ASSERT_EQ(end->row, 0);
        EXPECT_EQ(Run([&c](Dlg& d) {
                      TypeText(Edit(d), c.typed);
                      QTest::keyClick(Edit(d), Qt::Key_Return);
                  }),
                  IDOK);
        const HighScoreTable& t = app.settings.highScores;
        if (!c.bytes.empty()) {
            EXPECT_EQ(t.name[0], c.bytes);
            EXPECT_EQ(t.fullName[0], "");
        } else {
            EXPECT_EQ(t.name[0], Cp932FromUnicode(c.typed)) << c.typed.toStdString();
        }
        ASSERT_EQ(SaveSettings(path, app.settings), 0);
        CGameApp next;
        ASSERT_EQ(LoadSettings(path, next.settings), 0);
        EXPECT_EQ(next.settings, app.settings);
        Dlg view(next.settings.highScores);
        EXPECT_EQ(Name(view, 0)->WindowText(), c.typed);
        EXPECT_EQ(Name(view, 1)->WindowText(), ShownName(t.name[1], t.fullName[1]));
    }
    // A full name beside bytes it was not stored with (another program rewrote the row) is not
    // shown for them.
    app.settings.highScores.name[2] = "Bob";
    app.settings.highScores.fullName[2] = "J\xC3\xBCrgen";
    Dlg view(app.settings.highScores);
    EXPECT_EQ(Name(view, 2)->WindowText(), "Bob");
}

// Half of a surrogate pair is no character any file can keep: the player is told, and the
// name waits to be mended.
TEST_F(HiScoreDlgTest, ANameThatCannotBeKeptIsToldAndNotStored) {
    fakes::BoxResponder boxes;
    EndGame(600);
    EXPECT_EQ(Run([&boxes](Dlg& d) {
                  Edit(d)->insert(QStringLiteral("ab") + QChar(0xD800));
                  QTest::keyClick(Edit(d), Qt::Key_Return);
                  EXPECT_TRUE(d.isVisible());
                  ASSERT_EQ(boxes.shown.size(), 1u);
                  EXPECT_EQ(boxes.owners.at(0), &d);
                  EXPECT_EQ(QApplication::focusWidget(), Edit(d));
                  QTest::keyClick(Edit(d), Qt::Key_Backspace);
                  QTest::keyClick(Edit(d), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(app.settings.highScores.name[0], "ab");
}

// What the box holds, an open conversion at its place included, is what a session that ends
// before the player confirms keeps; Esc still leaves "none".
TEST_F(HiScoreDlgTest, TheBoxKeepsItsNameReadyForTheSessionsEnd) {
    EndGame(600);
    StoredName typed{"unset", ""};
    keepTyped = [&typed](const StoredName& s) { typed = s; };
    Run([&typed](Dlg& d) {
        EXPECT_EQ(typed.bytes, "");
        TypeText(Edit(d), QStringLiteral("Jü"));
        EXPECT_EQ(typed.bytes, "J?");
        EXPECT_EQ(QString::fromStdString(typed.full), QStringLiteral("Jü"));
        QTest::keyClick(Edit(d), Qt::Key_Left);
        QInputMethodEvent preedit(QStringLiteral("花子"), {});
        QApplication::sendEvent(Edit(d), &preedit);
        EXPECT_EQ(typed.bytes, "J\x89\xD4\x8E\x71?");
        EXPECT_EQ(QString::fromStdString(typed.full), QStringLiteral("J花子ü"));
        QTest::keyClick(Edit(d), Qt::Key_Escape);
    });
    EXPECT_EQ(app.settings.highScores.name[0], "none");
    EXPECT_EQ(app.settings.highScores.fullName[0], "");
}

TEST_F(HiScoreDlgTest, AConversionStillOpenIsStoredAsItStoodInTheBox) {
    // Alt+D, a click on the button and Enter all confirm; none may lose the composition.
    const std::function<void(Dlg&)> confirms[] = {
        [](Dlg& d) { QTest::keyClick(d.windowHandle(), Qt::Key_D, Qt::AltModifier); },
        [](Dlg& d) {
            QTest::mouseClick(d.windowHandle(), Qt::LeftButton, {}, Ok(d)->geometry().center());
        },
        [](Dlg& d) { QTest::keyClick(d.windowHandle(), Qt::Key_Return); },
    };
    for (const auto& confirm : confirms) {
        EndGame(600);
        EXPECT_EQ(Run([&confirm](Dlg& d) {
                      TypeText(Edit(d), QStringLiteral("AB"));
                      QTest::keyClick(Edit(d), Qt::Key_Left);
                      QInputMethodEvent preedit(QStringLiteral("花子"), {});
                      QApplication::sendEvent(Edit(d), &preedit);
                      confirm(d);
                  }),
                  IDOK);
        EXPECT_EQ(app.settings.highScores.name[0], "A\x89\xD4\x8E\x71"
                                                   "B"); // A花子B
    }
}

TEST_F(HiScoreDlgTest, ConfirmingAnEmptyEditStoresAnEmptyName) {
    EndGame(600);
    EXPECT_EQ(Run([](Dlg& d) { Ok(d)->click(); }), IDOK);
    EXPECT_EQ(app.settings.highScores.name[0], "");
    EXPECT_EQ(app.settings.highScores.score[0], 600);
    Dlg view(app.settings.highScores);
    EXPECT_EQ(Name(view, 0)->WindowText(), "");
}

TEST_F(HiScoreDlgTest, CancellingEntryKeepsNoneAndTheScore) {
    EndGame(301); // the last row; nothing moves
    ASSERT_EQ(end->row, 4);
    EXPECT_EQ(Run([](Dlg& d) {
                  QTest::keyClicks(Edit(d), QStringLiteral("abc"));
                  QTest::keyClick(Edit(d), Qt::Key_Escape);
              }),
              IDCANCEL);
    EXPECT_EQ(app.settings.highScores.name[4], "none");
    EXPECT_EQ(app.settings.highScores.score[4], 301);

    // The close box goes the same way.
    EndGame(700);
    EXPECT_EQ(Run([](Dlg& d) {
                  QTest::keyClicks(Edit(d), QStringLiteral("xyz"));
                  d.close();
              }),
              IDCANCEL);
    EXPECT_EQ(app.settings.highScores.name[0], "none");
}

TEST_F(HiScoreDlgTest, ResultModeShowsTheTableAndTheScoreThatStayedOut) {
    const HighScoreTable before = app.settings.highScores;
    EndGame(300); // equal to the last row: stays out
    ASSERT_EQ(end->row, -1);
    EXPECT_EQ(Run([](Dlg& d) {
                  EXPECT_FALSE(Edit(d)->isVisible());
                  for (int k = 0; k < kHighScoreRows; ++k) {
                      EXPECT_TRUE(Name(d, k)->isVisible()) << k;
                  }
                  EXPECT_TRUE(Final(d)->isVisible());
                  EXPECT_EQ(Final(d)->text(), "300");
                  EXPECT_EQ(Ok(d)->text(), QStringLiteral("閉じる(&C)"));
                  EXPECT_EQ(QApplication::focusWidget(), Ok(d));
                  // A reader hears the score and every row as the dialog opens; Tab and the
                  // arrow keys go through the rows, each read as one.
                  EXPECT_TRUE(d.accessibleDescription().startsWith(
                      QStringLiteral("今回のスコア 300、ハイスコアには入りませんでした。1位、")));
                  EXPECT_EQ(d.accessibleDescription().count(QStringLiteral("位、")), 5);
                  QTest::keyClick(Ok(d), Qt::Key_Tab);
                  EXPECT_EQ(QApplication::focusWidget(), Name(d, 0));
                  QTest::keyClick(Name(d, 0), Qt::Key_Down);
                  ASSERT_EQ(QApplication::focusWidget(), Name(d, 1));
                  EXPECT_EQ(
                      QAccessible::queryAccessibleInterface(Name(d, 1))->text(QAccessible::Name),
                      QStringLiteral("2位、") + Name(d, 1)->WindowText() + QStringLiteral("、") +
                          Score(d, 1)->WindowText() + QStringLiteral("点"));
                  QTest::keyClick(Name(d, 1), Qt::Key_Up);
                  EXPECT_EQ(QApplication::focusWidget(), Name(d, 0));
                  QTest::keyClick(Ok(d), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(app.settings.highScores, before);
}

TEST_F(HiScoreDlgTest, NegativeFinalScoresShowWithASign) {
    for (int k = 0; k < kHighScoreRows; ++k) {
        app.settings.highScores.score[k] = -10 * (k + 1);
    }
    EndGame(-25); // above -30: row 2
    ASSERT_EQ(end->row, 2);
    const std::unique_ptr<Dlg> made = Make();
    Dlg& d = *made;
    EXPECT_EQ(Final(d)->text(), "-25");
    EXPECT_EQ(Score(d, 2)->WindowText(), "-25");
    EXPECT_EQ(Score(d, 3)->WindowText(), "-30");
}

TEST_F(HiScoreDlgTest, APastedLineBreakOrNulEndsTheName) {
    EndGame(450 + 1);
    ASSERT_EQ(end->row, 1);
    Run([](Dlg& d) {
        Edit(d)->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("上\r\nhsn0:x\rz"));
        Edit(d)->paste();
        Ok(d)->click();
    });
    EXPECT_EQ(app.settings.highScores.name[1], "\x8F\xE3");
    // Read back from the file, a NUL would end the name there; it ends there at once.
    EndGame(460);
    ASSERT_EQ(end->row, 1);
    Run([](Dlg& d) {
        Edit(d)->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("ab") + QChar(u'\0') + "cd");
        Edit(d)->paste();
        Ok(d)->click();
    });
    EXPECT_EQ(app.settings.highScores.name[1], "ab");
    EXPECT_EQ(app.settings.highScores.name[2], "\x8F\xE3");
}

TEST_F(HiScoreDlgTest, VeryLongNamesDoNoHarm) {
    std::string stored;
    for (int i = 0; i < 100000; ++i) {
        stored += i % 2 == 0 ? "\x88\x9F" : "z"; // 亜z...
    }
    app.settings.highScores.name[0] = stored;
    EndGame(320);
    QString typed(100000, QChar(u'名'));
    Run([&typed](Dlg& d) {
        EXPECT_EQ(Name(d, 0)->WindowText().size(), 100000);
        Edit(d)->setFocus();
        Edit(d)->insert(typed);
        QTest::keyClick(Edit(d), Qt::Key_Enter);
    });
    EXPECT_EQ(app.settings.highScores.name[0], stored);
    // The edit holds what its default limit allows; no limit of the program's own.
    const std::string name = app.settings.highScores.name[4];
    const qsizetype limit = QLineEdit().maxLength();
    EXPECT_EQ(name.size(), static_cast<size_t>(limit) * 2);
    EXPECT_EQ(name.substr(0, 2), "\x96\xBC");
}

TEST_F(HiScoreDlgTest, EveryModeLaysOutWithoutClippingOrOverlap) {
    app.settings.highScores.score[0] = -99999;
    for (int mode : {0, 1, 2}) {
        for (int row : {0, 4}) {
            end.reset();
            if (mode != 0) {
                end = GameEnd{app.settings.highScores, -99999, mode == 1 ? row : -1};
            }
            const std::unique_ptr<Dlg> made = Make();
            Dlg& d = *made;
            d.show();
            const auto problems = LayoutProblems(d);
            EXPECT_TRUE(problems.empty())
                << "mode " << mode << ": " << (problems.empty() ? "" : problems[0]);
        }
    }
}

} // namespace
} // namespace vostrel
