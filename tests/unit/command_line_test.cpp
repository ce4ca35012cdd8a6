#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/process.h"

using platform::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLine, ProgramNameEndsAtABlankOrItsClosingQuote) {
    EXPECT_EQ(SplitCommandLine("setup.run /S"), (Args{"setup.run", "/S"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/my games/setup.run\" /S"), (Args{"/opt/my games/setup.run", "/S"}));
    EXPECT_EQ(SplitCommandLine("  \t/bin/true  "), (Args{"/bin/true"}));
    EXPECT_EQ(SplitCommandLine("C:\\dir\\a.exe x"), (Args{"C:\\dir\\a.exe", "x"}))
        << "backslashes in the program name are never escapes";
    EXPECT_EQ(SplitCommandLine("\"C:\\dir\\\" x"), (Args{"C:\\dir\\", "x"}));
}

TEST(CommandLine, ArgumentsFollowTheBackslashAndQuoteRules) {
    EXPECT_EQ(SplitCommandLine("p \"a b\" c"), (Args{"p", "a b", "c"}));
    EXPECT_EQ(SplitCommandLine("p a\\\\b"), (Args{"p", "a\\\\b"}))
        << "backslashes not before a quote are literal";
    EXPECT_EQ(SplitCommandLine("p a\\\"b"), (Args{"p", "a\"b"})) << "1 backslash + quote: a literal quote";
    EXPECT_EQ(SplitCommandLine("p a\\\\\"b c\""), (Args{"p", "a\\b c"}))
        << "2 backslashes + quote: one, and grouping";
    EXPECT_EQ(SplitCommandLine("p a\\\\\\\"b"), (Args{"p", "a\\\"b"})) << "3 backslashes + quote";
    EXPECT_EQ(SplitCommandLine("p \"a\"\"b\""), (Args{"p", "a\"b"})) << "\"\" inside quotes is a quote";
    EXPECT_EQ(SplitCommandLine("p \"\" x"), (Args{"p", "", "x"})) << "an empty quoted argument is kept";
    EXPECT_EQ(SplitCommandLine("p a\"b c\"d"), (Args{"p", "ab cd"})) << "quotes may open mid-argument";
}

TEST(CommandLine, UnpairedQuotesRunToTheEnd) {
    EXPECT_EQ(SplitCommandLine("p \"a b"), (Args{"p", "a b"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/x y"), (Args{"/opt/x y"}));
    EXPECT_EQ(SplitCommandLine("p a\\"), (Args{"p", "a\\"}));
}

TEST(CommandLine, BlankLineHasNoProgram) {
    EXPECT_TRUE(SplitCommandLine("").empty());
    EXPECT_TRUE(SplitCommandLine(" \t ").empty());
    EXPECT_FALSE(platform::StartCommandLine("   ")) << "nothing to start is a failure, not a crash";
}
