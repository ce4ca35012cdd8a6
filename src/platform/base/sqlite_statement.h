#pragma once
// A prepared SQLite statement that finalises itself, shared by the platform's SQLite stores. A statement
// that failed to prepare reports that failure from Step, so callers check one result.

#include <sqlite3.h>

#include <string>

namespace platform {

class SqliteStatement final {
public:
    SqliteStatement(sqlite3* db, const char* sql) {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    int PrepareResult() const { return m_rc; }
    void Bind(int index, long long value) { sqlite3_bind_int64(m_stmt, index, value); }
    void Bind(int index, const std::string& text) {
        sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void BindBlob(int index, const std::string& bytes) {
        // A zero-length blob must still be a blob, not NULL.
        sqlite3_bind_blob(m_stmt, index, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    }
    int Step() { return m_rc == SQLITE_OK ? sqlite3_step(m_stmt) : m_rc; }
    void Reset() { sqlite3_reset(m_stmt); }
    long long Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string Blob(int column) const {
        const void* data = sqlite3_column_blob(m_stmt, column);
        int size = sqlite3_column_bytes(m_stmt, column);
        return data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string();
    }
    std::string Text(int column) const {
        const unsigned char* text = sqlite3_column_text(m_stmt, column);
        int size = sqlite3_column_bytes(m_stmt, column);
        return text != nullptr ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

}  // namespace platform
