#include "config/UserSettings.h"

#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "platform/os/registry.h"
#include "platform/os/registry_store.h"

using platform::RegistryKey;

namespace {

const std::wstring kPath = L"SOFTWARE\\Velmora\\\u661F\u6D77\u7EAA\u5143";

class UserSettingsTest : public ::testing::Test {
protected:
    RegistryKey Key() {
        RegistryKey key;
        EXPECT_EQ(key.Create(HKEY_CURRENT_USER, kPath, KEY_READ | KEY_WRITE), ERROR_SUCCESS);
        return key;
    }

    // The stored value's type and text, as "type:text".
    std::wstring Stored(const wchar_t* name) {
        RegistryKey key = Key();
        DWORD type = 0;
        std::string data;
        if (key.QueryValue(name, type, data) != ERROR_SUCCESS) {
            return L"absent";
        }
        std::wstring text;
        key.QueryString(name, 1024, text);
        return std::to_wstring(type) + L":" + text;
    }

    UserEnvironment env;
};

}  // namespace

TEST_F(UserSettingsTest, FirstRunCreatesTheKeyAndWritesZeroes) {
    UserSettings settings;
    settings.Load(kPath);
    EXPECT_EQ(settings.m_nUseHotKey, 0);
    EXPECT_EQ(Stored(L"UseHotKey"), L"1:0");
    EXPECT_EQ(Stored(L"AlwaysTop"), L"1:0");
    EXPECT_EQ(Stored(L"HotKey"), L"1:0");
    DWORD type = 0;
    std::string data;
    Key().QueryValue(L"HotKey", type, data);
    EXPECT_EQ(data.size(), 4u) << "the text with its terminating zero";
}

TEST_F(UserSettingsTest, ADwordValueCountsAsMissingAndIsReplacedByText) {
    Key().SetDword(L"AlwaysTop", 1);
    UserSettings settings;
    settings.Load(kPath);
    EXPECT_EQ(settings.m_nAlwaysTop, 0);
    EXPECT_EQ(Stored(L"AlwaysTop"), L"1:0");
}

TEST_F(UserSettingsTest, LeadingDigitsAreReadAndWrittenBackInClean) {
    Key().SetString(L"HotKey", L" 12abc");
    Key().SetString(L"UseHotKey", L"-3", REG_EXPAND_SZ);
    UserSettings settings;
    settings.Load(kPath);
    EXPECT_EQ(settings.m_nHotKey, 12);
    EXPECT_EQ(settings.m_nUseHotKey, -3) << "expandable strings are accepted";
    EXPECT_EQ(Stored(L"HotKey"), L"1: 12abc") << "loading leaves a readable value alone";
    settings.Save(kPath);
    EXPECT_EQ(Stored(L"HotKey"), L"1:12");
    EXPECT_EQ(Stored(L"UseHotKey"), L"1:-3");
}

TEST_F(UserSettingsTest, AValueSetByAnotherProgramIsKeptAcrossRuns) {
    Key().SetString(L"AlwaysTop", L"1");
    for (int run = 0; run < 2; ++run) {
        UserSettings settings;
        settings.Load(kPath);
        EXPECT_EQ(settings.m_nAlwaysTop, 1);
        settings.Save(kPath);
        EXPECT_EQ(Stored(L"AlwaysTop"), L"1:1");
    }
}

TEST_F(UserSettingsTest, UnreadableValuesAreReplacedWithTheDefault) {
    Key().SetString(L"HotKey", std::wstring(1024, L'9'));
    Key().SetValue(L"UseHotKey", REG_SZ, std::string("5\0", 2) + "x");
    UserSettings settings;
    settings.Load(kPath);
    EXPECT_EQ(settings.m_nHotKey, 0);
    EXPECT_EQ(Stored(L"HotKey"), L"1:0");
    EXPECT_EQ(Stored(L"UseHotKey"), L"1:0");
}

TEST_F(UserSettingsTest, SaveRecreatesADeletedStoreKey) {
    UserSettings settings;
    settings.m_nHotKey = 65;
    settings.Save(kPath);
    EXPECT_EQ(Stored(L"HotKey"), L"1:65");
    EXPECT_EQ(Stored(L"AlwaysTop"), L"1:0");
}

TEST_F(UserSettingsTest, EmptyPathTouchesNothing) {
    UserSettings settings;
    settings.m_nHotKey = 5;
    settings.Load(L"");
    settings.Save(L"");
    EXPECT_EQ(settings.m_nHotKey, 5);
    RegistryKey root;
    ASSERT_EQ(root.Open(HKEY_CURRENT_USER, L"", KEY_READ), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(root.QueryString(L"HotKey", 1024, text), ERROR_FILE_NOT_FOUND);
}

TEST_F(UserSettingsTest, BrokenStoreKeepsTheDefaultsInMemory) {
    WriteWholeFile(env.ConfigHome() + "/Velmora", "a file where the folder should be");
    platform::RegistryStore::Reset();
    testing::internal::CaptureStderr();
    UserSettings settings;
    settings.m_nAlwaysTop = 1;
    settings.Load(kPath);
    settings.Save(kPath);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings.m_nAlwaysTop, 1);
    EXPECT_NE(said.find("running on default settings"), std::string::npos) << said;
}
