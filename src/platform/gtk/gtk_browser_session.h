#pragma once
// Maps the client's one browsing session onto one WebKitWebContext and its website data manager.

#include <webkit2/webkit2.h>

#include <functional>
#include <string>
#include <vector>

namespace platform::gtk {

// The session every browser control of the process shares, as the Windows engine has one: cookies,
// storage and caches under the user's data and cache folders (cookies kept between runs), one user
// content manager with the page bridge and the style sheet, one settings object. It lives until the
// process ends.
class BrowserSession final {
public:
    static BrowserSession& Get();

    // A new view, floating. It shares the web process of a live view that has been asked to load, when
    // there is one: a view related to one that has not loaded yet may never load.
    WebKitWebView* NewView();
    // Whether NewView would now make a view sharing another's process.
    bool SharesProcess() const { return !m_loading.empty(); }
    // `view` has been asked to load; later views may share its process.
    void Loading(WebKitWebView* view);
    // `view` is going away.
    void Forget(WebKitWebView* view);

    const std::string& Token() const { return m_token; }

    // Removes the cached data of the sites whose domain contains `domainText`, then calls `done`.
    void RemoveCachedData(const std::string& domainText, std::function<void()> done);

    BrowserSession(const BrowserSession&) = delete;
    BrowserSession& operator=(const BrowserSession&) = delete;

private:
    BrowserSession();

    std::string m_token;
    WebKitWebsiteDataManager* m_data;
    WebKitWebContext* m_context;
    WebKitUserContentManager* m_content;
    WebKitSettings* m_settings;
    std::vector<WebKitWebView*> m_loading;  // live views asked to load, oldest first
};

}  // namespace platform::gtk
