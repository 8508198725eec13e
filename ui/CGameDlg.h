#pragma once
// The game window: the digits, the clickable labels that drop their chooser lists in place,
// the result and points, and the buttons of the game. Every click and command goes to the
// GameFlow it owns; the flow tells the window what to show through IGameView.

#include "game/GameFlow.h"
#include "game/IGameView.h"

#include <QDialog>
#include <QFont>

#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QLabel;
class QAction;
class QMenu;
class QKeyEvent;
class QMouseEvent;
class QPushButton;

namespace vostrel {

class CStaticEx;
class DropDownListStyle;
class FocusSpeech;
class ListKeyGuard;

class CGameDlg : public QDialog, public IGameView {
    Q_OBJECT
public:
    // Starts the first game at once; random draws the digits.
    explicit CGameDlg(CGameApp& app, RandomSource random = CRandSource, QWidget* parent = nullptr);
    ~CGameDlg() override;

    // IGameView
    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void SetLabelText(int id, const std::string& text) override;
    void SetLabelAlign(int id, TextAlign align) override;
    void ShowLabel(int id, bool show) override;
    void EnableLabel(int id, bool enable) override;
    void PopUpChooserList(int id, int labelId, int32_t selection) override;
    void HideChooserList(int id) override;
    int32_t ChooserSelection(int id) override;
    void FocusEvaluateButton() override;
    void Speak(const std::string& text) override;
    void RunHiScoreDialog() override;
    void RunSettingsDialog() override;
    void RunAboutDialog() override;
    void EndDialog(int32_t result) override;

    // The controls by id (labels, buttons, choosers; IDOK for the exit button).
    QWidget* Control(int id) const;
    CStaticEx* Label(int id) const;
    QComboBox* Chooser(int id) const;
    GameFlow& Flow() { return *flow_; }
    const CGameApp& App() const { return app_; }
    // The window menu that stands in for the title bar's system menu.
    QMenu* WindowMenu() const { return windowMenu_; }
    // Opened from the keyboard, the menu starts on its first entry.
    void ShowWindowMenu(const QPoint& globalPos, bool fromKeyboard);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Another modal window is up or opening: commands of this window that were already on
    // their way (a mnemonic's delayed click, a queued key) are dropped.
    bool Covered() const;
    void OnLabelActivated(int id);
    // Arrow keys between neighbouring labels of the focused one.
    bool MoveLabelFocus(int key);
    void CreateTemplateControls();
    void CreateRunTimeLabels();
    void CreateChoosers();
    // Chooser k as its list drops for the first time.
    void PrepareList(int k);
    void CreateWindowMenu();
    // Names every label, and "=", after the digits of the problem on screen.
    void NameLabels();
    void ListClosed(int id, uint32_t generation);
    // Shows c's list under its field.
    void DropList(QComboBox* c);
    // A list that has closed but is not yet taken is taken now.
    void TakeClosedList();
    // A press outside the open list c: true when it was taken here (the list committed and the
    // press handed on to what lies under it).
    bool PressOutsideList(QComboBox* c, const QMouseEvent& press);

    CGameApp& app_;
    std::unique_ptr<GameFlow> flow_;

    QFont dialogFont_;
    QFont digitFont_;
    QFont gapFont_;
    QFont powerFont_;
    QFont resultFont_;
    QFont pointsFont_;

    QLabel* problemNo_ = nullptr;
    QLabel* scoreCaption_ = nullptr;
    std::array<QLabel*, 4> digits_{};
    int32_t shownDigits_[4] = {0, 0, 0, 0};
    std::array<CStaticEx*, 4> power_{};
    std::array<CStaticEx*, 4> op_{};
    std::array<CStaticEx*, 4> rank_{};
    CStaticEx* result_ = nullptr;
    CStaticEx* points_ = nullptr;
    QPushButton* evaluate_ = nullptr;
    QPushButton* retry_ = nullptr;
    QPushButton* grade_ = nullptr;
    QPushButton* settings_ = nullptr;
    QPushButton* exit_ = nullptr;
    std::array<QComboBox*, 4> choosers_{};  // ids 1024..1027
    std::array<QLabel*, 4> chooserNames_{}; // hidden; what a reader calls each chooser
    std::array<bool, 4> listReady_{};
    DropDownListStyle* listStyle_ = nullptr;
    ListKeyGuard* keyGuard_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    FocusSpeech* speech_ = nullptr;
    QAction* bestAction_ = nullptr;
    // The window menu is opening from the keyboard.
    bool menuFromKeyboard_ = false;

    // The chooser whose list the player may close, and a count that tells one opening of a
    // list from the next.
    int openList_ = 0;
    uint32_t listGeneration_ = 0;
    // The release of the press that opened the list is still to come.
    bool swallowRelease_ = false;
    // The open list has been drawn; one that the platform closes before that was refused
    // (a Wayland compositor refuses a list whose opening key is no longer the latest).
    bool listDrawn_ = false;
    bool listRefused_ = false;
    // The label whose list was opened from the keyboard gets the focus back when it closes;
    // pendingFocus_ waits for a label hidden under its own list to be shown again.
    int focusBack_ = 0;
    // A list was dropped and holds the keyboard until the window takes it back.
    bool listHasFocus_ = false;
    int openingLabel_ = 0;
    QWidget* pendingFocus_ = nullptr;
};

} // namespace vostrel
