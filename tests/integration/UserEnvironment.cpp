#include "UserEnvironment.h"

#include <cstdlib>

#include "platform/base/module.h"
#include "platform/base/paths.h"
#include "platform/os/registry_store.h"

UserEnvironment::UserEnvironment() {
    for (const std::string& folder : {Home(), ConfigHome(), DataHome(), CacheHome(), ProgramFolder()}) {
        platform::MakeDirectories(folder);
    }
    Set("HOME", Home());
    Set("XDG_CONFIG_HOME", ConfigHome());
    Set("XDG_DATA_HOME", DataHome());
    Set("XDG_CACHE_HOME", CacheHome());
    platform::OverrideModuleFileName(ProgramFile());
    platform::RegistryStore::Reset();
}

UserEnvironment::~UserEnvironment() {
    platform::RegistryStore::Reset();
    platform::OverrideModuleFileName("");
    // Restored in reverse, so a variable set twice ends as it was before the first time.
    for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
        if (saved->second.first) {
            setenv(saved->first.c_str(), saved->second.second.c_str(), 1);
        } else {
            unsetenv(saved->first.c_str());
        }
    }
}

void UserEnvironment::Set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    m_saved.push_back({name, {old != nullptr, old != nullptr ? old : ""}});
    setenv(name, value.c_str(), 1);
}
