// Parses the text format of "MENU" resources.
#include "platform/ui/menu_resource.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r\n";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Parses "<id> <text>"; returns false when the line is not an item.
bool ParseItem(std::string_view line, MenuResourceItem& item, std::string& why) {
    size_t digits = 0;
    long id = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') {
        id = id * 10 + (line[digits] - '0');
        if (id > 65535) {
            why = "command id out of range 1..65535";
            return false;
        }
        ++digits;
    }
    if (digits == 0) {
        why = "expected '<id> <text>' or '-'";
        return false;
    }
    if (id == 0) {
        why = "command id out of range 1..65535";
        return false;
    }
    std::string_view text = Trim(line.substr(digits));
    if (digits == line.size() || (line[digits] != ' ' && line[digits] != '\t') || text.empty()) {
        why = "item has no text";
        return false;
    }
    item.id = static_cast<int>(id);
    item.ansiText = std::string(text);
    return true;
}

}  // namespace

bool ParseMenuResource(std::string_view text, std::vector<MenuResourceItem>& items, std::string& error) {
    items.clear();
    int lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        MenuResourceItem item;
        if (line == "-") {
            item.separator = true;
        } else {
            std::string why;
            if (!ParseItem(line, item, why)) {
                error = "line " + std::to_string(lineNumber) + ": " + why;
                items.clear();
                return false;
            }
        }
        items.push_back(std::move(item));
    }
    if (items.empty()) {
        error = "menu has no items";
        return false;
    }
    return true;
}

}  // namespace platform
