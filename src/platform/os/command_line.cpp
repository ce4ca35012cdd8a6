// The Windows command-line splitting rules, so that command lines from configuration and downloads mean
// what their authors wrote.
#include "platform/os/process.h"

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The program name takes no backslash escapes: it ends at the closing quote or at a blank.
std::string TakeProgramName(const std::string& line, size_t& i) {
    std::string name;
    bool quoted = false;
    for (; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            break;
        } else {
            name += c;
        }
    }
    return name;
}

std::string TakeArgument(const std::string& line, size_t& i) {
    std::string argument;
    bool quoted = false;
    while (i < line.size()) {
        char c = line[i];
        if (IsBlank(c) && !quoted) {
            break;
        }
        if (c == '\\') {
            size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    argument += '"';
                    ++i;
                }
            } else {
                argument.append(slashes, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                argument += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        argument += c;
        ++i;
    }
    return argument;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> args;
    size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) {
        ++i;
    }
    if (i == commandLine.size()) {
        return args;
    }
    args.push_back(TakeProgramName(commandLine, i));
    for (;;) {
        while (i < commandLine.size() && IsBlank(commandLine[i])) {
            ++i;
        }
        if (i == commandLine.size()) {
            return args;
        }
        args.push_back(TakeArgument(commandLine, i));
    }
}

}  // namespace platform
