#pragma once
// The per-user registry: keys under HKEY_CURRENT_USER and HKEY_CLASSES_ROOT holding typed values, with
// the access, size and termination rules of the Windows registry. Key paths use '\' and, like value
// names, compare without regard to ASCII case. Strings are stored as UTF-16LE bytes, as on Windows.

#include <cstdint>
#include <string>

#include "platform/base/win_types.h"

namespace platform {

class RegistryKey final {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key. ERROR_FILE_NOT_FOUND when it does not exist.
    LONG Open(HKEY root, const std::wstring& subKey, REGSAM access);
    // Opens the key, creating it and any missing parents first.
    LONG Create(HKEY root, const std::wstring& subKey, REGSAM access);
    void Close();
    bool IsOpen() const { return m_open; }

    // The raw value: its type and bytes.
    LONG QueryValue(const std::wstring& name, DWORD& type, std::string& data) const;
    // A REG_SZ or REG_EXPAND_SZ value read into a buffer of `bufferChars` UTF-16 units: fails when the
    // value does not fit (ERROR_MORE_DATA), has an odd byte size or lacks its terminating zero
    // (ERROR_INVALID_DATA), or is of another type (ERROR_UNSUPPORTED_TYPE).
    LONG QueryString(const std::wstring& name, DWORD bufferChars, std::wstring& text) const;
    // A REG_DWORD read into a 4-byte buffer.
    LONG QueryDword(const std::wstring& name, DWORD& value) const;

    LONG SetValue(const std::wstring& name, DWORD type, const std::string& data);
    // Stores the text with its terminating zero: 2 * (characters + 1) bytes.
    LONG SetString(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);
    LONG SetDword(const std::wstring& name, DWORD value);
    // Stores `value` as a REG_QWORD unless the value holds a larger one; `newest` is what it holds then.
    // Reading and writing are one transaction, so clients running at once never lower it. A value of
    // another type or size counts as none. Needs both query and set access.
    LONG RaiseQword(const std::wstring& name, std::uint64_t value, std::uint64_t& newest);

private:
    LONG Attach(HKEY root, const std::wstring& subKey, REGSAM access, bool create);

    bool m_open = false;
    long long m_id = 0;
    REGSAM m_access = 0;
};

}  // namespace platform
