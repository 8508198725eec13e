#include "ui/CGameDlg.h"

#include "app/Version.h"
#include "app/WinConstants.h"
#include "engine/ExpressionModel.h"
#include "game/ControlIds.h"
#include "game/SpokenText.h"
#include "ui/CAboutDlg.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/CStaticEx.h"
#include "ui/FocusSpeech.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/DropDownListStyle.h"
#include "ui/platform/Fonts.h"
#include "ui/platform/HeldKeyGuard.h"
#include "ui/platform/KeyboardReturn.h"
#include "ui/platform/ListKeyGuard.h"
#include "ui/platform/ListRowDelegate.h"
#include "ui/platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace vostrel {

namespace {

const QString kFace = QStringLiteral("MS UI Gothic");
const QColor kLabelBack(200, 200, 255);
const QColor kResultBack(220, 220, 255);
const QColor kPointsBack(220, 220, 220);
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

    dialogFont_ = font();
    digitFont_ = MakeCellFont(28, kFace);
    gapFont_ = MakeCellFont(14, kFace);
    // Cells of the same height take the same font.
    powerFont_ = gapFont_;
    resultFont_ = digitFont_;
    pointsFont_ = MakeCellFont(18, kFace);

    CreateTemplateControls();
    CreateRunTimeLabels();
    CreateChoosers();
    CreateWindowMenu();
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
    flow_->StartGame();
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

    evaluate_ = MakeButton(this, QStringLiteral("&="));
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

    //: Button: starts a new game. Keep the letter R.
    retry_ = MakeButton(this, tr("やり直し(&R)"));
    PlaceInDialogUnits(retry_, bu, 69, 100, 39, 20);
    //: Button: submits the expression for its points and goes on. Keep the letter M.
    grade_ = MakeButton(this, tr("採点(&M)"));
    PlaceInDialogUnits(grade_, bu, 113, 100, 30, 20);
    //: Button: opens the settings. Keep the letter S.
    settings_ = MakeButton(this, tr("設定(&S)"));
    PlaceInDialogUnits(settings_, bu, 7, 123, 32, 20);
    //: Button: ends the game. Keep the letter X.
    exit_ = MakeButton(this, tr("終了(&X)"));
    PlaceInDialogUnits(exit_, bu, 113, 123, 30, 20);
    exit_->setDefault(true);

    for (int k = 0; k < 4; ++k) {
        auto* c = new QComboBox(this);
        // Only its dropped list takes the keyboard: a field with the focus would be read as a
        // combo box named by its item's text ("+", or nothing at all).
        c->setFocusPolicy(Qt::NoFocus);
        choosers_[k] = c;
    }
    PlaceInDialogUnits(choosers_[0], bu, 14, 39, 25, 77);
    PlaceInDialogUnits(choosers_[1], bu, 43, 43, 24, 60);
    PlaceInDialogUnits(choosers_[2], bu, 64, 43, 21, 71);
    PlaceInDialogUnits(choosers_[3], bu, 95, 37, 24, 60);

    for (int k = 0; k < 4; ++k) {
        digits_[k] = MakeStatic(this, QString::number(k + 1), Qt::AlignCenter);
        PlaceInDialogUnits(digits_[k], bu, 27 + 25 * k, 20, 15, 20);
        digits_[k]->setFont(digitFont_);
        // Each column of the problem is laid out on a 50-pixel pitch.
        digits_[k]->move(45 + 50 * k, 30);
    }

    const auto command = [this](void (GameFlow::*op)()) {
        return [this, op] {
            if (!Covered()) {
                (flow_.get()->*op)();
            }
        };
    };
    connect(evaluate_, &QPushButton::clicked, this, command(&GameFlow::EvaluateTry));
    connect(retry_, &QPushButton::clicked, this, command(&GameFlow::RetryGame));
    connect(grade_, &QPushButton::clicked, this, command(&GameFlow::GradeProblem));
    connect(settings_, &QPushButton::clicked, this, command(&GameFlow::OpenSettings));
    connect(exit_, &QPushButton::clicked, this, [this] {
        if (!Covered()) {
            flow_->RequestExit(IDOK);
        }
    });
}

void CGameDlg::CreateRunTimeLabels() {
    auto make = [this](int id, const QString& text, const PixelRect& r, uint32_t style,
                       const QColor& back) {
        auto* s = new CStaticEx(this);
        s->Create(text, style, r, this, id);
        s->ModifyStyle(0, SS_NOTIFY);
        s->SetBackColor(back);
        if (ChooserOfLabel(id) != 0) {
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
    NameLabels();

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

void CGameDlg::NameLabels() {
    for (int id = IDC_POWER0; id <= IDC_POINTS; ++id) {
        CStaticEx* s = Label(id);
        const QString name = QString::fromStdString(ControlName(id, shownDigits_));
        // Only a changed name is set: a reader drops what it is told in a flood.
        if (s != nullptr && s->accessibleName() != name) {
            s->setAccessibleName(name);
        }
    }
    const QString evaluateName =
        QString::fromStdString(EvaluateButtonName(SpokenProblemNumber(app_), shownDigits_));
    if (evaluate_->accessibleName() != evaluateName) {
        evaluate_->setAccessibleName(evaluateName);
    }
}

void CGameDlg::CreateChoosers() {
    // The lists hold the engine's item texts; an item's index is its code.
    struct Fill {
        const char* (*text)(int32_t);
        int32_t items;
    };
    const Fill fills[4] = {
        {PowerText, kPowerItems},
        {SignText, kSignItems},
        {OpText, kOpItems},
        {RankText, kRankItems},
    };
    listStyle_ = new DropDownListStyle();
    listStyle_->setParent(this);
    keyGuard_ = new ListKeyGuard(this);
    // A key typed before the closing is reported would reach the hidden list's field (Space
    // drops it again, an arrow changes its item) instead of the label that gets the focus back.
    keyGuard_->OnKeyArriving([this] { TakeClosedList(); });
    for (int k = 0; k < 4; ++k) {
        QComboBox* c = choosers_[k];
        for (int32_t i = 0; i < fills[k].items; ++i) {
            c->addItem(QString::fromUtf8(fills[k].text(i)));
            c->setItemData(i, QString::fromUtf8(ChooserItemWord(IDC_POWER_CHOOSER + k, i)),
                           Qt::AccessibleTextRole);
        }
        c->setMaxVisibleItems(c->count());
        c->hide();
        auto* name = new QLabel(this);
        name->hide();
        name->setBuddy(c);
        chooserNames_[k] = name;
    }
}

void CGameDlg::PrepareList(int k) {
    // The style, fonts and list of a chooser are set up as it first drops: done for all four
    // up front they were a tenth of the work before the window could show.
    if (std::exchange(listReady_[k], true)) {
        return;
    }
    QComboBox* c = choosers_[k];
    const QFont& font = k == IDC_SIGN_CHOOSER - IDC_POWER_CHOOSER ? powerFont_ : gapFont_;
    c->setStyle(listStyle_);
    c->setFont(font);
    c->resize(40, c->sizeHint().height());
    // The popup's hiding is the one sign that a list closed, whichever way it closed.
    c->view()->window()->installEventFilter(this);
    c->view()->viewport()->installEventFilter(this);
    keyGuard_->Watch(c);
    c->view()->setFont(font);
    c->view()->setAccessibleName(QString::fromStdString(ChooserListName()));
    ListRowDelegate::Install(c);
}

void CGameDlg::CreateWindowMenu() {
    windowMenu_ = new QMenu(this);
    windowMenu_->installEventFilter(this);
    // Every entry takes an open list first, as every command of the window does.
    //: Window menu (right-click, Menu key). Keep the letter N.
    connect(windowMenu_->addAction(tr("最小化(&N)")), &QAction::triggered, this, [this] {
        flow_->CommitChooser();
        showMinimized();
    });
    // Closing from the menu is the close box: the exit question applies.
    //: Window menu: ends the game like Exit. Keep the letter C.
    connect(windowMenu_->addAction(tr("閉じる(&C)")), &QAction::triggered, this,
            [this] { flow_->RequestExit(IDCANCEL); });
    // Only a graded problem has a best expression to show; the one on screen never does.
    //: Window menu: shows the best expression of the previous problem. Keep the letter B.
    bestAction_ = windowMenu_->addAction(tr("前の問題の最善解(&B)..."));
    connect(bestAction_, &QAction::triggered, this, [this] { flow_->ShowLastGradedBest(); });
    connect(windowMenu_, &QMenu::aboutToShow, this,
            [this] { bestAction_->setEnabled(flow_->LastGraded().valid); });
    bestAction_->setEnabled(false);
    windowMenu_->addSeparator();
    // F1 opens the help from anywhere in the window, the menu shows the key.
    //: Window menu. Keep the letter H.
    QAction* help = windowMenu_->addAction(tr("ヘルプ(&H)..."));
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);
    connect(help, &QAction::triggered, this, [this] {
        flow_->CommitChooser();
        CHelpDlg::Show(this);
    });
    //: Window menu. Keep the letter A.
    connect(windowMenu_->addAction(tr("バージョン情報 Vostrel(&A)...")), &QAction::triggered, this,
            [this] { flow_->ShowVersion(); });
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

bool CGameDlg::Covered() const {
    const QWindow* modal = QGuiApplication::modalWindow();
    return modal != nullptr && modal != windowHandle();
}

void CGameDlg::OnLabelActivated(int id) {
    if (Covered()) {
        return;
    }
    // Opened from the keyboard (only then has a label the focus): the focus comes back to it.
    const CStaticEx* s = Label(id);
    focusBack_ = s != nullptr && focusWidget() == s ? id : 0;
    openingLabel_ = id;
    flow_->OnLabelClicked(id);
    if (openList_ == 0) {
        focusBack_ = 0;
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
        return choosers_[id - IDC_POWER_CHOOSER];
    }
    return nullptr;
}

int32_t CGameDlg::MessageBox(const std::string& text, const std::string& caption, uint32_t style) {
    return ShowMessageBox(this, text, caption, style);
}

void CGameDlg::SetLabelText(int id, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (CStaticEx* s = Label(id)) {
        // A label shows an item of its list; a reader says that item's word.
        QString spoken;
        if (const QComboBox* c = Chooser(ChooserOfLabel(id))) {
            const int item = c->findText(t);
            spoken = item >= 0 ? c->itemData(item, Qt::AccessibleTextRole).toString() : QString();
        }
        s->SetWindowText(t, spoken);
    } else if (auto* l = qobject_cast<QLabel*>(Control(id))) {
        l->setText(t);
        if (id >= IDC_DIGIT0 && id < IDC_DIGIT0 + 4) {
            // The labels that belong to a digit name it.
            shownDigits_[id - IDC_DIGIT0] = t.toInt();
            NameLabels();
        }
    }
}

void CGameDlg::SetLabelAlign(int id, TextAlign align) {
    CStaticEx* s = Label(id);
    if (s == nullptr) {
        return;
    }
    const uint32_t bit =
        align == TextAlign::Center ? SS_CENTER : (align == TextAlign::Right ? SS_RIGHT : SS_LEFT);
    s->ModifyStyle(SS_CENTER | SS_RIGHT, bit);
}

void CGameDlg::ShowLabel(int id, bool show) {
    QWidget* w = Control(id);
    if (w == nullptr) {
        return;
    }
    if (!show && w->hasFocus()) {
        // Its list takes the focus next; hidden with it, the focus would pass to the next
        // label first, and a reader would name that one.
        w->clearFocus();
    }
    w->setVisible(show);
    if (show && w == pendingFocus_) {
        pendingFocus_ = nullptr;
        (w->isEnabled() ? w : evaluate_)->setFocus(Qt::OtherFocusReason);
    }
}

void CGameDlg::EnableLabel(int id, bool enable) {
    if (QWidget* w = Control(id)) {
        w->setEnabled(enable);
    }
}

void CGameDlg::PopUpChooserList(int id, int labelId, int32_t selection) {
    QComboBox* c = Chooser(id);
    const CStaticEx* label = Label(labelId);
    if (c == nullptr || label == nullptr) {
        return;
    }
    // A sign or gap list takes the place of the rank label under its label, above the labels
    // around it, so the operator stays in sight; the others drop over their own label.
    const bool underLabel = labelId >= IDC_OP0 && labelId < IDC_OP0 + 4;
    PrepareList(id - IDC_POWER_CHOOSER);
    c->move(underLabel ? rank_[labelId - IDC_OP0]->pos() : label->pos());
    c->show();
    if (underLabel) {
        c->raise();
    }
    c->setCurrentIndex(selection);
    // One list serves several labels: a reader hears which one it is choosing for, as the
    // name of the dropped combo box that holds the list (Qt names a combo box by its item, so
    // a hidden label names it).
    if (const CStaticEx* label = Label(std::exchange(openingLabel_, 0))) {
        chooserNames_[id - IDC_POWER_CHOOSER]->setText(label->accessibleName());
    }
    openList_ = id;
    ++listGeneration_;
    // Opened by a press on a label: the list stays down when that button comes up, as a
    // dropped list does on the original platform.
    swallowRelease_ = (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    // The list alone has the keyboard while it is down; nothing in the window keeps the focus
    // to be read again as the list closes.
    if (QWidget* fw = focusWidget()) {
        fw->clearFocus();
    }
    listHasFocus_ = true;
    DropList(c);
}

void CGameDlg::DropList(QComboBox* c) {
    listDrawn_ = false;
    listRefused_ = false;
    // A reader keeps the state it first read of an object, and Qt does not tell it that a
    // combo box expanded: one that met the closed list (as a window's contents are read after
    // a message box) would call it collapsed as it drops. The list is a new object to it at
    // each drop, read afresh.
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
    c->showPopup();
    // Under its field whatever item is current, as the original list drops down; a style or
    // a screen edge must not lay it over the labels above.
    QWidget* list = c->view()->window();
    list->move(c->mapToGlobal(QPoint(0, c->height())));
}

void CGameDlg::HideChooserList(int id) {
    QComboBox* c = Chooser(id);
    if (c == nullptr) {
        return;
    }
    // Closed by the flow: no closing report for this opening.
    if (openList_ == id) {
        openList_ = 0;
    }
    ++listGeneration_;
    const bool ready = listReady_[id - IDC_POWER_CHOOSER];
    if (ready && c->view()->window()->isVisible()) {
        c->hidePopup();
    }
    // The focus leaves the list for the label that opened it from the keyboard, else for "=";
    // a label hidden under the list takes it once it is shown again.
    // The window's focus child, active or not: a platform may report the window inactive
    // for a moment after a list closes.
    if (std::exchange(listHasFocus_, false) && (focusWidget() == nullptr || focusWidget() == c)) {
        QWidget* back = focusBack_ != 0 ? Control(focusBack_) : evaluate_;
        if (back->isVisible()) {
            back->setFocus(Qt::OtherFocusReason);
        } else {
            pendingFocus_ = back;
        }
    }
    focusBack_ = 0;
    // A closed list's items are neither current nor selected for assistive technology; the
    // next opening selects its item again.
    if (ready) {
        c->view()->selectionModel()->clear();
    }
    c->hide();
}

int32_t CGameDlg::ChooserSelection(int id) {
    QComboBox* c = Chooser(id);
    return c != nullptr ? c->currentIndex() : -1;
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
    if (e->type() == QEvent::MouseButtonPress) {
        swallowRelease_ = false;
        QComboBox* c = Chooser(openList_);
        if (c != nullptr && watched == c->view()->window() &&
            PressOutsideList(c, *static_cast<QMouseEvent*>(e))) {
            return true;
        }
    } else if (e->type() == QEvent::MouseButtonRelease && swallowRelease_) {
        swallowRelease_ = false;
        return true;
    }
    if (QComboBox* c = Chooser(openList_); c != nullptr) {
        if (e->type() == QEvent::Paint && watched == c->view()->viewport()) {
            listDrawn_ = true;
        } else if (e->type() == QEvent::Close && watched == c->view()->window() && !listDrawn_) {
            // Closed by the platform before the player could see it: the keys typed since
            // it dropped are meant for it, so it drops again.
            listRefused_ = true;
        }
    }
    if (e->type() == QEvent::Hide && openList_ != 0) {
        QComboBox* c = Chooser(openList_);
        if (c != nullptr && watched == c->view()->window()) {
            // The list hides before the combo box takes a clicked item, so the closing is
            // reported once the event that closed it is done.
            const int id = openList_;
            const uint32_t generation = listGeneration_;
            QMetaObject::invokeMethod(
                this, [this, id, generation] { ListClosed(id, generation); }, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, e);
}

bool CGameDlg::PressOutsideList(QComboBox* c, const QMouseEvent& press) {
    QWidget* list = c->view()->window();
    const QPoint global = press.globalPosition().toPoint();
    if (list->rect().contains(list->mapFromGlobal(global))) {
        return false;
    }
    // The press closes the list and then does what it would have done with no list open.
    // Qt would swallow it on some platforms and replay it on others; it is replayed here,
    // once, after the list is taken.
    list->setAttribute(Qt::WA_NoMouseReplay);
    const bool onField = c->rect().contains(c->mapFromGlobal(global));
    flow_->OnChooserClosed();
    QWindow* win = windowHandle();
    if (onField || press.button() != Qt::LeftButton || win == nullptr) {
        return true; // a press on the list's own field only closes it
    }
    const QPointF local = win->mapFromGlobal(global);
    if (!QRectF(QPointF(0, 0), win->size()).contains(local)) {
        return true;
    }
    QMouseEvent replay(QEvent::MouseButtonPress, local, local, press.globalPosition(),
                       press.button(), press.buttons(), press.modifiers(), press.pointingDevice());
    QCoreApplication::sendEvent(win, &replay);
    return true;
}

void CGameDlg::ListClosed(int id, uint32_t generation) {
    if (openList_ != id || generation != listGeneration_) {
        return;
    }
    QComboBox* c = Chooser(id);
    if (c != nullptr && c->view()->window()->isVisible()) {
        return; // opened again meanwhile
    }
    if (c != nullptr && listRefused_) {
        // The item the player had moved to before it closed stays the current one.
        if (const int row = c->view()->currentIndex().row(); row >= 0) {
            c->setCurrentIndex(row);
        }
        DropList(c);
        return;
    }
    openList_ = 0;
    flow_->OnChooserClosed();
}

void CGameDlg::TakeClosedList() {
    if (const QComboBox* c = Chooser(openList_);
        c != nullptr && !c->view()->window()->isVisible()) {
        ListClosed(openList_, listGeneration_);
    }
}

void CGameDlg::FocusEvaluateButton() {
    evaluate_->setFocus(Qt::OtherFocusReason);
}

void CGameDlg::Speak(const std::string& text) {
    speech_->Say(QString::fromStdString(text));
}

void CGameDlg::RunHiScoreDialog() {
    CHiScoreDlg dlg(app_, this);
    dlg.DoModal();
}

void CGameDlg::RunSettingsDialog() {
    CSettingDlg dlg(app_, this);
    dlg.DoModal();
}

void CGameDlg::RunAboutDialog() {
    CAboutDlg dlg(this);
    dlg.exec();
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
