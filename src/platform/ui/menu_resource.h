#pragma once
// The "MENU" resource format: one pop-up menu as text in the ANSI code page.
//
//   # comment lines start with '#'; blank lines are ignored
//   <id> <text>      an item: decimal command id 1..65535, one blank, then the item text
//   -                a separator
//
// The resource compiler checks menus with this parser at build time; the menu service reads them with
// it at run time.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MenuResourceItem {
    int id = 0;            // 0 for a separator
    std::string ansiText;  // the item text as stored (ANSI code page)
    bool separator = false;
};

// Fills `items`; on a malformed line returns false with `error` naming the line number.
bool ParseMenuResource(std::string_view text, std::vector<MenuResourceItem>& items, std::string& error);

}  // namespace platform
