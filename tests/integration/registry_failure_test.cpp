// A store that cannot be used must leave the client running on defaults, say so, and keep the file.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "platform/base/paths.h"
#include "platform/os/registry.h"
#include "platform/os/registry_store.h"

using platform::RegistryKey;
using platform::RegistryStore;

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

class RegistryFailureTest : public ::testing::Test {
protected:
    // Puts an SQLite database made by `sql` where the store lives; returns the file's bytes.
    std::string WriteDatabase(const char* sql) {
        EXPECT_TRUE(platform::MakeDirectories(env.ConfigHome() + "/Velmora"));
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(env.StorePath().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        return ReadWholeFile(env.StorePath());
    }

    // Opens the store from scratch and returns what it printed on stderr.
    std::string Reopen() {
        RegistryStore::Reset();
        testing::internal::CaptureStderr();
        RegistryStore::Instance();
        return testing::internal::GetCapturedStderr();
    }

    UserEnvironment env;
};

}  // namespace

TEST_F(RegistryFailureTest, CorruptStoreIsReportedFailsEveryCallAndIsLeftAsItWas) {
    ASSERT_TRUE(platform::MakeDirectories(env.ConfigHome() + "/Velmora"));
    const std::string garbage(4096, '\x5A');
    WriteWholeFile(env.StorePath(), garbage);
    std::string said = Reopen();
    EXPECT_NE(said.find("cannot be used"), std::string::npos) << said;
    EXPECT_NE(said.find(env.StorePath()), std::string::npos) << said;
    EXPECT_FALSE(RegistryStore::Instance().Available());

    RegistryKey key;
    EXPECT_EQ(key.Create(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\x", kReadWrite), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, L"SOFTWARE", kReadWrite), ERROR_REGISTRY_IO_FAILED);
    EXPECT_TRUE(ReadWholeFile(env.StorePath()) == garbage) << "the file is left as it was";
}

TEST_F(RegistryFailureTest, ForeignDatabaseFailsCleanlyAndIsReportedOnce) {
    const std::string before = WriteDatabase("CREATE TABLE keys(other); CREATE TABLE vals(other);");

    std::string said = Reopen();
    EXPECT_NE(said.find("cannot be used"), std::string::npos) << said;
    EXPECT_TRUE(ReadWholeFile(env.StorePath()) == before) << "another program's database is left as it was";
    testing::internal::CaptureStderr();
    RegistryKey key;
    EXPECT_NE(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    EXPECT_NE(key.Open(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "one report is enough";
}

TEST_F(RegistryFailureTest, UnusableFolderIsReportedAndNothingIsWritten) {
    // A file where the folder should be defeats even root, unlike permission bits.
    WriteWholeFile(env.ConfigHome() + "/blocked", "");
    env.Set("XDG_CONFIG_HOME", env.ConfigHome() + "/blocked");
    std::string said = Reopen();
    EXPECT_NE(said.find("running on default settings"), std::string::npos) << said;
    RegistryKey key;
    EXPECT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(ReadWholeFile(env.ConfigHome() + "/blocked"), "");
}

TEST_F(RegistryFailureTest, EmptyFileIsAFreshStore) {
    ASSERT_TRUE(platform::MakeDirectories(env.ConfigHome() + "/Velmora"));
    WriteWholeFile(env.StorePath(), "");
    EXPECT_EQ(Reopen(), "");
    RegistryKey key;
    EXPECT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    EXPECT_EQ(key.SetDword(L"d", 1), ERROR_SUCCESS);
}

TEST_F(RegistryFailureTest, RelativeConfigHomeIsIgnoredForTheHomeFolder) {
    env.Set("XDG_CONFIG_HOME", "relative/path");
    RegistryStore::Reset();
    EXPECT_EQ(RegistryStore::Instance().Path(), env.Home() + "/.config/Velmora/registry.db");
}

TEST_F(RegistryFailureTest, DatabaseWithOurTableNamesButOtherColumnsIsLeftAlone) {
    // Tables of the right names, one with a column missing.
    const std::string before = WriteDatabase(
        "CREATE TABLE keys(id INTEGER PRIMARY KEY, root, path);"
        "CREATE TABLE vals(key_id, name, type);"
        "INSERT INTO keys(root, path) VALUES (2147483649, '');");
    std::string said = Reopen();
    EXPECT_NE(said.find("cannot be used"), std::string::npos) << said;
    EXPECT_TRUE(ReadWholeFile(env.StorePath()) == before) << "the database is left as it was";
}
