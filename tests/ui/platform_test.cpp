#include "app/WinConstants.h"
#include "core/Child.h"
#include "ui/desktop/SessionEnd.h"
#include "ui/looks/Contrast.h"
#include "ui/platform/AppIcon.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/Fonts.h"
#include "ui/platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace vostrel {
namespace {

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* b : box.buttons()) {
        texts << b->text();
    }
    texts.sort();
    return texts;
}

TEST(MessageBoxes, MapsStyleFlagsToIconsButtonsAndDefaults) {
    QWidget owner;
    auto ok = BuildMessageBox(&owner, "設定ファイルが見つからないので初期化します。",
                              "設定ファイルエラー", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(ok->parentWidget(), &owner);
    EXPECT_EQ(ok->windowTitle(), QStringLiteral("設定ファイルエラー"));
    EXPECT_EQ(ok->text(), QStringLiteral("設定ファイルが見つからないので初期化します。"));
    EXPECT_EQ(ok->icon(), QMessageBox::Warning);
    EXPECT_EQ(ButtonTexts(*ok), QStringList{"OK"});
    EXPECT_EQ(MessageBoxResultOf(ok->defaultButton()), IDOK);

    EXPECT_EQ(BuildMessageBox(nullptr, "x", "y", MB_OK | MB_ICONERROR)->icon(),
              QMessageBox::Critical);
    EXPECT_EQ(BuildMessageBox(nullptr, "x", "y", MB_OK | MB_ICONINFORMATION)->icon(),
              QMessageBox::Information);
    EXPECT_EQ(BuildMessageBox(nullptr, "x", "y", MB_OK)->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(BuildMessageBox(nullptr, "x", "y", MB_OK)->parentWidget(), nullptr);

    auto yesFirst = BuildMessageBox(nullptr, "実行中です。これまでの結果を破棄しますか。",
                                    "結果破棄確認", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(yesFirst->icon(), QMessageBox::Question);
    EXPECT_EQ(ButtonTexts(*yesFirst), (QStringList{"いいえ(&N)", "はい(&Y)"}));
    EXPECT_EQ(MessageBoxResultOf(yesFirst->defaultButton()), IDYES);
    EXPECT_EQ(MessageBoxResultOf(yesFirst->escapeButton()), IDNO);

    auto noFirst = BuildMessageBox(nullptr, "終了しますか", "終了確認",
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(MessageBoxResultOf(noFirst->defaultButton()), IDNO);
}

TEST(MessageBoxes, RealBoxAnswersWithThePressedButton) {
    // The one test that runs a real box: the default button of a Yes/No box with No as default.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->defaultButton()->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "終了しますか", "終了確認",
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDNO);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == QStringLiteral("はい(&Y)")) {
                b->click();
            }
        }
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "終了しますか", "終了確認",
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDYES);
}

TEST(MessageBoxes, ResponderAnswersInsteadOfABoxUntilRemoved) {
    QWidget owner;
    std::vector<std::string> seen;
    MessageBoxResponder previous =
        SetMessageBoxResponder([&](QWidget* o, const std::string& text, const std::string& caption,
                                   uint32_t style) -> int32_t {
            EXPECT_EQ(o, &owner);
            seen.push_back(caption + "|" + text + "|" + std::to_string(style));
            return IDNO;
        });
    EXPECT_EQ(ShowMessageBox(&owner, "終了しますか", "終了確認", 0x124), IDNO);
    MessageBoxResponder mine = SetMessageBoxResponder(previous);
    EXPECT_TRUE(static_cast<bool>(mine));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "終了確認|終了しますか|292");
}

// The window manager is handed every size the resources hold, each decoded as it is stored;
// a size between them comes down from the next larger one.
TEST(AppIcon, EverySizeOfTheResourcesAsStoredAndBetweenThemScaledDown) {
    const QIcon icon = AppIcon();
    QList<QSize> expected;
    for (int s : {16, 24, 32, 48, 64, 128, 256}) {
        expected.append(QSize(s, s));
        const QImage stored(QStringLiteral(":/icons/vostrel-%1.png").arg(s));
        ASSERT_FALSE(stored.isNull()) << s;
        const QImage given = icon.pixmap(QSize(s, s)).toImage();
        EXPECT_EQ(given.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  stored.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << s;
    }
    EXPECT_EQ(icon.availableSizes(), expected);
    const QImage between = icon.pixmap(QSize(40, 40)).toImage();
    EXPECT_EQ(between.size(), QSize(40, 40));
    EXPECT_EQ(between.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              QImage(QStringLiteral(":/icons/vostrel-48.png"))
                  .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                  .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

TEST(DialogUnits, ConvertsWithRoundedBaseUnits) {
    EXPECT_EQ(MulDiv(7, 6, 4), 11); // 10.5 rounds up
    EXPECT_EQ(MulDiv(-7, 6, 4), -11);
    EXPECT_EQ(MulDiv(5, 6, 4), 8); // 7.5
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    const DialogBaseUnits bu{6, 12};
    // 150 x 150 units: the game window's client area.
    EXPECT_EQ(MapDialogRect(bu, 0, 0, 150, 150), QRect(0, 0, 225, 225));
    EXPECT_EQ(MapDialogRect(bu, 113, 123, 30, 20), QRect(170, 185, 45, 30));
}

TEST(DialogUnits, BaseUnitsComeFromTheFontsLettersAndHeight) {
    const QFont f = DialogFont();
    const DialogBaseUnits bu = BaseUnitsOf(f);
    const QFontMetrics fm(f);
    const double mean =
        fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
    EXPECT_NEAR(bu.x, mean, 0.5);
    EXPECT_EQ(bu.y, 12); // 9 points at 96 dots per inch, whatever the face's leading
    EXPECT_GE(bu.x, 5);
    EXPECT_LE(bu.x, 8);
}

TEST(Fonts, JapaneseFacesResolveToInstalledGothic) {
    const QFont dialog = DialogFont();
    EXPECT_TRUE(QFontInfo(dialog).family().startsWith("IPA"))
        << QFontInfo(dialog).family().toStdString();
    const QFont p = MakeCellFont(14, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_TRUE(QFontInfo(p).family().startsWith("IPA")) << QFontInfo(p).family().toStdString();
    EXPECT_TRUE(QFontMetrics(p).inFont(QChar(0x30B9))); // ス
}

TEST(Fonts, CellHeightBoundsAscentPlusDescent) {
    for (int h : {14, 18, 28}) {
        const QFont f = MakeCellFont(h, QStringLiteral("MS UI Gothic"));
        EXPECT_LE(QFontMetrics(f).height(), h);
        EXPECT_GE(QFontMetrics(f).height(), h - 2);
        EXPECT_EQ(f.weight(), QFont::Normal);
    }
    // The largest size whose cell fits, as the font's own metrics measure it.
    for (int h = 6; h <= 40; ++h) {
        QFont f = MakeCellFont(h, QStringLiteral("MS UI Gothic"));
        EXPECT_LE(QFontMetrics(f).height(), h) << h;
        f.setPixelSize(f.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(f).height(), h) << h;
    }
}

TEST(Fonts, ShrinksToTheLargestSizeThatFitsTheWidth) {
    const QString widest = QStringLiteral("-2147483648 ");
    const QFont top = MakeCellFont(28, QStringLiteral("MS UI Gothic"));
    // Each size's own width, which that size fits exactly, and a pixel less, which it does not.
    std::vector<int> widths;
    for (int px = 8; px <= top.pixelSize(); ++px) {
        QFont f = top;
        f.setPixelSize(px);
        widths.push_back(QFontMetrics(f).horizontalAdvance(widest));
        widths.push_back(widths.back() - 1);
    }
    for (int width : widths) {
        QFont f = ShrinkToWidth(top, widest, width, 8);
        ASSERT_LE(f.pixelSize(), top.pixelSize());
        ASSERT_GE(f.pixelSize(), 8);
        if (f.pixelSize() > 8) {
            EXPECT_LE(QFontMetrics(f).horizontalAdvance(widest), width) << width;
        }
        if (f.pixelSize() < top.pixelSize()) {
            f.setPixelSize(f.pixelSize() + 1);
            EXPECT_GT(QFontMetrics(f).horizontalAdvance(widest), width) << width;
        }
    }
}

TEST(Contrast, WeighsLinearChannelsAsTheEyeDoes) {
    // Green weighs most and blue least: pure red on white stays below the threshold.
    EXPECT_NEAR(ContrastRatio(Qt::red, Qt::white), 4.00, 0.01);
    EXPECT_NEAR(ContrastRatio(Qt::blue, Qt::black), 2.44, 0.01);
    EXPECT_NEAR(ContrastRatio(Qt::green, Qt::black), 15.30, 0.01);
    // The curve is straight near black and a power above it: the greys either side of the
    // threshold on white are 0x76 and 0x77.
    EXPECT_NEAR(ContrastRatio(QColor(10, 10, 10), Qt::black), 1.061, 0.001);
    EXPECT_NEAR(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    EXPECT_EQ(ReadableColor(QColor(0x76, 0x76, 0x76), Qt::white), QColor(0x76, 0x76, 0x76));
    EXPECT_EQ(ReadableColor(QColor(0x77, 0x77, 0x77), Qt::white), QColor(Qt::black));
    // What does not read gives way to black or white, whichever reads better there.
    EXPECT_EQ(ReadableColor(Qt::red, Qt::white), QColor(Qt::black));
    EXPECT_EQ(ReadableColor(Qt::blue, Qt::black), QColor(Qt::white));

    // A focus mark stands out by 3:1, the accessibility rule for what is not text, from each
    // colour around it: the highlight made darker or lighter as little as it takes, its hue kept.
    constexpr double kNonText = 3.0;
    const QColor lightWindow(0xef, 0xef, 0xef);
    const QColor darkWindow(0x22, 0x20, 0x20);
    const struct {
        QColor preferred, window, face;
        bool darker;
    } marks[] = {
        {QColor(0xa0, 0xc8, 0xf0), lightWindow, Qt::white, true},
        {QColor(0x12, 0x30, 0x50), darkWindow, QColor(0x42, 0x42, 0x45), false},
    };
    for (const auto& m : marks) {
        const QColor c = MarkColor(m.preferred, {m.window, m.face});
        EXPECT_GE(ContrastRatio(c, m.window), kNonText) << m.preferred.name().toStdString();
        EXPECT_GE(ContrastRatio(c, m.face), kNonText) << m.preferred.name().toStdString();
        EXPECT_EQ(c.lightness() < m.preferred.lightness(), m.darker)
            << m.preferred.name().toStdString();
        EXPECT_NEAR(c.hslHue(), m.preferred.hslHue(), 2) << m.preferred.name().toStdString();
    }
}

// The session manager asks for the data as often as it likes (a logout may be cancelled, and
// the game goes on); its quit ends the game once, without the windows' own close.
TEST(SessionEnd, TheSessionManagersRequestsSaveAndItsQuitEndsWithoutClosingAWindow) {
    auto* manager = qApp->findChild<QSessionManager*>();
    ASSERT_NE(manager, nullptr);
    QWidget window;
    window.show();
    int saves = 0;
    int ends = 0;
    std::signal(SIGPIPE, SIG_DFL);
    {
        const SessionEnd session([&saves] { ++saves; },
                                 [&ends] {
                                     ++ends;
                                     return 0;
                                 });
        emit qApp->commitDataRequest(*manager);
        emit qApp->saveStateRequest(*manager);
        emit qApp->commitDataRequest(*manager);
        EXPECT_EQ(saves, 3);
        EXPECT_EQ(ends, 0);
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
        EXPECT_EQ(ends, 1);
        EXPECT_TRUE(window.isVisible());
    }
    // Ended, the program keeps ignoring what would kill it before it is gone.
    struct sigaction pipe = {};
    ASSERT_EQ(::sigaction(SIGPIPE, nullptr, &pipe), 0);
    EXPECT_EQ(pipe.sa_handler, SIG_IGN);
    std::signal(SIGPIPE, SIG_DFL);
    // The end asked every loop to return: a loop of its own takes that request, so later
    // loops run.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// A logout's burst of signals goes on while the ended game's objects go: none of it may change
// the status of a game that has kept its data, a broken pipe's included.
TEST(SessionEndTest, AfterTheEndNoSignalCanEndTheGameOtherwise) {
    const int code = test::InChild(
        [] {
            {
                const SessionEnd session([] {}, [] { return 0; });
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(qApp, &quit);
            }
            struct sigaction pipe = {};
            return ::sigaction(SIGPIPE, nullptr, &pipe) == 0 && pipe.sa_handler == SIG_IGN ? 0 : 1;
        },
        10);
    EXPECT_EQ(code, 0);
}

} // namespace
} // namespace vostrel
