// The launcher on the headless backend: its browser popup over "ie" as the window grows and moves, the
// buttons, the exit question and "choose".
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "SkinTestSupport.h"
#include "UserEnvironment.h"
#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "platform/base/files.h"
#include "platform/base/paths.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"
#include "support/FakeFrameLink.h"
#include "windows/HtmlWnd.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

std::string Skin(int strech, bool choose) {
    return "<S><MAINWND width='1039' height='573' title='Launcher'>"
           "<IMG name='bg' stand='800' width='1039' height='573'/>" +
           std::string(choose ? "<IMG name='choose' stand='801' left='500' top='100'/>" : "") +
           "<RECT name='ie' left='333' top='210' width='698' height='362' strech='" + std::to_string(strech) +
           "'/><BTN name='close' stand='802' left='5' top='5' align='TopRight'/>"
           "<BTN name='min' stand='802' left='40' top='5' align='TopRight'/>"
           "<BTN name='HOME' stand='802' left='5' top='40'/><BTN name='pay' stand='802' left='40' top='40'/>"
           "</MAINWND></S>";
}

// The frame's window, keeping the commands it gets.
class FrameWnd : public CWnd {
public:
    std::vector<WPARAM> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(wParam);
        return TRUE;
    }
};

class LauncherTest : public ClientTest {
protected:
    LauncherTest() {
        RegisterPng(800, MakePng(1039, 573, true, [](int, int) { return Rgba{20, 30, 90, 255}; }));
        RegisterPng(801, MakePng(40, 40, true, [](int, int) { return Rgba{255, 200, 0, 255}; }));
        RegisterPng(802, MakePng(24, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        const std::string config =
            "<CLIENTCONFIG><C userClientAbout='Demo' gwUrl='http://official.test/' "
            "paymentUrl='http://pay.test/'"
            " quitTip='Quit the game?'/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
        platform::RegisterWindowClass(L"TestFrame", 0);
        frameWnd.CreateEx(0, L"TestFrame", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
        frame.frameWnd = frameWnd.m_hWnd;
        SetFrameLink(&frame);
    }
    ~LauncherTest() override { SetFrameLink(nullptr); }
    void Make(CHtmlWnd& launcher, int strech = 1, bool choose = false) {
        const std::string skin = Skin(strech, choose);
        SkinDocument::Instance().LoadDocumentFromBytes(skin.data(), skin.size());
        ASSERT_TRUE(launcher.Create(nullptr, WS_EX_APPWINDOW, kStyle));
        launcher.Show(TRUE);
        PumpUntilIdle();
    }
    static RECT Rect(const CWnd& wnd) {
        RECT rect{};
        wnd.GetWindowRect(&rect);
        return rect;
    }
    // Where `wnd` is relative to `by`, as "left,top-right,bottom".
    static std::string Offset(const CWnd& wnd, const CWnd& by) {
        const RECT rect = Rect(wnd);
        const RECT origin = Rect(by);
        return Text(RECT{rect.left - origin.left, rect.top - origin.top, rect.right - origin.left,
                         rect.bottom - origin.top});
    }
    static std::string Text(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    void Click(CHtmlWnd& launcher, const wchar_t* name) {
        launcher.PostMessage(WM_COMMAND, MAKEWPARAM(launcher.FindButton(name)->GetDlgCtrlID(), BN_CLICKED),
                             0);
        PumpUntilIdle();
    }

    FakeFrameLink frame;
    FrameWnd frameWnd;
};

}  // namespace

TEST_F(LauncherTest, ThePopupCoversIeFromTheStartAndGrowsWithTheWindowWhenItStretches) {
    const struct {
        int strech;
        const char* created;  // at the skin's own size: a stretching one is a pixel short even then
        RECT placed;
    } cases[] = {
        {1, "333,210-1030,571", RECT{333, 210, 1130, 671}},
        {0, "333,210-1031,572", RECT{333, 210, 1031, 572}},
    };
    for (const auto& c : cases) {
        CHtmlWnd launcher;
        Make(launcher, c.strech);
        CIEWnd* popup = launcher.GetBrowserHost();
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(popup->IsWindowVisible());
        EXPECT_EQ(Offset(*popup, launcher), c.created) << "placed at creation";
        launcher.SetWindowPos(nullptr, 100, 50, 1139, 673, SWP_NOZORDER);
        EXPECT_EQ(Offset(*popup, launcher), Text(c.placed)) << "strech " << c.strech;
        const auto& stacking = Backend().stacking;
        ASSERT_GE(stacking.size(), 2u);
        EXPECT_EQ(stacking.back()->params.hwnd, popup->m_hWnd) << "directly above the launcher";
        EXPECT_EQ(stacking[stacking.size() - 2]->params.hwnd, launcher.m_hWnd);

        launcher.SetWindowPos(nullptr, 300, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        EXPECT_EQ(Offset(*popup, launcher), Text(c.placed)) << "it follows a move";
        EXPECT_EQ(popup->GetView().GetBrowser() != nullptr, true);
        launcher.DestroyWindow();
    }
}

TEST_F(LauncherTest, TheExitQuestionEndsTheClientOnlyOnOk) {
    CHtmlWnd launcher;
    Make(launcher);
    Backend().messageBoxAnswers = {IDCANCEL};
    Click(launcher, L"close");
    ASSERT_EQ(Backend().messageBoxes.size(), 1u);
    const MessageBoxCall& box = Backend().messageBoxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, L"Quit the game?");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SYSTEMMODAL));
    EXPECT_TRUE(launcher.IsWindowVisible());
    EXPECT_TRUE(frameWnd.commands.empty());

    Backend().messageBoxAnswers = {IDOK};
    launcher.ConfirmExit();
    EXPECT_FALSE(launcher.IsWindowVisible()) << "hidden first";
    EXPECT_FALSE(launcher.GetBrowserHost()->IsWindowVisible());
    EXPECT_TRUE(frameWnd.commands.empty()) << "the exit is posted";
    PumpUntilIdle();
    EXPECT_EQ(frameWnd.commands, std::vector<WPARAM>{ID_APP_EXIT});
}

TEST_F(LauncherTest, MinHidesTheLauncherAndItsBrowserAndHomeOpensTheOfficialSite) {
    UserEnvironment user;  // a PATH of its own, restored afterwards
    const std::string bin = user.Path("bin");
    ASSERT_TRUE(platform::MakeDirectories(bin));
    const std::string record = user.Path("opened");
    {
        std::ofstream opener(bin + "/xdg-open");
        opener << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record << "'\n";
    }
    ASSERT_EQ(chmod((bin + "/xdg-open").c_str(), 0755), 0);
    user.Set("PATH", bin + ":/usr/bin:/bin");

    CHtmlWnd launcher;
    Make(launcher);
    Click(launcher, L"home");
    Click(launcher, L"pay");
    for (int i = 0; i < 500 && ReadWholeFile(record).size() < 32; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));  // the opener runs on its own
    }
    // The two openers run side by side, so their lines come in either order.
    const std::string opened = ReadWholeFile(record);
    EXPECT_TRUE(opened == "http://official.test/\nhttp://pay.test/\n" ||
                opened == "http://pay.test/\nhttp://official.test/\n")
        << opened;

    Click(launcher, L"min");
    EXPECT_FALSE(launcher.IsWindowVisible());
    EXPECT_FALSE(launcher.GetBrowserHost()->IsWindowVisible());
    EXPECT_TRUE(Backend().messageBoxes.empty());
}

TEST_F(LauncherTest, ChooseAppearsOnlyWhenAskedAndWithoutTheImageOnlyRepaints) {
    CHtmlWnd launcher;
    Make(launcher, 1, true);
    const auto shown = [&] { return launcher.Picture().Pixel(510, 110) == 0xFFFFC800u; };
    EXPECT_FALSE(shown()) << "hidden at the build";
    launcher.ShowChoose();
    PumpUntilIdle();
    EXPECT_TRUE(shown());

    CHtmlWnd plain;
    Make(plain, 1, false);
    plain.ShowChoose();
    PumpUntilIdle();
    EXPECT_TRUE(plain.IsWindowVisible());
}
