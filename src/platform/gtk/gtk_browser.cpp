// Maps the browser control onto a WebKitWebView: policy decisions are before-navigate and new-window,
// load events are navigate- and document-complete.
#include "platform/gtk/gtk_browser.h"

#include "platform/base/text.h"
#include "platform/os/shell_open.h"
#include "platform/ui/message_queue.h"

namespace platform::gtk {
namespace {

// What Windows' host flag for "no scroll bars" does: the page itself never scrolls.
constexpr char kNoScrollBars[] = "html, body { overflow: hidden !important; }";

bool IsSentinel(const std::string& url) {
    return url.rfind(WideToUtf8(kSentinelUrl), 0) == 0;
}

std::string UriOf(WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
    return uri != nullptr ? uri : "";
}

WebKitWebView* NewView() {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    WebKitUserStyleSheet* style = webkit_user_style_sheet_new(
        kNoScrollBars, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES, WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(content, style);
    webkit_user_style_sheet_unref(style);
    GtkWidget* view = webkit_web_view_new_with_user_content_manager(content);
    g_object_unref(content);
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view));
    webkit_settings_set_enable_javascript(settings, TRUE);
    // window.open reaches the create signal, and so the client, only with this on.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    return WEBKIT_WEB_VIEW(view);
}

}  // namespace

GtkBrowser::GtkBrowser(BrowserEvents& events) : m_events(events), m_view(NewView()) {
    // The hosting window only borrows the widget; the control keeps it alive.
    g_object_ref_sink(m_view);
    g_signal_connect(m_view, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(m_view, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect(m_view, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(m_view, "notify::title", G_CALLBACK(OnTitle), this);
}

GtkBrowser::~GtkBrowser() {
    for (MessageQueue::TaskId task : m_pending) {
        MessageQueue::Instance().Cancel(task);
    }
    g_signal_handlers_disconnect_by_data(m_view, this);
    webkit_web_view_stop_loading(m_view);
    if (GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(m_view))) {
        gtk_container_remove(GTK_CONTAINER(parent), GTK_WIDGET(m_view));
    }
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
}

NativeWidget* GtkBrowser::Widget() {
    return reinterpret_cast<NativeWidget*>(m_view);
}

void GtkBrowser::Navigate(const std::wstring& url) {
    const std::string utf8 = WideToUtf8(url);
    if (IsSentinel(utf8)) {
        // The engine asks no policy for this load, so the control asks itself, as late as the engine
        // would have asked.
        m_pending.push_back(MessageQueue::Instance().Schedule(0, [this, utf8] {
            if (NavigationAllowed(utf8)) {
                LoadSentinel(utf8);
            }
        }));
        return;
    }
    webkit_web_view_load_uri(m_view, utf8.c_str());
}

void GtkBrowser::Refresh() {
    if (IsSentinel(m_location)) {
        Navigate(Utf8ToWide(m_location));  // the engine would refuse to load it again
        return;
    }
    webkit_web_view_reload(m_view);
}

std::wstring GtkBrowser::LocationUrl() const {
    return Utf8ToWide(m_location);
}

void GtkBrowser::LoadSentinel(const std::string& url) {
    webkit_web_view_load_alternate_html(m_view, "", url.c_str(), nullptr);
}

bool GtkBrowser::NavigationAllowed(const std::string& url) {
    bool cancel = false;
    m_events.OnBeforeNavigate(Utf8ToWide(url), cancel);
    return !cancel;
}

void GtkBrowser::OpenElsewhere(const std::string& url) {
    bool cancel = false;
    m_events.OnNewWindow(Utf8ToWide(url), cancel);
    if (!cancel && !url.empty()) {
        OpenWithDefaultProgram(url);
    }
}

gboolean GtkBrowser::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<GtkBrowser*>(data);
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        return FALSE;  // responses: the engine's own handling
    }
    // The handler may run a modal loop (a question box); the decision must outlive it.
    g_object_ref(decision);
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string url = UriOf(action);
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        webkit_policy_decision_ignore(decision);
        self->OpenElsewhere(url);
    } else if (!self->NavigationAllowed(url)) {
        webkit_policy_decision_ignore(decision);
    } else if (IsSentinel(url)) {
        webkit_policy_decision_ignore(decision);
        self->LoadSentinel(url);
    } else {
        webkit_policy_decision_use(decision);
    }
    g_object_unref(decision);
    return TRUE;
}

GtkWidget* GtkBrowser::OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
    static_cast<GtkBrowser*>(data)->OpenElsewhere(UriOf(action));
    return nullptr;  // no window of the engine's own
}

void GtkBrowser::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<GtkBrowser*>(data);
    switch (event) {
        case WEBKIT_LOAD_STARTED:
            self->m_failed = false;
            break;
        case WEBKIT_LOAD_COMMITTED: {
            const char* uri = webkit_web_view_get_uri(view);
            self->m_location = uri != nullptr ? uri : "";
            self->m_events.OnNavigateComplete(Utf8ToWide(self->m_location));
            break;
        }
        case WEBKIT_LOAD_FINISHED:
            if (!self->m_failed) {
                self->m_events.OnDocumentComplete(Utf8ToWide(self->m_location));
            }
            self->m_failed = false;
            break;
        default:
            break;
    }
}

gboolean GtkBrowser::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer data) {
    auto* self = static_cast<GtkBrowser*>(data);
    // A load the policy stopped (a cancelled navigation, the sentinel handed over) is no failure of the
    // page: nothing is shown and nothing completes.
    if (g_error_matches(error, WEBKIT_POLICY_ERROR,
                        WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
        g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
        self->m_failed = true;
        return TRUE;
    }
    return FALSE;  // the engine's error page, which commits and completes like a page
}

void GtkBrowser::OnTitle(WebKitWebView* view, GParamSpec*, gpointer data) {
    const char* title = webkit_web_view_get_title(view);
    static_cast<GtkBrowser*>(data)->m_events.OnTitleChange(Utf8ToWide(title != nullptr ? title : ""));
}

}  // namespace platform::gtk

namespace platform {

std::unique_ptr<BrowserControl> CreateBrowserControl(BrowserEvents& events) {
    return std::make_unique<gtk::GtkBrowser>(events);
}

}  // namespace platform
