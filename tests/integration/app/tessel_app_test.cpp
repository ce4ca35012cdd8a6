// The application object on the headless backend: a start without a desktop or without a frame says why
// and fails, a start takes its tag and URL from the command line and gives the windows their identity
// before the first is made, and the exit saves the settings and lets go of the desktop last.
#include <gtest/gtest.h>

#include "UserEnvironment.h"
#include "app/EnvironmentSetup.h"
#include "app/MainFrame.h"
#include "app/TesselApp.h"
#include "config/ClientConfig.h"
#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"
#include "platform/os/registry.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"

using namespace platform::headless;

namespace {

class TesselAppTest : public ClientTest {
protected:
    ~TesselAppTest() override { Backend().Reset(); }
    static void Configure(const std::string& frameClass) {
        const std::string config = "<CLIENTCONFIG><C userClientAbout='Demo' imClass='" + frameClass +
                                   "' homeUrl='http://portal.test/'/></CLIENTCONFIG>";
        // The configuration is made here, ahead of the application, so the set-up it installs runs now.
        ClientConfig::InstallSetupStep(RunEnvironmentSetup);
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
        const char skin[] = "<S><MAINWND width='400' height='300'/><GAMEWND width='600' height='400'/></S>";
        SkinDocument::Instance().LoadDocumentFromBytes(skin, sizeof skin - 1);
    }

    UserEnvironment user;
};

TEST_F(TesselAppTest, AStartThatCannotGoOnSaysWhyAndFails) {
    const std::string startFailure = platform::WideToUtf8(platform::LoadResourceString(100));
    const struct {
        const char* openFailure;
        const char* frameClass;
        const char* reason;
    } cases[] = {
        {"no X display to open (DISPLAY is not set)", "Frame", "no X display to open (DISPLAY is not set)"},
        {"", "", "the main window could not be created"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        Configure(c.frameClass);
        Backend().openFailure = c.openFailure;
        CTesselApp app;
        testing::internal::CaptureStderr();
        EXPECT_NE(app.Run({"/games/velmora"}), 0);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind(startFailure, 0), 0u) << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_EQ(app.GetMainFrame(), nullptr);
        EXPECT_EQ(Backend().closes, *c.openFailure != 0 ? 0 : 1) << "a desktop opened is let go of";
        EXPECT_TRUE(Backend().trayIcons.empty());
    }
}

TEST_F(TesselAppTest, StartsFromTheCommandLineAndEndsInOrderWhenAskedFromOutside) {
    Configure("TestClientFrame");
    CTesselApp app;
    ASSERT_TRUE(app.InitInstance({"/games/client_4711.run", "http://game.test/play", "ignored"}));
    EXPECT_EQ(app.NameTag(), L"4711");
    EXPECT_EQ(app.GameUrl(), L"http://game.test/play");
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Backend().WindowOf(frame->m_hWnd)->programIdentity, "Velmora.Demo.1")
        << "the identity is in place before the first window";
    EXPECT_FALSE(frame->IsWindowVisible()) << "the frame is never shown";
    EXPECT_EQ(Backend().trayIcons.size(), 1u);

    ClientConfig::Instance().m_settings.m_nAlwaysTop = 1;
    const std::wstring settingsKey = ClientConfig::Instance().m_strRegPath;
    ASSERT_TRUE(Backend().RequestTermination());
    platform::PumpUntilIdle();
    int exitCode = -1;
    ASSERT_TRUE(platform::MessageQueue::Instance().TakeQuit(exitCode)) << "the frame went and ended the loop";
    EXPECT_EQ(app.ExitInstance(exitCode), 0);
    EXPECT_TRUE(Backend().trayIcons.empty());
    EXPECT_EQ(Backend().closes, 1);
    EXPECT_FALSE(Backend().RequestTermination()) << "the handler went with the frame";

    platform::RegistryKey key;
    std::wstring alwaysTop;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, settingsKey, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryString(L"AlwaysTop", 16, alwaysTop), ERROR_SUCCESS);
    EXPECT_EQ(alwaysTop, L"1") << "the settings were saved on the way out";
}

}  // namespace
