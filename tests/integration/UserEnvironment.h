#pragma once
// A user of one test: fresh home, config, data and cache folders, and a program file of its own, so that
// the registry, shortcuts, icons and the set-up's renaming never touch the real user or the test
// executable. The environment is restored afterwards.

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

class UserEnvironment {
public:
    UserEnvironment();
    ~UserEnvironment();
    UserEnvironment(const UserEnvironment&) = delete;
    UserEnvironment& operator=(const UserEnvironment&) = delete;

    std::string Home() const { return m_dir / "home"; }
    std::string ConfigHome() const { return m_dir / "config"; }
    std::string DataHome() const { return m_dir / "data"; }
    std::string CacheHome() const { return m_dir / "cache"; }
    std::string Desktop() const { return Home() + "/Desktop"; }
    std::string StorePath() const { return ConfigHome() + "/Velmora/registry.db"; }
    // The folder the program pretends to run from, and its file there (not created).
    std::string ProgramFolder() const { return m_dir / "program"; }
    std::string ProgramFile() const { return ProgramFolder() + "/client_4711.run"; }
    // Any other scratch path.
    std::string Path(const std::string& name) const { return m_dir / name; }

    // Sets a variable for this test only; it is restored with the rest.
    void Set(const char* name, const std::string& value);

private:
    TempDir m_dir;
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> m_saved;
};
