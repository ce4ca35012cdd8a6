// https:// through the client's HTTP service: a certificate counts only when a CA the client trusts
// signed it, and a page asked for over https:// is never fetched over plain http://.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HttpFixture.h"
#include "TestCertificateAuthority.h"
#include "platform/base/paths.h"
#include "platform/base/text.h"
#include "platform/net/http_download.h"
#include "util/FetchUrlText.h"

namespace {

const std::string kInstaller = "#!/bin/sh\necho new\n";

void ServeInstaller(TestHttpServer& server) {
    server.Get("/setup.run", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kInstaller, "application/octet-stream");
    });
}

void Redirect(TestHttpServer& server, const std::string& target, const std::string& location) {
    server.Get(target, [location](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(location);
    });
}

class HttpsTest : public HttpFixture {
protected:
    HttpsTest() {
        platform::SetHttpTrustedCaFile(trustedCa.CaFile());
        // The server is also reached by a name its certificate does not carry.
        env.Set("no_proxy", "127.0.0.1,localhost");
        ServeInstaller(server);
        ServeInstaller(secure);
        ServeInstaller(impostor);
    }

    TestCertificateAuthority trustedCa{"Trusted test CA", env.Path("trusted-ca.pem")};
    // Never handed to the client.
    TestCertificateAuthority untrustedCa{"Untrusted test CA", env.Path("untrusted-ca.pem")};
    TestHttpServer secure{trustedCa};
    TestHttpServer impostor{untrustedCa};
};

}  // namespace

TEST_F(HttpsTest, DownloadsAndTextArriveOnlyFromACertificateTheClientTrusts) {
    Redirect(secure, "/moved", "/setup.run");
    Redirect(server, "/to-secure", secure.Url("/setup.run"));
    Redirect(server, "/to-impostor", impostor.Url("/setup.run"));
    struct Case {
        const char* what;
        std::string url;
        bool arrives;
    };
    const Case cases[] = {
        {"signed by the trusted CA", secure.Url("/setup.run"), true},
        {"signed by a CA the client does not know", impostor.Url("/setup.run"), false},
        {"made out to another host", "https://localhost:" + std::to_string(secure.Port()) + "/setup.run",
         false},
        {"redirected within https://", secure.Url("/moved"), true},
        {"redirected from http:// up to https://", server.Url("/to-secure"), true},
        {"redirected from http:// to the unknown CA's server", server.Url("/to-impostor"), false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = env.Path("case" + std::to_string(index++));
        platform::MakeDirectories(folder);
        EXPECT_EQ(platform::UrlDownloadToFile(c.url, folder + "/setup.run"), c.arrives);
        EXPECT_EQ(FilesIn(folder),
                  c.arrives ? std::vector<std::string>{"setup.run"} : std::vector<std::string>{})
            << "a failed download leaves no file and no scraps";
        EXPECT_EQ(ReadWholeFile(folder + "/setup.run"), c.arrives ? kInstaller : "");
        EXPECT_EQ(FetchUrlText(platform::Utf8ToWide(c.url)),
                  c.arrives ? platform::Utf8ToWide(kInstaller) : L"");
    }
}

TEST_F(HttpsTest, ARedirectFromHttpsDownToPlainHttpIsRefused) {
    Redirect(secure, "/to-plain", server.Url("/setup.run"));
    platform::HttpResponse response = platform::HttpGet(secure.Url("/to-plain"));
    EXPECT_FALSE(response.completed);
    EXPECT_EQ(response.status, 302);
    EXPECT_EQ(response.body, "");
    EXPECT_EQ(server.Connections(), 0) << "the http:// location was never connected to";
}
