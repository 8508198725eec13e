#include "BoxResponder.h"
#include "app/CGameApp.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "engine/Evaluator.h"
#include "fakes/ScriptedRandom.h"
#include "game/GameCommands.h"
#include "game/SpokenText.h"
#include "search/Solver.h"
#include "ui/CAboutDlg.h"
#include "ui/CGameDlg.h"
#include "ui/CStaticEx.h"
#include "ui/ControlIds.h"
#include "ui/GameDialogs.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vostrel {
namespace {

// The generator value that becomes digit d.
int32_t RawFor(int d) {
    return fakes::ScriptedRandom::ValueOf(d);
}

class GameDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallDefaultSettings(app.settings);
        dlg = std::make_unique<CGameDlg>(app, [this] {
            const int d = digits.empty() ? 5 : digits.front();
            if (!digits.empty()) {
                digits.pop_front();
            }
            return RawFor(d);
        });
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TearDown() override {
        // Let no list stay open into the next test.
        for (int id = IDC_POWER_CHOOSER; id <= IDC_RANK_CHOOSER; ++id) {
            dlg->Chooser(id)->hidePopup();
        }
        QCoreApplication::processEvents();
    }

    void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
    CStaticEx* L(int id) { return dlg->Label(id); }
    QString Text(int id) {
        if (CStaticEx* s = dlg->Label(id)) {
            return s->WindowText();
        }
        return qobject_cast<QLabel*>(dlg->Control(id))->text();
    }
    void Click(int id) { QTest::mouseClick(dlg->Control(id), Qt::LeftButton); }
    // Chooses item `index` in the open list with the keyboard, as a player would.
    void Choose(int chooserId, int index) {
        QComboBox* c = dlg->Chooser(chooserId);
        ASSERT_TRUE(c->view()->isVisible());
        c->view()->setCurrentIndex(c->model()->index(index, 0));
        QTest::keyClick(c->view(), Qt::Key_Return);
        Settle();
    }
    // The window's focus child: popups of the offscreen platform may leave no active window.
    QWidget* Focus() { return dlg->focusWidget(); }
    // A click as the mouse gives it: to the window at window coordinates, so that an open list
    // sees it first.
    void ClickAt(const QPoint& p) {
        QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, p);
        Settle();
    }
    void ClickOn(int id) { ClickAt(dlg->Control(id)->geometry().center()); }
    // The dropped list of a chooser, in window coordinates.
    QRect ListRect(int chooserId) {
        const QWidget* list = dlg->Chooser(chooserId)->view()->window();
        return QRect(dlg->mapFromGlobal(list->mapToGlobal(QPoint(0, 0))), list->size());
    }
    bool ListOpen(int chooserId) { return dlg->Chooser(chooserId)->view()->isVisible(); }
    // No row of the open list c cuts its text: the ink lies wholly inside its row, with the
    // row's first and last pixel lines left to the background. The current row, framed by
    // the highlight, is left out; the two rounds of a list have different current rows.
    static void ExpectRowsHoldTheirGlyphs(QComboBox* c) {
        QAbstractItemView* view = c->view();
        const QImage img = view->viewport()->grab().toImage();
        for (int i = 0; i < c->count(); ++i) {
            if (i == view->currentIndex().row()) {
                continue;
            }
            const QRect row = view->visualRect(c->model()->index(i, 0));
            const QColor back = img.pixelColor(row.right() - 1, row.center().y());
            for (int y : {row.top(), row.bottom()}) {
                for (int x = row.left(); x < row.right(); ++x) {
                    ASSERT_EQ(img.pixelColor(x, y), back)
                        << "item '" << c->itemText(i).toStdString() << "' at " << x << "," << y;
                }
            }
        }
    }
    // A key as the platform delivers it: to the window, or to the dropped list, which holds
    // the keyboard while it is open.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup != nullptr ? popup->windowHandle() : dlg->windowHandle(), key, mods);
        Settle();
    }
    // A button's mnemonic clicks it a moment after the key.
    void Mnemonic(Qt::Key key, const std::function<bool()>& done) {
        Key(key, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor(done, 2000));
    }
    // What the player can see and what the flow holds.
    std::string State() {
        const ExpressionState& e = dlg->Flow().State().expr;
        std::string s;
        for (int k = 0; k < 4; ++k) {
            s += std::to_string(e.power[k]) + std::to_string(e.powerOn[k]) +
                 std::to_string(e.op[k]) + std::to_string(e.rank[k]) + std::to_string(e.rankOn[k]) +
                 "|";
        }
        for (int id = IDC_DIGIT0; id <= IDC_POINTS; ++id) {
            if (id != IDC_EVALUATE && id != IDC_SCORE_CAPTION) {
                s += Text(id).toStdString() + std::to_string(dlg->Control(id)->isEnabled()) + "|";
            }
        }
        return s + std::to_string(dlg->Flow().State().tries) +
               std::to_string(dlg->Flow().State().touched);
    }

    std::deque<int> digits{1, 2, 3, 4};
    CGameApp app;
    std::unique_ptr<CGameDlg> dlg;
};

TEST_F(GameDlgTest, StartsWithTheFreshProblemAndAllListsHidden) {
    for (int id = IDC_POWER_CHOOSER; id <= IDC_RANK_CHOOSER; ++id) {
        EXPECT_FALSE(dlg->Chooser(id)->isVisible()) << id;
    }
    EXPECT_EQ(dlg->Chooser(IDC_POWER_CHOOSER)->count(), 5);
    EXPECT_EQ(dlg->Chooser(IDC_SIGN_CHOOSER)->itemText(1), QStringLiteral("-"));
    EXPECT_EQ(dlg->Chooser(IDC_OP_CHOOSER)->itemText(4), QStringLiteral(" "));
    EXPECT_EQ(dlg->Chooser(IDC_RANK_CHOOSER)->count(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Text(IDC_DIGIT0 + k), QString::number(k + 1));
        EXPECT_EQ(Text(IDC_POWER0 + k), QString());
        EXPECT_EQ(Text(IDC_OP0 + k), k == 0 ? QString() : QStringLiteral("+"));
        EXPECT_EQ(Text(IDC_RANK0 + k), QString::number(k + 1));
        EXPECT_EQ(dlg->Control(IDC_DIGIT0 + k)->pos(), QPoint(45 + 50 * k, 30));
        EXPECT_EQ(L(IDC_OP0 + k)->geometry(), QRect(30 + 50 * k, 30, 15, 30));
        EXPECT_EQ(L(IDC_POWER0 + k)->geometry(), QRect(55 + 50 * k, 7, 35, 20));
        EXPECT_EQ(L(IDC_RANK0 + k)->geometry(), QRect(30 + 50 * k, 63, 15, 20));
        EXPECT_EQ(L(IDC_OP0 + k)->BackColor(), QColor(200, 200, 255));
    }
    EXPECT_EQ(Text(IDC_PROBLEM_NO), QStringLiteral("No.1"));
    EXPECT_TRUE(dlg->Control(IDC_PROBLEM_NO)->isVisible());
    EXPECT_EQ(Text(IDC_RESULT), QString());
    EXPECT_EQ(Text(IDC_POINTS), QStringLiteral("0 "));
    EXPECT_EQ(L(IDC_RESULT)->BackColor(), QColor(220, 220, 255));
    EXPECT_EQ(L(IDC_POINTS)->BackColor(), QColor(220, 220, 220));
    EXPECT_TRUE(L(IDC_POINTS)->Style() & SS_RIGHT);
    EXPECT_TRUE(L(IDC_RESULT)->Style() & SS_SUNKEN);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Vostrel"));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
}

TEST_F(GameDlgTest, AWholeProblemByKeysAloneEqualsTheSameChoicesByClicks) {
    fakes::BoxResponder boxes;
    // Tab: "=", then the labels row by row, the disabled ones skipped, then the buttons.
    std::vector<QWidget*> order;
    for (int i = 0; i < 18; ++i) {
        order.push_back(Focus());
        Key(Qt::Key_Tab);
    }
    std::vector<QWidget*> expected{dlg->Control(IDC_EVALUATE)};
    for (int first : {int(IDC_POWER0), int(IDC_OP0), int(IDC_RANK0)}) {
        for (int k = 0; k < 4; ++k) {
            expected.push_back(L(first + k));
        }
    }
    for (int id :
         {int(IDC_RETRY), int(IDC_GRADE), int(IDC_SETTINGS), int(IDOK), int(IDC_EVALUATE)}) {
        expected.push_back(dlg->Control(id));
    }
    EXPECT_EQ(order, expected);
    ASSERT_EQ(Focus(), L(IDC_POWER0));

    // A power: Space drops the list, the arrows pick, Enter takes it; the focus comes back.
    Key(Qt::Key_Right);
    ASSERT_EQ(Focus(), L(IDC_POWER0 + 1));
    std::vector<QWidget*> focused; // while the list is down: the list, no other label
    const QMetaObject::Connection watch =
        QObject::connect(qApp, &QApplication::focusChanged, [&focused](QWidget*, QWidget* now) {
            if (qobject_cast<CStaticEx*>(now) != nullptr) {
                focused.push_back(now);
            }
        });
    Key(Qt::Key_Space);
    ASSERT_TRUE(ListOpen(IDC_POWER_CHOOSER));
    EXPECT_EQ(dlg->Chooser(IDC_POWER_CHOOSER)->pos(), QPoint(105, 7));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(ListOpen(IDC_POWER_CHOOSER));
    EXPECT_EQ(Text(IDC_POWER0 + 1), QStringLiteral("2"));
    EXPECT_EQ(Focus(), L(IDC_POWER0 + 1));
    QObject::disconnect(watch);
    EXPECT_EQ(focused, std::vector<QWidget*>{L(IDC_POWER0 + 1)});
    // An operator with F4, the sign with Enter, a join with Alt+Down, a rank with Space.
    Key(Qt::Key_Down);
    ASSERT_EQ(Focus(), L(IDC_OP0 + 1));
    Key(Qt::Key_F4);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    Key(Qt::Key_Left);
    ASSERT_EQ(Focus(), L(IDC_OP0));
    Key(Qt::Key_Return);
    ASSERT_TRUE(ListOpen(IDC_SIGN_CHOOSER));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), L(IDC_OP0));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(IDC_OP0 + 2), QStringLiteral(" "));
    // The join disabled rank label 2: Down from its gap stays; Esc closes a list unchanged.
    Key(Qt::Key_Down);
    EXPECT_EQ(Focus(), L(IDC_OP0 + 2));
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    ASSERT_EQ(Focus(), L(IDC_RANK0 + 3));
    Key(Qt::Key_Space);
    ASSERT_TRUE(ListOpen(IDC_RANK_CHOOSER));
    EXPECT_FALSE(L(IDC_RANK0 + 3)->isVisible());
    Key(Qt::Key_Home);
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), L(IDC_RANK0 + 3));
    Key(Qt::Key_Space);
    Key(Qt::Key_Down);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(ListOpen(IDC_RANK_CHOOSER));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Focus(), L(IDC_RANK0 + 3));
    Mnemonic(Qt::Key_Equal, [this] { return dlg->Flow().State().tries == 1; });
    const std::string byKeys = State();
    EXPECT_NE(Text(IDC_RESULT), QString());
    boxes.answers = {IDOK};
    Mnemonic(Qt::Key_M, [&boxes] { return !boxes.shown.empty(); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    const std::string gradedByKeys = boxes.shown[0].text;
    // The next problem starts from "=", as the first one did; "=" names that problem, as it
    // is said when it opens, so a braille display shows its digits beside the "=".
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    int32_t shown[4] = {};
    for (int k = 0; k < 4; ++k) {
        shown[k] = Text(IDC_DIGIT0 + k).toInt();
    }
    ASSERT_EQ(SpokenProblemNumber(app.settings.repeatCount, dlg->Flow().State().problemIndex), 2);
    EXPECT_EQ(dlg->Control(IDC_EVALUATE)->accessibleName().toStdString(),
              FillText(Tr("SpokenText", "= %1"), {ProblemSpeech(2, shown)}));

    // The same choices by clicks, on the same problem in a new window.
    digits = {1, 2, 3, 4};
    dlg.reset();
    SetUp();
    ClickOn(IDC_POWER0 + 1);
    Choose(IDC_POWER_CHOOSER, PowSquare);
    ClickOn(IDC_OP0 + 1);
    Choose(IDC_OP_CHOOSER, OpMul);
    ClickOn(IDC_OP0);
    Choose(IDC_SIGN_CHOOSER, 1);
    ClickOn(IDC_OP0 + 2);
    Choose(IDC_OP_CHOOSER, OpJoin);
    ClickOn(IDC_RANK0 + 3);
    Choose(IDC_RANK_CHOOSER, 0);
    ClickOn(IDC_RANK0 + 3);
    QTest::keyClick(dlg->Chooser(IDC_RANK_CHOOSER)->view(), Qt::Key_Escape);
    Settle();
    ClickOn(IDC_EVALUATE);
    EXPECT_EQ(State(), byKeys);
    boxes.answers = {IDOK};
    ClickOn(IDC_GRADE);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, gradedByKeys);
}

// Run at scale 2 as well (gui.layout_at_scale_2), where a magnifier must get the screen's
// pixels, not Qt's scaled ones.
TEST_F(GameDlgTest, LabelExtentsAreInScreenPixels) {
    const qreal scale = dlg->devicePixelRatioF();
    for (const int id :
         {int{IDC_POWER0}, IDC_OP0 + 3, IDC_RANK0 + 1, int{IDC_RESULT}, int{IDC_POINTS}}) {
        const QRect r = QAccessible::queryAccessibleInterface(L(id))->rect();
        EXPECT_EQ(r.size(), (QSizeF(L(id)->size()) * scale).toSize()) << id;
    }
    // The columns stand 50 window pixels apart.
    const auto left = [this](int id) {
        return QAccessible::queryAccessibleInterface(L(id))->rect().x();
    };
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(left(IDC_OP0 + k) - left(IDC_OP0 + k - 1), qRound(50 * scale)) << k;
        EXPECT_EQ(left(IDC_POWER0 + k) - left(IDC_POWER0 + k - 1), qRound(50 * scale)) << k;
    }
}

TEST_F(GameDlgTest, AReaderHearsEveryLabelAsAListWithItsNameAndWordAndCanOpenIt) {
    const auto iface = [this](int id) { return QAccessible::queryAccessibleInterface(L(id)); };
    const std::pair<int, const char*> fresh[] = {
        // The labels of a digit name it, the gaps the two digits they join (1 2 3 4 here).
        {IDC_POWER0, "1番目の数字1のべき乗、なし"},
        {IDC_POWER0 + 3, "4番目の数字4のべき乗、なし"},
        {IDC_OP0, "1番目の数字1の符号、プラス"},
        {IDC_OP0 + 1, "1番目の演算子（1と2の間）、足す"},
        {IDC_RANK0, "符号の計算順位、1番"},
        {IDC_RANK0 + 3, "3番目の演算子の計算順位、4番"},
    };
    for (const auto& [id, name] : fresh) {
        EXPECT_EQ(iface(id)->text(QAccessible::Name), QString::fromUtf8(name)) << id;
    }
    for (int id = IDC_POWER0; id < IDC_RANK0 + 4; ++id) {
        QAccessibleInterface* a = iface(id);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::ComboBox) << id;
        EXPECT_FALSE(a->text(QAccessible::Value).isEmpty()) << id;
        EXPECT_TRUE(a->text(QAccessible::Name).endsWith(a->text(QAccessible::Value))) << id;
        EXPECT_TRUE(a->state().focusable) << id;
        EXPECT_TRUE(a->state().hasPopup) << id;
        EXPECT_FALSE(a->state().disabled) << id;
        ASSERT_NE(a->actionInterface(), nullptr);
        EXPECT_EQ(a->actionInterface()->actionNames().value(0),
                  QAccessibleActionInterface::showMenuAction());
    }
    // Each list reads its items as the labels read them.
    QComboBox* power = dlg->Chooser(IDC_POWER_CHOOSER);
    EXPECT_EQ(power->itemData(PowNone, Qt::AccessibleTextRole).toString(), QStringLiteral("なし"));
    EXPECT_EQ(power->itemData(PowSquare, Qt::AccessibleTextRole).toString(), QStringLiteral("2乗"));
    EXPECT_EQ(dlg->Chooser(IDC_OP_CHOOSER)->itemData(OpJoin, Qt::AccessibleTextRole).toString(),
              QStringLiteral("連結"));
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(L(IDC_RESULT));
    EXPECT_EQ(result->role(), QAccessible::StaticText);
    EXPECT_FALSE(result->state().hasPopup);
    EXPECT_EQ(result->text(QAccessible::Name), QStringLiteral("計算結果"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(L(IDC_POINTS))->text(QAccessible::Name),
              QStringLiteral("得点、0"));

    // The default action drops the list; the names follow a choice and "=".
    QComboBox* chooser = dlg->Chooser(IDC_OP_CHOOSER);
    const QAccessible::Id closed =
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(chooser));
    iface(IDC_OP0 + 2)->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    // The dropped list is read as a combo box labelled by the label that dropped it; a reader
    // that read it closed before meets a new object, so it reads no stale state.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(chooser);
    EXPECT_NE(QAccessible::uniqueId(list), closed);
    const auto labels = list->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), L(IDC_OP0 + 2)->accessibleName());
    Choose(IDC_OP_CHOOSER, OpJoin);

    // Every drop reads alike, the first and the later ones: the list and what holds it are new
    // objects each time (a reader would find a list it kept under the combo box it met
    // before), under the combo box that names the label, on the item already chosen.
    std::vector<QAccessible::Id> seen;
    for (int drop = 0; drop < 3; ++drop) {
        iface(IDC_OP0 + 2)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::showMenuAction());
        Settle();
        ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
        QAbstractItemView* view = chooser->view();
        for (QObject* o : {static_cast<QObject*>(chooser), static_cast<QObject*>(view),
                           static_cast<QObject*>(view->window())}) {
            const QAccessible::Id id =
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(o));
            EXPECT_EQ(std::count(seen.begin(), seen.end(), id), 0) << "drop " << drop;
            seen.push_back(id);
        }
        QAccessibleInterface* up = QAccessible::queryAccessibleInterface(view);
        while (up != nullptr && up->role() != QAccessible::ComboBox) {
            up = up->parent();
        }
        ASSERT_NE(up, nullptr) << "drop " << drop;
        EXPECT_EQ(up->object(), chooser);
        EXPECT_EQ(view->currentIndex().row(), OpJoin);
        QTest::keyClick(view, Qt::Key_Escape);
        Settle();
    }

    Click(IDC_EVALUATE);
    EXPECT_EQ(iface(IDC_OP0 + 2)->text(QAccessible::Name),
              QStringLiteral("2番目の演算子（2と3の間）、連結"));
    // The join disabled the left digit's power label and the gap's rank label.
    EXPECT_TRUE(iface(IDC_RANK0 + 2)->state().disabled);
    EXPECT_FALSE(iface(IDC_RANK0 + 2)
                     ->actionInterface()
                     ->actionNames()
                     .contains(QAccessibleActionInterface::showMenuAction()));
    EXPECT_EQ(result->text(QAccessible::Name),
              QStringLiteral("計算結果、") + Text(IDC_RESULT).trimmed());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(L(IDC_POINTS))->text(QAccessible::Name),
              QStringLiteral("得点、") + Text(IDC_POINTS).trimmed());
}

TEST_F(GameDlgTest, EnterPressesTheFocusedButtonElseExit) {
    // As on the original platform, a focused push button takes Enter.
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(dlg->Flow().State().tries, 1);
    EXPECT_TRUE(dlg->isVisible());
    auto* exit = qobject_cast<QPushButton*>(dlg->Control(IDOK));
    EXPECT_FALSE(exit->isDefault());
    dlg->Control(IDC_EVALUATE)->clearFocus();
    EXPECT_TRUE(exit->isDefault());
    fakes::BoxResponder boxes;
    boxes.answers = {IDYES};
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "終了確認");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), IDOK);
}

TEST_F(GameDlgTest, EveryControlLiesInsideTheWindowWithoutOverlapAndItsTextFits) {
    std::vector<QWidget*> shown;
    for (QWidget* w : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisible() && !w->isWindow()) {
            shown.push_back(w);
        }
    }
    ASSERT_EQ(shown.size(), 25u); // 11 template controls and 14 labels
    const QRect client = dlg->rect();
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(client.contains(shown[i]->geometry())) << shown[i]->metaObject()->className();
        for (size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->metaObject()->className() << " " << shown[j]->metaObject()->className()
                << " at " << shown[i]->x() << "," << shown[i]->y() << " and " << shown[j]->x()
                << "," << shown[j]->y();
        }
    }
    // Texts as the game shows them, in the fonts of their controls.
    auto fits = [](QWidget* w, const QString& text, int margin) {
        QString plain = text;
        plain.remove('&');
        return QFontMetrics(w->font()).horizontalAdvance(plain) + margin <= w->width();
    };
    EXPECT_TRUE(fits(dlg->Control(IDC_PROBLEM_NO), "No.10", 0));
    EXPECT_TRUE(fits(dlg->Control(IDC_SCORE_CAPTION), "スコア：", 0));
    EXPECT_TRUE(fits(dlg->Control(IDC_POINTS), "-1234 ", 2));
    EXPECT_TRUE(fits(dlg->Control(IDC_RESULT), "-2147483648 ", 2));
    EXPECT_TRUE(fits(dlg->Control(IDC_POWER0), "1/3", 0));
    // The template's controls stand level with the labels placed in pixels beside them.
    const QRect equals = dlg->Control(IDC_EVALUATE)->geometry();
    const QRect result = L(IDC_RESULT)->geometry();
    EXPECT_LE(std::abs(equals.top() - result.top()), 2) << equals.top() << " " << result.top();
    EXPECT_LE(std::abs(equals.center().y() - result.center().y()), 2);
    const QWidget* caption = dlg->Control(IDC_SCORE_CAPTION);
    const QRect points = L(IDC_POINTS)->geometry();
    const int captionMiddle = caption->y() + QFontMetrics(caption->font()).height() / 2;
    EXPECT_LE(std::abs(captionMiddle - points.center().y()), 3)
        << "caption at " << caption->y() << ", points " << points.top() << "-" << points.bottom();
    for (int id : {int(IDC_RETRY), int(IDC_GRADE), int(IDC_SETTINGS), int(IDOK)}) {
        auto* b = qobject_cast<QPushButton*>(dlg->Control(id));
        EXPECT_TRUE(fits(b, b->text(), 4)) << b->text().toStdString();
    }
}

TEST_F(GameDlgTest, GapLabelDropsItsListUnderItselfAndChoosingRetextsIt) {
    Click(IDC_OP0 + 2);
    QComboBox* op = dlg->Chooser(IDC_OP_CHOOSER);
    EXPECT_TRUE(op->isVisible());
    EXPECT_EQ(op->pos(), QPoint(130, 63));
    EXPECT_TRUE(op->view()->isVisible());
    EXPECT_EQ(op->currentIndex(), 0);
    EXPECT_FALSE(L(IDC_RANK0 + 2)->isVisible());
    EXPECT_TRUE(L(IDC_OP0 + 2)->isVisible());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserOp);
    Choose(IDC_OP_CHOOSER, 2);
    EXPECT_EQ(Text(IDC_OP0 + 2), QStringLiteral("*"));
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isVisible());
    EXPECT_FALSE(op->isVisible());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    EXPECT_EQ(dlg->Flow().State().touched, true);
}

TEST_F(GameDlgTest, AListDroppedByAPressStaysDownWhenTheButtonComesUpAndClosesOnAPressOutside) {
    // Through the window, as the platform delivers a player's clicks, popups included.
    QWindow* win = dlg->windowHandle();
    const QPoint gap2(137, 45);
    QTest::mousePress(win, Qt::LeftButton, {}, gap2);
    QComboBox* op = dlg->Chooser(IDC_OP_CHOOSER);
    ASSERT_TRUE(op->view()->isVisible());
    QTest::mouseRelease(win, Qt::LeftButton, {}, gap2);
    Settle();
    EXPECT_TRUE(op->view()->isVisible());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserOp);

    QTest::mouseClick(win, Qt::LeftButton, {}, QPoint(230, 50));
    Settle();
    EXPECT_FALSE(op->view()->isVisible());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isVisible());
    EXPECT_EQ(dlg->Flow().State().touched, true);
}

TEST_F(GameDlgTest, EveryListDropsUnderItsFieldWhicheverItemIsCurrent) {
    struct Case {
        int label, chooser, last;
        QPoint at;
        int keepsShowing; // the label above the list, or 0
    };
    // The join comes last: it re-ranks and disables labels of the others.
    const Case cases[] = {
        {IDC_RANK0 + 1, IDC_RANK_CHOOSER, 3, {80, 63}, 0},
        {IDC_POWER0 + 1, IDC_POWER_CHOOSER, PowCube, {105, 7}, 0},
        {IDC_OP0, IDC_SIGN_CHOOSER, 1, {30, 63}, IDC_OP0},
        {IDC_OP0 + 2, IDC_OP_CHOOSER, OpJoin, {130, 63}, IDC_OP0 + 2},
    };
    for (const Case& c : cases) {
        QComboBox* chooser = dlg->Chooser(c.chooser);
        for (int round = 0; round < 2; ++round) {
            const int current = round == 0 ? (c.chooser == IDC_RANK_CHOOSER ? 1 : 0) : c.last;
            ClickOn(c.label);
            ASSERT_TRUE(ListOpen(c.chooser)) << c.label;
            EXPECT_EQ(chooser->pos(), c.at) << c.label;
            EXPECT_EQ(chooser->width(), 40) << c.label;
            const QRect list = ListRect(c.chooser);
            EXPECT_EQ(list.topLeft(), QPoint(c.at.x(), c.at.y() + chooser->height()))
                << c.label << " item " << current << " list at " << list.x() << "," << list.y();
            EXPECT_GE(list.top(), 0);
            if (c.keepsShowing != 0) {
                const QRect label = L(c.keepsShowing)->geometry();
                EXPECT_TRUE(L(c.keepsShowing)->isVisible());
                EXPECT_FALSE(list.intersects(label)) << c.label;
                EXPECT_FALSE(chooser->geometry().intersects(label)) << c.label;
            }
            const QModelIndex shown = chooser->view()->currentIndex();
            EXPECT_EQ(shown.row(), current) << c.label;
            EXPECT_TRUE(chooser->view()->selectionModel()->isSelected(shown)) << c.label;
            ExpectRowsHoldTheirGlyphs(chooser);
            // The first round leaves the last item current for the second.
            Choose(c.chooser, round == 0 ? c.last : current);
        }
    }
}

TEST_F(GameDlgTest, APressOutsideAnOpenListTakesItAndThenActsOnWhatWasPressed) {
    fakes::BoxResponder boxes;
    QComboBox* op = dlg->Chooser(IDC_OP_CHOOSER);

    // Another label: its own list drops at once, in the place of power label 1.
    ClickOn(IDC_OP0 + 2);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    op->setCurrentIndex(OpMul);
    ClickOn(IDC_POWER0 + 1);
    EXPECT_EQ(Text(IDC_OP0 + 2), QStringLiteral("*"));
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isVisible());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserPower);
    EXPECT_TRUE(ListOpen(IDC_POWER_CHOOSER));
    EXPECT_EQ(dlg->Chooser(IDC_POWER_CHOOSER)->pos(), QPoint(105, 7));

    // "=": one try, with the list taken first.
    dlg->Chooser(IDC_POWER_CHOOSER)->setCurrentIndex(PowSquare);
    ClickOn(IDC_EVALUATE);
    EXPECT_FALSE(ListOpen(IDC_POWER_CHOOSER));
    EXPECT_EQ(Text(IDC_POWER0 + 1), QStringLiteral("2"));
    EXPECT_EQ(dlg->Flow().State().tries, 1);
    EXPECT_EQ(Text(IDC_RESULT), QStringLiteral("19 ")); // ((1 + 2^2) * 3) + 4

    // The result label: another try, the focus on "=".
    ClickOn(IDC_RANK0 + 3);
    ASSERT_TRUE(ListOpen(IDC_RANK_CHOOSER));
    ClickOn(IDC_RESULT);
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    EXPECT_EQ(dlg->Flow().State().tries, 2);
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));

    // The list's own field only closes it: the press does not go on to the rank label that
    // the list covered.
    ClickOn(IDC_OP0 + 1);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    ClickAt(L(IDC_RANK0 + 1)->geometry().center());
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    EXPECT_FALSE(ListOpen(IDC_OP_CHOOSER));
    EXPECT_FALSE(ListOpen(IDC_RANK_CHOOSER));

    // The background: the focus moves to "=".
    ClickOn(IDC_OP0 + 1);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    ClickAt(QPoint(232, 50));
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    EXPECT_TRUE(boxes.shown.empty());

    // The grade button grades the expression with the open list's choice.
    ClickOn(IDC_OP0 + 3);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    op->setCurrentIndex(OpSub);
    boxes.answers = {IDOK};
    ClickOn(IDC_GRADE);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "次計算開始");
    EXPECT_EQ(boxes.shown[0].text.rfind("今回のスコア:", 0), 0u);
    EXPECT_EQ(Text(IDC_PROBLEM_NO), QStringLiteral("No.2"));
    EXPECT_FALSE(ListOpen(IDC_OP_CHOOSER));
}

TEST_F(GameDlgTest, EveryCommandAndMenuEntryTakesAnOpenListFirst) {
    fakes::BoxResponder boxes;
    // A fresh problem with only a list opened and an item picked: retry asks.
    ClickOn(IDC_OP0 + 1);
    ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER));
    dlg->Chooser(IDC_OP_CHOOSER)->setCurrentIndex(OpMul);
    boxes.answers = {IDNO};
    qobject_cast<QPushButton*>(dlg->Control(IDC_RETRY))->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "結果破棄確認");
    EXPECT_EQ(dlg->Flow().State().expr.op[1], OpMul);
    EXPECT_FALSE(ListOpen(IDC_OP_CHOOSER));

    // Grading scores the picked operator (1 + 2 + 3 + 4, not 1 * 2 + 3 + 4), and the list
    // does not write into the next problem.
    ClickOn(IDC_OP0 + 1);
    dlg->Chooser(IDC_OP_CHOOSER)->setCurrentIndex(OpAdd);
    ExpressionState picked = dlg->Flow().State().expr;
    picked.op[1] = OpAdd;
    const int32_t points = Evaluate(picked, 0, SwitchesOf(app.settings)).points;
    ExpressionState unpicked = picked;
    unpicked.op[1] = OpMul;
    ASSERT_NE(points, Evaluate(unpicked, 0, SwitchesOf(app.settings)).points);
    boxes.answers = {IDOK};
    qobject_cast<QPushButton*>(dlg->Control(IDC_GRADE))->click();
    Settle();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text.rfind("今回のスコア:" + std::to_string(points) + "(", 0), 0u)
        << boxes.shown[1].text;
    EXPECT_EQ(dlg->Flow().State().gameScore, points);

    // A window-menu entry: the list is taken before the dialog it opens comes up.
    ClickOn(IDC_RANK0 + 2);
    ASSERT_TRUE(ListOpen(IDC_RANK_CHOOSER));
    bool listClosedFirst = false;
    QTimer::singleShot(0, [&] {
        listClosedFirst = dlg->Flow().OpenChooser() == ChooserNone && !ListOpen(IDC_RANK_CHOOSER);
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            d->reject();
        }
    });
    dlg->WindowMenu()->actions().last()->trigger();
    EXPECT_TRUE(listClosedFirst);
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isVisible());
}

TEST_F(GameDlgTest, EachLabelOpensItsOwnListInItsPlace) {
    struct Case {
        int label, chooser;
        QPoint at;
        int hidden;
    };
    const Case cases[] = {
        {IDC_POWER0 + 1, IDC_POWER_CHOOSER, {105, 7}, IDC_POWER0 + 1},
        {IDC_OP0, IDC_SIGN_CHOOSER, {30, 63}, IDC_RANK0},
        {IDC_RANK0 + 3, IDC_RANK_CHOOSER, {180, 63}, IDC_RANK0 + 3},
    };
    for (const Case& c : cases) {
        Click(c.label);
        EXPECT_EQ(dlg->Chooser(c.chooser)->pos(), c.at) << c.label;
        EXPECT_FALSE(dlg->Control(c.hidden)->isVisible()) << c.label;
        // Only the list has the keyboard: no field of the window keeps the focus to be read
        // again as it closes.
        EXPECT_EQ(Focus(), nullptr) << c.label;
        // Closed without a choice: the value stays, the problem counts as touched.
        QTest::keyClick(dlg->Chooser(c.chooser)->view(), Qt::Key_Escape);
        Settle();
        EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE)) << c.label;
        // Its items are neither current nor selected for a reader any more.
        EXPECT_FALSE(dlg->Chooser(c.chooser)->view()->selectionModel()->hasSelection());
        EXPECT_FALSE(dlg->Chooser(c.chooser)->view()->currentIndex().isValid());
        EXPECT_TRUE(dlg->Control(c.hidden)->isVisible()) << c.label;
        EXPECT_FALSE(dlg->Chooser(c.chooser)->isVisible()) << c.label;
        EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone);
    }
    EXPECT_EQ(Text(IDC_OP0), QString());
    EXPECT_EQ(Text(IDC_RANK0 + 3), QStringLiteral("4"));
    EXPECT_EQ(dlg->Flow().State().touched, true);
}

// On Wayland the keyboard stays with the game window while a list is down: the list takes
// its keys through the shortcut check, and the same key press then comes to the window.
TEST_F(GameDlgTest, AKeyThatClosesAListGoesNoFurther) {
    fakes::BoxResponder boxes; // any exit question fails the test
    struct Case {
        Qt::Key key;
        const char* gapText;
    };
    const Case cases[] = {{Qt::Key_Return, "-"}, {Qt::Key_Enter, "*"}, {Qt::Key_Escape, "*"}};
    for (const Case& c : cases) {
        Click(IDC_OP0 + 1);
        ASSERT_TRUE(ListOpen(IDC_OP_CHOOSER)) << c.key;
        QTest::keyClick(dlg->windowHandle(), Qt::Key_Down);
        QTest::keyClick(dlg->windowHandle(), c.key);
        Settle();
        EXPECT_FALSE(ListOpen(IDC_OP_CHOOSER)) << c.key;
        EXPECT_EQ(Text(IDC_OP0 + 1), QString::fromUtf8(c.gapText)) << c.key;
        EXPECT_TRUE(dlg->isVisible()) << c.key;
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(dlg->Flow().State().tries, 0);
    // The next press of the same key is the window's again.
    boxes.answers = {IDNO};
    QTest::keyClick(dlg->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(GameDlgTest, KeysTypedBeforeAClosedListIsTakenGoWhereTheyWouldAfterIt) {
    fakes::BoxResponder boxes; // a Return that reached the window would ask to exit
    // All to the window in one batch, as a fast typist's keys come: no queued call runs
    // between them (QTest would run them after every key), yet each key must act as if the
    // one before had been handled fully.
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Down, Qt::Key_Return, Qt::Key_Right,
                        Qt::Key_Space, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Down,
                        Qt::Key_Space, Qt::Key_Down, Qt::Key_Return}) {
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        qt_handleKeyEvent(dlg->windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, text);
        qt_handleKeyEvent(dlg->windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier, text);
    }
    Settle();
    EXPECT_EQ(Text(IDC_POWER0), QStringLiteral("√"));
    EXPECT_EQ(Text(IDC_POWER0 + 1), QStringLiteral("1/3"));
    EXPECT_EQ(Text(IDC_OP0 + 1), QStringLiteral("-"));
    EXPECT_FALSE(ListOpen(IDC_POWER_CHOOSER));
    EXPECT_FALSE(ListOpen(IDC_OP_CHOOSER));
    EXPECT_EQ(Focus(), L(IDC_OP0 + 1));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(GameDlgTest, AListThePlatformClosesBeforeItIsDrawnDropsAgainForTheKeysTypedSince) {
    fakes::BoxResponder boxes;
    // A Wayland compositor refuses a list whose opening key is no longer the latest: it
    // closes before it is drawn, while the keys typed after Space are still on their way.
    const auto type = [this](Qt::Key key) {
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        qt_handleKeyEvent(dlg->windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, text);
        qt_handleKeyEvent(dlg->windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier, text);
    };
    Key(Qt::Key_Tab);
    type(Qt::Key_Space);
    type(Qt::Key_Down);
    dlg->Chooser(IDC_POWER_CHOOSER)->view()->window()->close();
    type(Qt::Key_Down);
    Settle();
    ASSERT_TRUE(ListOpen(IDC_POWER_CHOOSER));
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(IDC_POWER0), QStringLiteral("1/3"));
    EXPECT_EQ(Focus(), L(IDC_POWER0));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(GameDlgTest, ClickingAnotherLabelWhileAListIsOpenCommitsItFirst) {
    Click(IDC_OP0 + 2);
    ASSERT_EQ(dlg->Flow().OpenChooser(), ChooserOp);
    Click(IDC_POWER0 + 1);
    Settle();
    EXPECT_FALSE(dlg->Chooser(IDC_OP_CHOOSER)->isVisible());
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isVisible());
    EXPECT_EQ(Text(IDC_OP0 + 2), QStringLiteral("+"));
    // The first list's closing did not close the second one.
    EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserPower);
    EXPECT_TRUE(dlg->Chooser(IDC_POWER_CHOOSER)->isVisible());
    EXPECT_EQ(dlg->Chooser(IDC_POWER_CHOOSER)->pos(), QPoint(105, 7));
    EXPECT_FALSE(L(IDC_POWER0 + 1)->isVisible());
    Choose(IDC_POWER_CHOOSER, 3);
    EXPECT_EQ(Text(IDC_POWER0 + 1), QStringLiteral("2"));
    EXPECT_EQ(dlg->Flow().State().expr.power[1], 3);
}

TEST_F(GameDlgTest, AJoinDisablesLabelsThatThenActAsBackground) {
    Click(IDC_OP0 + 1);
    Choose(IDC_OP_CHOOSER, 4); // join digits 0 and 1
    EXPECT_EQ(Text(IDC_OP0 + 1), QStringLiteral(" "));
    EXPECT_FALSE(L(IDC_POWER0)->isEnabled());
    EXPECT_FALSE(L(IDC_RANK0 + 1)->isEnabled());
    EXPECT_TRUE(L(IDC_RANK0 + 2)->isEnabled());
    // The arrows pass over them to the next label that way; Up and Down change rows.
    L(IDC_RANK0)->setFocus();
    Key(Qt::Key_Right);
    EXPECT_EQ(Focus(), L(IDC_RANK0 + 2));
    Key(Qt::Key_Up);
    EXPECT_EQ(Focus(), L(IDC_OP0 + 2));
    Key(Qt::Key_Up);
    EXPECT_EQ(Focus(), L(IDC_POWER0 + 2));
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Focus(), L(IDC_POWER0 + 1));
    dlg->Control(IDC_RETRY)->setFocus();
    Click(IDC_RANK0 + 1);
    Settle();
    EXPECT_FALSE(dlg->Chooser(IDC_RANK_CHOOSER)->isVisible());
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    // Undoing the join brings the labels back.
    Click(IDC_OP0 + 1);
    Choose(IDC_OP_CHOOSER, 1);
    EXPECT_TRUE(L(IDC_POWER0)->isEnabled());
    EXPECT_TRUE(L(IDC_RANK0 + 1)->isEnabled());
}

TEST_F(GameDlgTest, ResultLabelAndBackgroundRouteToTheFlowAndFocusEquals) {
    Click(IDC_RESULT);
    EXPECT_EQ(dlg->Flow().State().tries, 1);
    EXPECT_EQ(Text(IDC_RESULT), QStringLiteral("10 "));
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    Click(IDC_EVALUATE);
    EXPECT_EQ(dlg->Flow().State().tries, 2);

    // A list open, then a click on a label that reports no clicks.
    for (const int passive : {int{IDC_PROBLEM_NO}, int{IDC_SCORE_CAPTION}, IDC_DIGIT0 + 2}) {
        Click(IDC_RANK0 + 1);
        ASSERT_EQ(dlg->Flow().OpenChooser(), ChooserRank);
        QTest::mouseClick(dlg->Control(passive), Qt::LeftButton);
        Settle();
        EXPECT_EQ(dlg->Flow().OpenChooser(), ChooserNone) << passive;
        EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE)) << passive;
    }

    dlg->Control(IDC_GRADE)->setFocus();
    QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, QPoint(230, 50)); // bare background
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    dlg->Control(IDC_GRADE)->setFocus();
    QTest::mouseClick(dlg->Control(IDC_POINTS), Qt::LeftButton);
    EXPECT_EQ(Focus(), dlg->Control(IDC_EVALUATE));
    EXPECT_EQ(dlg->Flow().State().tries, 2);
}

TEST_F(GameDlgTest, GradingAnnouncesTheNextProblem) {
    fakes::BoxResponder boxes;
    boxes.answers = {IDOK};
    digits = {7, 0, 0, 3};
    Click(IDC_GRADE); // 1 + 2 + 3 + 4
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.owners[0], dlg.get());
    EXPECT_EQ(boxes.shown[0].caption, "次計算開始");
    EXPECT_EQ(boxes.shown[0].style, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Text(IDC_PROBLEM_NO), QStringLiteral("No.2"));
    EXPECT_EQ(Text(IDC_DIGIT0), QStringLiteral("7"));
    EXPECT_EQ(Text(IDC_POINTS), QStringLiteral("0 "));
}

TEST_F(GameDlgTest, ExitAsksOnceTheGameIsUnderWayAndEndsOnlyOnYes) {
    fakes::BoxResponder boxes;
    Click(IDC_EVALUATE);
    boxes.answers = {IDNO};
    Click(IDOK);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.owners[0], dlg.get());
    EXPECT_EQ(boxes.shown[0].text, "終了しますか");
    EXPECT_EQ(boxes.shown[0].caption, "終了確認");
    EXPECT_EQ(boxes.shown[0].style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_TRUE(dlg->isVisible());

    // Esc and the close box ask the same question, and both end the window with IDCANCEL.
    boxes.answers = {IDNO, IDYES};
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    dlg->windowHandle()->close();
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), IDCANCEL);
}

TEST_F(GameDlgTest, ExitOnAnUntouchedFirstProblemEndsWithoutAQuestion) {
    fakes::BoxResponder boxes;
    Click(IDOK);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), IDOK);
}

TEST_F(GameDlgTest, RetryAsksAndKeepsTheProblemOnNo) {
    fakes::BoxResponder boxes;
    Click(IDC_EVALUATE);
    digits = {9, 9, 9, 9};
    boxes.answers = {IDNO};
    Click(IDC_RETRY);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "結果破棄確認");
    EXPECT_EQ(boxes.shown[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Text(IDC_DIGIT0), QStringLiteral("1"));
    EXPECT_EQ(dlg->Flow().State().tries, 1);
    boxes.answers = {IDYES};
    Click(IDC_RETRY);
    EXPECT_EQ(Text(IDC_DIGIT0), QStringLiteral("9"));
    EXPECT_EQ(dlg->Flow().State().tries, 0);
    EXPECT_EQ(dlg->Flow().State().touched, false);
}

TEST_F(GameDlgTest, WindowMenuOpensWithAltSpaceAndRightClickAndOffersTheVersionDialog) {
    QMenu* menu = dlg->WindowMenu();
    QStringList texts;
    for (QAction* a : menu->actions()) {
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    // The window's own entries in the table's order, then every registered dialog of the menu.
    QStringList expected;
    for (const CommandDef& c : Commands()) {
        if (c.place == CommandPlace::Menu) {
            expected << QString::fromStdString(CommandText(c));
        }
    }
    expected << "-";
    for (const GameDialog& d : GameDialogs()) {
        if (d.menuText != nullptr) {
            expected << MenuText(d);
        }
    }
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(texts.mid(0, 3),
              (QStringList{"最小化(&N)", "閉じる(&C)", "前の問題の最善解(&B)..."}));
    EXPECT_TRUE(texts.contains(QStringLiteral("ヘルプ(&H)...")));
    EXPECT_TRUE(texts.contains(QStringLiteral("バージョン情報 Vostrel(&A)...")));

    // Once the menu shows and what its opening posted has run: whether it is up, and which
    // entry is selected.
    bool sawMenu = false;
    QAction* selected = nullptr;
    auto closeMenu = [&] {
        QMetaObject::invokeMethod(
            menu,
            [&] {
                sawMenu = QApplication::activePopupWidget() == menu;
                selected = menu->activeAction();
                menu->close();
            },
            Qt::QueuedConnection);
    };
    // From the keyboard the menu opens on its first entry, for a reader to name it.
    QTimer::singleShot(0, closeMenu);
    QTest::keyClick(dlg.get(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(sawMenu);
    EXPECT_EQ(selected, menu->actions().first());
    EXPECT_EQ(dlg->Flow().State().tries, 0); // the focused "=" was not pressed

    // Shift+F10, for keyboards without a Menu key, from a label.
    L(IDC_OP0 + 2)->setFocus();
    sawMenu = false;
    selected = nullptr;
    QTimer::singleShot(0, closeMenu);
    QTest::keyClick(dlg->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(sawMenu);
    EXPECT_EQ(selected, menu->actions().first());
    dlg->Control(IDC_EVALUATE)->setFocus();

    // The keyboard's Menu key: the platform asks the window for a context menu, which goes
    // to the focused "=" first.
    sawMenu = false;
    selected = nullptr;
    QTimer::singleShot(0, closeMenu);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                              dlg->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(dlg->windowHandle(), &menuKey);
    EXPECT_TRUE(sawMenu);
    EXPECT_EQ(selected, menu->actions().first());

    // A right-click opens it as before, nothing selected.
    sawMenu = false;
    QTimer::singleShot(0, closeMenu);
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(230, 50),
                            dlg->mapToGlobal(QPoint(230, 50)));
    QApplication::sendEvent(dlg.get(), &right);
    EXPECT_TRUE(sawMenu);
    EXPECT_EQ(selected, nullptr);

    bool sawAbout = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        sawAbout = about != nullptr && about->parentWidget() == dlg.get();
        if (about != nullptr) {
            about->OkButton()->click();
        }
    });
    const QList<QAction*> entries = menu->actions();
    const auto version = std::find_if(entries.begin(), entries.end(), [](const QAction* a) {
        return a->text() == QStringLiteral("バージョン情報 Vostrel(&A)...");
    });
    ASSERT_NE(version, entries.end());
    (*version)->trigger();
    EXPECT_TRUE(sawAbout);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(GameDlgTest, AHeldKeyIsOneTryPerPress) {
    QWidget* eq = dlg->Control(IDC_EVALUATE);
    ASSERT_EQ(Focus(), eq);
    // Keys as X11 delivers them: with the keyboard's code and the server's time stamp.
    const auto send = [eq](QEvent::Type type, Qt::Key key, bool repeat, quint64 at) {
        const quint32 code = key == Qt::Key_Space ? 65 : 36;
        QKeyEvent e(type, key, Qt::NoModifier, code, 0, 0,
                    key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"), repeat);
        e.setTimestamp(at);
        QApplication::sendEvent(eq, &e);
    };
    // A key held from `at`: the pairs of release and press that the platform repeats it by,
    // each pair sharing its stamp, told as repeats or not, then the release.
    const auto hold = [&send](Qt::Key key, quint64 at, bool told) {
        send(QEvent::KeyPress, key, false, at);
        for (quint64 repeat : {at + 660, at + 700, at + 740}) {
            send(QEvent::KeyRelease, key, told, repeat);
            send(QEvent::KeyPress, key, told, repeat);
        }
        send(QEvent::KeyRelease, key, false, at + 790);
    };
    int presses = 0;
    // Return presses a button at each press.
    hold(Qt::Key_Return, 100, true);
    ++presses;
    EXPECT_EQ(dlg->Flow().State().tries, presses);
    // Space at each release; on a busy machine the repeats are not told.
    hold(Qt::Key_Space, 1000, false);
    ++presses;
    EXPECT_EQ(dlg->Flow().State().tries, presses);
    // Pressed again, however soon: another try.
    send(QEvent::KeyPress, Qt::Key_Space, false, 1791);
    send(QEvent::KeyRelease, Qt::Key_Space, false, 1800);
    ++presses;
    EXPECT_EQ(dlg->Flow().State().tries, presses);

    // Alt+= held anywhere in the window: its repeats do not press "=" again.
    auto* button = qobject_cast<QPushButton*>(eq);
    Mnemonic(Qt::Key_Equal, [&] { return dlg->Flow().State().tries == presses + 1; });
    ++presses;
    L(IDC_OP0 + 1)->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::simulateEvent(dlg->windowHandle(), true, Qt::Key_Equal, Qt::AltModifier,
                             QStringLiteral("="), true);
        EXPECT_FALSE(button->isDown());
    }
    QTest::simulateEvent(dlg->windowHandle(), false, Qt::Key_Equal, Qt::AltModifier,
                         QStringLiteral("="), false);
    Settle();
    EXPECT_EQ(dlg->Flow().State().tries, presses);
}

// What Qt's bridge to a screen reader does with the platform's keys: it takes each one that
// reaches a window or widget, and once the reader has answered sends a copy on, without the
// time stamp. Installed after the window's own filters, it sees each key before them.
class ReaderBridge : public QObject {
public:
    ReaderBridge() { QCoreApplication::instance()->installEventFilter(this); }
    ~ReaderBridge() override { QCoreApplication::instance()->removeEventFilter(this); }
    // The reader answers for every key taken so far.
    void Answer() {
        for (auto& [target, copy] : taken_) {
            QCoreApplication::postEvent(target, copy.release());
        }
        taken_.clear();
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }

protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (!e->spontaneous() ||
            (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)) {
            return false;
        }
        const auto* k = static_cast<QKeyEvent*>(e);
        taken_.emplace_back(target, std::make_unique<QKeyEvent>(
                                        k->type(), k->key(), k->modifiers(), k->nativeScanCode(),
                                        k->nativeVirtualKey(), k->nativeModifiers(), k->text(),
                                        k->isAutoRepeat(), k->count()));
        return true;
    }

private:
    std::vector<std::pair<QObject*, std::unique_ptr<QKeyEvent>>> taken_;
};

TEST_F(GameDlgTest, AHeldKeyIsOneTryUnderAScreenReader) {
    QWidget* eq = dlg->Control(IDC_EVALUATE);
    ASSERT_EQ(Focus(), eq);
    ReaderBridge bridge;
    // The platform's keys, to the window, none told as a repeat (as a busy machine gives them).
    const auto send = [this](QEvent::Type type, Qt::Key key, quint64 at) {
        const quint32 code = key == Qt::Key_Space ? 65 : 36;
        QKeyEvent e(type, key, Qt::NoModifier, code, 0, 0,
                    key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"));
        e.setTimestamp(at);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::sendEvent(dlg->windowHandle(), &e);
    };
    // Held from `at`; the reader answers after each key the platform repeats.
    const auto hold = [&](Qt::Key key, quint64 at, bool pairs) {
        send(QEvent::KeyPress, key, at);
        bridge.Answer();
        for (quint64 repeat : {at + 660, at + 700, at + 740, at + 780}) {
            if (pairs) {
                send(QEvent::KeyRelease, key, repeat);
            }
            send(QEvent::KeyPress, key, repeat);
            bridge.Answer();
        }
        send(QEvent::KeyRelease, key, at + 800);
        bridge.Answer();
    };
    int presses = 0;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        // Repeated as pairs of release and press that share a stamp, and as presses alone.
        for (const bool pairs : {true, false}) {
            hold(key, 10000 * (++presses), pairs);
            EXPECT_EQ(dlg->Flow().State().tries, presses)
                << key << (pairs ? " in pairs" : " alone");
        }
    }
    // A release lost elsewhere holds no key for ever: pressed again later, another try.
    send(QEvent::KeyPress, Qt::Key_Return, 90000);
    bridge.Answer();
    send(QEvent::KeyPress, Qt::Key_Return, 92000);
    send(QEvent::KeyRelease, Qt::Key_Return, 92050);
    bridge.Answer();
    EXPECT_EQ(dlg->Flow().State().tries, presses + 2);
}

TEST_F(GameDlgTest, WindowMenuCloseGoesThroughTheExitQuestion) {
    fakes::BoxResponder boxes;
    Click(IDC_EVALUATE);
    boxes.answers = {IDNO};
    dlg->WindowMenu()->actions().at(1)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "終了確認");
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(GameDlgTest, BestOfThePreviousProblemIsOfferedOnlyAfterAGrade) {
    fakes::BoxResponder boxes;
    QMenu* menu = dlg->WindowMenu();
    QAction* best = menu->actions().at(2);
    ASSERT_EQ(best->text(), QStringLiteral("前の問題の最善解(&B)..."));
    emit menu->aboutToShow();
    EXPECT_FALSE(best->isEnabled());
    Click(IDC_EVALUATE); // a worked problem is still not a graded one
    emit menu->aboutToShow();
    EXPECT_FALSE(best->isEnabled());

    digits = {9, 9, 9, 9};
    boxes.answers = {IDOK};
    Click(IDC_GRADE); // 1 2 3 4; 9 9 9 9 comes up next
    emit menu->aboutToShow();
    ASSERT_TRUE(best->isEnabled());
    boxes.answers = {IDOK};
    best->trigger();
    ASSERT_EQ(boxes.shown.size(), 2u);
    const fakes::ShownBox& box = boxes.shown[1];
    EXPECT_EQ(boxes.owners[1], dlg.get());
    EXPECT_EQ(box.caption, "最善解");
    EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
    // The graded problem, not the one on screen.
    EXPECT_EQ(box.text.rfind("前の問題 1 2 3 4 の最善解:\n", 0), 0u) << box.text;
    const SolveResult r = Solve({1, 2, 3, 4}, SolveSwitches{});
    EXPECT_NE(box.text.find(" = 10\n得点: " + std::to_string(r.best)), std::string::npos)
        << box.text;
    EXPECT_EQ(Text(IDC_DIGIT0), QStringLiteral("9"));
    EXPECT_EQ(dlg->Flow().State().tries, 0);
}

// Ctrl+H takes a hint anywhere in the window; the label it lays stands out, is named as laid by
// a hint, and loses both once the player chooses it again.
TEST_F(GameDlgTest, CtrlHTakesAHintAndMarksTheLaidLabelUntilChosenAgain) {
    fakes::BoxResponder boxes;
    boxes.answers = {IDOK};
    QTest::keyClick(dlg->windowHandle(), Qt::Key_H, Qt::ControlModifier);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "ヒント");
    EXPECT_EQ(dlg->Flow().State().hints, 1);

    QTest::keyClick(dlg->windowHandle(), Qt::Key_H, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(dlg->Flow().State().hints, 2);
    const Slot laid = SlotOfLabel(dlg->Flow().State().hinted);
    const int ids[] = {IDC_POWER0, IDC_OP0, IDC_RANK0};
    CStaticEx* label = L(ids[static_cast<int>(laid.row)] + laid.pos);
    const QColor plain =
        L(IDC_RANK0 + (laid.row == Row::Rank ? (laid.pos + 1) % 4 : 0))->BackColor();
    EXPECT_NE(label->BackColor(), plain);
    EXPECT_EQ(label->accessibleName().toStdString(),
              HintedLabelName(SlotName(laid, dlg->Flow().State().expr.digits)));

    const ExpressionState& e = dlg->Flow().State().expr;
    const int32_t now = laid.row == Row::Power ? e.power[laid.pos]
                        : laid.row == Row::Op  ? e.op[laid.pos]
                                               : e.rank[laid.pos];
    dlg->Flow().OnSlotClicked(laid);
    dlg->Flow().OnItemChosen((now + 1) % ChooserItems(ChooserOf(laid)));
    dlg->Flow().OnChooserClosed();
    EXPECT_EQ(dlg->Flow().State().hinted, 0u);
    EXPECT_EQ(label->BackColor(), plain);
    EXPECT_EQ(label->accessibleName().toStdString(),
              SlotName(laid, dlg->Flow().State().expr.digits));
}

} // namespace
} // namespace vostrel
