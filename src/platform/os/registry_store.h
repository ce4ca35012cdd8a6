#pragma once
// The SQLite file behind the registry: $XDG_CONFIG_HOME/Velmora/registry.db (default ~/.config). Each
// process holds one connection; the file is in WAL mode with a busy timeout, so several clients can
// read and write at once. A store that cannot be opened or is corrupt is reported once on stderr and
// every operation on it fails, leaving the file as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/base/win_types.h"

struct sqlite3;

namespace platform {

class RegistryStore final {
public:
    static RegistryStore& Instance();
    // Closes the store; the next use opens it again under the environment of that moment (tests).
    static void Reset();

    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::string& Path() const { return m_path; }
    bool Available() const { return m_db != nullptr; }

    // `path` is a normalised key path in UTF-8 ("" is the root itself).
    LONG FindKey(DWORD root, const std::string& path, long long& id);
    LONG CreateKey(DWORD root, const std::string& path, long long& id);
    LONG QueryValue(long long key, const std::string& name, DWORD& type, std::string& data);
    LONG SetValue(long long key, const std::string& name, DWORD type, const std::string& data);
    // Reads the REG_QWORD and writes `value` when it is larger, in one transaction (see RegistryKey).
    LONG RaiseQword(long long key, const std::string& name, std::uint64_t value, std::uint64_t& newest);

private:
    RegistryStore();
    void Open();
    int PrepareWithRetry();
    int Prepare();
    int CheckSchema(bool& fresh);
    int Transaction(const std::function<int()>& work);
    int Upsert(long long key, const std::string& name, DWORD type, const std::string& data);
    LONG Failure(int sqliteCode);

    std::string m_path;
    sqlite3* m_db = nullptr;
    bool m_reported = false;
    std::mutex m_lock;
};

}  // namespace platform
