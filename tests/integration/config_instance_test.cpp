// The process-wide configuration, built from this executable's embedded document (fixtures/demo).
#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "app/EnvironmentSetup.h"
#include "config/ClientConfig.h"
#include "platform/os/registry.h"

namespace {

const std::wstring kRegPath = L"SOFTWARE\\Velmora\\\u661F\u6D77\u7EAA\u5143";

class ConfigInstanceTest : public ::testing::Test {
protected:
    ConfigInstanceTest() { ClientConfig::InstallSetupStep(RunEnvironmentSetup); }
    ~ConfigInstanceTest() override {
        ClientConfig::DestroyInstance();
        ClientConfig::InstallSetupStep(nullptr);
    }

    UserEnvironment env;
};

}  // namespace

TEST_F(ConfigInstanceTest, FirstCallLoadsTheDocumentThenRunsTheInstalledStepOnceOnTheSameObject) {
    int runs = 0;
    ClientConfig::InstallSetupStep([&](ClientConfig& config) {
        ++runs;
        EXPECT_EQ(config.HomeUrl(), L"http://127.0.0.1:8631/") << "the document is loaded first";
        EXPECT_EQ(&ClientConfig::Instance(), &config) << "asked for meanwhile, it is this one";
    });
    ClientConfig::Instance();
    ClientConfig::Instance();
    EXPECT_EQ(runs, 1);
    ClientConfig::DestroyInstance();
    ClientConfig::InstallSetupStep(nullptr);
    ClientConfig::Instance();
    EXPECT_EQ(runs, 1) << "none installed, nothing runs";
    EXPECT_EQ(ClientConfig::Instance().m_strRegPath, L"");
}

TEST_F(ConfigInstanceTest, FirstCallLoadsTheDocumentFormsTheRegistryPathAndLoadsSettings) {
    {
        platform::RegistryKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kRegPath, KEY_READ | KEY_WRITE), ERROR_SUCCESS);
        key.SetString(L"AlwaysTop", L"1");
    }
    ClientConfig& config = ClientConfig::Instance();
    EXPECT_EQ(&config, &ClientConfig::Instance()) << "one configuration per process";
    EXPECT_EQ(config.HomeUrl(), L"http://127.0.0.1:8631/");
    EXPECT_EQ(config.m_strRegPath, kRegPath);
    EXPECT_EQ(config.m_settings.m_nAlwaysTop, 1);
}

TEST_F(ConfigInstanceTest, DestroyingTheConfigurationWritesTheSettingsBack) {
    ClientConfig::Instance().m_settings.m_nHotKey = 42;
    ClientConfig::DestroyInstance();
    platform::RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kRegPath, KEY_READ), ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(key.QueryString(L"HotKey", 1024, text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"42");
    EXPECT_EQ(ClientConfig::Instance().m_settings.m_nHotKey, 42) << "a new instance reads what was saved";
}
