// The desktop's shell pieces on a real X server: the tray icon in a system tray and its menu, message
// boxes answered from the keyboard, and a program told there is no display.

#include <signal.h>

#include <memory>

#include "DesktopProgram.h"
#include "GtkFixture.h"
#include "TestDisplay.h"
#include "Xdotool.h"
#include "platform/base/text.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/ui/desktop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell_ui.h"
#include "platform/ui/win_api.h"
#include "support/Process.h"
#include "support/TempDir.h"

// Last: its X11 headers define macros that clash with names in the headers above.
#include <gdk/gdkx.h>

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

constexpr UINT kTrayMessage = WM_USER + 5;
constexpr UINT kShowId = 11;
constexpr UINT kExitId = 12;

// Opens its menu when its tray icon is right-clicked and remembers what was chosen.
class TrayWnd final : public ColourWnd {
public:
    UINT chosen = 0;
    bool menuDone = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kTrayMessage && lParam == WM_RBUTTONDOWN) {
            platform::Menu menu;
            menu.items = {{kShowId, L"显示主界面"}, {0, L""}, {kExitId, L"退出"}};
            POINT at{};
            platform::GetCursorPos(&at);
            chosen = platform::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, m_hWnd);
            menuDone = true;
        }
        return ColourWnd::WindowProc(message, wParam, lParam);
    }
};

GtkWidget* ItemLabelled(GtkWidget* menu, const char* label) {
    GtkWidget* found = nullptr;
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* item = items; item != nullptr; item = item->next) {
        const char* text =
            GTK_IS_MENU_ITEM(item->data) ? gtk_menu_item_get_label(GTK_MENU_ITEM(item->data)) : nullptr;
        if (text != nullptr && std::string(text) == label) {
            found = GTK_WIDGET(item->data);
        }
    }
    g_list_free(items);
    return found;
}

// Icon 1 of `window`, reporting clicks with kTrayMessage.
platform::NOTIFYICONDATA TrayIconOf(const CWnd& window, const std::wstring& tip) {
    platform::NOTIFYICONDATA data{};
    data.hWnd = window.m_hWnd;
    data.uID = 1;
    data.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.szTip = tip;
    return data;
}

}  // namespace

TEST_F(GtkTest, TheTrayIconEmbedsAndARightClickOpensItsMenu) {
    DesktopProgram tray = DesktopProgram::Tray();
    TrayWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    const platform::NOTIFYICONDATA data = TrayIconOf(window, L"星海纪元");
    ASSERT_TRUE(platform::Shell_NotifyIcon(platform::NIM_ADD, data));
    GtkStatusIcon* icon = platform::gtk::Backend().TrayIcon(window.m_hWnd, 1);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(TurnUntil([&] { return gtk_status_icon_is_embedded(icon) == TRUE; })) << "not in the tray";
    gchar* tip = gtk_status_icon_get_tooltip_text(icon);
    EXPECT_STREQ(tip, "星海纪元");
    g_free(tip);

    GdkRectangle area{};
    ASSERT_TRUE(gtk_status_icon_get_geometry(icon, nullptr, &area, nullptr));
    const int x = area.x + area.width / 2;
    const int y = area.y + area.height / 2;
    // While the menu runs, check it is on screen near the click, then choose "退出" as a person would.
    bool menuShown = false;
    platform::MessageQueue::Instance().Schedule(300, [&] {
        GtkWidget* menu = platform::gtk::Backend().ActiveMenu();
        GtkWidget* exitItem = menu != nullptr ? ItemLabelled(menu, "退出") : nullptr;
        menuShown = exitItem != nullptr && gtk_widget_get_mapped(menu);
        if (exitItem != nullptr) {
            gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), exitItem, TRUE);
        }
    });
    auto click =
        Xdotool::Start({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "3"});
    ASSERT_TRUE(click->Wait(std::chrono::seconds(10), Turn)) << click->Errors();
    ASSERT_TRUE(TurnUntil([&] { return window.menuDone; })) << "the right click did not reach the window";
    EXPECT_TRUE(menuShown) << "no menu on screen";
    EXPECT_EQ(window.chosen, kExitId);

    ASSERT_TRUE(platform::Shell_NotifyIcon(platform::NIM_DELETE, data));
    EXPECT_EQ(platform::gtk::Backend().TrayIcon(window.m_hWnd, 1), nullptr);
}

TEST_F(GtkTest, AMessageBoxAnswersFromTheKeyboard) {
    ColourWnd owner;
    ASSERT_TRUE(owner.CreateTop(RECT{100, 100, 500, 400}));
    ASSERT_TRUE(ShowsColour(300, 250, Rgb(RGB(200, 40, 40))));
    struct Case {
        UINT type;
        const char* key;
        int answer;
    };
    for (const Case& c :
         {Case{MB_OKCANCEL | MB_ICONQUESTION, "Return", IDOK},
          Case{MB_OKCANCEL | MB_DEFBUTTON2, "Return", IDCANCEL}, Case{MB_OKCANCEL, "Escape", IDCANCEL},
          Case{MB_OK | MB_ICONINFORMATION, "Escape", IDOK}}) {
        std::unique_ptr<Xdotool> typing;
        bool shown = false;
        platform::MessageQueue::Instance().Schedule(400, [&] {
            GtkWidget* dialog = platform::gtk::Backend().ActiveDialog();
            shown = dialog != nullptr && gtk_widget_get_mapped(dialog);
            typing = Xdotool::Start({"key", c.key});
        });
        // A box the key never reached would wait for ever: answer it after a while so the test fails.
        auto safety = platform::MessageQueue::Instance().Schedule(8000, [] {
            if (GtkWidget* dialog = platform::gtk::Backend().ActiveDialog()) {
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_NONE);
            }
        });
        int answer = platform::MessageBox(owner.m_hWnd, L"更新已下载，是否安装？", L"星海纪元", c.type);
        platform::MessageQueue::Instance().Cancel(safety);
        EXPECT_TRUE(shown) << c.key;
        EXPECT_EQ(answer, c.answer) << "type " << c.type << ", key " << c.key;
        EXPECT_EQ(platform::gtk::Backend().ActiveDialog(), nullptr);
        if (typing) {
            typing->Wait(std::chrono::seconds(5), Turn);
        }
    }
}

TEST(GtkStart, AProgramWithoutADisplaySaysSoAndEnds) {
    TempDir folder;
    std::string previous = getenv("DISPLAY") != nullptr ? getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4242", 1);
    pid_t demo = StartProgram({WINDOW_DEMO_PATH}, folder / "stderr");
    if (previous.empty()) {
        unsetenv("DISPLAY");
    } else {
        setenv("DISPLAY", previous.c_str(), 1);
    }
    ASSERT_GT(demo, 0);
    EXPECT_EQ(WaitForExit(demo), 1);
    EXPECT_NE(ReadWholeFile(folder / "stderr").find("cannot open the X display \":4242\""), std::string::npos)
        << ReadWholeFile(folder / "stderr");
}

TEST_F(GtkTest, TheProgramsIdentityNamesItsWindowsAndItsEndRemovesTheTrayIcon) {
    DesktopProgram tray = DesktopProgram::Tray();
    const std::string identity = "Velmora.\u661F\u6D77.1";
    platform::SetProgramIdentity(platform::Utf8ToWide(identity));
    TrayWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    gdk_display_flush(gdk_display_get_default());
    std::string name;
    std::string windowClass;
    ASSERT_TRUE(TurnUntil([&] {
        XClassHint hint{};
        if (XGetClassHint(TestDisplay::Get().Connection(), window.Xid(), &hint) == 0) {
            return false;
        }
        name = hint.res_name != nullptr ? hint.res_name : "";
        windowClass = hint.res_class != nullptr ? hint.res_class : "";
        XFree(hint.res_name);
        XFree(hint.res_class);
        return true;
    }));
    EXPECT_EQ(name, identity) << "the desktop groups the windows by it";
    EXPECT_EQ(windowClass, identity) << "and matches the shortcut's StartupWMClass with it";

    ASSERT_TRUE(platform::Shell_NotifyIcon(platform::NIM_ADD, TrayIconOf(window, L"tip")));
    GtkStatusIcon* icon = platform::gtk::Backend().TrayIcon(window.m_hWnd, 1);
    ASSERT_TRUE(TurnUntil([&] { return gtk_status_icon_is_embedded(icon) == TRUE; })) << "not in the tray";
    const unsigned long iconWindow = gtk_status_icon_get_x11_window_id(icon);
    ASSERT_TRUE(WindowGeometry(iconWindow).has_value());
    platform::CloseDesktop();
    // Without another turn of the loop: the program may end right after the close.
    EXPECT_FALSE(WindowGeometry(iconWindow).has_value()) << "the icon's window is still on the display";
    EXPECT_EQ(platform::gtk::Backend().TrayIcon(window.m_hWnd, 1), nullptr);
    std::wstring tip;
    EXPECT_FALSE(platform::FindTrayIcon(window.m_hWnd, 1, tip));
    platform::CloseDesktop();  // a second close finds nothing left to do
}

TEST_F(GtkTest, ARequestToEndReachesTheProgramFromItsLoopAndTheProgramLivesOn) {
    int asked = 0;
    platform::SetTerminationHandler([&] { ++asked; });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(kill(getpid(), signal), 0);
        EXPECT_EQ(asked, 0) << "signal " << signal << ": the handler ran in the signal, not from the loop";
        ASSERT_TRUE(TurnUntil([&] { return asked == 1; })) << "signal " << signal;
        asked = 0;
    }
    platform::SetTerminationHandler(nullptr);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction now {};
        ASSERT_EQ(sigaction(signal, nullptr, &now), 0);
        EXPECT_TRUE(now.sa_handler == SIG_DFL && (now.sa_flags & SA_SIGINFO) == 0)
            << "signal " << signal << " no longer ends the program";
    }
}

G_GNUC_END_IGNORE_DEPRECATIONS
