#include "ui/CAboutDlg.h"

#include "app/Version.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vostrel {
namespace {

TEST(AboutDlg, ShowsNameVersionCopyrightAndAddressWithinTheirBoxes) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(dlg.Label(CAboutDlg::kIdProduct)->text(), QStringLiteral("Vostrel"));
    const QStringList lines = dlg.Label(CAboutDlg::kIdVersion)->text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Ver. 2.0.2005.0117"));
    // The project's address where it has one; never an invented one.
    const QLabel* url = dlg.Label(CAboutDlg::kIdUrl);
    if (kHomepage[0] == '\0') {
        EXPECT_TRUE(url->text().isEmpty()) << url->text().toStdString();
        EXPECT_TRUE(url->isHidden());
    } else {
        EXPECT_EQ(url->text(), QStringLiteral("URL: ") + QString::fromUtf8(kHomepage));
    }
    EXPECT_EQ(dlg.OkButton()->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(dlg.OkButton()->isDefault());

    // Nothing is cut: every line fits its label and every control lies inside the window.
    const QFontMetrics fm(dlg.font());
    for (int id : {CAboutDlg::kIdProduct, CAboutDlg::kIdVersion, CAboutDlg::kIdUrl}) {
        const QLabel* l = dlg.Label(id);
        for (const QString& line : l->text().split('\n')) {
            EXPECT_LE(fm.horizontalAdvance(line), l->width()) << line.toStdString();
        }
        EXPECT_LE(fm.lineSpacing() * static_cast<int>(l->text().split('\n').size()), l->height());
        EXPECT_TRUE(dlg.rect().contains(l->geometry()));
    }
    EXPECT_TRUE(dlg.rect().contains(dlg.OkButton()->geometry()));
}

TEST(AboutDlg, DrawsItsSeparatorLineBetweenAddressAndButton) {
    CAboutDlg dlg;
    const QImage img = dlg.grab().toImage();
    EXPECT_EQ(img.pixelColor(5, 90), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(120, 90), QColor(Qt::black));
    EXPECT_NE(img.pixelColor(120, 92), QColor(Qt::black));
    EXPECT_LT(dlg.Label(CAboutDlg::kIdUrl)->geometry().bottom(), 90);
    EXPECT_GT(dlg.OkButton()->geometry().top(), 90);
}

TEST(AboutDlg, OkClosesIt) {
    CAboutDlg dlg;
    dlg.show();
    dlg.OkButton()->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

} // namespace
} // namespace vostrel
