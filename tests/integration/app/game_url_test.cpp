// The signed game URL request against the demo operator site, which checks the signature the way the
// operator's service does. Every case has a throw-away user, whose environment keeps the machine's proxy
// out.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "UserEnvironment.h"
#include "app/GameUrlService.h"
#include "config/ClientConfig.h"
#include "platform/base/clock.h"
#include "platform/base/text.h"
#include "support/DemoSiteRunner.h"

namespace {

class FixedWallClock final : public platform::WallClock {
public:
    std::int64_t SecondsSince1970() const override { return now; }
    std::int64_t now = 0;
};

class GameUrlTest : public ::testing::Test {
protected:
    GameUrlTest() : site(Options()) {
        user.Set("no_proxy", "127.0.0.1");  // the site is local whatever proxy the machine names
        wall.now = platform::SecondsSince1970();
        platform::SetWallClock(&wall);
    }
    ~GameUrlTest() override {
        platform::SetWallClock(nullptr);
        ClientConfig::DestroyInstance();
    }
    static DemoSiteOptions Options() {
        DemoSiteOptions options;
        options.siteDir = DEMO_SITE_DIR;
        return options;
    }
    // The configuration with `format` as its template; "PORT" stands for the site's port.
    void Configure(std::string format, const std::string& key = "velmora-demo-key") {
        const std::string port = std::to_string(site.Port());
        for (std::size_t at = format.find("PORT"); at != std::string::npos; at = format.find("PORT")) {
            format.replace(at, 4, port);
        }
        const std::string config = "<CLIENTCONFIG><C userClientAbout='Demo' userInfoUrl='" + format +
                                   "' pwKey='" + key + "'/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
    }
    std::wstring Game(const std::string& tagQuery) const {
        return platform::Utf8ToWide(site.Url("/game?server=1&user=" + tagQuery + "&wd_entergame=1"));
    }
    int Requests() { return site.Log().Count("GET /userinfo"); }
    // The site logs a request once it has answered it, so the line may come a moment after the answer.
    int RequestsOnceLogged(int expected) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Requests() < expected && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return Requests();
    }

    UserEnvironment user;
    FixedWallClock wall;
    DemoSiteRunner site;
};

const char kTemplate[] = "http://127.0.0.1:PORT/userinfo?user=%s+reason=%d+t=%d+sign=%s";

TEST_F(GameUrlTest, TheSiteAcceptsTheSignatureAndAnswersTheGameOfThePlayer) {
    ASSERT_GT(site.Port(), 0);
    Configure(kTemplate);
    const struct {
        const wchar_t* tag;
        const char* query;  // the tag as the site puts it back into the game URL
    } cases[] = {
        {L"4711", "4711"},
        // Signed over its bytes in the client's code page, which the site checks against.
        {L"\u73A9\u5BB6\u661F\u6D77", "%E7%8E%A9%E5%AE%B6%E6%98%9F%E6%B5%B7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FetchGameUrlFor(c.tag, L"", GameUrlReason::Start), Game(c.query));
        EXPECT_EQ(FetchGameUrlFor(c.tag, L"", GameUrlReason::Reload), Game(c.query));
    }
    EXPECT_EQ(RequestsOnceLogged(4), 4);
    Configure(kTemplate, "another-key");
    EXPECT_EQ(FetchGameUrlFor(L"4711", L"", GameUrlReason::Start), L"")
        << "a signature with the wrong key is refused";
}

TEST_F(GameUrlTest, TheRequestIsTheTemplateFilledWithItsPlusSignsAsSeparators) {
    Configure(kTemplate);
    const std::wstring first = CurrentUserInfoRequestUrl(L"47+11", GameUrlReason::Reload);
    const std::wstring stamp = std::to_wstring(wall.now);
    EXPECT_EQ(first, platform::Utf8ToWide(site.Url("/userinfo?user=47&11&reason=1&t=")) + stamp + L"&sign=" +
                         GameUrlSignature(L"47+11", static_cast<int>(wall.now), L"velmora-demo-key"))
        << "a '+' of the tag becomes a separator too";
    EXPECT_EQ(CurrentUserInfoRequestUrl(L"47+11", GameUrlReason::Reload), first)
        << "the same second, the same URL";
    wall.now += 1;
    EXPECT_NE(CurrentUserInfoRequestUrl(L"47+11", GameUrlReason::Reload), first);
}

TEST_F(GameUrlTest, AnUnusableTemplateSendsNothingAndAnswersNothing) {
    const struct {
        const char* format;
        int requests;  // what reaches the site
    } cases[] = {
        {"http://127.0.0.1:PORT/userinfo?user=%s+n=%n+t=%d+sign=%s", 0},
        {"http://127.0.0.1:PORT/userinfo?user=%x+reason=%d+t=%d+sign=%s", 0},
        {"http://127.0.0.1:PORT/userinfo?reason=%d+user=%s+t=%d+sign=%s", 0},
        {"http://127.0.0.1:PORT/userinfo?user=%s+reason=%d+t=%d+sign=%s+again=%s", 0},
        {"", 0},
        // Without placeholders the template is the request: it carries no signature and is refused.
        {"http://127.0.0.1:PORT/userinfo?user=4711", 1},
    };
    int expected = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        Configure(c.format);
        EXPECT_EQ(FetchGameUrlFor(L"4711", L"http://fallback.test/", GameUrlReason::Start), L"");
        expected += c.requests;
        EXPECT_EQ(RequestsOnceLogged(expected), expected);
    }
}

TEST_F(GameUrlTest, WithoutATagTheCommandLinesUrlIsTheAnswerAndNothingIsAsked) {
    Configure(kTemplate);
    EXPECT_EQ(FetchGameUrlFor(L"", L"http://game.test/play", GameUrlReason::Start), L"http://game.test/play");
    EXPECT_EQ(FetchGameUrlFor(L"", L"", GameUrlReason::Reload), L"");
    EXPECT_EQ(Requests(), 0);
}

}  // namespace
