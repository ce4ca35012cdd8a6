// The headless browser control reports navigations as the desktop one does, so the client's tests can
// rely on it.
#include "platform/headless/headless_browser.h"

#include "WindowTestSupport.h"
#include "platform/base/text.h"

using platform::PumpUntilIdle;

namespace {

class Recorder : public platform::BrowserEvents {
public:
    std::vector<std::string> seen;
    std::wstring refuse = L"\x01";

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override {
        Note("before", url);
        cancel = url.find(refuse) != std::wstring::npos;
    }
    void OnNewWindow(const std::wstring& url, bool& cancel) override {
        Note("window", url);
        cancel = url.find(refuse) != std::wstring::npos;
    }
    void OnNavigateComplete(const std::wstring& url) override { Note("navigated", url); }
    void OnDocumentComplete(const std::wstring& url) override { Note("document", url); }
    void OnTitleChange(const std::wstring& title) override { Note("title", title); }

private:
    void Note(const char* what, const std::wstring& text) {
        seen.push_back(std::string(what) + " " + platform::WideToUtf8(text));
    }
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(WindowTest, TheScriptedBrowserLoadsOnALaterTurnInTheDesktopsOrder) {
    Recorder events;
    auto browser = platform::CreateBrowserControl(events);
    ASSERT_EQ(platform::headless::LastBrowser(), browser.get());
    browser->Navigate(L"http://a/");
    EXPECT_TRUE(events.seen.empty()) << "nothing before the loop turns, as with an engine";
    PumpUntilIdle();
    EXPECT_EQ(events.seen, (Lines{"before http://a/", "navigated http://a/", "document http://a/"}));

    events.seen.clear();
    browser->Navigate(L"about:blank3?x");
    browser->Refresh();  // of the page still shown
    PumpUntilIdle();
    EXPECT_EQ(events.seen,
              (Lines{"before about:blank3?x", "navigated about:blank3?x", "document about:blank3?x",
                     "before http://a/", "navigated http://a/", "document http://a/"}));
    EXPECT_EQ(browser->LocationUrl(), L"http://a/");
}

TEST_F(WindowTest, TheScriptedPageCanBeRefusedItsNavigationsAndWindows) {
    Recorder events;
    auto browser = platform::CreateBrowserControl(events);
    auto* page = platform::headless::LastBrowser();
    events.refuse = L"app://";
    page->FollowLink(L"app://minimize|");
    page->OpenWindow(L"app://exitgame|");
    page->OpenWindow(L"http://elsewhere/");
    page->SetTitle(L"T");
    EXPECT_EQ(events.seen, (Lines{"before app://minimize|", "window app://exitgame|",
                                  "window http://elsewhere/", "title T"}));
    EXPECT_TRUE(page->loaded.empty());
    EXPECT_EQ(page->openedElsewhere, std::vector<std::wstring>{L"http://elsewhere/"});
    EXPECT_EQ(browser->LocationUrl(), L"");

    browser->Navigate(L"http://late/");
    browser.reset();
    PumpUntilIdle();  // a navigation of a control that is gone reports nothing
    EXPECT_EQ(events.seen.size(), 4u);
    EXPECT_EQ(platform::headless::LastBrowser(), nullptr);
}
