// The process-wide table of compiled-in resources.
#include "platform/base/resources.h"

#include <strings.h>

#include <cstring>

#include <mutex>
#include <vector>

#include "platform/base/text.h"

namespace platform {
namespace {

struct Table {
    const ResourceEntry* entries;
    std::size_t count;
};

struct Registry {
    std::mutex lock;
    std::vector<Table> tables;
};

Registry& Tables() {
    static Registry registry;
    return registry;
}

bool SameType(const char* a, std::string_view b) {
    return std::strlen(a) == b.size() && strncasecmp(a, b.data(), b.size()) == 0;
}

}  // namespace

void RegisterResources(const ResourceEntry* entries, std::size_t count) {
    Registry& registry = Tables();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.tables.push_back({entries, count});
}

ResourceBytes FindResource(std::string_view type, int id) {
    Registry& registry = Tables();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto table = registry.tables.rbegin(); table != registry.tables.rend(); ++table) {
        for (std::size_t i = 0; i < table->count; ++i) {
            const ResourceEntry& entry = table->entries[i];
            if (entry.id == id && SameType(entry.type, type)) {
                return {entry.data, entry.size};
            }
        }
    }
    return {};
}

std::wstring LoadResourceString(int id) {
    ResourceBytes bytes = FindResource("STRING", id);
    if (bytes.empty()) {
        return {};
    }
    return AnsiToWide(bytes.view());
}

}  // namespace platform
