// The window tests: one QApplication for all of them, the fonts substituted and the icon set
// as at start-up.
#include "ui/platform/AppIcon.h"
#include "ui/platform/Fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    vostrel::InstallFontSubstitutions();
    QApplication::setWindowIcon(vostrel::AppIcon());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
