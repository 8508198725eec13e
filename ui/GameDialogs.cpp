#include "ui/GameDialogs.h"

#include "app/CGameApp.h"
#include "app/SaveFailure.h"
#include "ui/CAboutDlg.h"
#include "ui/CHelpDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CSettingDlg.h"
#include "ui/CStatsDlg.h"

#include <QCoreApplication>

namespace vostrel {

namespace {

std::unique_ptr<CStatsDlg> MakeStats(CGameApp& app, QWidget* parent) {
    const std::string problem =
        app.historyRead.reason != 0
            ? HistoryFailureText(app.historyPath, app.historyRead.reason, true)
            : std::string();
    return std::make_unique<CStatsDlg>(
        FiguresOf(app.history, SetOf(app.settings)), problem, app.historyRead.skipped,
        [&app] { return app.ClearHistory(); }, parent);
}

const GameDialog kDialogs[] = {
    // The flow's own dialogs take and give typed values: the game window runs them.
    {"high scores", &CHiScoreDlg::staticMetaObject, DialogKind::HiScore, nullptr,
     QKeySequence::UnknownKey, nullptr,
     [](CGameApp& app) -> std::unique_ptr<QWidget> {
         return std::make_unique<CHiScoreDlg>(app.settings.highScores);
     }},
    {"settings", &CSettingDlg::staticMetaObject, DialogKind::Settings, nullptr,
     QKeySequence::UnknownKey, nullptr,
     [](CGameApp& app) -> std::unique_ptr<QWidget> {
         return std::make_unique<CSettingDlg>(app.settings);
     }},
    // F1 opens the help from anywhere in the window, the menu shows the key.
    {"help", &CHelpDlg::staticMetaObject, std::nullopt,
     //: Window menu. Keep the letter H.
     QT_TRANSLATE_NOOP("vostrel::CGameDlg", "ヘルプ(&H)..."), QKeySequence::HelpContents,
     [](CGameApp&, QWidget* parent) { CHelpDlg::Show(parent); },
     [](CGameApp& app) -> std::unique_ptr<QWidget> {
         return std::make_unique<CHelpDlg>(app.settingsPath, nullptr);
     }},
    // Ctrl+T: the tally of the player's games.
    {"statistics", &CStatsDlg::staticMetaObject, std::nullopt,
     //: Window menu. Keep the letter S.
     QT_TRANSLATE_NOOP("vostrel::CGameDlg", "成績(&S)..."), QKeySequence::UnknownKey,
     [](CGameApp& app, QWidget* parent) { MakeStats(app, parent)->exec(); },
     [](CGameApp& app) -> std::unique_ptr<QWidget> { return MakeStats(app, nullptr); },
     Qt::CTRL | Qt::Key_T},
    {"about", &CAboutDlg::staticMetaObject, std::nullopt,
     //: Window menu. Keep the letter A.
     QT_TRANSLATE_NOOP("vostrel::CGameDlg", "バージョン情報 Vostrel(&A)..."),
     QKeySequence::UnknownKey,
     [](CGameApp&, QWidget* parent) {
         CAboutDlg dlg(parent);
         dlg.exec();
     },
     [](CGameApp&) -> std::unique_ptr<QWidget> { return std::make_unique<CAboutDlg>(); }},
};

} // namespace

std::span<const GameDialog> GameDialogs() {
    return kDialogs;
}

const GameDialog& GameDialogOf(DialogKind kind) {
    for (const GameDialog& d : kDialogs) {
        if (d.kind == kind) {
            return d;
        }
    }
    return kDialogs[0]; // every kind is registered above
}

QString MenuText(const GameDialog& d) {
    // The window menu's texts belong to the game window.
    return QCoreApplication::translate("vostrel::CGameDlg", d.menuText);
}

} // namespace vostrel
