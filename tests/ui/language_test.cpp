// The game in the player's language: the translation chosen from the system's languages, every
// text of every window in English with the same accelerator letters, the help on F1, and the
// windows laid out in both languages.
#include "BoxResponder.h"
#include "LayoutCheck.h"
#include "app/CGameApp.h"
#include "app/SettingsRecord.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/ExpressionText.h"
#include "engine/PointRules.h"
#include "fakes/ScriptedRandom.h"
#include "game/GameCommands.h"
#include "game/HelpText.h"
#include "ui/CAboutDlg.h"
#include "ui/CGameDlg.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/ControlIds.h"
#include "ui/GameDialogs.h"
#include "ui/Translation.h"
#include "ui/platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace vostrel {
namespace {

bool HasJapanese(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

// Every text a player sees or hears in `w`: titles, labels, buttons, list items and their
// spoken words, menus, accessible names and what the accessibility tree reads.
void CollectTexts(const QWidget* w, std::vector<QString>& out) {
    out.push_back(w->windowTitle());
    out.push_back(w->accessibleName());
    if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(w))) {
        out.push_back(a->text(QAccessible::Name));
        out.push_back(a->text(QAccessible::Value));
    }
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        out.push_back(l->text());
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        out.push_back(b->text());
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        for (int i = 0; i < c->count(); ++i) {
            out.push_back(c->itemText(i));
            out.push_back(c->itemData(i, Qt::AccessibleTextRole).toString());
        }
    }
    if (const auto* m = qobject_cast<const QMenu*>(w)) {
        for (const QAction* a : m->actions()) {
            out.push_back(a->text());
        }
    }
    if (const auto* t = qobject_cast<const QTextEdit*>(w)) {
        out.push_back(t->toPlainText());
    }
    for (const QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        CollectTexts(child, out);
    }
}

QString FirstJapanese(const QWidget& w) {
    std::vector<QString> texts;
    CollectTexts(&w, texts);
    for (const QString& t : texts) {
        if (HasJapanese(t)) {
            return t;
        }
    }
    return {};
}

// The accelerator letter of each button and check box, by its position among them.
std::vector<QKeySequence> Mnemonics(const QWidget& w) {
    std::vector<QKeySequence> keys;
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
        keys.push_back(QKeySequence::mnemonic(b->text()));
    }
    if (const auto* game = qobject_cast<const CGameDlg*>(&w)) {
        for (const QAction* a : game->WindowMenu()->actions()) {
            keys.push_back(QKeySequence::mnemonic(a->text()));
        }
    }
    return keys;
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallDefaultSettings(app.settings);
        app.settingsPath = "/home/player/.local/share/vostrel/vostrel.dat";
    }
    void TearDown() override { RemoveTranslation(); }

    // Each window of the game, as built in the current language.
    std::vector<std::pair<std::string, std::unique_ptr<QWidget>>> Windows() {
        std::vector<std::pair<std::string, std::unique_ptr<QWidget>>> w;
        auto game = std::make_unique<CGameDlg>(app, fakes::ScriptedRandom::Repeating({1}));
        game->Flow().EvaluateTry();
        w.emplace_back("game", std::move(game));
        for (const GameDialog& d : GameDialogs()) {
            if (d.kind != DialogKind::HiScore) {
                w.emplace_back(d.name, d.make(app));
                continue;
            }
            // The table as a game ends: with a row to name, and with none.
            for (const int32_t row : {2, -1}) {
                w.emplace_back(
                    std::string(d.name) + " " + std::to_string(row),
                    std::make_unique<CHiScoreDlg>(GameEnd{app.settings.highScores, -99999, row}));
            }
        }
        for (auto& [name, window] : w) {
            window->show();
        }
        return w;
    }

    CGameApp app;
    fakes::BoxResponder boxes;
};

TEST_F(LanguageTest, TheTranslationFollowsThePlayersFirstLanguageThatTheGameSpeaks) {
    const QString en = QStringLiteral(":/i18n/vostrel_en.qm");
    // Two languages the game has no translation for, whichever are added.
    QStringList untranslated;
    for (const char* tag : {"de-DE", "fr-FR", "es-ES", "it-IT", "ko-KR", "sv-SE"}) {
        const QString language = QString::fromLatin1(tag).section(u'-', 0, 0);
        if (!QFile::exists(QStringLiteral(":/i18n/vostrel_%1.qm").arg(language))) {
            untranslated << QString::fromLatin1(tag);
        }
    }
    ASSERT_GE(untranslated.size(), 2) << "no language left without a translation";
    const QString other = untranslated[0];
    const QString another = other.section(u'-', 0, 0);
    const std::map<QStringList, QString> cases = {
        {{"en-US"}, en},
        {{"en"}, en},
        {{"en-GB", "ja-JP"}, en},
        {{other, "en-US"}, en}, // untranslated: the next language the player reads
        {{"ja-JP"}, {}},
        {{"ja", "en"}, {}}, // Japanese first: the game's own texts
        {{"C"}, {}},
        {{"POSIX", "en"}, {}},
        {{other, "ja-JP"}, {}},
        // No language the game speaks: English, which more players read than Japanese.
        {{other}, en},
        {{untranslated[1], another}, en},
        {{}, {}},
    };
    for (const auto& [languages, file] : cases) {
        EXPECT_EQ(TranslationFile(languages), file) << languages.join(',').toStdString();
    }
    // Qt's own texts (a text box's context menu) follow the game's language.
    const auto qtUndo = [] { return QCoreApplication::translate("QLineEdit", "&Undo"); };
    EXPECT_FALSE(InstallTranslation({"ja-JP"}));
    EXPECT_EQ(QCoreApplication::translate("vostrel::CGameDlg", "採点(&M)"),
              QStringLiteral("採点(&M)"));
    EXPECT_TRUE(HasJapanese(qtUndo())) << qtUndo().toStdString();
    ASSERT_TRUE(InstallTranslation({other}));
    EXPECT_EQ(qtUndo(), QStringLiteral("&Undo"));
    EXPECT_FALSE(HasJapanese(QCoreApplication::translate("vostrel::CGameDlg", "採点(&M)")));
    RemoveTranslation();
    EXPECT_EQ(qtUndo(), QStringLiteral("&Undo"));
}

TEST_F(LanguageTest, EnglishReachesEveryTextWithTheSameAcceleratorsAndJapaneseStaysAsItWas) {
    // The game window's "=" has always drawn its large glyph in a box a little lower than the
    // glyph's line, the glyph itself well inside; the check measures lines.
    const auto layoutProblems = [](const QWidget& w) {
        std::vector<std::string> problems = LayoutProblems(w);
        std::erase(problems, std::string("QPushButton '&=' is too small for its text"));
        return problems;
    };
    std::map<std::string, std::vector<QKeySequence>> japaneseKeys;
    for (auto& [name, w] : Windows()) {
        japaneseKeys[name] = Mnemonics(*w);
        const auto problems = layoutProblems(*w);
        EXPECT_TRUE(problems.empty()) << name << ": " << problems[0];
    }

    ASSERT_TRUE(InstallTranslation({"en-US"}));
    for (auto& [name, w] : Windows()) {
        EXPECT_EQ(FirstJapanese(*w), QString()) << name;
        EXPECT_EQ(Mnemonics(*w), japaneseKeys[name]) << name;
        if (name != "help") {
            const auto problems = layoutProblems(*w);
            EXPECT_TRUE(problems.empty()) << name << ": " << problems[0];
        }
    }

    // The flow's boxes and their buttons, a sentence with numbers among them.
    CGameDlg game(app, fakes::ScriptedRandom::Repeating({1}));
    boxes.answers = {IDNO};
    game.Flow().EvaluateTry();
    game.Flow().RequestExit(IDCANCEL);
    app.settings.repeatCount = 3;
    game.Flow().GradeProblem();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Exit the game?");
    EXPECT_EQ(boxes.shown[1].text.substr(0, 26), "Points for this problem: 0");
    EXPECT_NE(boxes.shown[1].text.find("Starting problem 2."), std::string::npos);
    const auto box = BuildMessageBox(&game, "", "", MB_YESNO);
    for (const QAbstractButton* b : box->buttons()) {
        EXPECT_FALSE(HasJapanese(b->text())) << b->text().toStdString();
    }
}

TEST_F(LanguageTest, HelpShowsEveryPointRuleWithItsNumberInBothLanguages) {
    using namespace points;
    const std::vector<int32_t> expected = {
        kPlainOperand, kSqrt,      kCbrt,      kSquare,         kCube,       kAdd,
        kSub,          kMul,       kExactDiv,  kJoin,           kOrderBonus, kFirstTry,
        kTargetBonus,  kZeroBonus, kTensBonus, kInexactPenalty, kHintPrice};
    for (const bool english : {false, true}) {
        if (english) {
            ASSERT_TRUE(InstallTranslation({"en"}));
        }
        std::vector<int32_t> shown;
        std::string all;
        for (const HelpSection& s : BuildHelp(app.settingsPath)) {
            for (const HelpRule& r : s.rules) {
                shown.push_back(r.points);
                all += r.text + "\n";
            }
            for (const std::string& p : s.paragraphs) {
                all += p + "\n";
            }
            for (const std::string& p : s.notes) {
                all += p + "\n";
            }
        }
        EXPECT_EQ(shown, expected) << english;
        // Numbers inside the sentences, filled in whichever language.
        for (int32_t n : {kPerTry, kTriesWithoutBase, kTarget}) {
            EXPECT_NE(all.find(std::to_string(n)), std::string::npos) << n << " " << english;
        }
        EXPECT_NE(all.find(app.settingsPath), std::string::npos);
        EXPECT_EQ(all.find('%'), std::string::npos) << all;
        EXPECT_EQ(HasJapanese(QString::fromStdString(all)), !english);
    }
}

// In each language a command's key is its own (the buttons' letters and the keys taken anywhere
// in the window, the menu's letters within the menu), and the help lists it as the window
// takes it.
TEST_F(LanguageTest, EveryCommandKeyIsItsOwnAndTheHelpListsIt) {
    for (const bool english : {false, true}) {
        if (english) {
            ASSERT_TRUE(InstallTranslation({"en"}));
        }
        std::string help;
        for (const HelpSection& s : BuildHelp(app.settingsPath)) {
            for (const std::string& p : s.paragraphs) {
                help += p + "\n";
            }
        }
        std::set<QKeySequence> window;
        std::set<QKeySequence> menu;
        for (const GameDialog& d : GameDialogs()) {
            if (d.menuText != nullptr) {
                EXPECT_TRUE(menu.insert(QKeySequence::mnemonic(MenuText(d))).second) << d.name;
            }
        }
        for (const CommandDef& c : Commands()) {
            const QString text = QString::fromStdString(CommandText(c));
            const QKeySequence letter = QKeySequence::mnemonic(text);
            EXPECT_FALSE(letter.isEmpty()) << text.toStdString();
            EXPECT_TRUE((c.place == CommandPlace::Button ? window : menu).insert(letter).second)
                << text.toStdString();
            if (c.key != nullptr) {
                EXPECT_TRUE(window
                                .insert(QKeySequence::fromString(QString::fromLatin1(c.key),
                                                                 QKeySequence::PortableText))
                                .second)
                    << c.key;
            }
            if (c.help != nullptr) {
                EXPECT_NE(help.find(CommandKey(c) + ": " + Tr("HelpText", c.help) + "\n"),
                          std::string::npos)
                    << CommandKey(c) << " " << english;
            }
        }
    }
}

TEST_F(LanguageTest, HelpExamplesShowWhatTheEngineComputesForTheRulesTheyIllustrate) {
    using namespace points;
    for (const bool english : {false, true}) {
        if (english) {
            ASSERT_TRUE(InstallTranslation({"en"}));
        }
        std::vector<HelpCase> cases;
        const HelpExample* tries = nullptr;
        // Kept: the try example is looked at after the loop.
        const std::vector<HelpSection> help = BuildHelp(app.settingsPath);
        for (const HelpSection& s : help) {
            for (const HelpExample& e : s.examples) {
                EXPECT_TRUE(std::find(s.paragraphs.begin(), s.paragraphs.end(), e.text) !=
                                s.paragraphs.end() ||
                            std::find(s.notes.begin(), s.notes.end(), e.text) != s.notes.end())
                    << e.text;
                // One expression at several try counts: the example of the points each "=" costs.
                bool oneExpression = e.cases.size() > 1;
                for (const HelpCase& c : e.cases) {
                    const ScoreSwitches& a = c.switches;
                    const ScoreSwitches& b = e.cases[0].switches;
                    oneExpression = oneExpression && c.state == e.cases[0].state &&
                                    a.scoreInexactDivision == b.scoreInexactDivision &&
                                    a.scoreInexactRoot == b.scoreInexactRoot &&
                                    a.scoreOtherResults == b.scoreOtherResults && c.showsPoints;
                }
                if (oneExpression) {
                    tries = &e;
                }
                for (const HelpCase& c : e.cases) {
                    const EvalResult r = Evaluate(c.state, c.tryCount, c.switches);
                    EXPECT_EQ(c.result, r) << e.text;
                    EXPECT_EQ(r.status, EvalOk) << e.text;
                    const std::string expr = FormatExpression(c.state, Notation::Labels);
                    const std::string shown = c.showsPoints
                                                  ? " " + std::to_string(r.points) + " "
                                                  : expr + " = " + std::to_string(r.value);
                    EXPECT_NE(e.text.find(expr), std::string::npos) << e.text;
                    EXPECT_NE(e.text.find(shown), std::string::npos) << shown << " in " << e.text;
                    cases.push_back(c);
                }
            }
        }

        // Each rule the help teaches by example, the expected values from the rule itself.
        bool rounded = false, signFirst = false, signLast = false, joinPower = false;
        bool leadingZero = false, noBonusIsZero = false, negativeStays = false;
        for (const HelpCase& c : cases) {
            const ExpressionState& s = c.state;
            const int32_t* d = s.digits;
            const bool allJoined = s.op[1] == OpJoin && s.op[2] == OpJoin && s.op[3] == OpJoin;
            if (allJoined && (s.power[3] == PowSqrt || s.power[3] == PowCbrt)) {
                const int32_t n = ((d[0] * 10 + d[1]) * 10 + d[2]) * 10 + d[3];
                const double root = s.power[3] == PowSqrt ? std::sqrt(n) : std::cbrt(n);
                EXPECT_EQ(c.result.value, std::lround(root)) << n; // the nearest whole number
                rounded = rounded || std::lround(root) > static_cast<long>(root);
            } else if (s.op[0] == kSignMinus && s.op[1] == OpAdd && s.op[2] == OpAdd &&
                       s.op[3] == OpAdd) {
                const int32_t sum = d[1] + d[2] + d[3];
                if (s.rank[0] == 0) {
                    signFirst = c.result.value == -d[0] + sum;
                } else if (s.rank[0] == kRankItems - 1) {
                    signLast = c.result.value == -(d[0] + sum);
                }
            } else if (s.op[1] == OpJoin && s.op[2] == OpAdd && s.op[3] == OpAdd) {
                const int32_t joined = d[0] * 10 + d[1];
                if (s.power[1] == PowSquare) {
                    joinPower =
                        c.result.value == joined * joined + d[2] + d[3] && s.power[0] == PowNone;
                } else if (d[0] == 0) {
                    leadingZero = c.result.value == d[1] + d[2] + d[3];
                }
            }
            const bool bonus = c.result.value == kTarget ||
                               (c.switches.scoreOtherResults != 0 && c.result.value % kTarget == 0);
            if (!bonus && c.showsPoints) {
                // Without an allowed inexact step nothing is taken off: a positive total gives 0.
                if (c.switches.scoreInexactDivision == 0 && c.switches.scoreInexactRoot == 0) {
                    EXPECT_EQ(c.result.points, 0) << c.result.value;
                    noBonusIsZero = true;
                } else {
                    negativeStays = negativeStays || c.result.points < 0;
                }
            }
        }
        EXPECT_TRUE(rounded) << "a root example that rounds up";
        EXPECT_TRUE(signFirst && signLast) << "the sign's rank, first and last";
        EXPECT_TRUE(joinPower) << "a join takes the right digit's power, loses the left one's";
        EXPECT_TRUE(leadingZero);
        EXPECT_TRUE(noBonusIsZero) << "a result without a bonus that earns 0";
        EXPECT_TRUE(negativeStays) << "a result without a bonus whose negative total stays";

        // Its sentence says: without "=", after one, after the count that leaves no base points;
        // the points in that order.
        ASSERT_NE(tries, nullptr);
        const std::vector<int32_t> stated = {0, 1, kTriesWithoutBase};
        ASSERT_EQ(tries->cases.size(), stated.size());
        size_t from = 0;
        for (size_t i = 0; i < stated.size(); ++i) {
            const HelpCase& c = tries->cases[i];
            EXPECT_EQ(c.tryCount, stated[i]) << tries->text;
            EXPECT_EQ(tries->cases[0].result.points - c.result.points,
                      kFirstTry - BasePoints(c.tryCount));
            const size_t at = tries->text.find(" " + std::to_string(c.result.points) + " ", from);
            ASSERT_NE(at, std::string::npos) << i << " in " << tries->text;
            from = at + 1;
        }
    }
}

// The settings section has a paragraph for each row of the settings table, in its order: a
// count with its lowest, highest and default value in that order (the last numbers it
// states), a switch with its default, on or off, last before the closing bracket.
TEST_F(LanguageTest, HelpStatesEachSettingsRangeAndDefaultFromTheTable) {
    const auto numbers = [](const std::string& text) {
        std::vector<int32_t> out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (std::isdigit(static_cast<unsigned char>(text[i])) &&
                (i == 0 || !std::isdigit(static_cast<unsigned char>(text[i - 1])))) {
                out.push_back(std::stoi(text.substr(i)));
            }
        }
        return out;
    };
    for (const bool english : {false, true}) {
        if (english) {
            ASSERT_TRUE(InstallTranslation({"en"}));
        }
        const std::string on = Tr("HelpText", "オン");
        const std::string off = Tr("HelpText", "オフ");
        const std::vector<HelpSection> help = BuildHelp(app.settingsPath);
        const auto section = std::find_if(help.begin(), help.end(), [](const HelpSection& s) {
            return s.title == Tr("HelpText", "設定");
        });
        ASSERT_NE(section, help.end());
        const std::span<const SettingDef> table = SettingsTable();
        ASSERT_GE(section->paragraphs.size(), table.size());
        for (size_t i = 0; i < table.size(); ++i) {
            const SettingDef& d = table[i];
            const std::string& p = section->paragraphs[i];
            if (d.kind == SettingKind::Count) {
                const std::vector<int32_t> n = numbers(p);
                ASSERT_GE(n.size(), 3u) << p;
                EXPECT_EQ(std::vector<int32_t>(n.end() - 3, n.end()),
                          (std::vector<int32_t>{d.min, d.max, d.defaultValue}))
                    << p;
            } else {
                const std::string before = p.substr(0, p.rfind(')'));
                const std::string& want = d.defaultValue != 0 ? on : off;
                EXPECT_TRUE(before.ends_with(want)) << p;
            }
        }
    }
}

TEST_F(LanguageTest, F1OpensTheHelpFromEveryWindowAndEscClosesIt) {
    CGameDlg game(app, fakes::ScriptedRandom::Repeating({1}));
    game.show();
    QApplication::setActiveWindow(&game);
    QTest::keyClick(game.windowHandle(), Qt::Key_F1);
    auto* help = game.findChild<CHelpDlg*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal()); // the game goes on beside it
    EXPECT_EQ(help->Browser()->accessibleName(), help->windowTitle());
    // A reader reads it as a text from its start, not as a label of which it reads nothing.
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(help->Browser());
    ASSERT_NE(text->textInterface(), nullptr);
    EXPECT_TRUE(text->state().readOnly);
    EXPECT_EQ(text->textInterface()->cursorPosition(), 0);
    EXPECT_TRUE(help->Browser()->toPlainText().startsWith(text->textInterface()->text(0, 8)));
    EXPECT_NE(help->Browser()->toPlainText().indexOf(QString::number(points::kTargetBonus)), -1);
    EXPECT_TRUE(help->Browser()->toPlainText().contains(QString::fromStdString(app.settingsPath)));
    // A second F1 brings the same window forward.
    QTest::keyClick(game.windowHandle(), Qt::Key_F1);
    EXPECT_EQ(game.findChildren<CHelpDlg*>().size(), 1);
    QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(game.findChild<CHelpDlg*>(), nullptr); // closed and gone

    // The menu item, and F1 in each dialog, over which the help is not blocked.
    bool fromMenu = false;
    for (QAction* a : game.WindowMenu()->actions()) {
        if (a->shortcut() == QKeySequence(QKeySequence::HelpContents)) {
            a->trigger();
            fromMenu = game.findChild<CHelpDlg*>() != nullptr;
        }
    }
    EXPECT_TRUE(fromMenu);
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<CSettingDlg>(app.settings, false, &game));
    dialogs.push_back(std::make_unique<CHiScoreDlg>(app.settings.highScores, &game));
    dialogs.push_back(std::make_unique<CAboutDlg>(&game));
    for (auto& d : dialogs) {
        d->setModal(true);
        d->show();
        QApplication::setActiveWindow(d.get());
        QTest::keyClick(d->windowHandle(), Qt::Key_F1);
        auto* h = d->findChild<CHelpDlg*>();
        ASSERT_NE(h, nullptr) << d->metaObject()->className();
        // It tells where this run keeps its file, as the game window's does.
        EXPECT_TRUE(h->Browser()->toPlainText().contains(QString::fromStdString(app.settingsPath)))
            << d->metaObject()->className();
        // Keys reach it past the modal dialog it belongs to.
        QTest::keyClick(h->windowHandle(), Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_EQ(d->findChild<CHelpDlg*>(), nullptr) << d->metaObject()->className();
        d->hide();
    }

    // A large desktop font (18 points at scale 2) still opens it whole on the screen.
    const QFont font = QApplication::font();
    QFont large = font;
    large.setPixelSize(48);
    QApplication::setFont(large);
    // The size it asks for: a platform that clamps windows would hide the fault.
    CHelpDlg big(app.settingsPath, &game);
    const QRect area = game.screen()->availableGeometry();
    EXPECT_GT(big.fontMetrics().lineSpacing() * 34, area.height());
    EXPECT_LE(big.width(), area.width());
    EXPECT_LE(big.height(), area.height());
    QApplication::setFont(font);
}

} // namespace
} // namespace vostrel
