// The page bridge and the browsing session on the real engine under Xvfb: window.external calls from
// pages and frames, pages that try to break or fool it, one session shared by two views in one web
// process, and removal of a site's cached files.
#include <gtk/gtk.h>
#include <jsc/jsc.h>
#include <webkit2/webkit2.h>

#include <dirent.h>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "BrowserTestKit.h"
#include "GtkFixture.h"
#include "ProgramControl.h"
#include "platform/gtk/gtk_browser.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

using platform::ExternalValue;
using Type = ExternalValue::Type;

// The engine's web processes this process started.
int WebProcesses() {
    int count = 0;
    const std::string self = std::to_string(getpid());
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc != nullptr ? readdir(proc) : nullptr) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string pid, name, state, parent;
        if (stat >> pid >> name >> state >> parent && parent == self && name == "(WebKitWebProces)") {
            ++count;
        }
    }
    if (proc != nullptr) {
        closedir(proc);
    }
    return count;
}

struct View {
    ColourWnd window;
    CWnd child;
    Recorder events;
    std::unique_ptr<platform::BrowserControl> browser;

    bool Create(const RECT& rect) {
        if (!window.CreateTop(rect) ||
            !child.Create(L"Static", L"", WS_CHILD | WS_VISIBLE,
                          RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, &window, 131)) {
            return false;
        }
        browser = platform::CreateBrowserControl(events);
        child.HostNativeWidget(browser->Widget());
        return true;
    }
    void Destroy() {
        child.HostNativeWidget(nullptr);
        browser.reset();
        window.DestroyWindow();
    }
    WebKitWebView* Engine() const { return static_cast<platform::gtk::GtkBrowser*>(browser.get())->View(); }
    bool Load(const std::wstring& url, const std::string& title) {
        browser->Navigate(url);
        return TurnUntil([&] { return events.Saw("title " + title); }, std::chrono::seconds(15));
    }
    bool DiskCacheHolds(const std::string& site) { return EngineDiskCacheHolds(Engine(), site); }
    // What `script` evaluates to in the page, as text; "exception: ..." when it throws.
    std::string Eval(const std::string& script) { return EvalInPage(Engine(), script); }
};

std::string Describe(const std::vector<ExternalValue>& args) {
    std::string text;
    for (const ExternalValue& v : args) {
        switch (v.type) {
            case Type::Undefined:
                text += "undefined ";
                break;
            case Type::Null:
                text += "null ";
                break;
            case Type::Boolean:
                text += v.boolean ? "true " : "false ";
                break;
            case Type::Number:
                text += "number:" + std::to_string(v.number) + " ";
                break;
            case Type::String:
                text += "string:" + platform::WideToUtf8(v.text) + " ";
                break;
            case Type::Object:
                text += "object ";
                break;
        }
    }
    return text;
}

class GtkBridgeTest : public GtkTest {
protected:
    void SetUp() override {
        UseOwnUserFolders();
        GtkTest::SetUp();
        ASSERT_TRUE(page.Create(RECT{40, 40, 640, 440}));
        page.browser->AddExternalMethod(
            L"Echo", [this](const std::vector<ExternalValue>& args, ExternalValue& result) {
                calls.push_back(Describe(args));
                result = args.empty() ? ExternalValue::String(L"nothing") : args[0];
                return true;
            });
        page.browser->AddExternalMethod(
            L"Refuse", [](const std::vector<ExternalValue>&, ExternalValue&) { return false; });
        page.browser->AddExternalMethod(
            L"Thrower",
            [](const std::vector<ExternalValue>&, ExternalValue&) -> bool { throw std::runtime_error("x"); });
    }
    void TearDown() override {
        page.Destroy();
        GtkTest::TearDown();
    }

    TestSite site;
    View page;
    std::vector<std::string> calls;
};

}  // namespace

TEST_F(GtkBridgeTest, ACallReturnsTheClientsResultBeforeTheNextLineWithItsArgumentsTyped) {
    ASSERT_TRUE(page.Load(site.Url("/bridge"), "bridge"));
    EXPECT_EQ(page.Eval("var log = ['before']; log.push(window.external.Echo('first', 2)); log.push('after');"
                        "log.join()"),
              "before,first,after");
    EXPECT_EQ(page.Eval("window.external.echo('a', 2.5, true, null, undefined, {}, function () {}, NaN)"),
              "a");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], "string:a number:2.500000 true null undefined object object number:nan ");
    const struct {
        const char* script;
        const char* expected;
    } cases[] = {
        {"window.external.ECHO(42) === 42", "true"},
        {"window.external.Echo(false) === false", "true"},
        {"window.external.Echo(null) === null", "true"},
        {"window.external.Echo() === 'nothing'", "true"},
        {"var s = '\u4e2d\u6587 : % \\u0000 end'; window.external.Echo(s) === s", "true"},
        {"window.external.Echo('\\ud800x')", "\ufffdx"},
        {"window.external.Echo('x'.repeat(1 << 20)).length", "1048576"},
        {"'echo' in window.external && typeof window.external.Nothing", "undefined"},
        {"String(window.external)", "[object Object]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(page.Eval(c.script), c.expected) << c.script;
    }
}

TEST_F(GtkBridgeTest, AFailingMethodThrowsInThePageAndAnUnknownOneIsNotThere) {
    ASSERT_TRUE(page.Load(site.Url("/bridge"), "bridge"));
    const struct {
        const char* script;
        const char* expected;
    } cases[] = {
        {"try { window.external.Refuse('x'); 'returned' } catch (e) { e.message }",
         "window.external.Refuse failed"},
        {"try { window.external.Thrower(); 'returned' } catch (e) { e.message }",
         "window.external.Thrower failed"},
        {"try { window.external.Nothing(); 'returned' } catch (e) { e.name }", "TypeError"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(page.Eval(c.script), c.expected) << c.script;
    }
}

TEST_F(GtkBridgeTest, APagesOwnPromptReachesTheEngineAndIsNeverACall) {
    ASSERT_TRUE(page.Load(site.Url("/bridge"), "bridge"));
    std::vector<std::string> prompts;
    // After the control's own handler: what reaches this one would reach the engine's dialog.
    g_signal_connect(
        page.Engine(), "script-dialog",
        G_CALLBACK(+[](WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
            static_cast<std::vector<std::string>*>(data)->push_back(webkit_script_dialog_get_message(dialog));
            webkit_script_dialog_prompt_set_text(dialog, "typed");
            return TRUE;
        }),
        &prompts);
    EXPECT_EQ(page.Eval("prompt('Your name?')"), "typed");
    EXPECT_EQ(page.Eval("prompt(':c:Echo:shello')"), "typed") << "a call without the token is a prompt";
    EXPECT_EQ(prompts, (std::vector<std::string>{"Your name?", ":c:Echo:shello"}));
    EXPECT_TRUE(calls.empty());
    g_signal_handlers_disconnect_by_data(page.Engine(), &prompts);
}

TEST_F(GtkBridgeTest, APageThatReplacesWhatTheBridgeUsesCannotBreakIt) {
    ASSERT_TRUE(page.Load(site.Url("/bridge"), "bridge"));
    EXPECT_EQ(page.Eval("window.prompt = () => 'rsforged'; String.prototype.slice = () => 'x';"
                        "Function.prototype.call = null; window.encodeURIComponent = s => s;"
                        "window.external = 5; Object.defineProperty = null;"
                        "window.external.Echo('still') + ' ' + typeof window.external"),
              "still object");
}

TEST_F(GtkBridgeTest, AFrameFromAnotherSiteCallsTheClientToo) {
    page.browser->Navigate(site.Url("/bridge-frame"));
    EXPECT_TRUE(TurnUntil([&] { return !calls.empty(); }, std::chrono::seconds(15)));
    EXPECT_EQ(calls, (std::vector<std::string>{"string:from a frame of localhost "}));
}

TEST_F(GtkBridgeTest, TwoViewsShareOneSessionInOneWebProcessAndLoadEveryTime) {
    // As the client makes them: the launcher's view, then the game window's.
    for (int start = 0; start < 50; ++start) {
        View game;
        ASSERT_TRUE(game.Create(RECT{660, 40, 1060, 340}));
        ASSERT_TRUE(page.Load(site.Url("/cookie-set?" + std::to_string(start)), "set")) << "start " << start;
        ASSERT_TRUE(game.Load(site.Url("/cookie-show?" + std::to_string(start)), "cookie player=ada"))
            << "start " << start;
        // The web process of the views of the start before may still be on its way out.
        EXPECT_TRUE(TurnUntil([] { return WebProcesses() == 1; }))
            << "start " << start << ": " << WebProcesses();
        game.Destroy();
        page.Destroy();
        ASSERT_TRUE(page.Create(RECT{40, 40, 640, 440}));
    }
}

TEST_F(GtkBridgeTest, RemovingOneSitesDataFetchesItsFilesAgainAndKeepsTheOthers) {
    // Each round loads a page not seen before: the engine also predicts a known page's files.
    const auto round = [&](const std::string& query) {
        for (const std::string host : {"127.0.0.1", "localhost"}) {
            page.events.seen.clear();
            if (!page.Load(site.Url("/cached-page?" + query, host), "cached " + host)) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(round("first"));
    ASSERT_TRUE(round("second"));
    EXPECT_EQ(site.Count("localhost", "/cached.js"), 1) << "kept, and not asked for again";
    // The engine writes its disk cache a moment after a load; a removal can only take what is there.
    ASSERT_TRUE(TurnUntil([&] { return page.DiskCacheHolds("localhost"); }, std::chrono::seconds(15)));

    bool done = false;
    platform::RemoveCachedSiteData(L"localhost", [&] { done = true; });
    ASSERT_TRUE(TurnUntil([&] { return done; }));
    ASSERT_TRUE(round("third"));
    EXPECT_EQ(site.Count("localhost", "/cached.js"), 2) << "fetched again";
    EXPECT_EQ(site.Count("127.0.0.1", "/cached.js"), 1) << "another site's copy stays";

    done = false;
    platform::RemoveCachedSiteData(L"", [&] { done = true; });
    EXPECT_TRUE(TurnUntil([&] { return done; })) << "nothing to remove still completes";
}

TEST_F(GtkBridgeTest, AViewWhoseFirstPageStallsIsMadeAgainOnceWithoutAskingTheClientTwice) {
    ASSERT_TRUE(page.Load(site.Url("/bridge"), "bridge"));
    View game;
    ASSERT_TRUE(game.Create(RECT{660, 40, 1060, 340}));
    static_cast<platform::gtk::GtkBrowser*>(game.browser.get())->SetStallTimeout(300);
    game.browser->Navigate(site.Url("/hang"));
    EXPECT_TRUE(TurnUntil([&] { return site.Count("127.0.0.1", "/hang") == 2; }, std::chrono::seconds(10)));
    EXPECT_EQ(game.events.seen, (std::vector<std::string>{"before /hang"}));
    EXPECT_TRUE(game.Load(site.Url("/b"), "B")) << "the view made again works";
    game.Destroy();
}

TEST_F(GtkBridgeTest, CookiesLastAcrossARestartAndTwoClientsAtOnceShareThem) {
    TempDir home;
    const auto start = [&](const std::string& launcher, const std::string& game) {
        return StartProgram({"/usr/bin/env", "XDG_DATA_HOME=" + home / "data",
                             "XDG_CACHE_HOME=" + home / "cache", BROWSER_DEMO_PATH,
                             platform::WideToUtf8(site.Url(launcher)), platform::WideToUtf8(site.Url(game))},
                            home / "demo.log");
    };
    const auto seen = [&](const std::string& what, int times) {
        return TurnUntil([&] { return site.Count("127.0.0.1", "/seen/" + what) >= times; },
                         std::chrono::seconds(30));
    };
    pid_t first = start("/cookie-set", "/b");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(seen("set", 1)) << TailOfFile(home / "demo.log");
    StopProgram(first, std::chrono::seconds(5));

    pid_t one = start("/cookie-show?one", "/cookie-set");
    pid_t two = start("/cookie-show?two", "/cookie-show?three");
    ASSERT_GT(one, 0);
    ASSERT_GT(two, 0);
    EXPECT_TRUE(seen("player-ada", 3))
        << "both programs read the first one's cookie; " << TailOfFile(home / "demo.log");
    EXPECT_TRUE(seen("set", 2)) << "while one of them sets it again";
    StopProgram(one, std::chrono::seconds(5));
    StopProgram(two, std::chrono::seconds(5));
}
