#include "platform/os/registry.h"

#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "platform/os/registry_store.h"

using platform::RegistryKey;
using platform::RegistryStore;

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

class RegistryTest : public ::testing::Test {
protected:
    UserEnvironment env;
};

}  // namespace

TEST_F(RegistryTest, TypedValuesRoundTripAndSurviveReopeningTheStore) {
    {
        RegistryKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\\u661F\u6D77", kReadWrite),
                  ERROR_SUCCESS);
        EXPECT_EQ(key.SetString(L"Name", L"\u661F\U0001F600"), ERROR_SUCCESS);
        EXPECT_EQ(key.SetString(L"Path", L"%TEMP%\\x", REG_EXPAND_SZ), ERROR_SUCCESS);
        EXPECT_EQ(key.SetDword(L"Count", 0xA1B2C3D4u), ERROR_SUCCESS);
    }
    RegistryStore::Reset();
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\\u661F\u6D77", KEY_READ), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(key.QueryString(L"Name", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"\u661F\U0001F600");
    EXPECT_EQ(key.QueryString(L"Path", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"%TEMP%\\x") << "expandable strings are read as stored";
    DWORD count = 0;
    EXPECT_EQ(key.QueryDword(L"Count", count), ERROR_SUCCESS);
    EXPECT_EQ(count, 0xA1B2C3D4u);
}

TEST_F(RegistryTest, StringsAreStoredAsUtf16WithTheirTerminator) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(L"v", L"12"), ERROR_SUCCESS);
    DWORD type = 0;
    std::string data;
    ASSERT_EQ(key.QueryValue(L"v", type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, std::string("1\0"
                                "2\0\0\0",
                                6))
        << "2 * (characters + 1) bytes";
    ASSERT_EQ(key.SetDword(L"d", 7), ERROR_SUCCESS);
    ASSERT_EQ(key.QueryValue(L"d", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, std::string("\x07\0\0\0", 4));
}

TEST_F(RegistryTest, OpeningNeedsAnExistingKeyCreatingMakesItsParents) {
    RegistryKey key;
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\A\\B", kReadWrite), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.IsOpen());
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"Software\\A\\B", kReadWrite), ERROR_SUCCESS);
    RegistryKey parent;
    EXPECT_EQ(parent.Open(HKEY_CURRENT_USER, L"Software\\A", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(parent.Open(HKEY_CURRENT_USER, L"Software", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(parent.Open(HKEY_CURRENT_USER, L"", KEY_READ), ERROR_SUCCESS) << "the root itself";
    EXPECT_EQ(parent.Open(HKEY_CLASSES_ROOT, L"Software\\A", KEY_READ), ERROR_FILE_NOT_FOUND)
        << "the two roots are separate trees";
    EXPECT_EQ(parent.Open(static_cast<HKEY>(0x80000002u), L"Software", KEY_READ), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCaseAndStraySeparators) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora\\Game\\", kReadWrite), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(L"AlwaysTop", L"1"), ERROR_SUCCESS);
    RegistryKey same;
    ASSERT_EQ(same.Open(HKEY_CURRENT_USER, L"\\software\\\\velmora\\GAME", kReadWrite), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(same.QueryString(L"alwaystop", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"1");
    ASSERT_EQ(same.SetString(L"ALWAYSTOP", L"2"), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryString(L"AlwaysTop", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"2") << "one value, whatever the case of its name";
}

TEST_F(RegistryTest, AccessMaskDecidesWhatAKeyMayDo) {
    RegistryKey writer;
    ASSERT_EQ(writer.Create(HKEY_CURRENT_USER, L"k", KEY_WRITE), ERROR_SUCCESS);
    EXPECT_EQ(writer.SetString(L"v", L"x"), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(writer.QueryString(L"v", 1024, text), ERROR_ACCESS_DENIED);
    RegistryKey reader;
    ASSERT_EQ(reader.Open(HKEY_CURRENT_USER, L"k", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(reader.SetString(L"v", L"y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reader.QueryString(L"v", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"x");
    RegistryKey closed;
    EXPECT_EQ(closed.SetString(L"v", L"y"), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, StringQueryFollowsTheBufferAndTerminationRules) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    key.SetString(L"fits", std::wstring(1023, L'7'));
    key.SetString(L"long", std::wstring(1024, L'7'));
    key.SetValue(L"odd", REG_SZ, std::string("1\0\0", 3));
    key.SetValue(L"open", REG_SZ,
                 std::string("1\0"
                             "2\0",
                             4));
    key.SetValue(L"empty", REG_SZ, std::string());
    key.SetValue(L"inner", REG_SZ,
                 std::string("1\0\0\0"
                             "2\0\0\0",
                             8));
    key.SetDword(L"dword", 1);
    std::wstring text;
    EXPECT_EQ(key.QueryString(L"fits", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text.size(), 1023u);
    text = L"unchanged";
    EXPECT_EQ(key.QueryString(L"long", 1024, text), ERROR_MORE_DATA);
    EXPECT_EQ(key.QueryString(L"odd", 1024, text), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryString(L"open", 1024, text), ERROR_INVALID_DATA) << "no terminating zero";
    EXPECT_EQ(key.QueryString(L"empty", 1024, text), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryString(L"dword", 1024, text), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.QueryString(L"absent", 1024, text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, L"unchanged") << "a failed query leaves the caller's text alone";
    EXPECT_EQ(key.QueryString(L"inner", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"1") << "the text ends at its first terminator";
}

TEST_F(RegistryTest, DwordQueryRejectsOtherTypesAndSizes) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    key.SetString(L"sz", L"1");
    key.SetValue(L"short", REG_DWORD, std::string("\x01\x02", 2));
    key.SetValue(L"binary", REG_BINARY, std::string("\x01\x02\x03\x04", 4));
    DWORD value = 99;
    EXPECT_EQ(key.QueryDword(L"sz", value), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.QueryDword(L"short", value), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryDword(L"binary", value), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.QueryDword(L"absent", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 99u);
}

TEST_F(RegistryTest, ARaisedQwordOnlyGrowsAndAValueOfAnotherKindCountsAsNone) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    key.SetString(L"q", L"99999");
    std::uint64_t newest = 0;
    const struct {
        std::uint64_t value;
        std::uint64_t newest;
    } raises[] = {{3, 3}, {0x1'0000'0002, 0x1'0000'0002}, {7, 0x1'0000'0002}};
    for (const auto& raise : raises) {
        EXPECT_EQ(key.RaiseQword(L"q", raise.value, newest), ERROR_SUCCESS);
        EXPECT_EQ(newest, raise.newest) << raise.value;
    }
    DWORD type = REG_NONE;
    std::string data;
    EXPECT_EQ(key.QueryValue(L"q", type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_QWORD);
    EXPECT_EQ(data, std::string("\x02\0\0\0\x01\0\0\0", 8)) << "little-endian, as on Windows";
    RegistryKey readOnly;
    ASSERT_EQ(readOnly.Open(HKEY_CURRENT_USER, L"k", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(readOnly.RaiseQword(L"q", 9, newest), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, AMovedKeyHandleLeavesTheSourceClosed) {
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, L"k", kReadWrite), ERROR_SUCCESS);
    RegistryKey moved = std::move(key);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_TRUE(moved.IsOpen());
    EXPECT_EQ(moved.SetDword(L"d", 1), ERROR_SUCCESS);
}
