// The demo operator site over HTTP: pages and assets, the signed user-info service, the version document
// with and without an update, paths outside the site, the log, and the address it listens on.
#include "DemoSite.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "UserInfo.h"
#include "platform/base/checksum.h"
#include "util/Minisign.h"
#include "support/TempDir.h"

namespace {

constexpr std::int64_t kNow = 1700000000;

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A site of its own in a throw-away folder, served on a free port for the length of a test.
class DemoSiteTest : public ::testing::Test {
protected:
    void Start(DemoSiteOptions options = {}) {
        std::filesystem::create_directories(Dir() / "site" / "js");
        Write(Dir() / "site" / "index.html", "<a href=\"{{LOGIN_HREF}}\">login</a>");
        Write(Dir() / "site" / "game.html", "<script src=\"/js/game.js\"></script>");
        Write(Dir() / "site" / "official.html", "official");
        Write(Dir() / "site" / "js" / "game.js", "start();");
        Write(Dir() / "secret.txt", "not for the web");
        options.siteDir = Dir() / "site";
        options.now = [] { return kNow; };
        m_site = std::make_unique<DemoSite>(options, m_log);
        m_port = m_site->Bind(0);
        ASSERT_GT(m_port, 0);
        m_thread = std::thread([this] { m_site->Run(); });
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_port);
    }
    void TearDown() override {
        if (m_site) {
            m_site->Stop();
            m_thread.join();
        }
    }
    httplib::Result Get(const std::string& path) { return m_client->Get(path); }
    std::string UserInfo(const std::string& tag, std::int64_t stamp, const std::string& sign) {
        httplib::Params params{{"user", tag}, {"reason", "0"}, {"t", std::to_string(stamp)}, {"sign", sign}};
        auto result = m_client->Get("/userinfo", params, httplib::Headers{});
        return result ? result->body : "no answer";
    }

    std::filesystem::path Dir() const { return m_dir.Path(); }

    TempDir m_dir;
    std::ostringstream m_log;
    std::unique_ptr<DemoSite> m_site;
    std::thread m_thread;
    std::unique_ptr<httplib::Client> m_client;
    int m_port = 0;
};

}  // namespace

TEST_F(DemoSiteTest, PagesAreFreshAndTheGamesFilesAreCached) {
    Start();
    auto portal = Get("/");
    ASSERT_TRUE(portal);
    EXPECT_EQ(portal->status, 200);
    EXPECT_EQ(portal->body, "<a href=\"/login\">login</a>");
    EXPECT_EQ(portal->get_header_value("Cache-Control"), "no-cache");
    auto game = Get("/game?server=2&wd_entergame=1");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->body, "<script src=\"/js/game.js\"></script>");
    auto script = Get("/js/game.js");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->get_header_value("Cache-Control"), "max-age=3600");
    EXPECT_EQ(script->get_header_value("Content-Type"), "text/javascript; charset=utf-8");
    EXPECT_EQ(Get("/official")->body, "official");
    EXPECT_EQ(Get("/no/such/file.js")->status, 404);
    m_site->Stop();
    m_thread.join();
    m_site.reset();
    EXPECT_NE(m_log.str().find("GET / 200\n"), std::string::npos) << m_log.str();
    EXPECT_NE(m_log.str().find("GET /no/such/file.js 404\n"), std::string::npos);
}

TEST_F(DemoSiteTest, TheLoginLinkCarriesTheConfiguredMarker) {
    DemoSiteOptions options;
    options.loginCheck = "wd_login=1";
    Start(options);
    EXPECT_EQ(Get("/")->body, "<a href=\"/login?from=portal&wd_login=1\">login</a>");
}

TEST_F(DemoSiteTest, NothingOutsideTheSiteIsServed) {
    Start();
    for (const char* path :
         {"/../secret.txt", "/js/../../secret.txt", "/%2e%2e/secret.txt", "/./js/game.js"}) {
        auto answer = Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_NE(answer->status, 200) << path;
        EXPECT_EQ(answer->body.find("not for the web"), std::string::npos) << path;
    }
}

TEST_F(DemoSiteTest, TheUserInfoServiceAnswersOnlyFreshSignedRequests) {
    Start();
    const std::string key = "velmora-demo-key";
    const std::string tag = "4711";
    auto signedAt = [&](std::int64_t stamp, const std::string& who = "4711") {
        return SignatureFor(who, std::to_string(stamp), key);
    };
    const std::string url = UserInfo(tag, kNow, signedAt(kNow));
    EXPECT_EQ(url, "http://127.0.0.1:" + std::to_string(m_port) + "/game?server=1&user=4711&wd_entergame=1");
    EXPECT_EQ(UserInfo(tag, kNow - 299, signedAt(kNow - 299)), url) << "within five minutes";
    EXPECT_EQ(UserInfo(tag, kNow - 301, signedAt(kNow - 301)), "") << "stale";
    EXPECT_EQ(UserInfo(tag, kNow + 301, signedAt(kNow + 301)), "") << "from the future";
    EXPECT_EQ(UserInfo(tag, kNow, signedAt(kNow, "4712")), "") << "signed for another tag";
    EXPECT_EQ(UserInfo(tag, kNow, "0123456789abcdef0123456789abcdef"), "");

    // A tag outside ASCII is signed over its bytes in the client's code page.
    const std::string wide = "\xE6\x98\x9F";  // 星 in UTF-8; D0 C7 in CP936
    const std::string ansi = "\xD0\xC7" + std::to_string(kNow) + key;
    EXPECT_NE(UserInfo(wide, kNow, platform::Md5Hex(ansi.data(), ansi.size())), "");
    const std::string utf8 = wide + std::to_string(kNow) + key;
    EXPECT_EQ(UserInfo(wide, kNow, platform::Md5Hex(utf8.data(), utf8.size())), "");
}

TEST_F(DemoSiteTest, TheVersionDocumentOffersAnUpdateOnlyWhenAskedTo) {
    Start();
    auto plain = Get("/version.xml?1700000000");
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->body.find("<CLIENT version=\"1.0.0.1\""), std::string::npos) << plain->body;
    EXPECT_EQ(plain->body.find("sha256"), std::string::npos);
}

TEST_F(DemoSiteTest, TheVersionDocumentIsSignedWithTheKeyTheDemoBuildTrustsAndUnsignedWithoutIt) {
    std::smatch key;
    const std::string config = ReadWholeFile(DEMO_CONFIG);
    ASSERT_TRUE(std::regex_search(config, key, std::regex("updateKey=\"([^\"]*)\"")));
    std::vector<minisign::PublicKey> keys;
    ASSERT_TRUE(minisign::ParsePublicKeys(key[1], keys));
    Start();
    auto document = Get("/version.xml?1700000000");
    auto signature = Get("/version.xml.minisig?1700000000");
    ASSERT_TRUE(document && signature);
    const minisign::Verdict verdict = minisign::Verify(document->body, signature->body, keys);
    EXPECT_TRUE(verdict.valid) << verdict.why;
    EXPECT_EQ(verdict.timestamp, static_cast<std::uint64_t>(kNow));

    TearDown();
    DemoSiteOptions options;
    options.signingKeyFile = Dir() / "absent.key";
    Start(options);
    EXPECT_EQ(Get("/version.xml.minisig?1700000000")->status, 404);
    EXPECT_EQ(Get("/version.xml?1700000000")->status, 200);
    EXPECT_NE(m_log.str().find("the version document goes unsigned"), std::string::npos) << m_log.str();
}

TEST_F(DemoSiteTest, TheOfferedInstallerMatchesItsHashAndLeavesItsMark) {
    DemoSiteOptions options;
    options.offerUpdate = true;
    options.installerMarker = Dir() / "it's installed";
    Start(options);
    auto document = Get("/version.xml?1700000000");
    ASSERT_TRUE(document);
    EXPECT_NE(document->body.find("<CLIENT version=\"1.0.1.0\""), std::string::npos) << document->body;
    const std::string installerUrl =
        "http://127.0.0.1:" + std::to_string(m_port) + "/download/velmora-setup-1.0.1.0.sh";
    EXPECT_NE(document->body.find("url=\"" + installerUrl + "\""), std::string::npos) << document->body;
    auto installer = Get("/download/velmora-setup-1.0.1.0.sh");
    ASSERT_TRUE(installer);
    EXPECT_NE(document->body.find("sha256=\"" +
                                  platform::Sha256Hex(installer->body.data(), installer->body.size()) + "\""),
              std::string::npos);
    Write(Dir() / "setup.sh", installer->body);
    ASSERT_EQ(std::system(("sh '" + (Dir() / "setup.sh").string() + "'").c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(options.installerMarker)) << "a path with a quote in it, too";
}

TEST_F(DemoSiteTest, ItListensOnTheLoopbackAddressOnlyAndAloneOnItsPort) {
    Start();
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::vector<std::string> listening;
    char port[8];
    std::snprintf(port, sizeof port, ":%04X", m_port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() > 5 && local.substr(local.size() - 5) == port) {
            listening.push_back(local.substr(0, local.size() - 5));
        }
    }
    EXPECT_EQ(listening, std::vector<std::string>{"0100007F"}) << "127.0.0.1, and no other address";

    // The server library would share the port with a second copy, which would then take half the requests.
    std::ostringstream otherLog;
    DemoSite other(DemoSiteOptions{}, otherLog);
    EXPECT_EQ(other.Bind(m_port), -1) << "a port another site listens on is taken";
}

TEST(DemoSite, TheShippedSiteHasWhatTheClientLooksFor) {
    std::ostringstream log;
    DemoSiteOptions options;
    options.siteDir = VELMORA_DEMO_SITE;
    DemoSite site(options, log);
    const int port = site.Bind(0);
    ASSERT_GT(port, 0);
    std::thread server([&] { site.Run(); });
    httplib::Client client("127.0.0.1", port);
    auto portal = client.Get("/");
    auto game = client.Get("/game?server=1&wd_entergame=1");
    auto script = client.Get("/js/game.js");
    site.Stop();
    server.join();
    ASSERT_TRUE(portal && game && script);
    for (const char* wanted : {"wd_entergame=1", "href=\"app://minimize|\"", "href=\"app://exitgame|\"",
                               "href=\"app://loadgame|http://", "href=\"/login\""}) {
        EXPECT_NE(portal->body.find(wanted), std::string::npos) << "the portal has " << wanted;
    }
    EXPECT_NE(game->body.find("/js/game.js"), std::string::npos) << "the game's script is a file of its own";
    EXPECT_NE(game->body.find("/css/game.css"), std::string::npos);
    EXPECT_EQ(script->get_header_value("Cache-Control"), "max-age=3600");
    for (const char* call : {"getGsName", "getNewMsg"}) {
        EXPECT_NE(script->body.find(call), std::string::npos) << "the game calls " << call;
    }
}
