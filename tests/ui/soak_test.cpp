// Random play of the game window through its real event path: a seeded stream of clicks and keys
// sent to the top-level window (or to the open list, menu or dialog window), every message box
// answered at random among its buttons, the high-score, settings and version dialogs and the
// window menu driven as they come up. After every action the invariants a player relies on are
// checked; at every exit and at the end the records are saved, reloaded and compared.
//
// A long run with a chosen seed (a failure names the seed and the action to replay; add
// VOSTREL_SOAK_TRACE=1 to print every action):
//   VOSTREL_SOAK_SEED=7 VOSTREL_SOAK_ACTIONS=100000 build/tests/vostrel_gui_tests
//   --gtest_filter='Soak*'

#include "BoxResponder.h"
#include "app/CGameApp.h"
#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "app/WinConstants.h"
#include "core/TempDir.h"
#include "engine/Evaluator.h"
#include "engine/ExpressionModel.h"
#include "engine/PointRules.h"
#include "game/GameScore.h"
#include "ui/CAboutDlg.h"
#include "ui/CGameDlg.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/CStaticEx.h"
#include "ui/ControlIds.h"
#include "ui/GameDialogs.h"
#include "ui/platform/Cp932.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vostrel {
namespace {

// Name pieces: code page 932 holds the first group (each comes back as it was typed), not the
// second (each code point becomes "?" in the bytes, and the name goes whole beside them).
const char* const kInside[] = {"A",    "z",   "7",      ":", " ", "#",
                               "鈴木", "ｱｲｳ", "テスト", "①", "Ω", "ー"};
const char* const kOutside[] = {"é", "한", "😀", "€", "ß"};
// Only a paste brings these (and NUL) into the name edit.
const char* const kPasteOnly[] = {"\n", "\r", "\r\n", "\t"};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

QPoint Center(const QWidget* w) {
    return w->rect().center();
}

class Soak : public QObject {
public:
    explicit Soak(uint64_t seed) : seed_(seed), rng_(seed), digitRng_(seed ^ 0x5eed) {
        for (const char* piece : kOutside) {
            for (uint c : QString::fromUtf8(piece).toUcs4()) {
                outside_.insert(c);
            }
        }
        InstallDefaultSettings(app_.settings);
        // Low scores, so that the first games enter the table and ask for names. The file
        // holds no negative score (its reading takes digits only), so none starts here.
        for (int k = 0; k < kHighScoreRows; ++k) {
            app_.settings.highScores.score[k] = 40 - 10 * k;
        }
        expTable_ = app_.settings.highScores;
        // Each box is answered while it is up, by what the game must be doing then.
        responder_.onShow = [this](const fakes::ShownBox& b) {
            responder_.answers.push_back(
                Answer(responder_.owners.back(), b.text, b.caption, b.style));
            responder_.Clear(); // a long run shows millions of boxes
        };
        qApp->installEventFilter(this);
        OpenWindow();
    }
    ~Soak() override {
        qApp->removeEventFilter(this);
        dlg_.reset();
    }

    void Run(int actions) {
        const bool trace = EnvNumber("VOSTREL_SOAK_TRACE", 0) != 0;
        for (action_ = 1; action_ <= actions && !failed_; ++action_) {
            Act();
            Settle();
            if (trace) {
                QWidget* f = QApplication::focusWidget();
                std::printf("%d: %s; open list %d; focus %s%s\n", action_, lastAction_.c_str(),
                            dlg_->Flow().OpenChooser(),
                            f != nullptr ? f->metaObject()->className() : "none",
                            f != nullptr && f->isHidden() ? " (hidden)" : "");
            }
            if (!dlg_->isVisible()) {
                // The window ended (exit answered Yes): shut down and start again, as the
                // program would.
                ++exits_;
                RoundTrip();
                OpenWindow();
            }
            CheckInvariants();
        }
        if (!failed_) {
            RoundTrip();
        }
    }

    bool failed() const { return failed_; }
    std::string Summary() const {
        std::ostringstream s;
        s << "seed " << seed_ << ": " << (action_ - 1) << " actions, " << checks_
          << " invariant checks, " << grades_ << " grades, " << games_ << " games ended ("
          << entries_ << " into the table), " << names_ << " names entered, " << boxes_
          << " message boxes, " << dialogs_ << " dialogs, " << picks_ << " list picks, " << applied_
          << " settings applied, " << exits_ << " exits";
        return s.str();
    }

private:
    // ---- checking

    bool Check(bool ok, const std::string& what) {
        ++checks_;
        if (!ok && !failed_) {
            failed_ = true;
            ADD_FAILURE() << "seed " << seed_ << ", action " << action_ << " (" << lastAction_
                          << "): " << what << "\nreplay: VOSTREL_SOAK_SEED=" << seed_
                          << " VOSTREL_SOAK_ACTIONS=" << action_;
        }
        return ok;
    }

    void CheckInvariants() {
        const GameFlow& flow = dlg_->Flow();
        const ExpressionState& e = flow.State().expr;
        const bool usePower = app_.settings.usePower != 0;

        // The expression model.
        std::set<int32_t> ranks(std::begin(e.rank), std::end(e.rank));
        Check(ranks == std::set<int32_t>{0, 1, 2, 3}, "the ranks are not a permutation");
        Check(e.op[0] == 0 || e.op[0] == 1, "sign code out of range");
        int32_t joined = 0;
        for (int k = 1; k < 4; ++k) {
            Check(e.op[k] >= 0 && e.op[k] <= OpJoin, "operator code out of range");
            if (e.op[k] == OpJoin) {
                Check(e.rank[k] == joined, "joined gaps do not lead the ranks in position order");
                ++joined;
                Check(e.power[k - 1] == 0, "the digit left of a join keeps a power");
            }
        }
        for (int k = 0; k < 4; ++k) {
            Check(e.power[k] >= 0 && e.power[k] <= 4, "power code out of range");
            Check(usePower || e.power[k] == 0, "a power while powers are off");
            Check(e.digits[k] >= 0 && e.digits[k] <= 9, "digit out of range");
        }

        // Every label shows the expression; the one list open hides its labels.
        int hiddenPower = 0;
        int hiddenRank = 0;
        int hiddenOther = 0;
        for (int k = 0; k < 4; ++k) {
            const bool joinRight = k < 3 && e.op[k + 1] == OpJoin;
            CStaticEx* power = dlg_->Label(IDC_POWER0 + k);
            CStaticEx* op = dlg_->Label(IDC_OP0 + k);
            CStaticEx* rank = dlg_->Label(IDC_RANK0 + k);
            const std::string n = std::to_string(k);
            Check(power->WindowText() == QString::fromUtf8(PowerText(e.power[k])),
                  "power label " + n + " shows " + power->WindowText().toStdString());
            Check(power->isEnabled() == (usePower && !joinRight), "power label " + n + " enabled");
            Check(op->WindowText() ==
                      QString::fromUtf8(k == 0 ? SignText(e.op[0]) : OpText(e.op[k])),
                  "operator label " + n + " shows " + op->WindowText().toStdString());
            Check(op->isEnabled(), "operator label " + n + " disabled");
            Check(rank->WindowText() == QString::fromUtf8(RankText(e.rank[k])),
                  "rank label " + n + " shows " + rank->WindowText().toStdString());
            Check(rank->isEnabled() == (k == 0 || e.op[k] != OpJoin),
                  "rank label " + n + " enabled");
            auto* digit = qobject_cast<QLabel*>(dlg_->Control(IDC_DIGIT0 + k));
            Check(digit->text() == QString::number(e.digits[k]), "digit label " + n);
            hiddenPower += power->isHidden() ? 1 : 0;
            hiddenRank += rank->isHidden() ? 1 : 0;
            hiddenOther += op->isHidden() || digit->isHidden() ? 1 : 0;
        }
        const int32_t open = flow.OpenChooser();
        Check(hiddenOther == 0, "a digit or operator label is hidden");
        Check(hiddenPower == (open == ChooserPower ? 1 : 0), "hidden power labels");
        Check(hiddenRank == (open == ChooserNone || open == ChooserPower ? 0 : 1),
              "hidden rank labels");
        Check(open != ChooserSign || dlg_->Label(IDC_RANK0)->isHidden(),
              "the sign list leaves the sign rank shown");

        // At most one list open, and it is the flow's.
        int lists = 0;
        for (int id = IDC_POWER_CHOOSER; id <= IDC_RANK_CHOOSER; ++id) {
            QComboBox* c = dlg_->Chooser(id);
            const bool down = c->view()->window()->isVisible();
            lists += down ? 1 : 0;
            const int32_t kind = ChooserPower + (id - IDC_POWER_CHOOSER);
            Check(down == (open == kind), "list " + std::to_string(id) +
                                              " open while the flow has " + std::to_string(open));
            Check(!c->isVisible() || open == kind, "chooser " + std::to_string(id) + " left shown");
        }
        Check(lists <= 1, "more than one list open");
        Check(QApplication::activeModalWidget() == nullptr, "a modal window stayed open");

        // The flow's counters and the table.
        if (expSettings_) {
            Check(app_.settings == *expSettings_, "the game did not take the applied settings");
            expSettings_.reset();
        }
        const GameState& st = flow.State();
        Check(flow.State().tries >= 0 && flow.State().tries <= 10, "tryCount out of range");
        Check(st.problemIndex == expIndex_, "problemIndex " + std::to_string(st.problemIndex) +
                                                ", expected " + std::to_string(expIndex_));
        Check(st.problemIndex >= 0 && st.problemIndex < app_.settings.repeatCount,
              "problemIndex outside the game");
        Check(st.gameScore == expScore_, "gameScore " + std::to_string(st.gameScore) +
                                             ", expected " + std::to_string(expScore_));
        auto* number = qobject_cast<QLabel*>(dlg_->Control(IDC_PROBLEM_NO));
        if (app_.settings.repeatCount > 1) {
            Check(!number->isHidden() &&
                      number->text() == QStringLiteral("No.%1").arg(st.problemIndex + 1),
                  "problem number shows " + number->text().toStdString());
        } else {
            Check(number->isHidden(), "problem number shown in a one-problem game");
        }
        Check(app_.settings.highScores == expTable_, "the high-score table changed");
    }

    // The name stored for what the edit held: the text up to a line break or NUL, shown as it
    // was typed; its bytes with every code point the code page cannot hold as "?".
    void CheckStoredName(const QString& typed, const std::string& stored, const std::string& full) {
        QList<uint> want = typed.toUcs4();
        for (qsizetype i = 0; i < want.size(); ++i) {
            if (want[i] == '\r' || want[i] == '\n' || want[i] == 0) {
                want.resize(i);
                break;
            }
        }
        Check(ShownName(stored, full).toUcs4() == want, "shown name " +
                                                            ShownName(stored, full).toStdString() +
                                                            " for typed " + typed.toStdString());
        for (uint& c : want) {
            if (outside_.count(c) != 0) {
                c = '?';
            }
        }
        Check(UnicodeFromCp932(stored).toUcs4() == want,
              "stored name " + UnicodeFromCp932(stored).toStdString() + " for typed " +
                  typed.toStdString());
    }

    // Saves, reloads and compares: the file holds exactly the formatted record, and reading it
    // gives the record back (an empty name reads back as "none", the file's rule).
    void RoundTrip() {
        test::TempDir dir;
        const std::string path = dir.File("vostrel.dat");
        if (!Check(SaveSettings(path, app_.settings) == 0, "save failed")) {
            return;
        }
        Check(test::ReadBytes(path) == FormatSettings(app_.settings), "saved bytes differ");
        SettingsRecord back;
        Check(LoadSettings(path, back) == 0, "reload failed");
        SettingsRecord want = app_.settings;
        for (std::string& name : want.highScores.name) {
            if (name.empty()) {
                name = "none";
            }
        }
        Check(FormatSettings(back) == FormatSettings(want),
              "reloaded record differs:\n" + FormatSettings(back) + "instead of\n" +
                  FormatSettings(want));
        Check(back == want, "reloaded record differs");
        app_.settings = back;
        expTable_ = back.highScores;
    }

    // ---- the message boxes

    int32_t Answer(QWidget* owner, const std::string& text, const std::string& caption,
                   uint32_t style) {
        ++boxes_;
        Check(owner != nullptr, "a box without owner: " + caption);
        const bool yesNo = (style & MB_TYPEMASK) == MB_YESNO;
        // Leaving the game is answered Yes less often, so that games run to their end.
        const int yesPercent = caption == "終了確認" ? 10 : 50;
        const int32_t answer = yesNo ? (Chance(yesPercent) ? IDYES : IDNO) : IDOK;
        const GameFlow& flow = dlg_->Flow();
        if (caption == "次計算開始") {
            // Called between the grade and the next problem: the graded expression is still
            // the flow's.
            const int32_t points = GradedPoints();
            expScore_ = SaturatingAdd(expScore_, points);
            ++expIndex_;
            ++grades_;
            Check(flow.State().gameScore == expScore_ && flow.State().problemIndex == expIndex_,
                  "grade: game score or problem number");
            Check(expIndex_ < app_.settings.repeatCount, "next-problem box after the last one");
            const int32_t hints = flow.State().hints;
            Check(text == "今回のスコア:" + std::to_string(points) + "(" +
                              std::to_string(expScore_) + ")\n" + std::to_string(expIndex_ + 1) +
                              "番目の計算を始めます。" +
                              (hints > 0 ? "\nヒント " + std::to_string(hints) + "回: " +
                                               std::to_string(points::HintedPoints(0, hints)) + "点"
                                         : ""),
                  "next-problem box text: " + text);
        } else if (caption == "計算エラー") {
            const EvalResult r =
                Evaluate(flow.State().expr, flow.State().tries, SwitchesOf(app_.settings));
            Check(r.status != EvalOk, "error box for a valid expression");
        } else if (caption == "結果破棄確認" && answer == IDYES) {
            expIndex_ = 0;
            expScore_ = 0;
        }
        return answer;
    }

    int32_t GradedPoints() {
        const GameFlow& flow = dlg_->Flow();
        const EvalResult r =
            Evaluate(flow.State().expr, flow.State().tries, SwitchesOf(app_.settings));
        Check(r.status == EvalOk, "graded an expression that does not evaluate");
        return points::HintedPoints(r.points, flow.State().hints);
    }

    // ---- the modal windows, driven from inside their own event loops

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const auto dialogs = GameDialogs();
            const bool ours = std::any_of(dialogs.begin(), dialogs.end(),
                                          [w](const GameDialog& d) {
                                              return w->metaObject()->inherits(d.type);
                                          }) ||
                              (dlg_ != nullptr && w == dlg_->WindowMenu());
            if (ours) {
                // Posted, so that it runs inside the loop that the window's exec starts.
                QMetaObject::invokeMethod(
                    this, [this, p = QPointer<QWidget>(w)] { Drive(p); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, e);
    }

    void Drive(QPointer<QWidget> w) {
        if (!w || !w->isVisible()) {
            return;
        }
        ++dialogs_;
        // A window manager activates a new modal window; the offscreen platform needs asking.
        if (!qobject_cast<QMenu*>(w)) {
            Activate(w);
        }
        if (auto* h = qobject_cast<CHiScoreDlg*>(w)) {
            DriveHiScore(*h);
        } else if (auto* s = qobject_cast<CSettingDlg*>(w)) {
            DriveSettings(*s);
        } else if (auto* a = qobject_cast<CAboutDlg*>(w)) {
            DriveAbout(*a);
        } else if (auto* m = qobject_cast<QMenu*>(w)) {
            DriveMenu(*m);
        }
        // Whatever happened, the window must not stay open: its exec would never return.
        if (w && w->isVisible()) {
            Key(w->windowHandle(), Qt::Key_Escape);
        }
        if (w && w->isVisible()) {
            Check(false, std::string("Esc left ") + w->metaObject()->className() + " open");
            w->close();
            if (auto* d = qobject_cast<QDialog*>(w.data())) {
                d->reject();
            }
        }
    }

    void DriveHiScore(CHiScoreDlg& h) {
        const GameState& st = dlg_->Flow().State();
        const std::optional<GameEnd> end = h.Ended();
        const int32_t mode = !end ? 0 : (end->row >= 0 ? 1 : 2);
        if (end) {
            // The end of a game: the graded expression is still the flow's.
            ++games_;
            const int32_t points = GradedPoints();
            const int32_t gameScore = SaturatingAdd(expScore_, points);
            const int32_t final = gameScore / std::max(app_.settings.repeatCount, 1);
            Check(st.gameScore == gameScore && st.problemIndex == expIndex_ + 1,
                  "game end: game score or problem number");
            Check(expIndex_ + 1 == app_.settings.repeatCount, "game ended early");
            Check(end->finalScore == final, "final score " + std::to_string(end->finalScore) +
                                                ", expected " + std::to_string(final));
            HighScoreTable t = expTable_;
            int row = 0;
            while (row < kHighScoreRows && t.score[row] >= final) {
                ++row;
            }
            if (row < kHighScoreRows) {
                for (int r = kHighScoreRows - 1; r > row; --r) {
                    t.name[r] = t.name[r - 1];
                    t.fullName[r] = t.fullName[r - 1];
                    t.score[r] = t.score[r - 1];
                }
                t.name[row] = "none";
                t.fullName[row].clear();
                t.score[row] = final;
                Check(mode == 1 && end->row == row, "entry mode and row");
                ++entries_;
            } else {
                Check(mode == 2, "result mode");
            }
            Check(app_.settings.highScores == t, "the final score entered the table wrongly");
            expTable_ = t;
            expIndex_ = 0;
            expScore_ = 0;
            auto* finalBox = qobject_cast<QLabel*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_FINAL));
            Check(finalBox->text() == QString::number(final), "final score box");
        }
        // The table, five rows, as the labels show it.
        auto* edit = qobject_cast<QLineEdit*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_NAME_EDIT));
        for (int k = 0; k < kHighScoreRows; ++k) {
            auto* name = static_cast<CStaticEx*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_NAME0 + k));
            auto* score = static_cast<CStaticEx*>(h.GetDlgItem(CHiScoreDlg::IDC_HS_SCORE0 + k));
            Check(name->WindowText() == ShownName(app_.settings.highScores.name[k],
                                                  app_.settings.highScores.fullName[k]),
                  "table name label " + std::to_string(k));
            Check(score->WindowText() == QString::number(app_.settings.highScores.score[k]),
                  "table score label " + std::to_string(k));
            Check(name->isHidden() == (mode == 1 && k == end->row), "table name shown");
        }
        Check(edit->isHidden() == (mode != 1), "name edit shown outside entry mode");

        QWindow* win = h.windowHandle();
        if (mode == 1) {
            for (int steps = Pick(6); steps > 0 && h.isVisible(); --steps) {
                switch (Pick(5)) {
                case 0:
                case 1:
                    TypeText(win, RandomName());
                    break;
                case 2:
                    QGuiApplication::clipboard()->setText(RandomName(true));
                    Key(win, Qt::Key_V, Qt::ControlModifier);
                    break;
                case 3:
                    Key(win, Qt::Key_Backspace);
                    break;
                default:
                    ClickAt(edit, QPoint(Pick(edit->width()), Pick(edit->height())));
                    break;
                }
            }
        }
        const QString typed = edit->text();
        const int row = mode == 1 ? end->row : -1;
        const int how = Pick(4);
        switch (how) {
        case 0:
            Key(win, Qt::Key_Return);
            break;
        case 1:
            ClickAt(h.GetDlgItem(CHiScoreDlg::IDC_HS_OK),
                    Center(h.GetDlgItem(CHiScoreDlg::IDC_HS_OK)));
            break;
        case 2:
            Key(win, mode == 1 ? Qt::Key_D : Qt::Key_C, Qt::AltModifier);
            break;
        default:
            Key(win, Qt::Key_Escape);
            break;
        }
        if (!Check(!h.isVisible(), "the high-score dialog stayed open")) {
            return;
        }
        // The game stores the name once the dialog has returned; the next check of the table
        // finds it there.
        if (mode == 1 && h.result() == QDialog::Accepted) {
            ++names_;
            Check(h.EnteredName().has_value(), "a confirmed name was not handed back");
            const StoredName name = h.EnteredName().value_or(StoredName{});
            CheckStoredName(typed, name.bytes, name.full);
            expTable_.name[row] = name.bytes;
            expTable_.fullName[row] = name.full;
        }
    }

    void DriveSettings(CSettingDlg& s) {
        const SettingsRecord before = app_.settings;
        QWindow* win = s.windowHandle();
        auto* combo = qobject_cast<QComboBox*>(s.GetDlgItem(CSettingDlg::IDC_REPEAT_COUNT));
        static const char* const kCounts[] = {"1", "2",   "3",  "5",  "10", "0",           "11",
                                              "",  "abc", " 3", "-1", "03", "99999999999", "３"};
        std::vector<const SettingDef*> switches;
        for (const SettingDef& d : SettingsTable()) {
            if (s.SwitchOf(d) != nullptr) {
                switches.push_back(&d);
            }
        }
        for (int steps = 1 + Pick(6); steps > 0 && s.isVisible(); --steps) {
            // What the change button would apply if this step applies it.
            const QString text = combo->currentText();
            std::vector<bool> checked;
            for (const SettingDef* d : switches) {
                checked.push_back(s.SwitchOf(*d)->isChecked());
            }
            switch (Pick(9)) {
            case 0:
            case 1:
                if (Chance(50)) {
                    ClickAt(combo->lineEdit(), Center(combo->lineEdit()));
                } else {
                    Key(win, Qt::Key_N, Qt::AltModifier);
                }
                Key(win, Qt::Key_A, Qt::ControlModifier);
                Key(win, Qt::Key_Delete);
                TypeText(win, QString::fromUtf8(kCounts[Pick(std::size(kCounts))]));
                break;
            case 2:
            case 3: {
                QCheckBox* box = s.SwitchOf(*switches[Pick(switches.size())]);
                if (Chance(50)) {
                    ClickAt(box, QPoint(6, box->height() / 2));
                } else {
                    // The letter after the '&' of its text.
                    const QString t = box->text();
                    const QChar letter = t.at(t.indexOf(u'&') + 1).toUpper();
                    Key(win, static_cast<Qt::Key>(letter.unicode()), Qt::AltModifier);
                }
                break;
            }
            case 4:
            case 5:
                if (Chance(50)) {
                    ClickAt(s.GetDlgItem(CSettingDlg::IDC_CHANGE),
                            Center(s.GetDlgItem(CSettingDlg::IDC_CHANGE)));
                } else {
                    Key(win, Qt::Key_G, Qt::AltModifier);
                }
                break;
            case 6:
                ClickAt(s.GetDlgItem(CSettingDlg::IDC_SHOW_HISCORE),
                        Center(s.GetDlgItem(CSettingDlg::IDC_SHOW_HISCORE)));
                break;
            case 7:
                Key(win, Qt::Key_A, Qt::AltModifier);
                break;
            default:
                Key(win, Chance(50) ? Qt::Key_Tab : Qt::Key_Return);
                break;
            }
            if (!s.isVisible() && s.result() == QDialog::Accepted) {
                // Applied: only a repeat count of plain digits 1..10 gets here.
                ++applied_;
                bool digits = !text.isEmpty();
                for (QChar c : text) {
                    digits = digits && c >= u'0' && c <= u'9';
                }
                const int count = digits && text.size() < 9 ? text.toInt() : -1;
                Check(count >= 1 && count <= 10, "applied repeat count " + text.toStdString());
                SettingsRecord want = before;
                want.repeatCount = count;
                for (size_t k = 0; k < switches.size(); ++k) {
                    want.*switches[k]->field = checked[k] ? 1 : 0;
                }
                Check(s.Applied() == std::optional(want),
                      "applied settings differ from the entries");
                // The game takes them once the dialog has returned.
                expSettings_ = want;
                // The settings command starts a new game.
                expIndex_ = 0;
                expScore_ = 0;
                return;
            }
            Check(!s.Applied() && app_.settings == before,
                  "settings changed while the dialog stays open");
        }
        if (s.isVisible()) {
            if (Chance(50)) {
                ClickAt(s.GetDlgItem(CSettingDlg::IDC_CLOSE),
                        Center(s.GetDlgItem(CSettingDlg::IDC_CLOSE)));
            } else {
                Key(win, Chance(50) ? Qt::Key_Escape : Qt::Key_C,
                    Chance(50) ? Qt::NoModifier : Qt::AltModifier);
            }
        }
        if (!s.isVisible()) {
            Check(s.result() == QDialog::Accepted || !s.Applied(), "settings changed by closing");
        }
    }

    void DriveAbout(CAboutDlg& a) {
        switch (Pick(3)) {
        case 0:
            ClickAt(a.OkButton(), Center(a.OkButton()));
            break;
        case 1:
            Key(a.windowHandle(), Qt::Key_Return);
            break;
        default:
            Key(a.windowHandle(), Qt::Key_Escape);
            break;
        }
        Check(!a.isVisible(), "the version dialog stayed open");
    }

    void DriveMenu(QMenu& m) {
        // A right press opened the menu: its button comes up first, over the menu.
        if (rightDown_) {
            rightDown_ = false;
            QTest::mouseRelease(m.windowHandle(), Qt::RightButton, {}, QPoint(1, 1));
        }
        // Minimizing is left out: nothing of the game happens there.
        QList<QAction*> items;
        for (QAction* a : m.actions()) {
            if (!a->isSeparator() && !a->text().startsWith(QStringLiteral("最小化"))) {
                items.push_back(a);
            }
        }
        if (items.isEmpty() || Chance(30)) {
            Key(m.windowHandle(), Qt::Key_Escape);
            return;
        }
        QAction* a = items[Pick(static_cast<int>(items.size()))];
        const QPoint at = m.actionGeometry(a).center();
        QTest::mouseMove(m.windowHandle(), at);
        QTest::mouseClick(m.windowHandle(), Qt::LeftButton, {}, at);
        // A disabled entry keeps the menu open; the caller's Esc closes it.
    }

    // ---- input

    void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
        // A window manager gives the activation back to the window when a list, menu or
        // dialog over it closes; the offscreen platform leaves it with the closed window.
        if (QApplication::activePopupWidget() == nullptr && dlg_->isVisible() &&
            !dlg_->isActiveWindow()) {
            Activate(dlg_.get());
        }
    }

    // Without waiting on the clock, so that a seed replays the same run: the offscreen
    // platform activates a window within the events it queues at once.
    void Activate(QWidget* w) {
        w->activateWindow();
        for (int i = 0; i < 3 && !w->isActiveWindow(); ++i) {
            QCoreApplication::processEvents();
        }
        Check(w->isActiveWindow(), std::string(w->metaObject()->className()) + " not active");
    }

    void ClickAt(QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* top = w->window();
        QWindow* win = top->windowHandle();
        const QPoint p = w->mapTo(top, local);
        QTest::mouseMove(win, p);
        QTest::mouseClick(win, button, {}, p);
    }

    void Key(QWindow* win, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(win, key, mods);
        FinishAnimatedClicks();
    }

    // A mnemonic presses its button and lets it go on a 100 ms timer, as a keyboard click
    // shows on screen. The next action waits for that click (and whatever it opens), so that
    // it never lands at a point that depends on the clock.
    void FinishAnimatedClicks() {
        for (int waited = 0; waited < 2000; waited += 5) {
            bool down = false;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (!top->isVisible()) {
                    continue;
                }
                for (QAbstractButton* b : top->findChildren<QAbstractButton*>()) {
                    down = down || (b->isVisible() && b->isDown());
                }
            }
            if (!down) {
                return;
            }
            QTest::qWait(5);
        }
        Check(false, "a button stayed down");
    }

    // As a keyboard types: one key event per character, carrying the character's text.
    void TypeText(QWindow* win, const QString& text) {
        for (uint c : text.toUcs4()) {
            const char32_t one[1] = {static_cast<char32_t>(c)};
            QTest::sendKeyEvent(QTest::Click, win, Qt::Key_unknown, QString::fromUcs4(one, 1),
                                Qt::NoModifier);
        }
    }

    QString RandomName(bool paste = false) {
        QString name;
        switch (Pick(8)) {
        case 0:
            return name; // nothing
        case 1: {
            // Very long: a piece many times over.
            const QString piece = QString::fromUtf8(kInside[Pick(std::size(kInside))]);
            for (int n = 100 + Pick(400); n > 0; --n) {
                name += piece;
            }
            return name;
        }
        default:
            break;
        }
        for (int n = 1 + Pick(8); n > 0; --n) {
            const int r = Pick(10);
            if (r < 6) {
                name += QString::fromUtf8(kInside[Pick(std::size(kInside))]);
            } else if (r < 9 || !paste) {
                name += QString::fromUtf8(kOutside[Pick(std::size(kOutside))]);
            } else if (Chance(80)) {
                name += QString::fromUtf8(kPasteOnly[Pick(std::size(kPasteOnly))]);
            } else {
                name += QChar(u'\0');
            }
        }
        return name;
    }

    int Pick(size_t n) { return static_cast<int>(rng_() % n); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QWindow* MainWindow() { return dlg_->windowHandle(); }
    // Keys go where a keyboard's would: the open list or menu first.
    QWindow* KeyWindow() {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup->windowHandle() : MainWindow();
    }

    void OpenWindow() {
        dlg_.reset();
        dlg_ = std::make_unique<CGameDlg>(
            app_, [this] { return static_cast<int32_t>(digitRng_() % 32768); });
        dlg_->show();
        Activate(dlg_.get());
        expIndex_ = 0;
        expScore_ = 0;
    }

    // One action of a player.
    void Act() {
        static const int kLabels[] = {IDC_POWER0, IDC_POWER0 + 1, IDC_POWER0 + 2, IDC_POWER0 + 3,
                                      IDC_OP0,    IDC_OP0 + 1,    IDC_OP0 + 2,    IDC_OP0 + 3,
                                      IDC_RANK0,  IDC_RANK0 + 1,  IDC_RANK0 + 2,  IDC_RANK0 + 3,
                                      IDC_RESULT};
        // Grading weighs most, so that games run to their end between retries and exits.
        static const int kButtons[] = {IDC_EVALUATE, IDC_EVALUATE, IDC_RETRY,    IDC_GRADE,
                                       IDC_GRADE,    IDC_GRADE,    IDC_SETTINGS, IDOK};
        static const int kPassive[] = {IDC_PROBLEM_NO, IDC_DIGIT0, IDC_DIGIT0 + 3,
                                       IDC_SCORE_CAPTION, IDC_POINTS};
        struct Mnemonic {
            Qt::Key key;
            const char* name;
        };
        static const Mnemonic kMnemonics[] = {{Qt::Key_Equal, "Alt+="},    {Qt::Key_R, "Alt+R"},
                                              {Qt::Key_M, "Alt+M"},        {Qt::Key_M, "Alt+M"},
                                              {Qt::Key_S, "Alt+S"},        {Qt::Key_X, "Alt+X"},
                                              {Qt::Key_Space, "Alt+Space"}};

        QWidget* popup = QApplication::activePopupWidget();
        const int32_t open = dlg_->Flow().OpenChooser();
        QComboBox* list =
            open != ChooserNone ? dlg_->Chooser(IDC_POWER_CHOOSER + open - 1) : nullptr;
        const int r = Pick(100);
        if (list != nullptr && popup != nullptr && r < 30) {
            // In the open list.
            if (r < 18) {
                const int item = Pick(static_cast<size_t>(list->count()));
                QAbstractItemView* view = list->view();
                const QRect rect = view->visualRect(list->model()->index(item, 0));
                lastAction_ = "pick item " + std::to_string(item);
                ++picks_;
                ClickAt(view->viewport(), QPoint(view->viewport()->width() / 2, rect.center().y()));
            } else if (r < 22) {
                lastAction_ = "Esc in the list";
                Key(KeyWindow(), Qt::Key_Escape);
            } else if (r < 26) {
                lastAction_ = "Down, Enter in the list";
                Key(KeyWindow(), Chance(50) ? Qt::Key_Down : Qt::Key_Up);
                Key(KeyWindow(), Qt::Key_Return);
            } else {
                lastAction_ = "Enter in the list";
                Key(KeyWindow(), Qt::Key_Return);
            }
            return;
        }
        if (r < 45) {
            const int id = kLabels[Pick(std::size(kLabels))];
            lastAction_ = "click label " + std::to_string(id);
            ClickAt(dlg_->Control(id), Center(dlg_->Control(id)));
        } else if (r < 65) {
            const int id = kButtons[Pick(std::size(kButtons))];
            lastAction_ = "click button " + std::to_string(id);
            ClickAt(dlg_->Control(id), Center(dlg_->Control(id)));
        } else if (r < 72) {
            if (Chance(50)) {
                const int id = kPassive[Pick(std::size(kPassive))];
                lastAction_ = "click passive " + std::to_string(id);
                ClickAt(dlg_->Control(id), Center(dlg_->Control(id)));
            } else {
                const QPoint at(Pick(static_cast<size_t>(dlg_->width())),
                                Pick(static_cast<size_t>(dlg_->height())));
                lastAction_ = "click at " + std::to_string(at.x()) + "," + std::to_string(at.y());
                ClickAt(dlg_.get(), at);
            }
        } else if (r < 84) {
            static const Qt::Key kKeys[] = {Qt::Key_Return,  Qt::Key_Escape, Qt::Key_Tab,
                                            Qt::Key_Backtab, Qt::Key_Space,  Qt::Key_Down};
            const Qt::Key k = kKeys[Pick(std::size(kKeys))];
            lastAction_ = "key " + std::to_string(static_cast<int>(k));
            Key(KeyWindow(), k);
        } else if (r < 96) {
            const Mnemonic& m = kMnemonics[Pick(std::size(kMnemonics))];
            lastAction_ = m.name;
            Key(KeyWindow(), m.key, Qt::AltModifier);
        } else {
            lastAction_ = "right click";
            const QPoint at(Pick(static_cast<size_t>(dlg_->width())),
                            Pick(static_cast<size_t>(dlg_->height())));
            // The press opens the window menu and runs it; the release follows over the menu,
            // or here when no menu came up.
            rightDown_ = true;
            QTest::mouseMove(MainWindow(), at);
            QTest::mousePress(MainWindow(), Qt::RightButton, {}, at);
            if (rightDown_) {
                rightDown_ = false;
                QTest::mouseRelease(MainWindow(), Qt::RightButton, {}, at);
            }
        }
    }

    const uint64_t seed_;
    std::mt19937_64 rng_;
    std::mt19937 digitRng_;
    std::set<uint> outside_;
    CGameApp app_;
    std::unique_ptr<CGameDlg> dlg_;
    fakes::BoxResponder responder_;

    // What the flow's rules say the counters and the table are.
    int32_t expIndex_ = 0;
    int32_t expScore_ = 0;
    HighScoreTable expTable_;
    std::optional<SettingsRecord> expSettings_;

    int action_ = 0;
    std::string lastAction_;
    bool rightDown_ = false;
    bool failed_ = false;
    long checks_ = 0;
    long grades_ = 0;
    long games_ = 0;
    long entries_ = 0;
    long names_ = 0;
    long boxes_ = 0;
    long dialogs_ = 0;
    long picks_ = 0;
    long applied_ = 0;
    long exits_ = 0;
};

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so for every list and menu it cannot raise or grab for; tens of
// thousands of those lines would bury anything else.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QStringLiteral("This plugin does not support"))) {
        previousHandler(type, context, text);
    }
}

TEST(SoakTest, RandomPlayKeepsTheWindowTheFlowAndTheRecordsTrue) {
    previousHandler = qInstallMessageHandler(QuietOffscreen);
    const uint64_t seed = EnvNumber("VOSTREL_SOAK_SEED", 20050117);
    const int actions = static_cast<int>(EnvNumber("VOSTREL_SOAK_ACTIONS", 3000));
    Soak soak(seed);
    soak.Run(actions);
    std::printf("soak: %s\n", soak.Summary().c_str());
    EXPECT_FALSE(soak.failed());
    qInstallMessageHandler(previousHandler);
}

} // namespace
} // namespace vostrel
