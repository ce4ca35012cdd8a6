// The player tag in the program's file name, as the process received its path.
#include <gtest/gtest.h>

#include "app/NameTag.h"

TEST(NameTagTest, IsTheTextAfterTheFileNamesLastUnderscoreUpToABracketOrADot) {
    const struct {
        const wchar_t* path;
        const wchar_t* tag;
    } cases[] = {
        {L"/games/client_4711.run", L"4711"},
        {L"/games/client_4711(2).run", L"4711"},  // a second copy the file manager made
        {L"/games/a_b_c.run", L"c"},
        {L"./client_4711.run", L"4711"},
        {L"/ga_mes/client.run", L""},  // an underscore of a folder does not count
        {L"client_4711.run", L""},     // started through PATH: no folder part
        {L"/client_4711.run", L""},    // the separator is the first character
        {L"/games/_4711.run", L""},    // the underscore starts the file name
        {L"/games/client_4711", L""},  // nothing ends the tag
        {L"/games/client_.run", L""},
        {L"/games/\u73A9\u5BB6_\u661F\u6D77.run", L"\u661F\u6D77"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameTagFromProgramPath(c.path), c.tag)
            << "path: " << testing::PrintToString(std::wstring(c.path));
    }
}
