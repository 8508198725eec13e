#include "ui/platform/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace vostrel {
namespace {

struct Pair {
    std::string bytes;
    char32_t code;
};

// Where code page 932 differs from plain Shift-JIS tables, and the two ASCII bytes that
// Japanese fonts draw as yen and overline.
const Pair kGolden[] = {
    {"\x81\x5C", 0x2015}, {"\x81\x60", 0xFF5E}, {"\x81\x61", 0x2225}, {"\x81\x7C", 0xFF0D},
    {"\x87\x40", 0x2460}, {"\x5C", 0x005C},     {"\x7E", 0x007E},
};

QString FromCode(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

TEST(Cp932, GoldenPairsMapBothWays) {
    for (const Pair& p : kGolden) {
        EXPECT_EQ(Cp932FromUnicode(FromCode(p.code)), p.bytes)
            << std::hex << static_cast<uint32_t>(p.code);
        EXPECT_EQ(UnicodeFromCp932(p.bytes), FromCode(p.code))
            << std::hex << static_cast<uint32_t>(p.code);
    }
}

TEST(Cp932, MixedNameRoundTrips) {
    const QString name = QStringLiteral("山田～太郎 ①Ａｂｶﾅ\\~");
    const std::string bytes = Cp932FromUnicode(name);
    EXPECT_EQ(bytes, "\x8E\x52\x93\x63\x81\x60\x91\xBE\x98\x59\x20\x87\x40\x82\x60\x82\x82\xB6"
                     "\xC5\x5C\x7E");
    EXPECT_EQ(UnicodeFromCp932(bytes), name);
}

TEST(Cp932, DuplicatesEncodeToTheWindowsChoice) {
    // NEC row 13 and the IBM extensions hold characters twice; Windows picks one code.
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("≒")), "\x81\xE0");
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("ⅰ")), "\xFA\x40");
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("Ⅰ")), "\x87\x54");
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("￢")), "\x81\xCA");
    // The second code of a pair still decodes.
    EXPECT_EQ(UnicodeFromCp932("\x87\x90"), QStringLiteral("≒"));
    EXPECT_EQ(UnicodeFromCp932("\xEE\xEF"), QStringLiteral("ⅰ"));
}

TEST(Cp932, UnmappableCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("a€b")), "a?b");
    EXPECT_EQ(Cp932FromUnicode(QStringLiteral("é😀z")), "??z"); // outside the BMP: one mark
    EXPECT_EQ(Cp932FromUnicode(QString(QChar(0xFEFF)) + "x"), "?x");
    QString lone;
    lone.append(QChar(0xD800));
    lone.append(QLatin1Char('k'));
    EXPECT_EQ(Cp932FromUnicode(lone), "?k");
}

TEST(Cp932, InvalidBytesShowAsReplacementAndDecodingGoesOn) {
    const QString rep(QChar(0xFFFD));
    EXPECT_EQ(UnicodeFromCp932("A\x80"
                               "B"),
              "A" + rep + "B");
    EXPECT_EQ(UnicodeFromCp932("\xA0\xFD\xFE\xFF"), rep + rep + rep + rep);
    // A lead byte with a bad trail byte: only the lead byte is lost.
    EXPECT_EQ(UnicodeFromCp932("\x81\x20"
                               "C"),
              rep + " C");
    // Truncated at the end.
    EXPECT_EQ(UnicodeFromCp932("\x8E\x52\x93"), QStringLiteral("山") + rep);
}

TEST(Cp932, EmptyAndNulBytes) {
    EXPECT_EQ(Cp932FromUnicode(QString()), "");
    EXPECT_EQ(UnicodeFromCp932(""), QString());
    const std::string withNul("A\0B", 3);
    EXPECT_EQ(UnicodeFromCp932(withNul).size(), 3);
    EXPECT_EQ(Cp932FromUnicode(UnicodeFromCp932(withNul)), withNul);
}

TEST(Cp932, HundredThousandCharacterNames) {
    QString name;
    for (int i = 0; i < 100000; ++i) {
        name.append(i % 3 == 0 ? QChar(u'漢') : i % 3 == 1 ? QChar(u'x') : QChar(u'€'));
    }
    const std::string bytes = Cp932FromUnicode(name);
    ASSERT_EQ(bytes.size(), size_t{33334 * 2 + 33333 + 33333});
    EXPECT_EQ(bytes.substr(0, 4), "\x8A\xBFx?");
    QString back = UnicodeFromCp932(bytes);
    EXPECT_EQ(back.size(), 100000);
    EXPECT_EQ(back.left(3), QStringLiteral("漢x?"));
}

} // namespace
} // namespace vostrel
