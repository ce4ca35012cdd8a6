#include "platform/base/text.h"

#include <gtest/gtest.h>

using platform::AnsiToWide;
using platform::Utf16LeToWide;
using platform::WideToAnsi;
using platform::WideToUtf16Le;

TEST(LegacyText, Gb2312BytesReadAsChineseAndBack) {
    EXPECT_STREQ(platform::AnsiCodePage(), "CP936");
    EXPECT_EQ(AnsiToWide("\x80"), L"\u20AC");      // the euro sign, as in the Windows code page
    const std::string gb = "\xD0\xC7\xBA\xA3 ok";  // 星海 ok
    EXPECT_EQ(AnsiToWide(gb), L"\u661F\u6D77 ok");
    EXPECT_EQ(WideToAnsi(L"\u661F\u6D77 ok"), gb);
}

TEST(LegacyText, InvalidBytesBecomeReplacementCharactersAndTheRestSurvives) {
    // 0xFF is no character in GBK; 0x81 0x20 is a lead byte with an invalid trail byte, after which
    // the blank still counts; a lead byte at the very end has no trail byte at all.
    EXPECT_EQ(AnsiToWide("a\xFF"
                         "b"),
              L"a\uFFFD"
              L"b");
    EXPECT_EQ(AnsiToWide("a\x81 b"), L"a\uFFFD b");
    EXPECT_EQ(AnsiToWide("ab\xD0"), L"ab\uFFFD");
    // A split character converted in two halves gives two replacements, not a crash or a merge.
    EXPECT_EQ(AnsiToWide("\xD0") + AnsiToWide("\xC7"), L"\uFFFD\uFFFD");
}

TEST(LegacyText, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(WideToAnsi(L"x\u0E01y\U0001F600"), "x?y?");
}

TEST(LegacyText, EmptyTextConvertsToEmptyText) {
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(WideToAnsi(L""), "");
    EXPECT_EQ(platform::Utf8ToWide(""), L"");
}

TEST(Utf8Text, RoundTripsAndReplacesMalformedSequences) {
    EXPECT_EQ(platform::WideToUtf8(L"\u661F\U0001F600"), "\xE6\x98\x9F\xF0\x9F\x98\x80");
    EXPECT_EQ(platform::Utf8ToWide("\xE6\x98\x9F\xF0\x9F\x98\x80"), L"\u661F\U0001F600");
    EXPECT_EQ(platform::Utf8ToWide("a\xFF"
                                   "b\xE6\x98"),
              L"a\uFFFD"
              L"b\uFFFD\uFFFD");
}

TEST(Utf16Text, UsesSurrogatePairsAndLittleEndianUnits) {
    std::string bytes = WideToUtf16Le(L"A\U0001F600");
    EXPECT_EQ(bytes, std::string("A\0\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(Utf16LeToWide(bytes), L"A\U0001F600");
}

TEST(Utf16Text, OddTrailingByteAndLoneSurrogateDoNotBreakDecoding) {
    EXPECT_EQ(Utf16LeToWide(std::string("A\0B", 3)), L"A");
    EXPECT_EQ(Utf16LeToWide(std::string("\x3D\xD8"
                                        "B\0",
                                        4)),
              L"\uFFFD"
              L"B");
}

TEST(LegacyText, FileNamesCompareWithoutRegardToCase) {
    EXPECT_TRUE(platform::EqualsIgnoreCase(L"/opt/Game/StarSea", L"/opt/game/STARSEA"));
    EXPECT_TRUE(platform::EqualsIgnoreCase(L"\u00C9t\u00E9", L"\u00E9T\u00C9")) << "beyond ASCII too";
    EXPECT_TRUE(platform::EqualsIgnoreCase(L"\u661F\u6D77", L"\u661F\u6D77"));
    EXPECT_FALSE(platform::EqualsIgnoreCase(L"/opt/game/a", L"/opt/game/a "));
    EXPECT_FALSE(platform::EqualsIgnoreCase(L"\u661F", L"\u6D77"));
}
