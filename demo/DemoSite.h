#pragma once
// The demo operator site: the portal the launcher shows, the game, the pages the client's buttons open,
// the signed user-info service that answers the game's address, the version document with its signature
// (at the document's address with ".minisig" added) and an installer.
// It listens on 127.0.0.1 only and writes one line per request ("GET /path 200") to its log.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "MinisignSigner.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

struct DemoSiteOptions {
    std::string siteDir;                   // the static files
    std::string key = "velmora-demo-key";  // the secret the user-info requests are signed with
    bool offerUpdate = false;              // the version document offers a newer client and its installer
    std::string installerMarker;           // the file the installer writes, when it is given one
    std::string loginCheck;                // the marker the portal's login link carries, when there is one
    std::string signingKeyFile;            // signs the version document; the demo's own key when empty
    std::function<std::int64_t()> now;     // seconds since 1970; the system clock when empty
};

class DemoSite {
public:
    DemoSite(DemoSiteOptions options, std::ostream& log);
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Binds 127.0.0.1:`port` (0: any free port); the port, or -1 when it cannot be had, also when
    // something listens there already.
    int Bind(int port);
    // Serves until Stop, from any thread; returns false when it could not, or when Stop came first.
    bool Run();
    void Stop();

    // The installer script as served; the version document gives its SHA-256.
    std::string InstallerScript() const;

private:
    void Route();
    void ServePage(const std::string& file, httplib::Response& response, bool substitute) const;
    void ServeFile(const httplib::Request& request, httplib::Response& response) const;
    void ServeUserInfo(const httplib::Request& request, httplib::Response& response) const;
    std::string VersionDocument(const httplib::Request& request) const;
    void ServeSignature(const httplib::Request& request, httplib::Response& response) const;
    std::int64_t Now() const;

    DemoSiteOptions m_options;
    std::ostream& m_log;
    std::unique_ptr<httplib::Server> m_server;
    minisign::SecretKey m_signingKey;
    bool m_canSign = false;
    // The server library forgets a stop that comes before its accept loop runs, which would leave Run
    // serving for ever: Stop waits for that loop once Run has begun, and a Run after Stop never begins.
    std::mutex m_runLock;
    bool m_stopped = false;
    bool m_runBegun = false;
    std::atomic<bool> m_runEnded{false};
};
