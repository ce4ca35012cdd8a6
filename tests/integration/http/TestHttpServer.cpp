#include "TestHttpServer.h"

#include <stdexcept>

#include "TestCertificateAuthority.h"

// Counts the connections the server accepts: each one becomes one task of its queue.
class TestHttpServer::CountingQueue final : public httplib::TaskQueue {
public:
    explicit CountingQueue(std::atomic<int>& connections) : m_pool(8), m_connections(connections) {}

    void enqueue(std::function<void()> task) override {
        ++m_connections;
        m_pool.enqueue(std::move(task));
    }
    void shutdown() override { m_pool.shutdown(); }

private:
    httplib::ThreadPool m_pool;
    std::atomic<int>& m_connections;
};

TestHttpServer::TestHttpServer() : TestHttpServer(std::make_unique<httplib::Server>(), "http") {}

TestHttpServer::TestHttpServer(const TestCertificateAuthority& issuer)
    : TestHttpServer(std::make_unique<httplib::SSLServer>(issuer.ServerCertificate(), issuer.ServerKey()),
                     "https") {}

TestHttpServer::TestHttpServer(std::unique_ptr<httplib::Server> server, std::string scheme)
    : m_server(std::move(server)), m_scheme(std::move(scheme)) {
    if (!m_server->is_valid()) {
        throw std::runtime_error("the test server has no usable certificate");
    }
    m_server->new_task_queue = [this] { return new CountingQueue(m_connections); };
    // Recorded before the handler runs, so the record is complete by the time the client has its answer.
    m_server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_requests.push_back({request.method, request.target, request.path, request.headers});
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        Handler handler;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            auto found = m_handlers.find(request.target);
            if (found != m_handlers.end()) {
                handler = found->second;
            }
        }
        if (handler) {
            handler(request, response);
        } else {
            response.status = 404;
            response.set_content("no such test page", "text/plain");
        }
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        throw std::runtime_error("the test server cannot bind a port");
    }
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // stop() before the accept loop has started would be lost and leave the thread running for ever.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_server->is_running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            m_thread.detach();
            throw std::runtime_error("the test server does not start");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TestHttpServer::~TestHttpServer() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopped = true;
    }
    m_stopping.notify_all();
    m_server->stop();
    m_thread.join();
}

std::string TestHttpServer::Url(const std::string& path) const {
    return m_scheme + "://127.0.0.1:" + std::to_string(m_port) + path;
}

void TestHttpServer::Get(const std::string& target, Handler handler) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_handlers[target] = std::move(handler);
}

std::vector<TestHttpServer::SeenRequest> TestHttpServer::Requests() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

void TestHttpServer::WaitWhileRunning(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_stopping.wait_for(lock, limit, [this] { return m_stopped; });
}
