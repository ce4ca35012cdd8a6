// Maps the module path onto /proc/self/exe.
#include "platform/base/module.h"

#include <unistd.h>

#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex& OverrideLock() {
    static std::mutex lock;
    return lock;
}

std::string& Override() {
    static std::string path;
    return path;
}

}  // namespace

std::string ModuleFileName() {
    {
        std::lock_guard<std::mutex> guard(OverrideLock());
        if (!Override().empty()) {
            return Override();
        }
    }
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

void OverrideModuleFileName(const std::string& path) {
    std::lock_guard<std::mutex> guard(OverrideLock());
    Override() = path;
}

}  // namespace platform
