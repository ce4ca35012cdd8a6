#pragma once
// The browser control the client's browser view is built on: a web view that a child window hosts
// (CWnd::HostNativeWidget), navigated by URL, reporting what the page does as events on the UI thread.
// A backend provides it (CreateBrowserControl): the desktop one on the real engine, the headless one
// scripted by tests.
//
// "about:blank3" (with anything after it) is the sentinel page: an empty page whose location is that
// text. Navigating to it, from the client or from a page, loads it like any other page, so callers
// never treat it specially.

#include <functional>
#include <memory>
#include <string>

#include "platform/web/external.h"

namespace platform {

struct NativeWidget;

constexpr wchar_t kSentinelUrl[] = L"about:blank3";

// What the control reports; every handler runs on the UI thread and defaults to doing nothing.
class BrowserEvents {
public:
    virtual ~BrowserEvents() = default;
    // Before a navigation of the page or of one of its frames, whatever started it; `cancel` stops it
    // before anything loads.
    virtual void OnBeforeNavigate(const std::wstring& url, bool& cancel);
    // The page asks for a new window (a link with a target, window.open); `cancel` refuses it. One not
    // refused opens in the user's own browser.
    virtual void OnNewWindow(const std::wstring& url, bool& cancel);
    // The new page has started to arrive and is now the location.
    virtual void OnNavigateComplete(const std::wstring& url);
    // The page has finished loading.
    virtual void OnDocumentComplete(const std::wstring& url);
    virtual void OnTitleChange(const std::wstring& title);
};

class BrowserControl {
public:
    virtual ~BrowserControl() = default;
    // The widget to host in a child window; it stays the control's.
    virtual NativeWidget* Widget() = 0;
    // Loads `url` unchanged.
    virtual void Navigate(const std::wstring& url) = 0;
    virtual void Refresh() = 0;
    // The page's location: the last navigation that completed.
    virtual std::wstring LocationUrl() const = 0;
    // Silent: the engine shows no dialogs of its own about script errors (the page's own alert,
    // confirm and prompt still show).
    virtual void SetSilent(bool silent) = 0;
    // Offers `method` to every page and frame of this control as window.external.NAME, NAME matched
    // without regard to letter case. Pages loaded from then on see it.
    virtual void AddExternalMethod(const std::wstring& name, ExternalMethod method) = 0;
};

// A control reporting to `events`, which must outlive it. Pages get no scroll bars and may run script;
// the engine keeps its own context menu and keys. All controls of the process share one browsing
// session: cookies, storage and caches, kept between runs under the user's data and cache folders.
std::unique_ptr<BrowserControl> CreateBrowserControl(BrowserEvents& events);

// Removes what the engine has cached of every site whose domain contains `domainText` (the memory and
// disk caches, so the next load fetches the site's files again; cookies and storage stay), then calls
// `done` on the UI thread. An empty text removes nothing; `done` is still called.
void RemoveCachedSiteData(const std::wstring& domainText, std::function<void()> done);

}  // namespace platform
