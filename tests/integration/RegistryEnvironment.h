#pragma once
// Points the registry at a fresh $XDG_CONFIG_HOME for one test and restores the environment after.

#include <string>

#include "support/TempDir.h"

class RegistryEnvironment {
public:
    RegistryEnvironment();
    ~RegistryEnvironment();

    std::string ConfigHome() const { return m_dir.Path(); }
    std::string StorePath() const { return m_dir / "Velmora/registry.db"; }

private:
    TempDir m_dir;
    std::string m_saved;
    bool m_hadValue = false;
};
