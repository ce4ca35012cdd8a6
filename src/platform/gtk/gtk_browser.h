#pragma once
// Maps the browser control onto a WebKitWebView inside a box the host places.

#include <webkit2/webkit2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/web/browser.h"
#include "platform/web/external.h"

namespace platform::gtk {

class GtkBrowser final : public BrowserControl {
public:
    explicit GtkBrowser(BrowserEvents& events);
    ~GtkBrowser() override;
    GtkBrowser(const GtkBrowser&) = delete;
    GtkBrowser& operator=(const GtkBrowser&) = delete;

    NativeWidget* Widget() override;
    void Navigate(const std::wstring& url) override;
    void Refresh() override;
    std::wstring LocationUrl() const override;
    void SetSilent(bool silent) override { m_silent = silent; }
    void AddExternalMethod(const std::wstring& name, ExternalMethod method) override;

    // The engine's view; null until the first navigation makes it.
    WebKitWebView* View() const { return m_view; }
    // How long the first page of a view that shares another's process may take to arrive before the
    // view is made again; tests shorten it.
    void SetStallTimeout(unsigned int milliseconds) { m_stallTimeout = milliseconds; }

private:
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error,
                                 gpointer self);
    static void OnTitle(WebKitWebView* view, GParamSpec* property, gpointer self);
    static gboolean OnScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer self);

    // Made at the first navigation rather than with the control, so that it can share the process of a
    // view asked to load before it.
    WebKitWebView* EnsureView();
    void DropView();
    void Load(const std::string& url);
    // The sentinel page: the engine refuses the scheme, so it is an empty page loaded under that name.
    void LoadSentinel(const std::string& url);
    bool NavigationAllowed(const std::string& url);
    void OpenElsewhere(const std::string& url);
    // A view sharing a process once stayed blank with its first page started; it is made again, once.
    void WatchFirstLoad(const std::string& url);
    void OnStalled();

    BrowserEvents& m_events;
    ExternalObject m_external;
    GtkWidget* m_box;
    WebKitWebView* m_view = nullptr;
    std::string m_location;
    bool m_silent = false;
    bool m_failed = false;                 // the load under way was refused; its end is no document
    std::vector<std::uint64_t> m_pending;  // sentinel loads not yet asked for
    // The watch on the first page: from the navigation until it commits or fails.
    unsigned int m_stallTimeout = 10000;
    std::string m_watched;
    bool m_watching = false;
    bool m_watchDecided = false;  // the client has answered its before-navigate
    bool m_watchedAllowed = false;
    bool m_remade = false;
    bool m_replay = false;  // the next navigation is that page again, which the client allowed
    MessageQueue::TaskId m_watch = 0;
};

}  // namespace platform::gtk
