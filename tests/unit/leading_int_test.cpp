#include "util/LeadingInt.h"

#include <climits>

#include <gtest/gtest.h>

TEST(LeadingInt, ReadsBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(LeadingInt(" 12abc"), 12);
    EXPECT_EQ(LeadingInt("\t-7"), -7);
    EXPECT_EQ(LeadingInt("+3 4"), 3);
    EXPECT_EQ(LeadingInt(L" 1001"), 1001);
}

TEST(LeadingInt, NoDigitsGivesZero) {
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("yes"), 0);
    EXPECT_EQ(LeadingInt("  -"), 0);
    EXPECT_EQ(LeadingInt("- 5"), 0);
}

TEST(LeadingInt, HugeNumbersSaturateInsteadOfWrapping) {
    EXPECT_EQ(LeadingInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(LeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(LeadingInt("-2147483648"), INT_MIN);
}

TEST(LeadingInt, TheOptionalFormTellsNoDigitsFromZero) {
    EXPECT_EQ(LeadingIntIfAny(" 12px"), 12);
    EXPECT_EQ(LeadingIntIfAny("0"), 0);
    EXPECT_EQ(LeadingIntIfAny(L"-3"), -3);
    for (const char* none : {"", "x", " +", "- 5"}) {
        EXPECT_EQ(LeadingIntIfAny(none), std::nullopt) << '"' << none << '"';
    }
}
