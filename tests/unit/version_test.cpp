#include "util/Version.h"

#include <gtest/gtest.h>

TEST(Version, LocalNumberIsTheVersionWithoutItsDots) {
    EXPECT_STREQ(kClientVersion, L"1.0.0.1");
    EXPECT_EQ(LocalVersionNumber(), 1001);
}

TEST(Version, OfferedVersionsCompareAsOneNumber) {
    EXPECT_FALSE(IsNewerVersion(L"")) << "no digits read as 0";
    EXPECT_FALSE(IsNewerVersion(L"1.0.0.1")) << "the same version is not newer";
    EXPECT_TRUE(IsNewerVersion(L"1.0.0.2"));
    EXPECT_TRUE(IsNewerVersion(L"1.0.0.10")) << "10010";
    EXPECT_FALSE(IsNewerVersion(L"1.1")) << "11: the parts are not compared one by one";
    EXPECT_FALSE(IsNewerVersion(L"2"));
    EXPECT_TRUE(IsNewerVersion(L"  1.0.1.0 (beta)"))
        << "leading blanks, then digits up to the first other character";
    EXPECT_FALSE(IsNewerVersion(L"-2.0.0.0"));
    EXPECT_FALSE(IsNewerVersion(L"v2.0.0.0")) << "a letter first means no number";
    EXPECT_TRUE(IsNewerVersion(L"99999999999999999999")) << "a huge number saturates instead of wrapping";
}
