#include "ui/CStaticEx.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>

namespace vostrel {
namespace {

const QColor kBack(200, 200, 255);

// Columns and rows of the label's image that hold text-coloured pixels.
struct InkBox {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool Empty() const { return left < 0; }
};

InkBox InkOf(const QImage& img, const QColor& back) {
    InkBox b;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            const int d = std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
                          std::abs(c.blue() - back.blue());
            if (d > 120) {
                if (b.Empty()) {
                    b = {x, y, x, y};
                }
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
        }
    }
    return b;
}

// Pixels of colour c in row y of the image.
int CountInRow(const QImage& img, int y, const QColor& c) {
    int n = 0;
    for (int x = 0; x < img.width(); ++x) {
        n += img.pixelColor(x, y) == c ? 1 : 0;
    }
    return n;
}

class StaticExTest : public ::testing::Test {
protected:
    QWidget parent;
    void SetUp() override { parent.resize(300, 100); }
    CStaticEx* Make(const QString& text, uint32_t style, PixelRect rect = {0, 0, 120, 30}) {
        auto* s = new CStaticEx(&parent);
        s->Create(text, style, rect, &parent, 1010);
        s->SetBackColor(kBack);
        QFont f = s->font();
        f.setPixelSize(14);
        s->setFont(f);
        return s;
    }
    static QImage Grab(CStaticEx* s) { return s->grab().toImage(); }
};

TEST_F(StaticExTest, StartsInButtonColoursAndRepaintsInTheNewBackColour) {
    CStaticEx s(&parent);
    EXPECT_EQ(s.TextColor(), parent.palette().color(QPalette::ButtonText));
    EXPECT_EQ(s.BackColor(), parent.palette().color(QPalette::Button));
    s.Create(QString(), SS_LEFT, PixelRect{10, 20, 60, 50}, &parent, 7);
    EXPECT_EQ(s.geometry(), QRect(10, 20, 50, 30)); // left, top, right, bottom
    EXPECT_EQ(Grab(&s).pixelColor(25, 15), parent.palette().color(QPalette::Button));
    s.SetBackColor(QColor(220, 220, 220));
    EXPECT_EQ(Grab(&s).pixelColor(25, 15), QColor(220, 220, 220));
}

TEST_F(StaticExTest, DrawsTheThemeTextColourWhereItReadsAndBlackWhereItDoesNot) {
    QPalette navy = QApplication::palette();
    navy.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
    dark.setColor(QPalette::ButtonText, Qt::white);
    const struct {
        QPalette palette;
        QColor ink;
    } cases[] = {
        {QApplication::palette(), QApplication::palette().color(QPalette::ButtonText)},
        {navy, QColor(0, 0, 128)},
        {dark, Qt::black},
    };
    for (const auto& c : cases) {
        parent.setPalette(c.palette);
        CStaticEx* s = Make(QStringLiteral("√+7"), SS_CENTER | SS_CENTERIMAGE, {0, 0, 40, 20});
        // The label as it has always been drawn, in the ink expected of this theme.
        QImage want(s->size(), QImage::Format_RGB32);
        QPainter p(&want);
        p.fillRect(want.rect(), kBack);
        p.setFont(s->font());
        p.setPen(c.ink);
        p.drawText(want.rect(), CStaticEx::TextFlags(s->Style()), s->WindowText());
        p.end();
        EXPECT_EQ(Grab(s).convertToFormat(QImage::Format_RGB32), want)
            << c.ink.name().toStdString();
    }
}

TEST_F(StaticExTest, AlignsByStyleWithCentreWinningOverRight) {
    const InkBox left = InkOf(Grab(Make("88", SS_LEFT)), kBack);
    const InkBox right = InkOf(Grab(Make("88", SS_RIGHT)), kBack);
    const InkBox centre = InkOf(Grab(Make("88", SS_CENTER)), kBack);
    const InkBox both = InkOf(Grab(Make("88", SS_CENTER | SS_RIGHT)), kBack);
    ASSERT_FALSE(left.Empty());
    EXPECT_LT(left.left, 5);
    EXPECT_GT(right.right, 114);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 60, 3);
    EXPECT_EQ(both.left, centre.left);
    EXPECT_EQ(both.right, centre.right);
}

TEST_F(StaticExTest, CentresVerticallyOnlyWithCentreImage) {
    const InkBox top = InkOf(Grab(Make("8", SS_CENTER)), kBack);
    const InkBox middle = InkOf(Grab(Make("8", SS_CENTER | SS_CENTERIMAGE)), kBack);
    ASSERT_FALSE(top.Empty());
    EXPECT_LT(top.top, 6);
    EXPECT_NEAR((middle.top + middle.bottom) / 2.0, 15, 3);
}

TEST_F(StaticExTest, AmpersandUnderlinesTheNextCharacterAndADoubledOneShowsItself) {
    // An underline adds ink below the letters' baseline.
    const InkBox plain = InkOf(Grab(Make("AB", SS_LEFT)), kBack);
    const InkBox marked = InkOf(Grab(Make("A&B", SS_LEFT)), kBack);
    const InkBox doubled = InkOf(Grab(Make("A&&B", SS_LEFT)), kBack);
    EXPECT_EQ(marked.left, plain.left);
    EXPECT_NEAR(marked.right, plain.right, 1); // the ampersand itself is not drawn
    EXPECT_GT(marked.bottom, plain.bottom);
    EXPECT_GT(doubled.right, plain.right + 4); // A&B is wider than AB
    EXPECT_EQ(doubled.bottom, plain.bottom);   // and has no underline
}

TEST_F(StaticExTest, ClipsLongTextInsteadOfWrappingOrEliding) {
    CStaticEx* s = Make("WWWWWWWWWWWWWWWWWWWW", SS_LEFT, {0, 0, 60, 40});
    const QImage img = Grab(s);
    const InkBox ink = InkOf(img, kBack);
    EXPECT_GE(ink.right, 58);  // runs to the right edge
    EXPECT_LT(ink.bottom, 20); // a single line
    // An ellipsis would leave the last letters' cells empty.
}

TEST_F(StaticExTest, DisabledPaintsLikeEnabled) {
    CStaticEx* s = Make("+", SS_CENTER | SS_CENTERIMAGE);
    const QImage enabled = Grab(s);
    s->setEnabled(false);
    EXPECT_EQ(Grab(s), enabled);
}

TEST_F(StaticExTest, SunkenStyleDrawsABorderOutsideTheText) {
    CStaticEx* flat = Make("", SS_RIGHT);
    CStaticEx* sunken = Make("", SS_RIGHT | SS_SUNKEN);
    EXPECT_EQ(Grab(flat).pixelColor(0, 0), kBack);
    EXPECT_NE(Grab(sunken).pixelColor(0, 0), kBack);
    EXPECT_EQ(Grab(sunken).pixelColor(5, 5), kBack);
}

TEST_F(StaticExTest, ReportsClicksOnlyWithNotify) {
    parent.show();
    CStaticEx* quiet = Make("1", SS_CENTER, {0, 0, 40, 30});
    CStaticEx* notify = Make("2", SS_CENTER | SS_NOTIFY, {50, 0, 90, 30});
    QSignalSpy quietSpy(quiet, &CStaticEx::clicked);
    QSignalSpy notifySpy(notify, &CStaticEx::clicked);
    QTest::mouseClick(quiet, Qt::LeftButton);
    QTest::mouseClick(notify, Qt::LeftButton);
    QTest::mouseClick(notify, Qt::RightButton);
    EXPECT_EQ(quietSpy.count(), 0);
    ASSERT_EQ(notifySpy.count(), 1);
    EXPECT_EQ(notifySpy.at(0).at(0).toInt(), 1010);
}

TEST_F(StaticExTest, OpensFromTheKeyboardOnlyWithFocusAndMarksTheFocusInAColourThatShows) {
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    CStaticEx* list = Make("+", SS_CENTER | SS_NOTIFY, {0, 0, 40, 30});
    list->setFocusPolicy(Qt::TabFocus);
    CStaticEx* dark = Make("-", SS_CENTER | SS_NOTIFY, {50, 0, 90, 30});
    dark->setFocusPolicy(Qt::TabFocus);
    dark->SetBackColor(QColor(40, 40, 60));
    CStaticEx* plain = Make("1", SS_CENTER | SS_NOTIFY, {100, 0, 140, 30});
    QSignalSpy spy(list, &CStaticEx::clicked);
    QSignalSpy plainSpy(plain, &CStaticEx::clicked);

    // A mouse player sees what they always saw: a click gives no focus and no mark.
    const QImage before = Grab(list);
    QTest::mouseClick(list, Qt::LeftButton);
    EXPECT_FALSE(list->hasFocus());
    EXPECT_EQ(Grab(list), before);

    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(list->hasFocus());
    EXPECT_GT(CountInRow(Grab(list), 1, Qt::black), 5);
    for (auto [key, mods] : {std::pair{Qt::Key_Space, Qt::NoModifier},
                             {Qt::Key_Return, Qt::NoModifier},
                             {Qt::Key_F4, Qt::NoModifier},
                             {Qt::Key_Down, Qt::AltModifier},
                             {Qt::Key_Down, Qt::NoModifier},
                             {Qt::Key_A, Qt::NoModifier}}) {
        QTest::keyClick(list, key, mods);
    }
    EXPECT_EQ(spy.count(), 5); // the mouse click and four keys that open a list
    dark->setFocus(Qt::TabFocusReason);
    EXPECT_GT(CountInRow(Grab(dark), 1, Qt::white), 5);
    EXPECT_EQ(CountInRow(Grab(list), 1, Qt::black), 0);
    EXPECT_EQ(Grab(list), before);

    // A label that takes no focus is no list: keys do nothing.
    QTest::keyClick(plain, Qt::Key_Space);
    EXPECT_EQ(plainSpy.count(), 0);
}

} // namespace
} // namespace vostrel
