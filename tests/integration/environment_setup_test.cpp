// The start-up set-up on a real file system and registry: renaming, shortcuts, plug-in probe, switches.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "app/EnvironmentSetup.h"
#include "config/ClientConfig.h"
#include "platform/base/files.h"
#include "platform/base/module.h"
#include "platform/base/paths.h"
#include "platform/os/registry.h"
#include "support/Process.h"

namespace {

const std::wstring kFeatureRoot = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";
const std::wstring kPluginKey = L"CLSID\\{b2e8d85e-c0c5-48df-8dbc-1359b339ae32}\\InprocServer32";

ino_t Inode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class EnvironmentSetupTest : public ::testing::Test {
protected:
    // Runs the set-up for a configuration with these extra attributes, as the first start would.
    ClientConfig& Run(const std::string& attributes = "") {
        std::string xml =
            "<CLIENTCONFIG><CONFIG userClientAbout=\"StarSea\" gwLink=\"StarSea Site\" "
            "gwUrl=\"http://127.0.0.1:8631/\" " +
            attributes + "/></CLIENTCONFIG>";
        config = std::make_unique<ClientConfig>();
        config->LoadDocumentFromBytes(xml.data(), xml.size());
        RunEnvironmentSetup(*config);
        return *config;
    }

    void InstallProgram() { ASSERT_TRUE(platform::CopyFile(ARGV_RECORDER_PATH, env.ProgramFile(), false)); }

    std::string ProductFile() const { return env.ProgramFolder() + "/StarSea"; }
    std::string ClientLink() const { return env.Desktop() + "/StarSea.desktop"; }
    std::string SiteLink() const { return env.Desktop() + "/StarSea Site.desktop"; }

    UserEnvironment env;
    std::unique_ptr<ClientConfig> config;
};

}  // namespace

TEST_F(EnvironmentSetupTest, RunningFileGetsTheProductNameAndACopyStaysBehind) {
    InstallProgram();
    const std::string original = ReadWholeFile(env.ProgramFile());
    Run();
    EXPECT_TRUE(ReadWholeFile(ProductFile()) == original);
    EXPECT_TRUE(ReadWholeFile(env.ProgramFile()) == original) << "the started name still exists";
    EXPECT_EQ(access(env.ProgramFile().c_str(), X_OK), 0) << "the copy can still be started";
    EXPECT_EQ(config->m_strRegPath, L"SOFTWARE\\Velmora\\StarSea");
}

TEST_F(EnvironmentSetupTest, StartedFromTheProductFileInOtherLetterCaseNothingMoves) {
    const std::string started = env.ProgramFolder() + "/starsea";
    ASSERT_TRUE(platform::CopyFile(ARGV_RECORDER_PATH, started, false));
    platform::OverrideModuleFileName(started);
    const ino_t before = Inode(started);
    Run();
    EXPECT_EQ(Inode(started), before);
    EXPECT_FALSE(platform::PathExists(ProductFile())) << "no copy under the other spelling";
}

TEST_F(EnvironmentSetupTest, NoRenameKeepsTheFileButTheShortcutStillNamesTheProduct) {
    InstallProgram();
    Run("noRename=\"1\"");
    EXPECT_FALSE(platform::PathExists(ProductFile()));
    EXPECT_NE(ReadWholeFile(ClientLink()).find("Exec=\"" + ProductFile() + "\"\n"), std::string::npos)
        << ReadWholeFile(ClientLink());
}

TEST_F(EnvironmentSetupTest, NoRenameThatIsNotANumberCountsAsZero) {
    InstallProgram();
    Run("noRename=\"yes\"");
    EXPECT_TRUE(platform::PathExists(ProductFile()));
}

TEST_F(EnvironmentSetupTest, ShortcutsAreMadeOnceAndNeverReplaced) {
    Run();
    const std::string client = ReadWholeFile(ClientLink());
    EXPECT_NE(client.find("Type=Application\n"), std::string::npos) << client;
    EXPECT_NE(client.find("Path=" + env.ProgramFolder() + "\n"), std::string::npos) << client;
    EXPECT_NE(client.find("Icon=" + env.DataHome() + "/icons/velmora/StarSea.png\n"), std::string::npos)
        << client;
    EXPECT_NE(client.find("StartupWMClass=Velmora.StarSea.1\n"), std::string::npos)
        << "the desktop matches the client's windows with its entry";
    const std::string site = ReadWholeFile(SiteLink());
    EXPECT_NE(site.find("Type=Link\nName=StarSea Site\nURL=http://127.0.0.1:8631/\n"), std::string::npos)
        << site;
    EXPECT_EQ(site.find("StartupWMClass"), std::string::npos) << "the site's link opens no window of ours";

    const ino_t clientInode = Inode(ClientLink());
    WriteWholeFile(SiteLink(), "the user's own link, pointing elsewhere");
    Run();
    EXPECT_EQ(Inode(ClientLink()), clientInode) << "a second start leaves the shortcut alone";
    EXPECT_EQ(ReadWholeFile(SiteLink()), "the user's own link, pointing elsewhere");
}

TEST_F(EnvironmentSetupTest, SwitchesTurnShortcutsOff) {
    Run("noLink=\"1\" noGWLink=\"2\"");
    EXPECT_FALSE(platform::PathExists(ClientLink()));
    EXPECT_FALSE(platform::PathExists(SiteLink()));
}

TEST_F(EnvironmentSetupTest, NamesThatAreNotPlainFileNamesGiveNoShortcut) {
    Run("gwLink=\"../../outside\"");
    EXPECT_FALSE(platform::PathExists(env.Home() + "/outside.desktop"));
    Run("gwLink=\"\"");
    EXPECT_FALSE(platform::PathExists(env.Desktop() + "/.desktop"));
    EXPECT_TRUE(platform::PathExists(ClientLink())) << "the other shortcut is still made";
}

TEST_F(EnvironmentSetupTest, BlockedDesktopAndTakenProductNameChangeNothingAndTheStartGoesOn) {
    InstallProgram();
    WriteWholeFile(env.Path("blocked"), "");
    WriteWholeFile(env.ConfigHome() + "/user-dirs.dirs",
                   "XDG_DESKTOP_DIR=\"" + env.Path("blocked") + "/desk\"\n");
    // A folder under the product's name: no rename can replace it, even for root.
    ASSERT_TRUE(platform::MakeDirectories(ProductFile() + "/inside"));
    const std::string original = ReadWholeFile(env.ProgramFile());

    ClientConfig& result = Run();
    EXPECT_TRUE(ReadWholeFile(env.ProgramFile()) == original) << "the running file is where it was";
    EXPECT_TRUE(platform::PathExists(ProductFile() + "/inside")) << "the folder is untouched";
    EXPECT_EQ(ReadWholeFile(env.Path("blocked")), "");
    EXPECT_EQ(result.m_strRegPath, L"SOFTWARE\\Velmora\\StarSea") << "the rest of the set-up ran";
}

TEST_F(EnvironmentSetupTest, PluginPathIsReadFromItsRegistration) {
    EXPECT_EQ(Run().m_strPluginPath, L"") << "not registered";

    platform::RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, kPluginKey, KEY_READ | KEY_WRITE), ERROR_SUCCESS);
    ASSERT_EQ(key.SetDword(L"", 1), ERROR_SUCCESS);
    EXPECT_EQ(Run().m_strPluginPath, L"") << "a default value that is not text";

    ASSERT_EQ(key.SetString(L"", std::wstring(1024, L'x')), ERROR_SUCCESS);
    EXPECT_EQ(Run().m_strPluginPath, L"") << "longer than 1023 characters";

    ASSERT_EQ(key.SetString(L"", std::wstring(1023, L'x')), ERROR_SUCCESS);
    EXPECT_EQ(Run().m_strPluginPath, std::wstring(1023, L'x'));

    ASSERT_EQ(key.SetString(L"", L"/usr/lib/velmora/plugin.so"), ERROR_SUCCESS);
    EXPECT_EQ(Run().m_strPluginPath, L"/usr/lib/velmora/plugin.so");
}

TEST_F(EnvironmentSetupTest, FeatureSwitchesGoOnlyUnderExistingKeysAndKeepExistingNumbers) {
    InstallProgram();
    const std::wstring name = L"client_4711.run";  // the name the process was started under
    auto featureKey = [](const wchar_t* feature, platform::RegistryKey& key, bool create) {
        return create ? key.Create(HKEY_CURRENT_USER, kFeatureRoot + feature, KEY_READ | KEY_WRITE)
                      : key.Open(HKEY_CURRENT_USER, kFeatureRoot + feature, KEY_READ | KEY_WRITE);
    };
    {
        platform::RegistryKey key;
        ASSERT_EQ(featureKey(L"FEATURE_BROWSER_EMULATION", key, true), ERROR_SUCCESS);
        ASSERT_EQ(featureKey(L"FEATURE_GPU_RENDERING", key, true), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString(name, L"1"), ERROR_SUCCESS);
        ASSERT_EQ(featureKey(L"FEATURE_BEHAVIORS", key, true), ERROR_SUCCESS);
        ASSERT_EQ(key.SetDword(name, 7), ERROR_SUCCESS);
        ASSERT_EQ(featureKey(L"FEATURE_LOCALMACHINE_LOCKDOWN", key, true), ERROR_SUCCESS);
    }
    Run();
    platform::RegistryKey key;
    DWORD value = 0;
    ASSERT_EQ(featureKey(L"FEATURE_BROWSER_EMULATION", key, false), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryDword(name, value), ERROR_SUCCESS);
    EXPECT_EQ(value, 9999u);
    ASSERT_EQ(featureKey(L"FEATURE_GPU_RENDERING", key, false), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryDword(name, value), ERROR_SUCCESS) << "a text value is replaced by a number";
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(featureKey(L"FEATURE_BEHAVIORS", key, false), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryDword(name, value), ERROR_SUCCESS);
    EXPECT_EQ(value, 7u) << "an existing number is kept, whatever it holds";
    ASSERT_EQ(featureKey(L"FEATURE_LOCALMACHINE_LOCKDOWN", key, false), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryDword(name, value), ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(featureKey(L"FEATURE_OBJECT_CACHING", key, false), ERROR_FILE_NOT_FOUND)
        << "keys are never created";
}

TEST_F(EnvironmentSetupTest, StartedProgramContinuesFromTheProductNamedFile) {
    // A real start: the probe is copied under a tagged name and run; the process itself reports where
    // its image lives afterwards.
    ASSERT_TRUE(platform::CopyFile(SETUP_PROBE_PATH, env.ProgramFile(), false));
    const std::string product = env.ProgramFolder() + "/\u661F\u6D77\u7EAA\u5143";
    ASSERT_EQ(WaitForExit(StartProgram({env.ProgramFile(), env.Path("said")})), 0);
    EXPECT_EQ(ReadWholeFile(env.Path("said")), product);
    EXPECT_TRUE(ReadWholeFile(product) == ReadWholeFile(env.ProgramFile()));
    EXPECT_TRUE(platform::PathExists(env.Desktop() + "/\u661F\u6D77\u7EAA\u5143.desktop"));
}
