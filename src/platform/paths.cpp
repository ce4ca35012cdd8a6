// Maps the per-user folders onto the environment and the POSIX file system.
#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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
