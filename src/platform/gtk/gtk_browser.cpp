// Maps the browser control onto a WebKitWebView: policy decisions are before-navigate and new-window,
// load events are navigate- and document-complete, prompts carrying the session's token are calls on
// the external object.
#include "platform/gtk/gtk_browser.h"

#include "platform/base/text.h"
#include "platform/gtk/gtk_browser_session.h"
#include "platform/os/shell_open.h"
#include "platform/web/external_bridge.h"

namespace platform::gtk {
namespace {

bool IsSentinel(const std::string& url) {
    return url.rfind(WideToUtf8(kSentinelUrl), 0) == 0;
}

std::string UriOf(WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
    return uri != nullptr ? uri : "";
}

}  // namespace

GtkBrowser::GtkBrowser(BrowserEvents& events)
    : m_events(events), m_box(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0)) {
    // The hosting window only borrows the box; the control keeps it alive.
    g_object_ref_sink(m_box);
}

GtkBrowser::~GtkBrowser() {
    for (MessageQueue::TaskId task : m_pending) {
        MessageQueue::Instance().Cancel(task);
    }
    MessageQueue::Instance().Cancel(m_watch);
    DropView();
    if (GtkWidget* parent = gtk_widget_get_parent(m_box)) {
        gtk_container_remove(GTK_CONTAINER(parent), m_box);
    }
    gtk_widget_destroy(m_box);
    g_object_unref(m_box);
}

NativeWidget* GtkBrowser::Widget() {
    return reinterpret_cast<NativeWidget*>(m_box);
}

WebKitWebView* GtkBrowser::EnsureView() {
    if (m_view != nullptr) {
        return m_view;
    }
    m_view = BrowserSession::Get().NewView();
    g_object_ref_sink(m_view);
    g_signal_connect(m_view, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(m_view, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect(m_view, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(m_view, "notify::title", G_CALLBACK(OnTitle), this);
    g_signal_connect(m_view, "script-dialog", G_CALLBACK(OnScriptDialog), this);
    gtk_box_pack_start(GTK_BOX(m_box), GTK_WIDGET(m_view), TRUE, TRUE, 0);
    gtk_widget_show(GTK_WIDGET(m_view));
    return m_view;
}

void GtkBrowser::DropView() {
    if (m_view == nullptr) {
        return;
    }
    BrowserSession::Get().Forget(m_view);
    g_signal_handlers_disconnect_by_data(m_view, this);
    webkit_web_view_stop_loading(m_view);
    gtk_container_remove(GTK_CONTAINER(m_box), GTK_WIDGET(m_view));
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
    m_view = nullptr;
}

void GtkBrowser::Navigate(const std::wstring& url) {
    const std::string utf8 = WideToUtf8(url);
    if (IsSentinel(utf8)) {
        EnsureView();
        // The engine asks no policy for this load, so the control asks itself, as late as the engine
        // would have asked.
        m_pending.push_back(MessageQueue::Instance().Schedule(0, [this, utf8] {
            if (NavigationAllowed(utf8)) {
                LoadSentinel(utf8);
            }
        }));
        return;
    }
    if (m_view == nullptr && BrowserSession::Get().SharesProcess()) {
        WatchFirstLoad(utf8);
    }
    Load(utf8);
}

void GtkBrowser::Load(const std::string& url) {
    WebKitWebView* view = EnsureView();
    BrowserSession::Get().Loading(view);
    webkit_web_view_load_uri(view, url.c_str());
}

void GtkBrowser::Refresh() {
    if (m_view == nullptr) {
        return;
    }
    if (IsSentinel(m_location)) {
        Navigate(Utf8ToWide(m_location));  // the engine would refuse to load it again
        return;
    }
    webkit_web_view_reload(m_view);
}

std::wstring GtkBrowser::LocationUrl() const {
    return Utf8ToWide(m_location);
}

void GtkBrowser::AddExternalMethod(const std::wstring& name, ExternalMethod method) {
    m_external.Add(name, std::move(method));
}

void GtkBrowser::LoadSentinel(const std::string& url) {
    WebKitWebView* view = EnsureView();
    BrowserSession::Get().Loading(view);
    webkit_web_view_load_alternate_html(view, "", url.c_str(), nullptr);
}

bool GtkBrowser::NavigationAllowed(const std::string& url) {
    if (m_replay) {
        m_replay = false;  // the first page of a view made again: the client allowed it already
        return true;
    }
    bool cancel = false;
    m_events.OnBeforeNavigate(Utf8ToWide(url), cancel);
    if (m_watching && !m_watchDecided) {
        m_watchDecided = true;
        m_watchedAllowed = !cancel;
    }
    return !cancel;
}

void GtkBrowser::OpenElsewhere(const std::string& url) {
    bool cancel = false;
    m_events.OnNewWindow(Utf8ToWide(url), cancel);
    if (!cancel && !url.empty()) {
        OpenWithDefaultProgram(url);
    }
}

void GtkBrowser::WatchFirstLoad(const std::string& url) {
    m_watched = url;
    m_watching = true;
    m_watchDecided = false;
    m_watchedAllowed = false;
    m_watch = MessageQueue::Instance().Schedule(m_stallTimeout, [this] { OnStalled(); });
}

void GtkBrowser::OnStalled() {
    m_watch = 0;
    const bool stalled = m_watching && m_watchedAllowed;
    m_watching = false;
    if (!stalled || m_remade) {
        return;  // arrived, refused by the client, or made again already: a slow server, then
    }
    m_remade = true;
    DropView();
    m_replay = true;
    WatchFirstLoad(m_watched);
    Load(m_watched);
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
            self->m_watching = false;
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
    self->m_watching = false;
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

gboolean GtkBrowser::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
    if (webkit_script_dialog_get_dialog_type(dialog) != WEBKIT_SCRIPT_DIALOG_PROMPT) {
        return FALSE;
    }
    auto* self = static_cast<GtkBrowser*>(data);
    const char* message = webkit_script_dialog_get_message(dialog);
    std::string reply;
    if (message == nullptr ||
        !AnswerBridgeMessage(BrowserSession::Get().Token(), message, self->m_external, reply)) {
        return FALSE;  // the page's own prompt: the engine's dialog
    }
    webkit_script_dialog_prompt_set_text(dialog, reply.c_str());
    return TRUE;
}

}  // namespace platform::gtk

namespace platform {

std::unique_ptr<BrowserControl> CreateBrowserControl(BrowserEvents& events) {
    return std::make_unique<gtk::GtkBrowser>(events);
}

void RemoveCachedSiteData(const std::wstring& domainText, std::function<void()> done) {
    gtk::BrowserSession::Get().RemoveCachedData(WideToUtf8(domainText), std::move(done));
}

}  // namespace platform
