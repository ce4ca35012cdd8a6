// Maps the per-user folders onto the environment and the POSIX file system.
#include "platform/base/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace platform {
namespace {

std::string XdgDir(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    return HomeDir() + underHome;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The value of `XDG_DESKTOP_DIR="..."` in user-dirs.dirs: "$HOME/..." or an absolute path, in
// double quotes with backslash escapes. Empty when the line is absent or unusable.
std::string DesktopDirSetting() {
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
    const std::string key = "XDG_DESKTOP_DIR=";
    std::string line;
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) {
            continue;
        }
        std::string quoted = line.substr(start + key.size());
        if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
            return {};
        }
        std::string value;
        for (size_t i = 1; i + 1 < quoted.size(); ++i) {
            if (quoted[i] == '\\' && i + 2 < quoted.size()) {
                ++i;
            }
            value += quoted[i];
        }
        if (value == "$HOME" || value.rfind("$HOME/", 0) == 0) {
            return HomeDir() + value.substr(5);
        }
        return value.rfind('/', 0) == 0 ? value : std::string();
    }
    return {};
}

}  // namespace

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/tmp";
}

std::string ConfigHome() {
    return XdgDir("XDG_CONFIG_HOME", "/.config");
}

std::string CacheHome() {
    return XdgDir("XDG_CACHE_HOME", "/.cache");
}

std::string DataHome() {
    return XdgDir("XDG_DATA_HOME", "/.local/share");
}

std::string DesktopDir() {
    std::string desktop = DesktopDirSetting();
    if (desktop.empty()) {
        desktop = HomeDir() + "/Desktop";
    }
    while (desktop.size() > 1 && desktop.back() == '/') {
        desktop.pop_back();
    }
    MakeDirectories(desktop);
    return desktop;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) {
        return !path.empty();
    }
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) {
        return false;
    }
    return (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) && IsDirectory(path);
}

}  // namespace platform
