// vostrel: the game. One application object, start-up with real message boxes and the game
// window, the settings file beside the executable.
#include "app/CGameApp.h"
#include "ui/QtAppShell.h"
#include "ui/platform/AppIcon.h"
#include "ui/platform/Fonts.h"

#include <QApplication>

namespace {

vostrel::CGameApp theApp;

} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // Modal loops run the program; the last box closing must not end anything early.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Vostrel"));
    QApplication::setWindowIcon(vostrel::AppIcon());
    vostrel::InstallFontSubstitutions();

    vostrel::QtAppShell shell;
    return theApp.InitInstance(shell, vostrel::CGameApp::GetSettingsPath("vostrel.dat"));
}
