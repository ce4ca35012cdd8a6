// Maps registry keys and values onto tables of an SQLite file.
#include "platform/os/registry_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <thread>

#include "platform/base/paths.h"
#include "platform/base/sqlite_statement.h"

namespace platform {
namespace {

// Other clients may hold the write lock for a moment; wait for it rather than fail.
constexpr int kBusyTimeoutMs = 10000;

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY,"
    "  root INTEGER NOT NULL,"
    "  path TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(root, path));"
    "CREATE TABLE IF NOT EXISTS vals("
    "  key_id INTEGER NOT NULL REFERENCES keys(id),"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key_id, name));"
    "INSERT OR IGNORE INTO keys(root, path) VALUES (2147483648, ''), (2147483649, '');";

std::unique_ptr<RegistryStore>& Slot() {
    static std::unique_ptr<RegistryStore> store;
    return store;
}

std::mutex& SlotLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

RegistryStore& RegistryStore::Instance() {
    std::lock_guard<std::mutex> guard(SlotLock());
    if (!Slot()) {
        Slot().reset(new RegistryStore());
    }
    return *Slot();
}

void RegistryStore::Reset() {
    std::lock_guard<std::mutex> guard(SlotLock());
    Slot().reset();
}

RegistryStore::RegistryStore() {
    Open();
}

RegistryStore::~RegistryStore() {
    sqlite3_close(m_db);
}

void RegistryStore::Open() {
    std::string folder = ConfigHome() + "/Velmora";
    m_path = folder + "/registry.db";
    bool writable = MakeDirectories(folder);
    int flags = SQLITE_OPEN_FULLMUTEX |
                (writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY);
    int rc = sqlite3_open_v2(m_path.c_str(), &m_db, flags, nullptr);
    if (rc == SQLITE_OK) {
        rc = PrepareWithRetry();
    }
    if (rc != SQLITE_OK) {
        std::cerr << "velmora: the settings store " << m_path << " cannot be used (" << sqlite3_errstr(rc)
                  << "); running on default settings\n";
        m_reported = true;
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

// Switching a new file to WAL while another client does the same can fail at once with "database is
// locked" instead of waiting in the busy handler; such a collision is retried for the busy timeout.
int RegistryStore::PrepareWithRetry() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        int rc = Prepare();
        int primary = rc & 0xFF;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() > deadline) {
            return rc;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Sets the connection up and creates the tables in a new file; an SQLite code other than SQLITE_OK when
// the file is not a usable store. Nothing is written to a file that fails the check.
int RegistryStore::Prepare() {
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    bool fresh = false;
    int rc = CheckSchema(fresh);
    if (rc != SQLITE_OK) {
        return rc;
    }
    if (sqlite3_db_readonly(m_db, "main")) {
        return fresh ? SQLITE_READONLY : SQLITE_OK;
    }
    rc = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK || !fresh) {
        return rc;
    }
    return Transaction([this] { return sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr); });
}

// IMMEDIATE takes the write lock at the start, so no other client writes between a read and a write.
int RegistryStore::Transaction(const std::function<int()>& work) {
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return rc;
    }
    rc = work();
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return rc;
}

// A file without our tables is new; one with both must have the columns this store uses. Anything
// else (garbage, another program's database) is refused.
int RegistryStore::CheckSchema(bool& fresh) {
    SqliteStatement tables(
        m_db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')");
    int rc = tables.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    long long count = tables.Int(0);
    fresh = count == 0;
    if (fresh) {
        return SQLITE_OK;
    }
    SqliteStatement keys(m_db, "SELECT id, root, path FROM keys LIMIT 1");
    SqliteStatement values(m_db, "SELECT key_id, name, type, data FROM vals LIMIT 1");
    bool ours = count == 2 && keys.PrepareResult() == SQLITE_OK && values.PrepareResult() == SQLITE_OK;
    return ours ? SQLITE_OK : SQLITE_NOTADB;
}

// Reports the first failure of an open store on stderr, so a store that breaks later is not silent.
LONG RegistryStore::Failure(int sqliteCode) {
    if (!m_reported) {
        std::cerr << "velmora: the settings store " << m_path << " failed (" << sqlite3_errstr(sqliteCode)
                  << "); settings may not be kept\n";
        m_reported = true;
    }
    return ERROR_REGISTRY_IO_FAILED;
}

LONG RegistryStore::FindKey(DWORD root, const std::string& path, long long& id) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_db == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    SqliteStatement find(m_db, "SELECT id FROM keys WHERE root = ?1 AND path = ?2");
    find.Bind(1, static_cast<long long>(root));
    find.Bind(2, path);
    int rc = find.Step();
    if (rc == SQLITE_ROW) {
        id = find.Int(0);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : Failure(rc);
}

LONG RegistryStore::CreateKey(DWORD root, const std::string& path, long long& id) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_db == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    const int rc = Transaction([&] {
        // Parents are created with the key, as on Windows, so each of them can be opened afterwards.
        SqliteStatement insert(m_db, "INSERT OR IGNORE INTO keys(root, path) VALUES (?1, ?2)");
        int result = SQLITE_OK;
        for (size_t end = path.find('\\'); result == SQLITE_OK; end = path.find('\\', end + 1)) {
            insert.Reset();
            insert.Bind(1, static_cast<long long>(root));
            insert.Bind(2, path.substr(0, end));
            result = insert.Step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
            if (end == std::string::npos) {
                break;
            }
        }
        SqliteStatement find(m_db, "SELECT id FROM keys WHERE root = ?1 AND path = ?2");
        find.Bind(1, static_cast<long long>(root));
        find.Bind(2, path);
        if (result == SQLITE_OK) {
            result = find.Step() == SQLITE_ROW ? SQLITE_OK : sqlite3_errcode(m_db);
            id = find.Int(0);
        }
        return result;
    });
    return rc == SQLITE_OK ? ERROR_SUCCESS : Failure(rc);
}

LONG RegistryStore::QueryValue(long long key, const std::string& name, DWORD& type, std::string& data) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_db == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    SqliteStatement query(m_db, "SELECT type, data FROM vals WHERE key_id = ?1 AND name = ?2");
    query.Bind(1, key);
    query.Bind(2, name);
    int rc = query.Step();
    if (rc == SQLITE_ROW) {
        type = static_cast<DWORD>(query.Int(0));
        data = query.Blob(1);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : Failure(rc);
}

LONG RegistryStore::SetValue(long long key, const std::string& name, DWORD type, const std::string& data) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_db == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    // One statement is one transaction: a concurrent writer sees the old value or the new one.
    int rc = Upsert(key, name, type, data);
    return rc == SQLITE_OK ? ERROR_SUCCESS : Failure(rc);
}

LONG RegistryStore::RaiseQword(long long key, const std::string& name, std::uint64_t value,
                               std::uint64_t& newest) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_db == nullptr) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    const int rc = Transaction([&] {
        std::uint64_t stored = 0;
        SqliteStatement query(m_db, "SELECT type, data FROM vals WHERE key_id = ?1 AND name = ?2");
        query.Bind(1, key);
        query.Bind(2, name);
        const int found = query.Step();
        const std::string data = found == SQLITE_ROW ? query.Blob(1) : std::string();
        if (found != SQLITE_ROW && found != SQLITE_DONE) {
            return found;
        }
        if (found == SQLITE_ROW && query.Int(0) == REG_QWORD && data.size() == sizeof stored) {
            for (std::size_t i = sizeof stored; i-- > 0;) {
                stored = stored << 8 | static_cast<unsigned char>(data[i]);
            }
        }
        query.Reset();
        newest = std::max(stored, value);
        if (value <= stored) {
            return SQLITE_OK;
        }
        std::string raised(sizeof value, '\0');
        for (std::size_t i = 0; i < sizeof value; ++i) {
            raised[i] = static_cast<char>(value >> (8 * i) & 0xFF);
        }
        return Upsert(key, name, REG_QWORD, raised);
    });
    return rc == SQLITE_OK ? ERROR_SUCCESS : Failure(rc);
}

int RegistryStore::Upsert(long long key, const std::string& name, DWORD type, const std::string& data) {
    SqliteStatement upsert(
        m_db,
        "INSERT INTO vals(key_id, name, type, data) VALUES (?1, ?2, ?3, ?4) "
        "ON CONFLICT(key_id, name) DO UPDATE SET type = excluded.type, data = excluded.data");
    upsert.Bind(1, key);
    upsert.Bind(2, name);
    upsert.Bind(3, static_cast<long long>(type));
    upsert.BindBlob(4, data);
    const int rc = upsert.Step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

}  // namespace platform
