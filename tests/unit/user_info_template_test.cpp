// The user-info request built from the configuration's template: which templates are filled and how, and
// which are refused instead of being trusted like a printf format.
#include <gtest/gtest.h>

#include "app/GameUrlService.h"

namespace {

const wchar_t kSign[] = L"0123456789abcdef0123456789abcdef";

}  // namespace

TEST(UserInfoTemplateTest, FillsThePlaceholdersInOrderAndRefusesAnyOtherConversion) {
    const struct {
        const wchar_t* format;
        bool filled;
        const wchar_t* url;  // when filled
    } cases[] = {
        {L"http://h/u?user=%s+reason=%d+t=%d+sign=%s", true,
         L"http://h/u?user=4711+reason=1+t=-5+sign=0123456789abcdef0123456789abcdef"},
        {L"http://h/u?user=%s&reason=%d", true, L"http://h/u?user=4711&reason=1"},
        {L"http://h/u?user=%s", true, L"http://h/u?user=4711"},
        {L"http://h/fixed", true, L"http://h/fixed"},
        {L"http://h/u?rate=100%%&user=%s%%", true, L"http://h/u?rate=100%&user=4711%"},
        {L"%%s%s", true, L"%s4711"},  // an escaped percent does not start a placeholder
        {L"", false, L""},
        {L"http://h/u?user=%s%n", false, L""},
        {L"http://h/u?user=%x", false, L""},
        {L"http://h/u?reason=%d", false, L""},  // the first argument is the tag
        {L"http://h/u?user=%d", false, L""},
        {L"http://h/u?user=%s&reason=%s", false, L""},
        {L"%s%d%d%s%s", false, L""},
        {L"http://h/u?user=%s&reason=%5d", false, L""},
        {L"http://h/u?user=%ls", false, L""},
        {L"http://h/u?user=%s%", false, L""},
        {L"%", false, L""},
    };
    for (const auto& c : cases) {
        std::wstring url = L"untouched";
        EXPECT_EQ(FillUserInfoTemplate(c.format, L"4711", GameUrlReason::Reload, -5, kSign, url), c.filled)
            << testing::PrintToString(std::wstring(c.format));
        EXPECT_EQ(url, c.filled ? std::wstring(c.url) : L"untouched")
            << testing::PrintToString(std::wstring(c.format));
    }
}

TEST(UserInfoTemplateTest, SignsTheTagStampAndKeyInTheAnsiCodePage) {
    const struct {
        const wchar_t* tag;
        int stamp;
        const wchar_t* key;
        const wchar_t* signature;  // md5sum of the same bytes
    } cases[] = {
        {L"player-", 1700000000, L"velmora-demo-key", L"a014bfe2632c0ef85c1c0def51155bfa"},
        {L"\u73A9\u5BB6"
         L"4711",
         1700000000, L"key", L"57d3dad2c66a6334f802457f1606e5a9"},  // CP936 bytes
        {L"x", -5, L"k", L"74bd3166936d7de77a2b04a2170461de"},
        {L"", 0, L"", L"cfcd208495d565ef66e7dff9f98764da"},  // the bytes "0"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GameUrlSignature(c.tag, c.stamp, c.key), c.signature) << c.stamp;
    }
}
