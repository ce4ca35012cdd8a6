#pragma once
// Maps the browser control onto a WebKitWebView.

#include <webkit2/webkit2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/web/browser.h"

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

    WebKitWebView* View() const { return m_view; }

private:
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error,
                                 gpointer self);
    static void OnTitle(WebKitWebView* view, GParamSpec* property, gpointer self);

    // The sentinel page: the engine refuses the scheme, so it is an empty page loaded under that name.
    void LoadSentinel(const std::string& url);
    bool NavigationAllowed(const std::string& url);
    void OpenElsewhere(const std::string& url);

    BrowserEvents& m_events;
    WebKitWebView* m_view;
    std::string m_location;
    bool m_silent = false;
    bool m_failed = false;                 // the load under way was refused; its end is no document
    std::vector<std::uint64_t> m_pending;  // sentinel loads not yet asked for
};

}  // namespace platform::gtk
