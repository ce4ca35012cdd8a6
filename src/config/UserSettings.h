#pragma once
// The three per-user preferences kept in the registry under the product's key. Nothing in the client
// acts on them yet; they are kept and written back as they were read, with defaults where missing.

#include <string>

class UserSettings {
public:
    // Reads the values under HKEY_CURRENT_USER\regPath, creating the key and writing "0" for each value
    // that is missing or unreadable. A key that cannot be opened or created leaves the defaults.
    void Load(const std::wstring& regPath);
    // Writes the three values back as text; failures are ignored.
    void Save(const std::wstring& regPath) const;

    int m_nHotKey = 0;
    int m_nUseHotKey = 0;
    int m_nAlwaysTop = 0;
};
