#pragma once
// The game window's commands, each written once: its text with its access letter, a key of its
// own, its line in the help's list of keys and when it can be given. The window's buttons and
// menu and the help are read from this table.

#include "app/Tr.h"
#include "game/GameState.h"

#include <span>
#include <string>

namespace vostrel {

enum class Command {
    Evaluate,
    Grade,
    Retry,
    Settings,
    Exit,
    Minimise,
    Close,
    ShowBest,
    Hint,
    TakeList, // only takes an open list, before something the window does on its own
};

enum class CommandPlace { Button, Menu };

struct CommandDef {
    Command id;
    CommandPlace place;
    // The button's or the menu entry's text with its access letter, marked for translation in
    // the context kCommandContext.
    const char* text;
    // A key of its own besides Alt and the access letter, in Qt's portable text ("Ctrl+H").
    const char* key = nullptr;
    // What its key does, for the help's list (context "HelpText"); none: not listed.
    const char* help = nullptr;
    // Whether it can be given now; none: always.
    bool (*enabled)(const GameState& s) = nullptr;
};

inline constexpr const char* kCommandContext = "vostrel::CGameDlg";

// The table, in the order of the help's list; the window menu takes its entries in this order
// too. A command is added here, and what it does in GameFlow::Do.
inline constexpr CommandDef kCommandTable[] = {
    // "=" is the same in every language.
    {Command::Evaluate, CommandPlace::Button, "&=", nullptr,
     VOSTREL_TR_NOOP("HelpText", "「=」で計算")},
    //: Button: submits the expression for its points and goes on. Keep the letter M.
    {Command::Grade, CommandPlace::Button, VOSTREL_TR_NOOP("vostrel::CGameDlg", "採点(&M)"),
     nullptr, VOSTREL_TR_NOOP("HelpText", "採点")},
    //: Button: starts a new game. Keep the letter R.
    {Command::Retry, CommandPlace::Button, VOSTREL_TR_NOOP("vostrel::CGameDlg", "やり直し(&R)"),
     nullptr,
     VOSTREL_TR_NOOP("HelpText", "やり直し(これまでの結果を破棄して最初の問題から始めます。"
                                 "ゲームの途中なら確かめます)")},
    //: Button: opens the settings. Keep the letter S.
    {Command::Settings, CommandPlace::Button, VOSTREL_TR_NOOP("vostrel::CGameDlg", "設定(&S)"),
     nullptr, VOSTREL_TR_NOOP("HelpText", "設定")},
    //: Button: ends the game. Keep the letter X.
    {Command::Exit, CommandPlace::Button, VOSTREL_TR_NOOP("vostrel::CGameDlg", "終了(&X)"), nullptr,
     VOSTREL_TR_NOOP("HelpText", "終了")},
    //: Window menu (right-click, Menu key). Keep the letter N.
    {Command::Minimise, CommandPlace::Menu, VOSTREL_TR_NOOP("vostrel::CGameDlg", "最小化(&N)")},
    // Closing from the menu is the close box: the exit question applies.
    //: Window menu: ends the game like Exit. Keep the letter C.
    {Command::Close, CommandPlace::Menu, VOSTREL_TR_NOOP("vostrel::CGameDlg", "閉じる(&C)")},
    // Only a graded problem has a best expression to show; the one on screen never does.
    //: Window menu: shows the best expression of the previous problem. Keep the letter B.
    {Command::ShowBest, CommandPlace::Menu,
     VOSTREL_TR_NOOP("vostrel::CGameDlg", "前の問題の最善解(&B)..."), nullptr, nullptr,
     [](const GameState& s) { return s.lastGraded.valid; }},
    // Ctrl+H, the hint key of desktop games; a Ctrl chord is no access letter, and a stray
    // letter typed on the window costs nothing.
    //: Window menu: a hint on the problem on screen, at a price. Keep the letter I.
    {Command::Hint, CommandPlace::Menu, VOSTREL_TR_NOOP("vostrel::CGameDlg", "ヒント(&I)"),
     "Ctrl+H",
     //: The help's line for the hint key; the points table says how much.
     VOSTREL_TR_NOOP("HelpText", "ヒント(使うたびに得点が減ります)")},
};

std::span<const CommandDef> Commands();
const CommandDef& CommandOf(Command id);
// The text in the player's language.
std::string CommandText(const CommandDef& c);
// The key that gives it: its own, else Alt and the access letter ("Alt+M"); "" for none.
std::string CommandKey(const CommandDef& c);

} // namespace vostrel
