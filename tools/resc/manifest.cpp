#include "manifest.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "platform/ui/menu_resource.h"

namespace resc {
namespace {

const char* const kTypes[] = {"XML", "PNG", "ICON", "MENU", "STRING"};

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// A resource id: 1 to 65535 in decimal digits; 0 for anything else.
int ParseId(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    int id = std::stoi(text);
    return id <= 65535 ? id : 0;
}

bool IsKnownType(const std::string& type) {
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !in.bad();
}

// Checks the content against its type; returns an empty string when it fits.
std::string CheckContent(ManifestEntry& entry) {
    if (entry.type == "PNG" || entry.type == "ICON") {
        if (entry.bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
            return "'" + entry.path + "' is not a PNG file";
        }
    } else if (entry.type == "MENU") {
        std::vector<platform::MenuResourceItem> items;
        std::string why;
        if (!platform::ParseMenuResource(entry.bytes, items, why)) {
            return "menu '" + entry.path + "' " + why;
        }
    } else if (entry.type == "STRING") {
        // A text file ends with a line break that is not part of the string.
        while (!entry.bytes.empty() && (entry.bytes.back() == '\n' || entry.bytes.back() == '\r')) {
            entry.bytes.pop_back();
        }
    }
    return {};
}

}  // namespace

std::vector<ManifestEntry> ReadManifest(const std::string& text, const std::string& folder,
                                        const std::string& name, std::vector<std::string>& errors) {
    std::vector<ManifestEntry> entries;
    std::map<std::pair<std::string, int>, int> seen;
    std::istringstream lines(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(lines, raw)) {
        ++lineNumber;
        auto fail = [&](const std::string& message) {
            errors.push_back(name + ":" + std::to_string(lineNumber) + ": " + message);
        };
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string type, idText;
        fields >> type >> idText;
        std::string file;
        std::getline(fields, file);
        file = Trim(file);
        type = Upper(type);
        if (file.empty()) {
            fail("expected 'TYPE ID FILE'");
            continue;
        }
        if (!IsKnownType(type)) {
            fail("unknown resource type '" + type + "' (XML, PNG, ICON, MENU or STRING)");
            continue;
        }
        int id = ParseId(idText);
        if (id == 0) {
            fail("resource id '" + idText + "' is not a number from 1 to 65535");
            continue;
        }
        ManifestEntry entry;
        entry.type = type;
        entry.id = id;
        entry.line = lineNumber;
        entry.path = file[0] == '/' ? file : folder + "/" + file;
        auto [previous, fresh] = seen.emplace(std::make_pair(type, entry.id), lineNumber);
        if (!fresh) {
            fail("duplicate " + type + " " + idText + " (first at line " + std::to_string(previous->second) +
                 ")");
            continue;
        }
        if (!ReadFile(entry.path, entry.bytes)) {
            fail("cannot read '" + entry.path + "'");
            continue;
        }
        std::string problem = CheckContent(entry);
        if (!problem.empty()) {
            fail(problem);
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace resc
