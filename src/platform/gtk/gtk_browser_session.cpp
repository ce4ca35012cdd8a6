// Maps the browsing session onto one WebKitWebContext: its data and cache folders, its cookie jar, the
// user script of the page bridge, and related views sharing one web process.
#include "platform/gtk/gtk_browser_session.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/base/paths.h"
#include "platform/ui/message_queue.h"
#include "platform/web/external_bridge.h"

namespace platform::gtk {
namespace {

// What the Windows engine does for the host flag "no scroll bars": the page itself never scrolls.
constexpr char kNoScrollBars[] = "html, body { overflow: hidden !important; }";

// A site's cached files in every place the engine keeps them; a copy left in one would still be served.
constexpr auto kCachedData = static_cast<WebKitWebsiteDataTypes>(
    WEBKIT_WEBSITE_DATA_MEMORY_CACHE | WEBKIT_WEBSITE_DATA_DISK_CACHE | WEBKIT_WEBSITE_DATA_DOM_CACHE);

struct Removal {
    std::string domainText;
    std::function<void()> done;
    WebKitWebsiteDataManager* data;

    void Finish() {
        try {
            if (done) {
                done();
            }
        } catch (...) {
            // Nothing may unwind into the engine's callback.
        }
    }
};

void OnRemoved(GObject* data, GAsyncResult* result, gpointer pending) {
    std::unique_ptr<Removal> removal(static_cast<Removal*>(pending));
    webkit_website_data_manager_remove_finish(WEBKIT_WEBSITE_DATA_MANAGER(data), result, nullptr);
    removal->Finish();
}

void OnFetched(GObject* data, GAsyncResult* result, gpointer pending) {
    std::unique_ptr<Removal> removal(static_cast<Removal*>(pending));
    GList* records =
        webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(data), result, nullptr);
    GList* matching = nullptr;
    for (GList* item = records; item != nullptr; item = item->next) {
        auto* record = static_cast<WebKitWebsiteData*>(item->data);
        const char* name = webkit_website_data_get_name(record);
        if (name != nullptr && std::string(name).find(removal->domainText) != std::string::npos) {
            matching = g_list_prepend(matching, record);
        }
    }
    if (matching == nullptr) {
        removal->Finish();
    } else {
        WebKitWebsiteDataManager* manager = removal->data;
        webkit_website_data_manager_remove(manager, kCachedData, matching, nullptr, OnRemoved,
                                           removal.release());
        g_list_free(matching);
    }
    g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
}

WebKitUserContentManager* NewContent(const std::string& token) {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    WebKitUserStyleSheet* style = webkit_user_style_sheet_new(
        kNoScrollBars, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES, WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(content, style);
    webkit_user_style_sheet_unref(style);
    const std::string bridge = BridgeScript(token);
    WebKitUserScript* script =
        webkit_user_script_new(bridge.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
    return content;
}

WebKitSettings* NewSettings() {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript(settings, TRUE);
    // window.open reaches the create signal, and so the client, only with this on.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    // The portal and the canvas game both draw faster, and in far less memory, without GPU compositing
    // where there is no GPU; see the design note on the browser's memory (docs/design/browser.md).
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    return settings;
}

}  // namespace

BrowserSession& BrowserSession::Get() {
    // Never destroyed: the engine's objects may not be finalised while the process unwinds.
    static BrowserSession* session = new BrowserSession();
    return *session;
}

BrowserSession::BrowserSession()
    : m_token(NewBridgeToken()),
      m_data(nullptr),
      m_context(nullptr),
      m_content(NewContent(m_token)),
      m_settings(NewSettings()) {
    const std::string data = DataHome() + "/Velmora/engine";
    const std::string cache = CacheHome() + "/Velmora/engine";
    MakeDirectories(data);
    MakeDirectories(cache);
    m_data = webkit_website_data_manager_new("base-data-directory", data.c_str(), "base-cache-directory",
                                             cache.c_str(), nullptr);
    // A navigation to another site stays in the one web process; a process swap costs about 100 MiB.
    m_context =
        WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", m_data,
                                        "process-swap-on-cross-site-navigation-enabled", FALSE, nullptr));
    webkit_cookie_manager_set_persistent_storage(webkit_website_data_manager_get_cookie_manager(m_data),
                                                 (data + "/cookies.sqlite").c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    webkit_cookie_manager_set_accept_policy(webkit_website_data_manager_get_cookie_manager(m_data),
                                            WEBKIT_COOKIE_POLICY_ACCEPT_ALWAYS);
}

WebKitWebView* BrowserSession::NewView() {
    if (!m_loading.empty()) {
        return WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(m_loading.front()));
    }
    return WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_context,
                                        "user-content-manager", m_content, "settings", m_settings, nullptr));
}

void BrowserSession::Loading(WebKitWebView* view) {
    if (std::find(m_loading.begin(), m_loading.end(), view) == m_loading.end()) {
        m_loading.push_back(view);
    }
}

void BrowserSession::Forget(WebKitWebView* view) {
    m_loading.erase(std::remove(m_loading.begin(), m_loading.end(), view), m_loading.end());
}

void BrowserSession::RemoveCachedData(const std::string& domainText, std::function<void()> done) {
    auto removal = std::make_unique<Removal>(Removal{domainText, std::move(done), m_data});
    if (domainText.empty()) {
        // As late as the engine would have answered, so callers see one order either way.
        MessageQueue::Instance().Schedule(
            0, [pending = std::shared_ptr<Removal>(std::move(removal))] { pending->Finish(); });
        return;
    }
    webkit_website_data_manager_fetch(m_data, kCachedData, nullptr, OnFetched, removal.release());
}

}  // namespace platform::gtk
