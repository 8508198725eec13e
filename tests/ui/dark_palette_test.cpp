// The windows under a dark colour scheme: every text and the version dialog's line must read on
// the background it is drawn on.
#include "app/CGameApp.h"
#include "app/Version.h"
#include "app/WinConstants.h"
#include "fakes/ScriptedRandom.h"
#include "ui/CAboutDlg.h"
#include "ui/CGameDlg.h"
#include "ui/CHiScoreDlg.h"
#include "ui/CStaticEx.h"
#include "ui/CStatsDlg.h"
#include "ui/ControlIds.h"
#include "ui/looks/Contrast.h"
#include "ui/looks/FocusMarkStyle.h"
#include "ui/looks/StatsChart.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vostrel {
namespace {

// A dark scheme as desktop colour schemes give it (light text on dark faces), for the test's
// life.
class DarkPalette {
public:
    DarkPalette() : saved_(QApplication::palette()) {
        QPalette p;
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
                          QPalette::BrightText, QPalette::HighlightedText}) {
            p.setColor(role, Qt::white);
        }
        p.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
        p.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
        p.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
        p.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
        QApplication::setPalette(p);
    }
    ~DarkPalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

// The highest contrast any pixel of img reaches against back: the core of the strokes, where
// antialiasing has not mixed the ink with the background.
double InkContrast(const QImage& img, const QColor& back) {
    double best = 1.0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            best = std::max(best, ContrastRatio(img.pixelColor(x, y), back));
        }
    }
    return best;
}

// Every text of window, coloured labels on their own colour and plain labels on the face.
void ExpectReadable(QWidget& window, const char* name, int expectedTexts) {
    int measured = 0;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) {
            continue;
        }
        QString text;
        QColor back;
        QRect inside;
        if (auto* s = qobject_cast<CStaticEx*>(w)) {
            text = s->WindowText();
            back = s->BackColor();
            inside = s->contentsRect(); // without the sunken border
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
            back = l->palette().color(QPalette::Window);
            inside = l->contentsRect();
        }
        if (text.isEmpty()) {
            continue;
        }
        ++measured;
        const QImage img = w->grab(inside).toImage();
        EXPECT_GE(InkContrast(img, back), kReadableContrast)
            << name << ": '" << text.toStdString() << "' on " << back.name().toStdString();
    }
    EXPECT_GE(measured, expectedTexts) << name;
}

TEST(DarkPalette, EveryTextAndLineReadsOnItsBackground) {
    ASSERT_DOUBLE_EQ(ContrastRatio(Qt::black, Qt::white), 21.0);
    ASSERT_DOUBLE_EQ(ContrastRatio(QColor(200, 200, 255), QColor(200, 200, 255)), 1.0);
    DarkPalette dark;

    CGameApp app;
    InstallDefaultSettings(app.settings);
    auto game = std::make_unique<CGameDlg>(app, fakes::ScriptedRandom::Repeating({5}));
    game->show();
    game->Flow().EvaluateTry(); // a result and points to read
    // The powers and the sign start empty.
    for (int k = 0; k < 4; ++k) {
        game->Label(IDC_POWER0 + k)->SetWindowText(QStringLiteral("√"), QString());
    }
    game->Label(IDC_OP0)->SetWindowText(QStringLiteral("-"), QString());
    // Four powers, signs and operators, ranks, the result, the points, the digits, the
    // problem number and the points caption.
    ExpectReadable(*game, "game window", 4 * 3 + 2 + 4 + 2);

    CHiScoreDlg table(app.settings.highScores, game.get());
    table.show();
    ExpectReadable(table, "high scores", 2 * kHighScoreRows + kHighScoreRows + 2);

    app.history.Append({20260101, SetOf(app.settings), true, 420, {{840, 10, 0, 1}}});
    CStatsDlg stats(FiguresOf(app.history, SetOf(app.settings)), "", 2, nullptr, game.get());
    stats.show();
    // The line of skipped lines and the table's heading.
    ExpectReadable(stats, "statistics", 2);
    // Each series of the picture stands out from its background on light, dark and
    // high-contrast faces.
    for (const auto& [back, text] : {std::pair{QColor(Qt::white), QColor(Qt::black)},
                                     std::pair{QColor(0x3d, 0x3d, 0x3d), QColor(Qt::white)},
                                     std::pair{QColor(Qt::black), QColor(Qt::white)}}) {
        const StatsChart::Colors c = StatsChart::ColorsOn(back, text);
        for (const QColor& series : {c.scores, c.mean, c.bars}) {
            EXPECT_GE(ContrastRatio(series, back), kMarkContrast) << back.name().toStdString();
        }
    }

    CAboutDlg about(game.get());
    about.show();
    // Name and version; the address only where the project has one.
    ExpectReadable(about, "version", kHomepage[0] == '\0' ? 2 : 3);
    const QImage img = about.grab().toImage();
    EXPECT_GE(ContrastRatio(img.pixelColor(120, 90), about.palette().color(QPalette::Window)),
              kReadableContrast);
}

// The application's style with the game's focus marks, for the test's life.
class FocusMarks {
public:
    FocusMarks() : saved_(QApplication::style()->name()) { FocusMarkStyle::Install(); }
    ~FocusMarks() { QApplication::setStyle(QStyleFactory::create(saved_)); }

private:
    QString saved_;
};

// The frame of a focused control: its top edge, in the middle, against the window around it
// and the face just inside.
void ExpectMarkStandsOut(QWidget* w, const char* what) {
    // The accessibility rule for what is not text.
    constexpr double kNonText = 3.0;
    const QImage img = w->grab().toImage();
    const int x = img.width() / 2;
    const QColor mark = img.pixelColor(x, 0);
    EXPECT_EQ(img.pixelColor(x, 1), mark) << what; // two pixels wide
    const QColor window = w->window()->palette().color(QPalette::Window);
    EXPECT_GE(ContrastRatio(mark, window), kNonText) << what << " on the window";
    EXPECT_GE(ContrastRatio(mark, img.pixelColor(x, 2)), kNonText) << what << " inside";
}

void ExpectFocusMarks(const char* scheme) {
    SCOPED_TRACE(scheme);
    FocusMarks marks;
    CGameApp app;
    InstallDefaultSettings(app.settings);
    auto game = std::make_unique<CGameDlg>(app, fakes::ScriptedRandom::Repeating({5}));
    game->show();
    game->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(game.get()));
    QWidget* evaluate = game->Control(IDC_EVALUATE);
    evaluate->setFocus();
    ExpectMarkStandsOut(evaluate, "=");
    // With a label focused, the default button (終了) looks like any other button.
    game->Label(IDC_POWER0)->setFocus();
    const QImage exit = game->Control(IDOK)->grab().toImage();
    const QImage other = game->Control(IDC_GRADE)->grab().toImage();
    ASSERT_EQ(exit.height(), other.height());
    EXPECT_EQ(exit.pixelColor(exit.width() / 2, 0), other.pixelColor(other.width() / 2, 0));
    EXPECT_EQ(exit.pixelColor(exit.width() / 2, 1), other.pixelColor(other.width() / 2, 1));

    CHiScoreDlg table(GameEnd{app.settings.highScores, 0, 0}, game.get());
    table.show();
    auto* edit = qobject_cast<QLineEdit*>(table.GetDlgItem(CHiScoreDlg::IDC_HS_NAME_EDIT));
    QApplication::setActiveWindow(&table);
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    ExpectMarkStandsOut(edit, "name box");
    QWidget* ok = table.GetDlgItem(CHiScoreDlg::IDC_HS_OK);
    ok->setFocus();
    ExpectMarkStandsOut(ok, "OK");
}

TEST(FocusMarks, StandOutByThreeToOneOnTheLightAndTheDarkSchemeAndTheDefaultIsNoFocus) {
    ExpectFocusMarks("light");
    DarkPalette dark;
    ExpectFocusMarks("dark");
}

} // namespace
} // namespace vostrel
