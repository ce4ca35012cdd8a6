#include "RegistryEnvironment.h"

#include <cstdlib>

#include "platform/registry_store.h"

RegistryEnvironment::RegistryEnvironment() {
    if (const char* value = std::getenv("XDG_CONFIG_HOME")) {
        m_saved = value;
        m_hadValue = true;
    }
    setenv("XDG_CONFIG_HOME", m_dir.Path().c_str(), 1);
    platform::RegistryStore::Reset();
}

RegistryEnvironment::~RegistryEnvironment() {
    platform::RegistryStore::Reset();
    if (m_hadValue) {
        setenv("XDG_CONFIG_HOME", m_saved.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}
