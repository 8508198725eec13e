#include "BoxResponder.h"
#include "LayoutCheck.h"
#include "app/CGameApp.h"
#include "app/SettingsRecord.h"
#include "app/WinConstants.h"
#include "ui/CAboutDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/platform/DialogUnits.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace vostrel {
namespace {

using Dlg = CSettingDlg;

class SettingDlgTest : public ::testing::Test {
protected:
    CGameApp app;
    fakes::BoxResponder boxes;
    bool running = false; // a game is under way behind the dialog
    std::optional<SettingsRecord> applied;

    void SetUp() override { InstallDefaultSettings(app.settings); }

    static QComboBox* Combo(const Dlg& d) {
        return static_cast<QComboBox*>(d.GetDlgItem(Dlg::IDC_REPEAT_COUNT));
    }
    // The switches of the settings table, in its order.
    static std::vector<const SettingDef*> Switches() {
        std::vector<const SettingDef*> out;
        for (const SettingDef& d : SettingsTable()) {
            if (d.kind == SettingKind::Switch) {
                out.push_back(&d);
            }
        }
        return out;
    }
    static QCheckBox* Switch(const Dlg& d, size_t i) { return d.SwitchOf(*Switches().at(i)); }
    static QPushButton* Button(const Dlg& d, int id) {
        return static_cast<QPushButton*>(d.GetDlgItem(id));
    }
    static void Enter(Dlg& d, const QString& text) {
        Combo(d)->lineEdit()->selectAll();
        Combo(d)->lineEdit()->insert(text);
    }

    // Runs the dialog modally; `act` runs once it is up. What it applied becomes the settings,
    // as the game does.
    int32_t Run(const std::function<void(Dlg&)>& act) {
        Dlg dlg(app.settings, running);
        QTimer::singleShot(0, &dlg, [&dlg, &act] {
            QApplication::setActiveWindow(&dlg);
            act(dlg);
            // Whatever the test left open closes without applying.
            if (dlg.isVisible()) {
                dlg.reject();
            }
        });
        const int32_t r = dlg.DoModal();
        applied = dlg.Applied();
        if (applied) {
            app.settings = *applied;
        }
        return r;
    }
};

TEST_F(SettingDlgTest, OpensWithTheCountInTheFieldAndTicksOnlyForExactlyOne) {
    app.settings.repeatCount = 7;
    // 2 from a file: on for the engine, not ticked here.
    const int32_t values[3] = {1, 2, 0};
    const std::vector<const SettingDef*> switches = Switches();
    for (size_t i = 0; i < switches.size(); ++i) {
        app.settings.*switches[i]->field = values[i % 3];
    }
    Run([&](Dlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("設定"));
        QComboBox* c = Combo(d);
        ASSERT_EQ(c->count(), 10);
        EXPECT_EQ(c->itemText(0), "1");
        EXPECT_EQ(c->itemText(9), "10");
        EXPECT_EQ(c->currentText(), "7");
        EXPECT_EQ(QApplication::focusWidget(), c);
        const std::map<std::string, QString> firstTexts = {
            {"nsd", QStringLiteral("割切れない除算も採点する(&D)")},
            {"nsr", QStringLiteral("整数にならないべき乗根も採点する(&R)")},
            {"rto", QStringLiteral("10以外の結果も採点する(&T)")},
            {"eu", QStringLiteral("べき乗を使用する(&E)")}};
        // The template's rows: the switches 15 units apart from 25 down, the change button 35
        // under the last, the other buttons 22 under that, and 23 to the window's foot.
        const DialogBaseUnits bu = BaseUnitsOf(d.font());
        const auto y = [&bu](size_t units) {
            return MapDialogRect(bu, 0, static_cast<int>(units), 0, 0).y();
        };
        size_t seen = 0;
        for (size_t i = 0; i < switches.size(); ++i) {
            const SettingDef& s = *switches[i];
            QCheckBox* box = d.SwitchOf(s);
            ASSERT_NE(box, nullptr) << s.key;
            EXPECT_EQ(box->isChecked(), values[i % 3] == 1) << s.key;
            EXPECT_EQ(box->text(), QString::fromUtf8(s.label)) << s.key;
            EXPECT_EQ(box->y(), y(25 + 15 * i)) << s.key;
            if (const auto first = firstTexts.find(std::string(s.key)); first != firstTexts.end()) {
                EXPECT_EQ(box->text(), first->second);
                // The seed's ids reach the same boxes.
                EXPECT_EQ(d.GetDlgItem(Dlg::IDC_SCORE_INEXACT_DIVISION + static_cast<int>(i)), box);
                ++seen;
            }
        }
        EXPECT_EQ(seen, firstTexts.size());
        const size_t change = 25 + 15 * (switches.size() - 1) + 35;
        EXPECT_EQ(Button(d, Dlg::IDC_CHANGE)->y(), y(change));
        EXPECT_EQ(Button(d, Dlg::IDC_CLOSE)->y(), y(change + 22));
        EXPECT_EQ(d.height(), MapDialogRect(bu, 0, 0, 0, static_cast<int>(change + 45)).height());
        for (const SettingDef& s : SettingsTable()) {
            if (s.kind != SettingKind::Switch) {
                EXPECT_EQ(d.SwitchOf(s), nullptr) << s.key;
            }
        }
        EXPECT_EQ(Button(d, Dlg::IDC_CHANGE)->text(), QStringLiteral("変更(&G)"));
        EXPECT_EQ(Button(d, Dlg::IDC_CLOSE)->text(), QStringLiteral("閉じる(&C)"));
        EXPECT_TRUE(Button(d, Dlg::IDC_CLOSE)->isDefault());
        EXPECT_FALSE(Button(d, Dlg::IDC_CHANGE)->isDefault());
        EXPECT_TRUE(LayoutProblems(d).empty()) << LayoutProblems(d)[0];
    });
}

// The list steps from the count the field shows, typed or not, and drops with it chosen; a
// text that is no item leaves none chosen.
TEST_F(SettingDlgTest, TheListStepsAndDropsFromTheCountShown) {
    Run([](Dlg& d) {
        QComboBox* c = Combo(d);
        const auto step = [c](Qt::Key key) {
            QTest::keyClick(c, key);
            return c->currentText();
        };
        EXPECT_EQ(c->currentText(), "3");
        EXPECT_EQ(step(Qt::Key_Down), "4");
        EXPECT_EQ(step(Qt::Key_Up), "3");
        EXPECT_EQ(step(Qt::Key_Up), "2");
        for (const auto& [typed, key, then] :
             {std::tuple{"7", Qt::Key_Up, "6"}, std::tuple{"08", Qt::Key_Down, "9"},
              std::tuple{"abc", Qt::Key_Down, "1"}, std::tuple{"11", Qt::Key_Down, "1"},
              std::tuple{"10", Qt::Key_Up, "9"}}) {
            Enter(d, QString::fromLatin1(typed));
            EXPECT_EQ(step(key), then) << typed;
        }
        Enter(d, QStringLiteral("5"));
        QTest::keyClick(c, Qt::Key_F4);
        ASSERT_TRUE(c->view()->isVisible());
        EXPECT_EQ(c->view()->currentIndex().row(), 4);
        c->hidePopup();
        EXPECT_EQ(c->currentText(), "5");
    });
}

TEST_F(SettingDlgTest, TheCountIsSelectedOnlyOnceTheWindowHasTheKeyboard) {
    // Selected as the dialog shows, before its window is up, the count would be read out by a
    // screen reader before the dialog itself.
    Dlg d(app.settings);
    d.show();
    ASSERT_FALSE(d.isActiveWindow());
    EXPECT_TRUE(Combo(d)->lineEdit()->selectedText().isEmpty());
    QApplication::setActiveWindow(&d);
    QCoreApplication::processEvents();
    // Once it has the keyboard, typing replaces the count, as it always did.
    EXPECT_EQ(Combo(d)->lineEdit()->selectedText(), Combo(d)->currentText());
    EXPECT_EQ(QApplication::focusWidget(), Combo(d));
}

TEST_F(SettingDlgTest, AValidCountWithNoGameUnderWayIsStoredWithoutAQuestion) {
    app.settings.scoreInexactRoot = 2;
    const int32_t r = Run([](Dlg& d) {
        Enter(d, "007");
        Switch(d, 0)->setChecked(true);
        Switch(d, 3)->setChecked(false);
        Button(d, Dlg::IDC_CHANGE)->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(app.settings.repeatCount, 7);
    EXPECT_EQ(app.settings.scoreInexactDivision, 1);
    EXPECT_EQ(app.settings.scoreInexactRoot, 0); // the 2 becomes a clean 0
    EXPECT_EQ(app.settings.scoreOtherResults, 1);
    EXPECT_EQ(app.settings.usePower, 0);
    EXPECT_TRUE(applied.has_value());
}

TEST_F(SettingDlgTest, RefusedCountsTellThePlayerAndKeepTheDialogAndTheSettings) {
    struct Case {
        QString text;
        int32_t result;
    };
    const Case cases[] = {
        {"", -11},   {" 3", -11}, {"+3", -11}, {"-3", -11},          {"3.0", -11},
        {"３", -11}, {"0", -12},  {"11", -12}, {"99999999999", -12},
    };
    const SettingsRecord before = app.settings;
    Run([&](Dlg& d) {
        for (const Case& c : cases) {
            boxes.Clear();
            Enter(d, c.text);
            Switch(d, 0)->setChecked(true);
            EXPECT_EQ(d.OnOK(), c.result) << c.text.toStdString();
            EXPECT_TRUE(d.isVisible());
            ASSERT_EQ(boxes.shown.size(), 1u) << c.text.toStdString();
            EXPECT_EQ(boxes.owners[0], &d);
            EXPECT_EQ(boxes.shown[0].caption, "入力値不正");
            EXPECT_EQ(boxes.shown[0].style, MB_OK | MB_ICONEXCLAMATION);
            EXPECT_EQ(boxes.shown[0].text, c.result == -11
                                               ? "繰返し回数には正の整数値を入力してください。"
                                               : "繰返し回数には1～10の値を入力してください。");
            // The entries stay as the player left them; nothing became a list item.
            EXPECT_EQ(Combo(d)->currentText(), c.text);
            EXPECT_TRUE(Switch(d, 0)->isChecked());
            EXPECT_EQ(Combo(d)->count(), 10);
        }
    });
    EXPECT_EQ(app.settings, before);
    EXPECT_FALSE(applied.has_value());
}

TEST_F(SettingDlgTest, AGameUnderWayIsDiscardedOnlyOnYes) {
    {
        running = true;
        app.settings.repeatCount = 3;
        boxes.answers = {IDNO};
        int32_t first = 0;
        const int32_t r = Run([&](Dlg& d) {
            Enter(d, "5");
            first = d.OnOK();
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(Combo(d)->currentText(), "5");
            EXPECT_FALSE(d.Applied().has_value()); // No stored nothing
            boxes.answers = {IDYES};
            EXPECT_EQ(d.OnOK(), 0);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(first, -13);
        EXPECT_EQ(r, IDOK);
        ASSERT_EQ(boxes.shown.size(), 2u);
        for (const fakes::ShownBox& b : boxes.shown) {
            EXPECT_EQ(b.text, "実行中です。これまでの結果を破棄しますか。");
            EXPECT_EQ(b.caption, "変更確認");
            EXPECT_EQ(b.style, MB_YESNO | MB_ICONQUESTION);
        }
        EXPECT_EQ(app.settings.repeatCount, 5);
    }
}

TEST_F(SettingDlgTest, EnterAndEscCloseWithoutApplying) {
    const SettingsRecord before = app.settings;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        const int32_t r = Run([key](Dlg& d) {
            Enter(d, "4");
            Switch(d, 0)->setChecked(true);
            QTest::keyClick(Combo(d)->lineEdit(), key);
            EXPECT_FALSE(d.isVisible()) << key;
        });
        EXPECT_EQ(r, IDCANCEL);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(app.settings, before);
        EXPECT_FALSE(applied.has_value());
    }
}

TEST_F(SettingDlgTest, TypedEntriesSurviveTheHighScoreAndVersionDialogs) {
    app.settings.highScores.name[0] = "\x8E\x52"; // 山
    const SettingsRecord before = app.settings;
    bool sawTable = false;
    bool sawVersion = false;
    const int32_t r = Run([&](Dlg& d) {
        Enter(d, "８x");
        Switch(d, 0)->setChecked(true);
        Switch(d, 2)->setChecked(false);
        QTimer::singleShot(0, [&] {
            auto* hs = qobject_cast<CHiScoreDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(hs, nullptr);
            sawTable = true;
            EXPECT_EQ(hs->parentWidget(), &d);
            // View mode: no edit, no final score.
            EXPECT_FALSE(hs->GetDlgItem(CHiScoreDlg::IDC_HS_NAME_EDIT)->isVisible());
            EXPECT_FALSE(hs->GetDlgItem(CHiScoreDlg::IDC_HS_FINAL)->isVisible());
            EXPECT_EQ(
                static_cast<CStaticEx*>(hs->GetDlgItem(CHiScoreDlg::IDC_HS_NAME0))->WindowText(),
                QStringLiteral("山"));
            QTest::keyClick(hs, Qt::Key_Escape);
        });
        Button(d, Dlg::IDC_SHOW_HISCORE)->click();
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            sawVersion = true;
            about->OkButton()->click();
        });
        Button(d, Dlg::IDC_SHOW_VERSION)->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Combo(d)->currentText(), QStringLiteral("８x"));
        EXPECT_TRUE(Switch(d, 0)->isChecked());
        EXPECT_FALSE(Switch(d, 2)->isChecked());
    });
    EXPECT_TRUE(sawTable);
    EXPECT_TRUE(sawVersion);
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(app.settings, before);
}

} // namespace
} // namespace vostrel
