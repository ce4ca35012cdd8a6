// A build whose embedded configuration is malformed (fixtures/malformed) still starts.
#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "app/EnvironmentSetup.h"
#include "config/ClientConfig.h"
#include "platform/os/registry.h"

TEST(MalformedConfiguration, EveryLookupIsEmptyAndSettingsStillWork) {
    UserEnvironment env;
    ClientConfig::InstallSetupStep(RunEnvironmentSetup);
    ClientConfig& config = ClientConfig::Instance();
    EXPECT_EQ(config.UserClientAbout(), L"");
    EXPECT_EQ(config.HomeUrl(), L"");
    EXPECT_EQ(config.Value("imClass"), L"");
    EXPECT_EQ(config.m_strRegPath, L"SOFTWARE\\Velmora\\");
    ClientConfig::DestroyInstance();
    ClientConfig::InstallSetupStep(nullptr);

    platform::RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora", KEY_READ), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(key.QueryString(L"HotKey", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"0");
}
