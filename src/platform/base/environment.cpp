// Maps %NAME% expansion onto the process environment.
#include "platform/base/environment.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {
namespace {

bool Lookup(const std::string& name, std::string& value) {
    if (const char* exact = std::getenv(name.c_str())) {
        value = exact;
        return true;
    }
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals != nullptr && static_cast<size_t>(equals - *entry) == name.size() &&
            strncasecmp(*entry, name.c_str(), name.size()) == 0) {
            value = equals + 1;
            return true;
        }
    }
    if (strcasecmp(name.c_str(), "TEMP") == 0 || strcasecmp(name.c_str(), "TMP") == 0) {
        const char* tmpdir = std::getenv("TMPDIR");
        value = tmpdir != nullptr && tmpdir[0] != '\0' ? tmpdir : "/tmp";
        return true;
    }
    return false;
}

}  // namespace

std::string ExpandEnvironmentStrings(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find('%', i);
        if (open == std::string::npos) {
            break;
        }
        size_t close = text.find('%', open + 1);
        if (close == std::string::npos) {
            break;
        }
        std::string value;
        if (close > open + 1 && Lookup(text.substr(open + 1, close - open - 1), value)) {
            out += text.substr(i, open - i) + value;
            i = close + 1;
        } else {
            // Not a variable: keep the first '%' and look again from the second one.
            out += text.substr(i, close - i);
            i = close;
        }
    }
    return out + text.substr(i);
}

}  // namespace platform
