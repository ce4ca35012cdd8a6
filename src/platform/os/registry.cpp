// Registry keys with the Windows access and value rules, over the SQLite store.
#include "platform/os/registry.h"

#include <cstring>
#include <utility>

#include "platform/base/text.h"
#include "platform/os/registry_store.h"

namespace platform {
namespace {

// "a\\b\" and "\a\b" name the same key as "a\b": empty components are dropped.
std::string NormalisePath(const std::wstring& subKey) {
    std::wstring path;
    size_t start = 0;
    while (start <= subKey.size()) {
        size_t end = subKey.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = subKey.size();
        }
        if (end > start) {
            if (!path.empty()) {
                path += L'\\';
            }
            path.append(subKey, start, end - start);
        }
        start = end + 1;
    }
    return WideToUtf8(path);
}

bool IsRoot(HKEY root) {
    return root == HKEY_CURRENT_USER || root == HKEY_CLASSES_ROOT;
}

}  // namespace

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : m_open(std::exchange(other.m_open, false)), m_id(other.m_id), m_access(other.m_access) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_open = std::exchange(other.m_open, false);
        m_id = other.m_id;
        m_access = other.m_access;
    }
    return *this;
}

LONG RegistryKey::Open(HKEY root, const std::wstring& subKey, REGSAM access) {
    return Attach(root, subKey, access, false);
}

LONG RegistryKey::Create(HKEY root, const std::wstring& subKey, REGSAM access) {
    return Attach(root, subKey, access, true);
}

LONG RegistryKey::Attach(HKEY root, const std::wstring& subKey, REGSAM access, bool create) {
    Close();
    if (!IsRoot(root)) {
        return ERROR_INVALID_HANDLE;
    }
    RegistryStore& store = RegistryStore::Instance();
    std::string path = NormalisePath(subKey);
    long long id = 0;
    LONG rc = create ? store.CreateKey(root, path, id) : store.FindKey(root, path, id);
    if (rc == ERROR_SUCCESS) {
        m_open = true;
        m_id = id;
        m_access = access;
    }
    return rc;
}

void RegistryKey::Close() {
    m_open = false;
}

LONG RegistryKey::QueryValue(const std::wstring& name, DWORD& type, std::string& data) const {
    if (!m_open) {
        return ERROR_INVALID_HANDLE;
    }
    if ((m_access & KEY_QUERY_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    return RegistryStore::Instance().QueryValue(m_id, WideToUtf8(name), type, data);
}

LONG RegistryKey::QueryString(const std::wstring& name, DWORD bufferChars, std::wstring& text) const {
    DWORD type = REG_NONE;
    std::string data;
    LONG rc = QueryValue(name, type, data);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return ERROR_UNSUPPORTED_TYPE;
    }
    if (data.size() > 2 * static_cast<size_t>(bufferChars)) {
        return ERROR_MORE_DATA;
    }
    if (data.size() % 2 != 0 || data.size() < 2 || data[data.size() - 1] != 0 || data[data.size() - 2] != 0) {
        return ERROR_INVALID_DATA;
    }
    // The text ends at its first terminator, as a C string read from the buffer would.
    size_t units = 0;
    while (data[2 * units] != 0 || data[2 * units + 1] != 0) {
        ++units;
    }
    text = Utf16LeToWide(std::string_view(data).substr(0, 2 * units));
    return ERROR_SUCCESS;
}

LONG RegistryKey::QueryDword(const std::wstring& name, DWORD& value) const {
    DWORD type = REG_NONE;
    std::string data;
    LONG rc = QueryValue(name, type, data);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (data.size() > sizeof(DWORD)) {
        return ERROR_MORE_DATA;
    }
    if (type != REG_DWORD) {
        return ERROR_UNSUPPORTED_TYPE;
    }
    if (data.size() != sizeof(DWORD)) {
        return ERROR_INVALID_DATA;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
    return ERROR_SUCCESS;
}

LONG RegistryKey::SetValue(const std::wstring& name, DWORD type, const std::string& data) {
    if (!m_open) {
        return ERROR_INVALID_HANDLE;
    }
    if ((m_access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    return RegistryStore::Instance().SetValue(m_id, WideToUtf8(name), type, data);
}

LONG RegistryKey::RaiseQword(const std::wstring& name, std::uint64_t value, std::uint64_t& newest) {
    if (!m_open) {
        return ERROR_INVALID_HANDLE;
    }
    if ((m_access & (KEY_QUERY_VALUE | KEY_SET_VALUE)) != (KEY_QUERY_VALUE | KEY_SET_VALUE)) {
        return ERROR_ACCESS_DENIED;
    }
    return RegistryStore::Instance().RaiseQword(m_id, WideToUtf8(name), value, newest);
}

LONG RegistryKey::SetString(const std::wstring& name, const std::wstring& text, DWORD type) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string data = WideToUtf16Le(text);
    data.append(2, '\0');
    return SetValue(name, type, data);
}

LONG RegistryKey::SetDword(const std::wstring& name, DWORD value) {
    std::string data(sizeof(DWORD), '\0');
    for (size_t i = 0; i < sizeof(DWORD); ++i) {
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return SetValue(name, REG_DWORD, data);
}

}  // namespace platform
