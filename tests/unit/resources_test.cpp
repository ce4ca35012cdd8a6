#include "platform/base/resources.h"

#include <gtest/gtest.h>

// These resources come from this executable's own manifest (tests/unit/fixtures).

TEST(Resources, FindsCompiledInResourcesByTypeAndId) {
    platform::ResourceBytes menu = platform::FindResource("MENU", 200);
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(menu.view().substr(0, 4), "201 ");
    EXPECT_FALSE(platform::FindResource("menu", 200).empty()) << "type names ignore case";
}

TEST(Resources, AbsentIdOrTypeFindsNothing) {
    EXPECT_TRUE(platform::FindResource("MENU", 201).empty());
    EXPECT_TRUE(platform::FindResource("BITMAP", 200).empty());
    EXPECT_TRUE(platform::FindResource("", 0).empty());
}

TEST(Resources, AnEmptyFileIsAResourceOfSizeZero) {
    platform::ResourceBytes empty = platform::FindResource("XML", 401);
    EXPECT_FALSE(empty.empty());
    EXPECT_EQ(empty.size, 0u);
}

TEST(Resources, StringResourcesAreLegacyTextReadAsWideText) {
    EXPECT_EQ(platform::LoadResourceString(128), L"\u661F\u6D77\u7EAA\u5143");
    EXPECT_EQ(platform::LoadResourceString(999), L"");
}
