#include "ui/CGameDlg.h"

#include "app/Version.h"
#include "app/WinConstants.h"
#include "engine/ExpressionModel.h"
#include "game/SpokenText.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/CStaticEx.h"
#include "ui/ChooserLists.h"
#include "ui/ControlIds.h"
#include "ui/FocusSpeech.h"
#include "ui/GameDialogs.h"
#include "ui/desktop/KeyboardReturn.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/Fonts.h"
#include "ui/platform/HeldKeyGuard.h"
#include "ui/platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <utility>

namespace vostrel {

namespace {

const QString kFace = QStringLiteral("MS UI Gothic");
const QColor kLabelBack(200, 200, 255);
// A label that a hint laid, until the player chooses it again.
const QColor kHintBack(255, 225, 130);
const QColor kResultBack(220, 220, 255);
const QColor kPointsBack(220, 220, 220);

// The slot of a clickable label's id; nullopt for the result and points labels.
std::optional<Slot> SlotOfId(int id) {
    for (const auto& [first, row] : {std::pair{IDC_POWER0, Row::Power}, std::pair{IDC_OP0, Row::Op},
                                     std::pair{IDC_RANK0, Row::Rank}}) {
        if (id >= first && id < first + kPositions) {
            return Slot{row, id - first};
        }
    }
    return std::nullopt;
}
constexpr uint32_t kSmallLabelStyle = SS_CENTER | SS_CENTERIMAGE;
constexpr uint32_t kDisplayStyle = SS_RIGHT | SS_CENTERIMAGE | SS_SUNKEN;

QPushButton* MakeButton(QWidget* parent, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

} // namespace

CGameDlg::CGameDlg(CGameApp& app, RandomSource random, QWidget* parent)
    : QDialog(parent), app_(app) {
    // The window icon is the application's, which start-up sets once the first window shows.
    InitDialogWindow(this, QString::fromLatin1(kProductName), Qt::WindowMinimizeButtonHint);
    // The help, opened here or over any dialog of the window, tells of this run's file.
    CHelpDlg::SetSettingsPath(this, app_.settingsPath);

    dialogFont_ = font();
    digitFont_ = MakeCellFont(28, kFace);
    gapFont_ = MakeCellFont(14, kFace);
    // Cells of the same height take the same font.
    powerFont_ = gapFont_;
    resultFont_ = digitFont_;
    pointsFont_ = MakeCellFont(18, kFace);

    CreateTemplateControls();
    CreateRunTimeLabels();
    lists_->CreateNamesAndKeyGuard();
    CreateCommands();
    new KeyboardReturn(this);
    speech_ = new FocusSpeech(this);
    for (QPushButton* b : {evaluate_, retry_, grade_, settings_, exit_}) {
        speech_->Watch(b);
    }
    for (const auto* row : {&power_, &op_, &rank_}) {
        for (CStaticEx* s : *row) {
            speech_->Watch(s);
        }
    }

    flow_ = std::make_unique<GameFlow>(app_, *this, std::move(random));
    lists_->OnItemChosen([this](int32_t item) { flow_->OnItemChosen(item); });
    lists_->OnClosed([this] { flow_->OnChooserClosed(); });
    flow_->StartGame();
    EnableCommands();
}

CGameDlg::~CGameDlg() = default;

void CGameDlg::CreateTemplateControls() {
    const DialogBaseUnits bu = BaseUnitsOf(dialogFont_);
    setFixedSize(MapDialogRect(bu, 0, 0, 150, 150).size());

    // Created in the template's tab order, which Qt's focus chain follows.
    problemNo_ = MakeStatic(this, QStringLiteral("No.xx"), Qt::AlignLeft | Qt::AlignTop);
    PlaceInDialogUnits(problemNo_, bu, 7, 7, 18, 10);
    // "No.10" is a little wider than the template's box in the substituted font; the box
    // grows to the right, where nothing lies before the first power label.
    const int noWidth = QFontMetrics(dialogFont_).horizontalAdvance(QStringLiteral("No.10")) + 2;
    if (problemNo_->width() < noWidth) {
        problemNo_->resize(noWidth, problemNo_->height());
    }

    evaluate_ = MakeButton(this, ButtonText(Command::Evaluate));
    PlaceInDialogUnits(evaluate_, bu, 30, 66, 15, 19);
    // Every try costs points: a held key is one try.
    new HeldKeyGuard(evaluate_);

    //: Caption of the box with the points of the last "=" (not the game's score).
    scoreCaption_ = MakeStatic(this, tr("スコア："), Qt::AlignLeft | Qt::AlignTop);
    PlaceInDialogUnits(scoreCaption_, bu, 7, 106, 20, 12);
    // Likewise the caption, up to the points label that follows it.
    const int captionWidth = QFontMetrics(dialogFont_).horizontalAdvance(scoreCaption_->text());
    if (scoreCaption_->width() < captionWidth) {
        scoreCaption_->resize(std::min(captionWidth + 1, 50 - scoreCaption_->x()),
                              scoreCaption_->height());
    }

    retry_ = MakeButton(this, ButtonText(Command::Retry));
    PlaceInDialogUnits(retry_, bu, 69, 100, 39, 20);
    grade_ = MakeButton(this, ButtonText(Command::Grade));
    PlaceInDialogUnits(grade_, bu, 113, 100, 30, 20);
    settings_ = MakeButton(this, ButtonText(Command::Settings));
    PlaceInDialogUnits(settings_, bu, 7, 123, 32, 20);
    exit_ = MakeButton(this, ButtonText(Command::Exit));
    PlaceInDialogUnits(exit_, bu, 113, 123, 30, 20);
    exit_->setDefault(true);

    lists_ = new ChooserLists(this, evaluate_, powerFont_, gapFont_);
    PlaceInDialogUnits(lists_->List(ChooserPower), bu, 14, 39, 25, 77);
    PlaceInDialogUnits(lists_->List(ChooserSign), bu, 43, 43, 24, 60);
    PlaceInDialogUnits(lists_->List(ChooserOp), bu, 64, 43, 21, 71);
    PlaceInDialogUnits(lists_->List(ChooserRank), bu, 95, 37, 24, 60);

    for (int k = 0; k < 4; ++k) {
        digits_[k] = MakeStatic(this, QString::number(k + 1), Qt::AlignCenter);
        PlaceInDialogUnits(digits_[k], bu, 27 + 25 * k, 20, 15, 20);
        digits_[k]->setFont(digitFont_);
        // Each column of the problem is laid out on a 50-pixel pitch.
        digits_[k]->move(45 + 50 * k, 30);
    }
}

void CGameDlg::CreateRunTimeLabels() {
    auto make = [this](int id, const QString& text, const PixelRect& r, uint32_t style,
                       const QColor& back) {
        auto* s = new CStaticEx(this);
        s->Create(text, style, r, this, id);
        s->ModifyStyle(0, SS_NOTIFY);
        s->SetBackColor(back);
        if (SlotOfId(id)) {
            s->setFocusPolicy(Qt::TabFocus);
        }
        connect(s, &CStaticEx::clicked, this, &CGameDlg::OnLabelActivated);
        return s;
    };
    for (int k = 0; k < 4; ++k) {
        op_[k] = make(IDC_OP0 + k, QStringLiteral("+"), {30 + 50 * k, 30, 45 + 50 * k, 60},
                      kSmallLabelStyle, kLabelBack);
        op_[k]->setFont(gapFont_);
    }
    const char* const powerTexts[4] = {"1/2", "1/3", "√", "3"};
    for (int k = 0; k < 4; ++k) {
        power_[k] = make(IDC_POWER0 + k, QString::fromUtf8(powerTexts[k]),
                         {55 + 50 * k, 7, 90 + 50 * k, 27}, kSmallLabelStyle, kLabelBack);
        power_[k]->setFont(powerFont_);
    }
    for (int k = 0; k < 4; ++k) {
        // The rank labels keep the window's own font.
        rank_[k] = make(IDC_RANK0 + k, QString::number(k + 1), {30 + 50 * k, 63, 45 + 50 * k, 83},
                        kSmallLabelStyle, kLabelBack);
    }
    result_ = make(IDC_RESULT, QStringLiteral("12345678901"), {80, 100, 250, 130}, kDisplayStyle,
                   kResultBack);
    // The substituted face has wider digits than the original one: the result font shrinks
    // until the widest value still fits inside the label's border.
    const QString widest = QStringLiteral("-2147483648 ");
    resultFont_ = ShrinkToWidth(resultFont_, widest, result_->contentsRect().width(), 8);
    result_->setFont(resultFont_);
    evaluate_->setFont(resultFont_);
    points_ = make(IDC_POINTS, QStringLiteral("1234567"), {50, 155, 105, 180}, kDisplayStyle,
                   kPointsBack);
    points_->setFont(pointsFont_);

    // "=" first, then the labels as they are read, row by row, then the buttons in their order.
    QWidget* previous = evaluate_;
    for (const auto* row : {&power_, &op_, &rank_}) {
        for (CStaticEx* s : *row) {
            setTabOrder(previous, s);
            previous = s;
        }
    }
    for (QWidget* b : {retry_, grade_, settings_, exit_}) {
        setTabOrder(previous, b);
        previous = b;
    }
}

void CGameDlg::CreateCommands() {
    // Every command takes an open list first (the flow does, as it runs one). Those from a
    // button are dropped while another modal window is up or opening: a mnemonic's delayed
    // click or a queued key may still be on its way.
    windowMenu_ = new QMenu(this);
    windowMenu_->installEventFilter(this);
    for (const CommandDef& c : Commands()) {
        QPushButton* button = ButtonOf(c.id);
        const auto run = [this, id = c.id, button] {
            if (button == nullptr || !Covered()) {
                flow_->Do(id);
                if (id == Command::Minimise) {
                    showMinimized();
                }
            }
        };
        if (button != nullptr) {
            connect(button, &QPushButton::clicked, this, run);
            continue;
        }
        QAction* action = windowMenu_->addAction(QString::fromStdString(CommandText(c)));
        connect(action, &QAction::triggered, this, run);
        if (c.key != nullptr) {
            // Shown beside the entry and taken anywhere in the window; a held key is one press.
            action->setShortcut(
                QKeySequence::fromString(QString::fromLatin1(c.key), QKeySequence::PortableText));
            action->setShortcutContext(Qt::WindowShortcut);
            action->setAutoRepeat(false);
            addAction(action);
        }
        if (c.enabled != nullptr) {
            ruledActions_.emplace_back(action, c.id);
        }
    }
    // Then the dialogs of the menu, a shortcut shown beside its entry and taken anywhere in the
    // window.
    windowMenu_->addSeparator();
    for (const GameDialog& d : GameDialogs()) {
        if (d.menuText == nullptr) {
            continue;
        }
        QAction* action = windowMenu_->addAction(MenuText(d));
        connect(action, &QAction::triggered, this, [this, &d] {
            flow_->Do(Command::TakeList);
            d.run(app_, this);
        });
        if (d.shortcut != QKeySequence::UnknownKey || d.key.key() != Qt::Key_unknown) {
            if (d.shortcut != QKeySequence::UnknownKey) {
                action->setShortcut(d.shortcut);
            } else {
                action->setShortcut(QKeySequence(d.key));
            }
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
    }
    connect(windowMenu_, &QMenu::aboutToShow, this, &CGameDlg::EnableCommands);
    // Alt+Space as on the original platform, though a window manager may keep it for its own
    // menu, and Shift+F10, the menu key of keyboards without one. The Menu key itself comes as
    // a context-menu request (contextMenuEvent).
    for (const QKeyCombination key : {Qt::ALT | Qt::Key_Space, Qt::SHIFT | Qt::Key_F10}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (!Covered()) {
                ShowWindowMenu(mapToGlobal(QPoint(0, 0)), true);
            }
        });
    }
}

QPushButton* CGameDlg::ButtonOf(Command c) const {
    switch (c) {
    case Command::Evaluate:
        return evaluate_;
    case Command::Grade:
        return grade_;
    case Command::Retry:
        return retry_;
    case Command::Settings:
        return settings_;
    case Command::Exit:
        return exit_;
    default:
        return nullptr;
    }
}

QString CGameDlg::ButtonText(Command c) {
    return QString::fromStdString(CommandText(CommandOf(c)));
}

void CGameDlg::EnableCommands() {
    for (const auto& [action, id] : ruledActions_) {
        action->setEnabled(flow_->Enabled(id));
    }
}

bool CGameDlg::Covered() const {
    const QWindow* modal = QGuiApplication::modalWindow();
    return modal != nullptr && modal != windowHandle();
}

void CGameDlg::OnLabelActivated(int id) {
    if (Covered()) {
        return;
    }
    // Opened from the keyboard (only then has a label the focus): the focus comes back to it.
    CStaticEx* s = Label(id);
    lists_->SetFocusBack(s != nullptr && focusWidget() == s ? s : nullptr);
    if (const std::optional<Slot> slot = SlotOfId(id)) {
        flow_->OnSlotClicked(*slot);
    } else if (id == IDC_RESULT) {
        flow_->OnResultClicked();
    } else {
        // The points report no clicks of their own: the click lands on the background.
        flow_->OnBackgroundClicked();
    }
    if (!lists_->IsOpen()) {
        lists_->SetFocusBack(nullptr);
    }
}

void CGameDlg::ShowWindowMenu(const QPoint& globalPos, bool fromKeyboard) {
    flow_->CommitChooser();
    menuFromKeyboard_ = fromKeyboard;
    windowMenu_->exec(globalPos);
}

QWidget* CGameDlg::Control(int id) const {
    if (CStaticEx* s = Label(id)) {
        return s;
    }
    if (QComboBox* c = Chooser(id)) {
        return c;
    }
    if (id >= IDC_DIGIT0 && id < IDC_DIGIT0 + 4) {
        return digits_[id - IDC_DIGIT0];
    }
    switch (id) {
    case IDC_PROBLEM_NO:
        return problemNo_;
    case IDC_SCORE_CAPTION:
        return scoreCaption_;
    case IDC_EVALUATE:
        return evaluate_;
    case IDC_RETRY:
        return retry_;
    case IDC_GRADE:
        return grade_;
    case IDC_SETTINGS:
        return settings_;
    case IDOK:
        return exit_;
    default:
        return nullptr;
    }
}

CStaticEx* CGameDlg::Label(int id) const {
    if (id >= IDC_POWER0 && id < IDC_POWER0 + 4) {
        return power_[id - IDC_POWER0];
    }
    if (id >= IDC_OP0 && id < IDC_OP0 + 4) {
        return op_[id - IDC_OP0];
    }
    if (id >= IDC_RANK0 && id < IDC_RANK0 + 4) {
        return rank_[id - IDC_RANK0];
    }
    if (id == IDC_RESULT) {
        return result_;
    }
    if (id == IDC_POINTS) {
        return points_;
    }
    return nullptr;
}

QComboBox* CGameDlg::Chooser(int id) const {
    if (id >= IDC_POWER_CHOOSER && id <= IDC_RANK_CHOOSER) {
        return lists_->List(static_cast<ChooserKind>(ChooserPower + (id - IDC_POWER_CHOOSER)));
    }
    return nullptr;
}

int32_t CGameDlg::MessageBox(const std::string& text, const std::string& caption, uint32_t style) {
    return ShowMessageBox(this, text, caption, style);
}

CStaticEx* CGameDlg::SlotLabel(Slot s) const {
    const std::array<const std::array<CStaticEx*, 4>*, kRows> rows = {&power_, &op_, &rank_};
    return (*rows[static_cast<int>(s.row)])[s.pos];
}

void CGameDlg::Render(const Screen& s) {
    const ListView& was = drawn_.list;
    const bool dropped = s.list.kind != ChooserNone && s.list.opening != was.opening;
    if (was.kind != ChooserNone && (s.list.kind == ChooserNone || dropped)) {
        lists_->Hide(was.kind);
    }

    problemNo_->setText(QString::fromStdString(s.problemNo.text));
    problemNo_->setVisible(s.problemNo.visible);
    for (int k = 0; k < kPositions; ++k) {
        digits_[k]->setText(QString::number(s.digits[k]));
    }
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot slot{static_cast<Row>(r), k};
            DrawLabel(SlotLabel(slot), s[slot], drawn_[slot]);
            ShowLabel(SlotLabel(slot), s[slot].visible);
        }
    }
    DrawLabel(result_, s.result, drawn_.result);
    DrawLabel(points_, s.points, drawn_.points);
    // Named before anything is said: a sentence its name already says is left out.
    const QString evaluateName = QString::fromStdString(s.evaluateName);
    if (evaluate_->accessibleName() != evaluateName) {
        evaluate_->setAccessibleName(evaluateName);
    }

    for (const std::string& sentence : s.speech) {
        speech_->Say(QString::fromStdString(sentence));
    }
    if (s.focusEvaluate) {
        evaluate_->setFocus(Qt::OtherFocusReason);
    }
    if (dropped) {
        // A sign or gap list takes the place of the rank label under its label, above the
        // labels around it, so the operator stays in sight; the others drop over their own.
        lists_->Drop(s.list, SlotLabel(s.list.covered)->pos(), !(s.list.covered == s.list.owner),
                     SlotLabel(s.list.owner)->accessibleName());
    }
    drawn_ = s;
    drawn_.speech.clear();
}

void CGameDlg::DrawLabel(CStaticEx* s, const LabelView& v, const LabelView& drawn) {
    s->SetWindowText(QString::fromStdString(v.text), QString::fromStdString(v.word));
    if (v.align != drawn.align) {
        const uint32_t bit = v.align == TextAlign::Center
                                 ? SS_CENTER
                                 : (v.align == TextAlign::Right ? SS_RIGHT : SS_LEFT);
        s->ModifyStyle(SS_CENTER | SS_RIGHT, bit);
    }
    s->setEnabled(v.enabled);
    if (v.hinted != drawn.hinted) {
        s->SetBackColor(v.hinted ? kHintBack : kLabelBack);
    }
    // Only a changed name is set: a reader drops what it is told in a flood.
    const QString name = QString::fromStdString(v.name);
    if (s->accessibleName() != name) {
        s->setAccessibleName(name);
    }
}

void CGameDlg::ShowLabel(QWidget* w, bool show) {
    if (!show && w->hasFocus()) {
        // Its list takes the focus next; hidden with it, the focus would pass to the next
        // label first, and a reader would name that one.
        w->clearFocus();
    }
    w->setVisible(show);
    if (show) {
        lists_->LabelShown(w);
    }
}

bool CGameDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == windowMenu_ && e->type() == QEvent::Show &&
        std::exchange(menuFromKeyboard_, false)) {
        // Opened from the keyboard, the menu shows with its first entry selected, so a reader
        // names it and Enter takes it; a click opens it with nothing selected.
        const QList<QAction*> actions = windowMenu_->actions();
        const auto first = std::find_if(actions.begin(), actions.end(), [](const QAction* a) {
            return a->isEnabled() && !a->isSeparator();
        });
        if (first != actions.end()) {
            windowMenu_->setActiveAction(*first);
        }
    }
    return QDialog::eventFilter(watched, e);
}

std::optional<StoredName> CGameDlg::AskName(const GameEnd& end) {
    CHiScoreDlg dlg(end, this);
    if (end.row >= 0) {
        dlg.KeepTypedName([this, row = end.row](const StoredName& typed) {
            app_.typedName = {row, typed};
        });
    }
    dlg.DoModal();
    app_.typedName = {};
    return dlg.EnteredName();
}

std::optional<SettingsRecord> CGameDlg::AskSettings(const SettingsRecord& now, bool gameRunning) {
    CSettingDlg dlg(now, gameRunning, this);
    dlg.DoModal();
    return dlg.Applied();
}

void CGameDlg::EndDialog(int32_t result) {
    QDialog::done(result);
}

void CGameDlg::reject() {
    // Esc: the exit question decides; the window ends only through EndDialog.
    flow_->RequestExit(IDCANCEL);
}

void CGameDlg::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (isVisible() && !Covered()) {
        flow_->RequestExit(IDCANCEL);
    }
}

void CGameDlg::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        // The background, a label that reports no clicks, or a disabled label.
        flow_->OnBackgroundClicked();
        e->accept();
        return;
    }
    QDialog::mousePressEvent(e);
}

void CGameDlg::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
}

void CGameDlg::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() == Qt::NoModifier && MoveLabelFocus(e->key())) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool CGameDlg::MoveLabelFocus(int key) {
    const std::array<const std::array<CStaticEx*, 4>*, 3> rows = {&power_, &op_, &rank_};
    int dr = 0;
    int dk = 0;
    switch (key) {
    case Qt::Key_Left:
        dk = -1;
        break;
    case Qt::Key_Right:
        dk = 1;
        break;
    case Qt::Key_Up:
        dr = -1;
        break;
    case Qt::Key_Down:
        dr = 1;
        break;
    default:
        return false;
    }
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 4; ++k) {
            if (focusWidget() != (*rows[r])[k]) {
                continue;
            }
            // The nearest label that way that can take the focus; none: the focus stays.
            for (int nr = r + dr, nk = k + dk; nr >= 0 && nr < 3 && nk >= 0 && nk < 4;
                 nr += dr, nk += dk) {
                CStaticEx* next = (*rows[nr])[nk];
                if (next->isEnabled() && next->isVisible()) {
                    next->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
            return true;
        }
    }
    return false;
}

void CGameDlg::contextMenuEvent(QContextMenuEvent* e) {
    if (e->reason() == QContextMenuEvent::Mouse) {
        QWidget* child = childAt(e->pos());
        if (qobject_cast<QAbstractButton*>(child) != nullptr ||
            qobject_cast<QComboBox*>(child) != nullptr) {
            e->ignore();
            return;
        }
    }
    e->accept();
    const bool fromKeyboard = e->reason() != QContextMenuEvent::Mouse;
    ShowWindowMenu(fromKeyboard ? mapToGlobal(QPoint(0, 0)) : e->globalPos(), fromKeyboard);
}

} // namespace vostrel
