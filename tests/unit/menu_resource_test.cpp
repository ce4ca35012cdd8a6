#include "platform/ui/menu_resource.h"

#include <gtest/gtest.h>

using platform::MenuResourceItem;
using platform::ParseMenuResource;

TEST(MenuResource, ReadsItemsAndSeparatorsSkippingCommentsBlanksAndLineEnds) {
    std::vector<MenuResourceItem> items;
    std::string error;
    ASSERT_TRUE(
        ParseMenuResource("# tray\r\n201 \xCF\xD4\xCA\xBE  main\r\n\r\n-\r\n57665 Exit", items, error));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, 201);
    EXPECT_EQ(items[0].ansiText, "\xCF\xD4\xCA\xBE  main");
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].id, 57665);
    EXPECT_EQ(items[2].ansiText, "Exit");
}

TEST(MenuResource, MalformedLinesAreRejectedNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"201 Show\nShow again", "line 2: expected '<id> <text>' or '-'"},
        {"201\n", "line 1: item has no text"},
        {"201x Show", "line 1: item has no text"},
        {"0 Zero", "line 1: command id out of range 1..65535"},
        {"# c\n65536 Big", "line 2: command id out of range 1..65535"},
        {"99999999999999999999 Huge", "line 1: command id out of range 1..65535"},
        {"# only a comment\n", "menu has no items"},
        {"", "menu has no items"},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<MenuResourceItem> items;
        std::string error;
        EXPECT_FALSE(ParseMenuResource(text, items, error)) << text;
        EXPECT_EQ(error, expected) << text;
        EXPECT_TRUE(items.empty()) << text;
    }
}
