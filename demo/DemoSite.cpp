#include "DemoSite.h"

#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "UserInfo.h"
#include "platform/base/checksum.h"

namespace fs = std::filesystem;

namespace {

constexpr char kInstallerPath[] = "/download/velmora-setup-1.0.1.0.sh";
constexpr char kCurrentVersion[] = "1.0.0.1";
constexpr char kNewerVersion[] = "1.0.1.0";
constexpr char kAssetCaching[] = "max-age=3600";

const std::map<std::string, std::string>& Pages() {
    static const std::map<std::string, std::string> pages = {
        {"/official", "official.html"}, {"/pay", "pay.html"},   {"/bbs", "bbs.html"},
        {"/service", "service.html"},   {"/game", "game.html"}, {"/login", "index.html"},
    };
    return pages;
}

std::string ContentType(const fs::path& file) {
    static const std::map<std::string, std::string> types = {
        {".html", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".svg", "image/svg+xml"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".ico", "image/x-icon"},
        {".json", "application/json"},
        {".txt", "text/plain; charset=utf-8"},
    };
    auto found = types.find(file.extension().string());
    return found != types.end() ? found->second : "application/octet-stream";
}

bool ReadFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return true;
}

// A request path names a file inside the site only when none of its parts climbs out of it.
bool InsideSite(const std::string& path) {
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) {
        return false;
    }
    for (const fs::path& part : fs::path(path.substr(1))) {
        if (part == ".." || part == ".") {
            return false;
        }
    }
    return true;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string BaseUrl(const httplib::Request& request) {
    const std::string host = request.get_header_value("Host");
    return "http://" + (host.empty() ? std::string("127.0.0.1:8631") : host);
}

// Whether something listens on `port` already, on any address. The site's server library shares ports
// (it binds with SO_REUSEPORT), so its own bind would succeed beside another copy of the demo site and
// the client's requests would be spread over both; and a test bind without that option is refused for
// the last run's closed connections alone, so the kernel's tables of listening sockets tell instead.
bool PortListening(int port) {
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream file(table);
        std::string line;
        std::getline(file, line);  // the column titles
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state;
            fields >> slot >> local >> remote >> state;
            const std::size_t colon = local.rfind(':');
            if (state == "0A" && colon != std::string::npos &&
                std::strtol(local.c_str() + colon + 1, nullptr, 16) == port) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

DemoSite::DemoSite(DemoSiteOptions options, std::ostream& log)
    : m_options(std::move(options)), m_log(log), m_server(std::make_unique<httplib::Server>()) {
    const std::string keyFile =
        m_options.signingKeyFile.empty() ? VELMORA_DEMO_SIGNING_KEY : m_options.signingKeyFile;
    std::string keyText, why = "cannot be read";
    m_canSign = ReadFile(keyFile, keyText) && minisign::ReadSecretKey(keyText, m_signingKey, why);
    if (!m_canSign) {
        m_log << "signing key " << keyFile << ": " << why << "; the version document goes unsigned"
              << std::endl;
    }
    Route();
}

DemoSite::~DemoSite() = default;

std::int64_t DemoSite::Now() const {
    if (m_options.now) {
        return m_options.now();
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int DemoSite::Bind(int port) {
    if (port == 0) {
        return m_server->bind_to_any_port("127.0.0.1");
    }
    return !PortListening(port) && m_server->bind_to_port("127.0.0.1", port) ? port : -1;
}

bool DemoSite::Run() {
    {
        std::lock_guard<std::mutex> guard(m_runLock);
        if (m_stopped) {
            return false;
        }
        m_runBegun = true;
    }
    const bool served = m_server->listen_after_bind();
    m_runEnded = true;
    return served;
}

void DemoSite::Stop() {
    {
        std::lock_guard<std::mutex> guard(m_runLock);
        m_stopped = true;
        if (!m_runBegun) {
            return;
        }
    }
    while (!m_server->is_running() && !m_runEnded) {
        std::this_thread::yield();
    }
    m_server->stop();
}

std::string DemoSite::InstallerScript() const {
    std::string script =
        "#!/bin/sh\n"
        "# The demo build's installer: it installs nothing, it only leaves a mark that it ran.\n";
    if (!m_options.installerMarker.empty()) {
        script += "printf 'installed " + std::string(kNewerVersion) + "\\n' > " +
                  ShellQuoted(m_options.installerMarker) + "\n";
    }
    return script + "exit 0\n";
}

void DemoSite::Route() {
    // A browser keeps its connections open, and each open one holds a worker thread of the server: with
    // the library's 5 s, a page's later files and a stop of the site wait that long.
    m_server->set_keep_alive_timeout(1);
    auto logLock = std::make_shared<std::mutex>();
    m_server->set_logger([this, logLock](const httplib::Request& request, const httplib::Response& response) {
        std::lock_guard<std::mutex> guard(*logLock);
        m_log << request.method << " " << request.path << " " << response.status << std::endl;
    });
    m_server->Get("/", [this](const httplib::Request&, httplib::Response& response) {
        ServePage("index.html", response, true);
    });
    for (const auto& [path, file] : Pages()) {
        const std::string page = file;
        const bool portal = page == "index.html";
        m_server->Get(path, [this, page, portal](const httplib::Request&, httplib::Response& response) {
            ServePage(page, response, portal);
        });
    }
    m_server->Get("/userinfo", [this](const httplib::Request& request, httplib::Response& response) {
        ServeUserInfo(request, response);
    });
    m_server->Get("/version.xml", [this](const httplib::Request& request, httplib::Response& response) {
        response.set_header("Cache-Control", "no-cache");
        response.set_content(VersionDocument(request), "text/xml");
    });
    m_server->Get("/version.xml.minisig",
                  [this](const httplib::Request& request, httplib::Response& response) {
                      ServeSignature(request, response);
                  });
    m_server->Get(kInstallerPath, [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(InstallerScript(), "application/x-sh");
    });
    m_server->Get(R"(/.+)", [this](const httplib::Request& request, httplib::Response& response) {
        ServeFile(request, response);
    });
}

void DemoSite::ServePage(const std::string& file, httplib::Response& response, bool substitute) const {
    std::string page;
    if (!ReadFile(fs::path(m_options.siteDir) / file, page)) {
        response.status = 404;
        return;
    }
    if (substitute) {
        const std::string placeholder = "{{LOGIN_HREF}}";
        const std::string login =
            m_options.loginCheck.empty() ? "/login" : "/login?from=portal&" + m_options.loginCheck;
        for (std::size_t at = page.find(placeholder); at != std::string::npos;
             at = page.find(placeholder, at)) {
            page.replace(at, placeholder.size(), login);
            at += login.size();
        }
    }
    response.set_header("Cache-Control", "no-cache");
    response.set_content(page, "text/html; charset=utf-8");
}

void DemoSite::ServeFile(const httplib::Request& request, httplib::Response& response) const {
    std::string bytes;
    const fs::path file = fs::path(m_options.siteDir) / request.path.substr(1);
    if (!InsideSite(request.path)) {
        response.status = 403;
        return;
    }
    if (!fs::is_regular_file(file) || !ReadFile(file, bytes)) {
        response.status = 404;
        return;
    }
    response.set_header("Cache-Control", kAssetCaching);
    response.set_content(bytes, ContentType(file).c_str());
}

void DemoSite::ServeUserInfo(const httplib::Request& request, httplib::Response& response) const {
    const std::string tag = request.get_param_value("user");
    if (!IsSignedRequest(tag, request.get_param_value("t"), request.get_param_value("sign"), m_options.key,
                         Now())) {
        response.set_content("", "text/plain");  // a bad or stale signature gets no address
        return;
    }
    response.set_content(BaseUrl(request) + "/game?server=1&user=" +
                             httplib::detail::encode_query_param(tag) + "&wd_entergame=1",
                         "text/plain");
}

std::string DemoSite::VersionDocument(const httplib::Request& request) const {
    std::string client = "\t<CLIENT version=\"" +
                         std::string(m_options.offerUpdate ? kNewerVersion : kCurrentVersion) + "\" url=\"" +
                         BaseUrl(request) + kInstallerPath + "\"";
    if (m_options.offerUpdate) {
        const std::string script = InstallerScript();
        client += " sha256=\"" + platform::Sha256Hex(script.data(), script.size()) + "\"";
    }
    return "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<VERSIONS>\n" + client + "/>\n</VERSIONS>\n";
}

// Signed afresh for every request, as the document names the address it was asked at.
void DemoSite::ServeSignature(const httplib::Request& request, httplib::Response& response) const {
    if (!m_canSign) {
        response.status = 404;
        return;
    }
    const std::string comment = "timestamp:" + std::to_string(Now()) + "\tfile:version.xml\thashed";
    response.set_header("Cache-Control", "no-cache");
    response.set_content(minisign::Sign(m_signingKey, VersionDocument(request), comment), "text/plain");
}
