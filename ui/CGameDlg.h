#pragma once
// The game window: the digits, the clickable labels that drop their chooser lists in place,
// the result and points, and the buttons of the game. Every click and command goes to the
// GameFlow it owns as a typed event; the window draws the screen the flow hands back.

#include "game/GameFlow.h"
#include "game/IGameView.h"

#include <QDialog>
#include <QFont>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QAction;
class QMenu;
class QKeyEvent;
class QMouseEvent;
class QPushButton;

namespace vostrel {

class ChooserLists;
class CStaticEx;
class FocusSpeech;

class CGameDlg : public QDialog, public IGameView {
    Q_OBJECT
public:
    // Starts the first game at once; random draws the digits.
    explicit CGameDlg(CGameApp& app, RandomSource random = CRandSource, QWidget* parent = nullptr);
    ~CGameDlg() override;

    // IGameView
    int32_t MessageBox(const std::string& text, const std::string& caption,
                       uint32_t style) override;
    void Render(const Screen& s) override;
    std::optional<StoredName> AskName(const GameEnd& end) override;
    std::optional<SettingsRecord> AskSettings(const SettingsRecord& now, bool gameRunning) override;
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
    // The buttons' commands and the window menu, from the table of commands.
    void CreateCommands();
    QPushButton* ButtonOf(Command c) const;
    static QString ButtonText(Command c);
    // The menu entries with a rule of when they can be given, by that rule.
    void EnableCommands();
    CStaticEx* SlotLabel(Slot s) const;
    static void DrawLabel(CStaticEx* s, const LabelView& v, const LabelView& drawn);
    void ShowLabel(QWidget* w, bool show);

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
    ChooserLists* lists_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    FocusSpeech* speech_ = nullptr;
    std::vector<std::pair<QAction*, Command>> ruledActions_;
    // The window menu is opening from the keyboard.
    bool menuFromKeyboard_ = false;

    // What was drawn last.
    Screen drawn_;
};

} // namespace vostrel
