// The HTTP service against a real server: what it sends, what it refuses without touching the network,
// and how it ends transfers that go wrong while keeping what arrived.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "HttpFixture.h"

using platform::HttpGet;
using platform::HttpResponse;
using platform::IsHttpUrl;

namespace {

using Clock = std::chrono::steady_clock;

// Bytes that differ from one position to the next, so a body cut or shifted anywhere shows.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131) ^ (i >> 8));
    }
    return bytes;
}

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class HttpGetTest : public HttpFixture {};

}  // namespace

TEST_F(HttpGetTest, AnswersThePageAsSessionAndAsksPastEveryCache) {
    server.Get("/game-url", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("http://127.0.0.1/game?id=7\r\n", "text/plain");
    });
    HttpResponse response = HttpGet(server.Url("/game-url"));
    EXPECT_TRUE(response.completed);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "http://127.0.0.1/game?id=7\r\n");
    EXPECT_FALSE(response.truncated);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/game-url");
    const httplib::Headers& headers = requests[0].headers;
    auto header = [&](const char* name) {
        auto found = headers.find(name);
        return found != headers.end() ? found->second : std::string("(absent)");
    };
    EXPECT_EQ(header("User-Agent"), "session");
    EXPECT_EQ(header("Pragma"), "no-cache");
    EXPECT_EQ(header("Cache-Control"), "no-cache");
}

TEST_F(HttpGetTest, RefusesAnythingButHttpAndHttpsBeforeAnyConnection) {
    server.Get("/page", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("page", "text/plain");
    });
    const std::string hostAndPort = "127.0.0.1:" + std::to_string(server.Port());
    const std::string refused[] = {
        "ftp://" + hostAndPort + "/page",
        "file:///etc/hostname",
        hostAndPort + "/page",  // libcurl would guess http:// for this one
        "//" + hostAndPort + "/page",
        "http://",
        "http://:" + std::to_string(server.Port()) + "/page",
        "http://" + hostAndPort + "/pa ge",
        "not a url",
        "",
    };
    for (const std::string& url : refused) {
        EXPECT_FALSE(IsHttpUrl(url)) << url;
        HttpResponse response = HttpGet(url);
        EXPECT_FALSE(response.completed) << url;
        EXPECT_EQ(response.status, 0) << url;
        EXPECT_EQ(response.body, "") << url;
    }
    EXPECT_TRUE(IsHttpUrl("http://user@example.com:8080/a/b?c=d#e"));
    EXPECT_TRUE(IsHttpUrl("http://example.com"));
    EXPECT_TRUE(IsHttpUrl("https://" + hostAndPort + "/page"));
    EXPECT_TRUE(IsHttpUrl("HTTPS://" + hostAndPort + "/page"));
    // The scheme's case does not matter; this request is the only one the server may see. A connection
    // for a refused URL would have been accepted before it, so the count covers them all.
    HttpResponse accepted = HttpGet("HtTp://" + hostAndPort + "/page");
    EXPECT_TRUE(accepted.completed);
    EXPECT_EQ(accepted.body, "page");
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpGetTest, ErrorStatusStillDeliversItsBody) {
    server.Get("/broken", [](const httplib::Request&, httplib::Response& response) {
        response.status = 500;
        response.set_content("the operator's server failed", "text/plain");
    });
    HttpResponse failed = HttpGet(server.Url("/broken"));
    EXPECT_TRUE(failed.completed) << "the exchange itself went well";
    EXPECT_EQ(failed.status, 500);
    EXPECT_EQ(failed.body, "the operator's server failed");

    HttpResponse missing = HttpGet(server.Url("/nowhere"));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.body, "no such test page");
}

TEST_F(HttpGetTest, FollowsRedirectsAlsoUpToHttpsAndOnlySoFar) {
    server.Get("/old",
               [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/new"); });
    server.Get("/new", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("moved here", "text/plain");
    });
    const int port = server.Port();
    server.Get("/secure", [port](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("https://127.0.0.1:" + std::to_string(port) + "/new");
    });
    server.Get("/loop",
               [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/loop"); });

    HttpResponse moved = HttpGet(server.Url("/old"));
    EXPECT_TRUE(moved.completed);
    EXPECT_EQ(moved.status, 200);
    EXPECT_EQ(moved.body, "moved here");

    const int before = server.Connections();
    HttpResponse secure = HttpGet(server.Url("/secure"));
    EXPECT_FALSE(secure.completed) << "this server speaks no TLS";
    EXPECT_EQ(secure.status, 302);
    EXPECT_EQ(secure.body, "");
    EXPECT_EQ(server.Connections() - before, 2) << "the https:// location was connected to";

    HttpResponse loop = HttpGet(server.Url("/loop"));
    EXPECT_FALSE(loop.completed);
    int loops = 0;
    for (const auto& request : server.Requests()) {
        loops += request.target == "/loop";
    }
    EXPECT_EQ(loops, 11) << "the first request and ten redirects";
}

TEST_F(HttpGetTest, TakesTheProxyFromTheEnvironment) {
    server.Get("http://velmora.invalid/version", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("through the proxy", "text/plain");
    });
    env.Set("http_proxy", server.Url(""));
    env.Set("no_proxy", "");

    HttpResponse response = HttpGet("http://velmora.invalid/version");
    EXPECT_TRUE(response.completed);
    EXPECT_EQ(response.body, "through the proxy");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "http://velmora.invalid/version");
}

TEST_F(HttpGetTest, TransferThatBreaksOffKeepsWhatArrived) {
    ShortenTimeouts();
    ServePartialPage("/dropped", "the first part", Cutoff::Drop);
    ServePartialPage("/stalled", "the first part", Cutoff::Stall);
    server.Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
        server.WaitWhileRunning(std::chrono::seconds(60));
        response.set_content("too late", "text/plain");
    });

    HttpResponse dropped = HttpGet(server.Url("/dropped"));
    EXPECT_FALSE(dropped.completed);
    EXPECT_EQ(dropped.status, 200);
    EXPECT_EQ(dropped.body, "the first part");
    EXPECT_FALSE(dropped.truncated);

    Clock::time_point start = Clock::now();
    HttpResponse stalled = HttpGet(server.Url("/stalled"));
    EXPECT_LT(SecondsSince(start), 1 + 2.0);
    EXPECT_FALSE(stalled.completed);
    EXPECT_EQ(stalled.status, 200);
    EXPECT_EQ(stalled.body, "the first part");

    start = Clock::now();
    HttpResponse silent = HttpGet(server.Url("/silent"));
    EXPECT_LT(SecondsSince(start), 1 + 2.0);
    EXPECT_FALSE(silent.completed);
    EXPECT_EQ(silent.status, 0);
    EXPECT_EQ(silent.body, "");
}

TEST_F(HttpGetTest, ClosedPortFailsAtOnce) {
    ShortenTimeouts();
    Clock::time_point start = Clock::now();
    HttpResponse response = HttpGet("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/");
    EXPECT_LT(SecondsSince(start), 2.0);
    EXPECT_FALSE(response.completed);
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.body, "");
}

TEST_F(HttpGetTest, BodyIsCutAtExactlyTheCap) {
    constexpr std::size_t kCap = 64 * 1024;
    platform::HttpLimits limits;
    limits.maxBodyBytes = kCap;
    platform::SetHttpLimits(limits);
    const std::string huge = Pattern(1024 * 1024);
    server.Get("/huge", [huge](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            huge.size(), "application/octet-stream",
            [huge](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return sink.write(huge.data() + offset, std::min<std::size_t>(length, 8192));
            });
    });
    server.Get("/full", [huge](const httplib::Request&, httplib::Response& response) {
        response.set_content(huge.substr(0, kCap), "application/octet-stream");
    });
    server.Get("/over", [huge](const httplib::Request&, httplib::Response& response) {
        response.set_content(huge.substr(0, kCap + 1), "application/octet-stream");
    });

    HttpResponse cut = HttpGet(server.Url("/huge"));
    EXPECT_TRUE(cut.truncated);
    EXPECT_FALSE(cut.completed);
    EXPECT_EQ(cut.status, 200);
    ASSERT_EQ(cut.body.size(), kCap);
    EXPECT_TRUE(cut.body == huge.substr(0, kCap)) << "the first bytes are kept, in order";

    HttpResponse full = HttpGet(server.Url("/full"));
    EXPECT_TRUE(full.completed) << "a body of exactly the cap is whole";
    EXPECT_FALSE(full.truncated);
    EXPECT_EQ(full.body.size(), kCap);

    HttpResponse over = HttpGet(server.Url("/over"));
    EXPECT_TRUE(over.truncated) << "one byte more is too much";
    EXPECT_FALSE(over.completed);
    EXPECT_TRUE(over.body == huge.substr(0, kCap));
}
