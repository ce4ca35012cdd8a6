#include "config/UserSettings.h"

#include <string>

#include "platform/base/text.h"
#include "platform/os/registry.h"
#include "util/LeadingInt.h"

namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
constexpr DWORD kValueChars = 1024;

bool OpenOrCreate(platform::RegistryKey& key, const std::wstring& regPath) {
    return key.Open(HKEY_CURRENT_USER, regPath, kAccess) == ERROR_SUCCESS ||
           key.Create(HKEY_CURRENT_USER, regPath, kAccess) == ERROR_SUCCESS;
}

void LoadValue(platform::RegistryKey& key, const wchar_t* name, int& field) {
    std::wstring text;
    if (key.QueryString(name, kValueChars, text) != ERROR_SUCCESS) {
        key.SetString(name, std::to_wstring(field));
        return;
    }
    field = LeadingInt(platform::WideToAnsi(text));
}

}  // namespace

void UserSettings::Load(const std::wstring& regPath) {
    platform::RegistryKey key;
    if (regPath.empty() || !OpenOrCreate(key, regPath)) {
        return;
    }
    LoadValue(key, L"UseHotKey", m_nUseHotKey);
    LoadValue(key, L"AlwaysTop", m_nAlwaysTop);
    LoadValue(key, L"HotKey", m_nHotKey);
}

// An empty path would address the root itself; settings never belong there.
void UserSettings::Save(const std::wstring& regPath) const {
    if (regPath.empty()) {
        return;
    }
    const std::pair<const wchar_t*, int> values[] = {
        {L"AlwaysTop", m_nAlwaysTop}, {L"UseHotKey", m_nUseHotKey}, {L"HotKey", m_nHotKey}};
    for (const auto& [name, field] : values) {
        platform::RegistryKey key;
        if (OpenOrCreate(key, regPath)) {
            key.SetString(name, std::to_wstring(field));
        }
    }
}
