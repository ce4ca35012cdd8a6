#pragma once
// What the tests of the browser control share: a local site that counts what it was asked for, and a
// recorder of the control's events.
#include <httplib.h>
#include <jsc/jsc.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GtkFixture.h"
#include "platform/base/text.h"
#include "platform/web/browser.h"
#include "support/TempDir.h"

// Pages the tests load, on a free port of 127.0.0.1; it counts what was asked for.
class TestSite {
public:
    TestSite() {
        Page("/a", "<title>A</title><a id='link' href='/b'>b</a><a id='stop' href='/c'>c</a>");
        Page("/b", "<title>B</title>b");
        Page("/c", "<title>C</title>c");
        Page("/framed", "<title>F</title><iframe id='frame' src='/b'></iframe>");
        Page("/sentinel", "<title>S</title><a id='link' href='about:blank3?from=page'>end</a>");
        Page("/windows", "<a id='blank' target='_blank' href='/b?blank'>blank</a>");
        Page("/tall", "<style>body{margin:0;background:#20b040}</style><div style='height:5000px'></div>");
        Page("/keys",
             "<title>none</title><script>document.onkeydown = e => { document.title = 'key ' + e.key; };"
             "</script><body style='height:100%'>keys</body>");
        Page("/loop",
             "<script>setTimeout(() => { location.href = '/loop?' + Date.now(); }, 10);</script>loop");
        Page("/bridge", "<title>bridge</title>bridge");
        Page("/bridge-frame",
             "<script>var f = document.createElement('iframe');"
             "f.src = 'http://localhost:' + location.port + '/bridge-child'; document.body.appendChild(f);"
             "</script>");
        Page("/bridge-child",
             "<script>window.external.Echo('from a frame of ' + location.hostname);</script>");
        // Each also tells the server what it did, for pages that another program shows.
        Page("/cookie-set",
             "<script>document.cookie = 'player=ada; max-age=3600; path=/';"
             "document.title = 'set'; fetch('/seen/set');</script>");
        Page("/cookie-show",
             "<script>document.title = 'cookie ' + document.cookie;"
             "fetch('/seen/' + document.cookie.replace('=', '-'));</script>");
        Page("/cached-page", "<script src='/cached.js'></script>");
        Page("/framed-game", "<iframe src='/b?wd_entergame=1'></iframe>");
        CachedScript("/cached.js", "document.title = 'cached ' + location.hostname;");
        m_server.Get("/hang", [this](const httplib::Request&, httplib::Response& response) {
            std::unique_lock<std::mutex> lock(m_lock);
            m_release.wait_for(lock, std::chrono::seconds(20), [this] { return m_stopping; });
            response.set_content("late", "text/html");
        });
        m_server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_asked.push_back(request.path);
            m_askedOf.push_back(request.get_header_value("Host") + request.path);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        // The engine keeps connections open; closing each after its answer lets the server stop at once.
        m_server.set_keep_alive_max_count(1);
        m_server.set_read_timeout(1);
        m_server.set_keep_alive_timeout(1);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~TestSite() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_stopping = true;
        }
        m_release.notify_all();
        m_server.stop();
        m_thread.join();
    }
    std::wstring Url(const std::string& path, const std::string& host = "127.0.0.1") const {
        return platform::Utf8ToWide("http://" + host + ":" + std::to_string(m_port) + path);
    }
    int Port() const { return m_port; }
    bool Asked(const std::string& path) {
        std::lock_guard<std::mutex> guard(m_lock);
        return std::find(m_asked.begin(), m_asked.end(), path) != m_asked.end();
    }

    // How often HOST:PORT/PATH was asked for.
    int Count(const std::string& host, const std::string& path) {
        std::lock_guard<std::mutex> guard(m_lock);
        const std::string key = host + ":" + std::to_string(m_port) + path;
        return static_cast<int>(std::count(m_askedOf.begin(), m_askedOf.end(), key));
    }

private:
    void Page(const std::string& path, const std::string& html) {
        m_server.Get(path, [html](const httplib::Request&, httplib::Response& response) {
            response.set_content("<!DOCTYPE html><html><body>" + html + "</body></html>", "text/html");
        });
    }
    // A script the engine may keep for an hour without asking again.
    void CachedScript(const std::string& path, const std::string& script) {
        m_server.Get(path, [script](const httplib::Request&, httplib::Response& response) {
            response.set_header("Cache-Control", "max-age=3600");
            response.set_content(script, "text/javascript");
        });
    }

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_lock;
    std::condition_variable m_release;
    bool m_stopping = false;
    std::vector<std::string> m_asked;
    std::vector<std::string> m_askedOf;  // host and path
};

// Keeps every event as one line; navigations to a URL containing `refuse` are cancelled.
class Recorder : public platform::BrowserEvents {
public:
    std::vector<std::string> seen;
    std::string refuse = "\x01";

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override {
        seen.push_back("before " + Path(url));
        cancel = platform::WideToUtf8(url).find(refuse) != std::string::npos;
    }
    void OnNewWindow(const std::wstring& url, bool& cancel) override {
        seen.push_back("window " + Path(url));
        cancel = true;  // never the user's browser in a test
    }
    void OnNavigateComplete(const std::wstring& url) override { seen.push_back("navigated " + Path(url)); }
    void OnDocumentComplete(const std::wstring& url) override { seen.push_back("document " + Path(url)); }
    void OnTitleChange(const std::wstring& title) override {
        seen.push_back("title " + platform::WideToUtf8(title));
    }

    bool Saw(const std::string& line) const {
        return std::find(seen.begin(), seen.end(), line) != seen.end();
    }
    // The events from the first one equal to `first` on, without titles unless asked.
    std::vector<std::string> From(const std::string& first, bool titles = false) const {
        std::vector<std::string> tail;
        auto start = std::find(seen.begin(), seen.end(), first);
        for (auto it = start; it != seen.end(); ++it) {
            if (titles || it->rfind("title ", 0) != 0) {
                tail.push_back(*it);
            }
        }
        return tail;
    }

private:
    // The path and query of a test-site URL; anything else as it is.
    static std::string Path(const std::wstring& url) {
        std::string text = platform::WideToUtf8(url);
        const std::string site = "http://127.0.0.1:";
        if (text.rfind(site, 0) == 0) {
            const std::size_t slash = text.find('/', site.size());
            return slash == std::string::npos ? "/" : text.substr(slash);
        }
        return text;
    }
};

// The session keeps its data under the user's folders; the test process gets folders of its own before
// the first view makes it.
inline void UseOwnUserFolders() {
    static TempDir folders;  // for the life of the process, as the session's
    static const bool set = setenv("XDG_DATA_HOME", (folders / "data").c_str(), 1) == 0 &&
                            setenv("XDG_CACHE_HOME", (folders / "cache").c_str(), 1) == 0;
    (void)set;
}

// What `script` evaluates to in `view`'s page, as text; "exception: ..." when it throws.
inline std::string EvalInPage(WebKitWebView* view, const std::string& script) {
    struct Answer {
        bool done = false;
        std::string text;
    } answer;
    webkit_web_view_evaluate_javascript(
        view, script.c_str(), -1, nullptr, nullptr, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            auto* out = static_cast<Answer*>(data);
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            if (value != nullptr) {
                char* text = jsc_value_to_string(value);
                out->text = text;
                g_free(text);
                g_object_unref(value);
            } else {
                out->text = std::string("exception: ") + (error != nullptr ? error->message : "");
                g_clear_error(&error);
            }
            out->done = true;
        },
        &answer);
    TurnUntil([&] { return answer.done; }, std::chrono::seconds(15));
    return answer.done ? answer.text : "no answer";
}

// Whether the engine's disk cache, as `view`'s session keeps it, lists data of `site`.
inline bool EngineDiskCacheHolds(WebKitWebView* view, const std::string& site) {
    struct Answer {
        bool done = false;
        bool holds = false;
        std::string site;
    } answer{false, false, site};
    webkit_website_data_manager_fetch(
        webkit_web_view_get_website_data_manager(view), WEBKIT_WEBSITE_DATA_DISK_CACHE, nullptr,
        +[](GObject* data, GAsyncResult* result, gpointer out) {
            auto* a = static_cast<Answer*>(out);
            GList* records =
                webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(data), result, nullptr);
            for (GList* item = records; item != nullptr; item = item->next) {
                a->holds |=
                    a->site == webkit_website_data_get_name(static_cast<WebKitWebsiteData*>(item->data));
            }
            g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
            a->done = true;
        },
        &answer);
    TurnUntil([&] { return answer.done; });
    return answer.holds;
}
