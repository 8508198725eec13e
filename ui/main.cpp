// vostrel: the game. One application object, start-up with real message boxes and the game
// window, the settings file beside the executable or in the player's data folder.
#include "app/CGameApp.h"
#include "app/CommandLine.h"
#include "app/GameFile.h"
#include "app/SaveFailure.h"
#include "app/SaveTemporaries.h"
#include "app/Tr.h"
#include "app/WinConstants.h"
#include "ui/ApplicationAccessible.h"
#include "ui/QtAppShell.h"
#include "ui/Translation.h"
#include "ui/desktop/SessionEnd.h"
#include "ui/desktop/SingleInstance.h"
#include "ui/looks/FocusMarkStyle.h"
#include "ui/platform/AppIcon.h"
#include "ui/platform/Fonts.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

vostrel::CGameApp theApp;

} // namespace

int main(int argc, char** argv) {
    const vostrel::CommandLine cmd = vostrel::CommandLine::Check(
        argc, argv, [](const char* name) -> const char* { return std::getenv(name); });
    if (!cmd.play) {
        std::fputs(cmd.out.c_str(), stdout);
        std::fputs(cmd.err.c_str(), stderr);
        return cmd.status;
    }
    // Nothing of the command line reaches Qt, its own options included; Qt still reads its
    // environment variables.
    static char fallbackName[] = "vostrel";
    char* programOnly[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    int programArgc = 1;
    QApplication qapp(programArgc, programOnly);
    // Modal loops run the program; the last box closing must not end anything early.
    QApplication::setQuitOnLastWindowClosed(false);
    // The desktop entry's id: the Wayland app_id, and (set before the first window) the class
    // of the X11 WM_CLASS, so that docks tie the window to its launcher.
    const QString desktopId = QStringLiteral("org.vostrel.Vostrel");
    QApplication::setApplicationName(desktopId);
    QApplication::setDesktopFileName(desktopId);
    // Before any text is made: the windows and the flow speak the player's language.
    vostrel::InstallTranslation();
    vostrel::ApplicationAccessible::Install();
    // Decoding the icon's seven sizes would delay the first window: it gets them once shown,
    // before its first paint.
    QTimer::singleShot(0, &qapp, [] { QApplication::setWindowIcon(vostrel::AppIcon()); });
    vostrel::InstallFontSubstitutions();
    vostrel::FocusMarkStyle::Install();

    // One game per settings file, settled before the file is read: a later start brings the
    // running game forward and ends without a word, so the two never save over each other; one
    // that cannot reach it says why and ends.
    const vostrel::SettingsLocation location =
        vostrel::CGameApp::FindSettingsLocation("vostrel.dat");
    // The lock is on the file, whose folder must therefore be there from the start.
    if (location.makeFolder) {
        vostrel::MakeFolderOf(location.path);
    }
    vostrel::QtAppShell shell;
    const vostrel::SingleInstance guard(location.path);
    //: Title of every message box about the settings file.
    const std::string caption = vostrel::Tr("CGameApp", "設定ファイルエラー");
    switch (guard.role()) {
    case vostrel::SingleInstance::Role::Elsewhere:
        return 0;
    case vostrel::SingleInstance::Role::Unreachable:
        shell.MessageBox(vostrel::UnreachableText(location.path, !guard.hasFolder()), caption,
                         vostrel::MB_OK | vostrel::MB_ICONERROR);
        return 1;
    case vostrel::SingleInstance::Role::Sole:
        vostrel::RemoveSaveLeftovers(location.path);
        vostrel::RemoveSaveLeftovers(vostrel::GameFilePath(location.path));
        if (!guard.hasFolder()) {
            shell.MessageBox(vostrel::NoGuardFolderText(), caption,
                             vostrel::MB_OK | vostrel::MB_ICONEXCLAMATION);
        }
        break;
    case vostrel::SingleInstance::Role::Unguarded:
        break;
    }
    // A logout, a closed terminal or Ctrl+C saves as the window's end does.
    const vostrel::SessionEnd sessionEnd([] { theApp.SaveForSession(); },
                                         [] { return theApp.EndSession(); });
    return theApp.InitInstance(shell, location);
}
