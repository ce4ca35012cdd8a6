// Maps opening a URL or file onto xdg-open, or GIO's default handlers when xdg-open is absent.
#include "platform/os/shell_open.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/os/process.h"
#include "platform/os/shortcut.h"

namespace platform {
namespace {

std::string FindInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = folder + "/" + name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// An absolute path or a URL: neither can be mistaken for an option of the program it goes to.
std::string Absolute(const std::string& target) {
    if (HasUrlScheme(target) || (!target.empty() && target[0] == '/')) {
        return target;
    }
    char* cwd = getcwd(nullptr, 0);
    std::string absolute = std::string(cwd != nullptr ? cwd : "") + "/" + target;
    free(cwd);
    return absolute;
}

bool OpenThroughGio(const std::string& target) {
    std::string uri = target;
    if (!HasUrlScheme(target)) {
        GFile* file = g_file_new_for_path(target.c_str());
        char* fileUri = g_file_get_uri(file);
        uri = fileUri;
        g_free(fileUri);
        g_object_unref(file);
    }
    GError* error = nullptr;
    gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    return ok != FALSE;
}

}  // namespace

bool OpenWithDefaultProgram(const std::string& target) {
    if (target.empty()) {
        return false;
    }
    std::string absolute = Absolute(target);
    std::string opener = FindInPath("xdg-open");
    if (!opener.empty()) {
        return StartDetachedProcess({opener, absolute});
    }
    return OpenThroughGio(absolute);
}

}  // namespace platform
