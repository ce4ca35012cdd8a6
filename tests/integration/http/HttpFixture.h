#pragma once
// What every test against the test server shares: the default limits and no extra trusted CA before and
// after it, and no proxy from the machine's environment between the client and 127.0.0.1.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "TestHttpServer.h"
#include "UserEnvironment.h"
#include "platform/net/http.h"

class HttpFixture : public ::testing::Test {
protected:
    HttpFixture() {
        env.Set("no_proxy", "127.0.0.1");
        ResetHttpService();
    }
    ~HttpFixture() override { ResetHttpService(); }

    static void ResetHttpService() {
        platform::SetHttpLimits(platform::HttpLimits{});
        platform::SetHttpTrustedCaFile("");
    }

    // Time-outs short enough for a test to wait them out.
    static void ShortenTimeouts() {
        platform::HttpLimits limits;
        limits.connectSeconds = 2;
        limits.stallSeconds = 1;
        platform::SetHttpLimits(limits);
    }

    enum class Cutoff { Stall, Drop };

    // Serves `target` as a page that announces a longer body and sends its headers and `part`; then it
    // stalls until the server stops, or drops the connection.
    void ServePartialPage(const std::string& target, const std::string& part, Cutoff cutoff) {
        server.Get(target, [this, part, cutoff](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                part.size() * 10, "text/plain",
                [this, part, cutoff](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    if (offset == 0) {
                        return sink.write(part.data(), part.size());
                    }
                    if (cutoff == Cutoff::Stall) {
                        server.WaitWhileRunning(std::chrono::seconds(60));
                    }
                    return false;
                });
        });
    }

    // Serves `target` without end, in pieces and with no announced length, as a broken or hostile server
    // might; the handler ends when the client hangs up.
    void ServeEndlessly(const std::string& target) { ServeEndlessly(server, target); }
    static void ServeEndlessly(TestHttpServer& on, const std::string& target) {
        on.Get(target, [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("application/octet-stream",
                                                  [](std::size_t, httplib::DataSink& sink) {
                                                      const std::string piece(64 * 1024, 'x');
                                                      return sink.write(piece.data(), piece.size());
                                                  });
        });
    }

    UserEnvironment env;
    TestHttpServer server;
};
