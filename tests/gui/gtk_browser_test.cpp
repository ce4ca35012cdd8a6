// The browser control on the real engine under Xvfb, with pages from a local server: the order of its
// events, cancelling, frames, the sentinel page, new windows, no scroll bars, keys the layer takes, and
// servers and pages that misbehave.
#include <gtk/gtk.h>
#include <httplib.h>
#include <webkit2/webkit2.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "BrowserTestKit.h"
#include "GtkFixture.h"
#include "Xdotool.h"
#include "platform/base/text.h"
#include "platform/gtk/gtk_browser.h"
#include "platform/web/browser.h"

namespace {

constexpr uint32_t kPageGreen = 0x20B040;

// A top-level window whose child hosts the control; F5 is taken in PreTranslateMessage, as the game
// window does.
class BrowserWnd : public ColourWnd {
public:
    CWnd view;
    std::unique_ptr<platform::BrowserControl> browser;

protected:
    BOOL PreTranslateMessage(MSG* msg) override {
        return msg->message == WM_KEYDOWN && msg->wParam == VK_F5 ? TRUE
                                                                  : ColourWnd::PreTranslateMessage(msg);
    }
};

class GtkBrowserTest : public GtkTest {
protected:
    void SetUp() override {
        UseOwnUserFolders();
        GtkTest::SetUp();
        ASSERT_TRUE(window.CreateTop(RECT{50, 50, 650, 450}));
        ASSERT_TRUE(
            window.view.Create(L"Static", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 600, 400}, &window, 131));
        window.browser = platform::CreateBrowserControl(events);
        window.view.HostNativeWidget(window.browser->Widget());
    }
    void TearDown() override {
        window.view.HostNativeWidget(nullptr);
        window.browser.reset();
        GtkTest::TearDown();
    }
    // Runs `script` in the page, as the page itself would.
    void Run(const std::string& script) {
        auto* gtk = static_cast<platform::gtk::GtkBrowser*>(window.browser.get());
        webkit_web_view_evaluate_javascript(gtk->View(), script.c_str(), -1, nullptr, nullptr, nullptr,
                                            nullptr, nullptr);
    }
    bool Load(const std::string& path) {
        window.browser->Navigate(site.Url(path));
        return TurnUntil([&] { return events.Saw("document " + path); }, std::chrono::seconds(15));
    }

    TestSite site;
    Recorder events;
    BrowserWnd window;
};

}  // namespace

TEST_F(GtkBrowserTest, ALinkReportsBeforeNavigateCompleteDocumentAndTitleAndACancelledOneLoadsNothing) {
    ASSERT_TRUE(Load("/a"));
    Run("document.getElementById('link').click()");
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("title B"); }));
    EXPECT_EQ(events.From("before /b"),
              (std::vector<std::string>{"before /b", "navigated /b", "document /b"}));
    EXPECT_EQ(window.browser->LocationUrl(), site.Url("/b"));

    events.refuse = "/c";
    events.seen.clear();
    ASSERT_TRUE(Load("/a"));
    Run("document.getElementById('stop').click()");
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("before /c"); }));
    ASSERT_TRUE(Load("/b"));  // a load after it, so that anything of /c would have shown by now
    EXPECT_FALSE(events.Saw("navigated /c"));
    EXPECT_FALSE(site.Asked("/c")) << "the server never heard of the cancelled page";
}

TEST_F(GtkBrowserTest, AFramesNavigationComesBeforeNavigateToo) {
    ASSERT_TRUE(Load("/framed"));
    EXPECT_TRUE(TurnUntil([&] { return events.Saw("before /b"); })) << "the frame's page";
}

TEST_F(GtkBrowserTest, TheSentinelLoadsFromTheClientAndFromAPageAndAgainOnRefresh) {
    ASSERT_TRUE(Load("/a"));
    window.browser->Navigate(L"about:blank3");
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("document about:blank3"); }));
    EXPECT_EQ(
        events.From("before about:blank3"),
        (std::vector<std::string>{"before about:blank3", "navigated about:blank3", "document about:blank3"}));
    EXPECT_EQ(window.browser->LocationUrl(), L"about:blank3");

    ASSERT_TRUE(Load("/sentinel"));
    Run("document.getElementById('link').click()");
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("document about:blank3?from=page"); }));
    EXPECT_EQ(events.From("before about:blank3?from=page"),
              (std::vector<std::string>{"before about:blank3?from=page", "navigated about:blank3?from=page",
                                        "document about:blank3?from=page"}));
    WebKitWebView* view = static_cast<platform::gtk::GtkBrowser*>(window.browser.get())->View();
    events.seen.clear();
    webkit_web_view_go_back(view);
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("document /sentinel"); })) << "back from it";
    webkit_web_view_go_forward(view);
    EXPECT_TRUE(TurnUntil([&] { return events.Saw("document about:blank3?from=page"); }))
        << "forward onto it";

    events.seen.clear();
    window.browser->Refresh();
    EXPECT_TRUE(TurnUntil([&] { return events.Saw("document about:blank3?from=page"); })) << "reloaded";
    EXPECT_EQ(window.browser->LocationUrl(), L"about:blank3?from=page");
}

TEST_F(GtkBrowserTest, ThePagesOwnAlertStillReachesTheEngine) {
    ASSERT_TRUE(Load("/b"));
    window.browser->SetSilent(true);
    auto* gtk = static_cast<platform::gtk::GtkBrowser*>(window.browser.get());
    std::string shown;
    g_signal_connect(gtk->View(), "script-dialog",
                     G_CALLBACK(+[](WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
                         *static_cast<std::string*>(data) = webkit_script_dialog_get_message(dialog);
                         return FALSE;  // the engine's own dialog, as for any page
                     }),
                     &shown);
    Run("setTimeout(() => alert('hello'), 0)");
    EXPECT_TRUE(TurnUntil([&] { return shown == "hello"; }));
    g_signal_handlers_disconnect_by_data(gtk->View(), &shown);
}

TEST_F(GtkBrowserTest, TargetedLinksAndWindowOpenAskForANewWindow) {
    ASSERT_TRUE(Load("/windows"));
    Run("document.getElementById('blank').click()");
    EXPECT_TRUE(TurnUntil([&] { return events.Saw("window /b?blank"); }));
    Run("window.open('/b?open')");
    EXPECT_TRUE(TurnUntil([&] { return events.Saw("window /b?open"); }));
    EXPECT_FALSE(events.Saw("navigated /b?blank")) << "nothing replaced the page";
}

TEST_F(GtkBrowserTest, APageTallerThanTheViewShowsNoScrollBar) {
    ASSERT_TRUE(Load("/tall"));
    EXPECT_TRUE(ShowsColour(50 + 595, 50 + 200, kPageGreen)) << "where a scroll bar would be";
    EXPECT_TRUE(ShowsColour(50 + 300, 50 + 395, kPageGreen));
}

TEST_F(GtkBrowserTest, AKeyTheLayerTakesDoesNotReachThePage) {
    ASSERT_TRUE(Load("/keys"));
    events.seen.clear();
    window.SetForegroundWindow();
    auto* gtk = static_cast<platform::gtk::GtkBrowser*>(window.browser.get());
    gtk_widget_grab_focus(GTK_WIDGET(gtk->View()));
    auto keys = Xdotool::Start({"key", "--delay", "50", "F5", "a"});
    ASSERT_TRUE(keys->Wait(std::chrono::seconds(5), Turn));
    ASSERT_TRUE(TurnUntil([&] { return events.Saw("title key a"); })) << "the page gets other keys";
    EXPECT_FALSE(events.Saw("title key F5"));
    EXPECT_FALSE(events.Saw("before /keys")) << "and F5 reloaded nothing";
}

TEST_F(GtkBrowserTest, AServerThatNeverAnswersOrAPageInALoopLeavesTheViewUsable) {
    window.browser->Navigate(site.Url("/hang"));
    ASSERT_TRUE(TurnUntil([&] { return site.Asked("/hang"); }));
    EXPECT_TRUE(Load("/b")) << "another page while the first still waits";

    window.browser->Navigate(L"http://[::1");
    ASSERT_TRUE(Load("/loop"));
    ASSERT_TRUE(TurnUntil([&] { return events.From("document /loop").size() > 6; })) << "it keeps loading";
    events.refuse = "/loop?";
    // Its next attempt is refused; it then stays (a new navigation of its own would cancel one under way).
    auto attempts = [&] {
        return std::count_if(events.seen.begin(), events.seen.end(),
                             [](const std::string& line) { return line.rfind("before /loop?", 0) == 0; });
    };
    const auto before = attempts();
    ASSERT_TRUE(TurnUntil([&] { return attempts() > before; }));
    EXPECT_TRUE(Load("/a")) << "and the view goes elsewhere";
}
