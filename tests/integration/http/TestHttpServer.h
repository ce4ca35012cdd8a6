#pragma once
// A cpp-httplib server on 127.0.0.1 at an ephemeral port for one test, speaking http or https. Handlers
// are registered by exact path, also while it runs; every request and every accepted connection is
// recorded, so a test can tell "nothing reached the server" from "the server answered nothing".

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestCertificateAuthority;

class TestHttpServer final {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    struct SeenRequest {
        std::string method;
        std::string target;  // as on the request line: a path, or an absolute URL through a proxy
        std::string path;    // the target's path, percent-decoded
        httplib::Headers headers;
    };

    // Both return once the server accepts connections. The second speaks https with the certificate for
    // 127.0.0.1 that `issuer` signed.
    TestHttpServer();
    explicit TestHttpServer(const TestCertificateAuthority& issuer);
    // Wakes handlers that are waiting in WaitWhileRunning, then stops the server.
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int Port() const { return m_port; }
    // "http://127.0.0.1:<port>" or "https://127.0.0.1:<port>" followed by `path`.
    std::string Url(const std::string& path) const;

    // Answers GET requests whose target is exactly `target`; other targets get 404.
    void Get(const std::string& target, Handler handler);

    std::vector<SeenRequest> Requests() const;
    int Connections() const { return m_connections.load(); }

    // For handlers that play a hung server: blocks until the server shuts down or `limit` passes.
    void WaitWhileRunning(std::chrono::milliseconds limit);

private:
    class CountingQueue;

    TestHttpServer(std::unique_ptr<httplib::Server> server, std::string scheme);

    std::unique_ptr<httplib::Server> m_server;
    std::string m_scheme;
    std::thread m_thread;
    int m_port = -1;
    std::atomic<int> m_connections{0};

    mutable std::mutex m_lock;
    std::condition_variable m_stopping;
    bool m_stopped = false;
    std::map<std::string, Handler> m_handlers;
    std::vector<SeenRequest> m_requests;
};
