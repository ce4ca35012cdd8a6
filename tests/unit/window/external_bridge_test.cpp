// The external object and the bridge's wire format, without an engine: what a page's call turns into,
// what comes back, and messages the script would never send.
#include "platform/web/external_bridge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "WindowTestSupport.h"
#include "platform/headless/headless_browser.h"
#include "platform/ui/message_loop.h"

using platform::ExternalObject;
using platform::ExternalValue;

namespace {

const std::string kToken = "0123456789abcdef0123456789abcdef";

class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        object.Add(L"Echo", [this](const std::vector<ExternalValue>& args, ExternalValue& result) {
            received = args;
            if (!args.empty()) {
                result = args[0];
            }
            return true;
        });
        object.Add(L"Refuse", [](const std::vector<ExternalValue>&, ExternalValue&) { return false; });
        object.Add(L"Throws", [](const std::vector<ExternalValue>&, ExternalValue&) -> bool { throw 1; });
    }
    std::string Answer(const std::string& message) {
        std::string reply = "unset";
        return platform::AnswerBridgeMessage(kToken, message, object, reply) ? reply : "not a call";
    }

    ExternalObject object;
    std::vector<ExternalValue> received;
};

}  // namespace

TEST_F(BridgeTest, CallsAndQuestionsGetTheirReplies) {
    const struct {
        std::string message;
        std::string reply;
    } cases[] = {
        {kToken + ":c:Echo:sa%20b%E4%B8%AD", "rsa%20b%E4%B8%AD"},  // text round trip, percent-encoded
        {kToken + ":c:ECHO:n2.5", "rn2.5"},                        // any letter case
        {kToken + ":c:echo:n-Infinity", "rn-Infinity"},
        {kToken + ":c:Echo:nNaN", "rnNaN"},
        {kToken + ":c:Echo:n1e%2B21",
         "e"
         "window.external.Echo%3A%20an%20argument%20that%20does%20not%20parse"},
        {kToken + ":c:Echo:n1e+21", "rn1e+21"},
        {kToken + ":c:Echo:b1", "rb1"},
        {kToken + ":c:Echo:z", "rz"},
        {kToken + ":c:Echo:o", "ru"},  // an object cannot go back
        {kToken + ":c:Echo", "ru"},    // no arguments
        {kToken + ":c:Refuse:sx", "ewindow.external.Refuse%20failed"},
        {kToken + ":c:Throws", "ewindow.external.Throws%20failed"},
        {kToken + ":c:Nothing", "ewindow.external.Nothing%20is%20not%20a%20method%20of%20the%20client"},
        {kToken + ":q:eCHo", "rb1"},
        {kToken + ":q:Nothing", "rb0"},
        {"Your name?", "not a call"},
        {":c:Echo:sx", "not a call"},
        {kToken.substr(1) + ":c:Echo:sx", "not a call"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Answer(c.message), c.reply) << c.message;
    }
}

TEST_F(BridgeTest, ArgumentsArriveTyped) {
    ASSERT_EQ(Answer(kToken + ":c:Echo:s%00x:n-0.25:b0:u:z:o"), "rs%00x");
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[0].type, ExternalValue::Type::String);
    EXPECT_EQ(received[0].text, std::wstring(L"\0x", 2));
    EXPECT_EQ(received[1].type, ExternalValue::Type::Number);
    EXPECT_EQ(received[1].number, -0.25);
    EXPECT_EQ(received[2].type, ExternalValue::Type::Boolean);
    EXPECT_FALSE(received[2].boolean);
    EXPECT_EQ(received[3].type, ExternalValue::Type::Undefined);
    EXPECT_EQ(received[4].type, ExternalValue::Type::Null);
    EXPECT_EQ(received[5].type, ExternalValue::Type::Object);
}

TEST_F(BridgeTest, AMessageTheScriptWouldNeverSendFailsTheCallAndRunsNothing) {
    const std::string malformed = "ewindow.external%3A%20a%20call%20that%20does%20not%20parse";
    for (const std::string& tail :
         {std::string(""), std::string(":"), std::string(":x:Echo"), std::string("x:c:Echo"),
          std::string(":c:%zz"), std::string(":c:Echo%4")}) {
        EXPECT_EQ(Answer(kToken + tail), malformed) << tail;
    }
    for (const char* arg : {"", "x", "s%", "s%g0", "nabc", "n", "n1x", "b2", "b", "zz", "u0", "o1"}) {
        EXPECT_EQ(Answer(kToken + ":c:Echo:" + arg).substr(0, 1), "e") << arg;
    }
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(Answer(kToken + ":q:Echo:sx"), "rb0") << "a question takes no arguments";
}

TEST_F(BridgeTest, AMegabyteOfTextCrossesWhole) {
    const std::string text(1 << 20, 'x');
    EXPECT_EQ(Answer(kToken + ":c:Echo:s" + text), "rs" + text);
    EXPECT_EQ(received.at(0).text.size(), text.size());
}

TEST(BridgeToken, IsNewEachTimeAndTheScriptCarriesIt) {
    std::set<std::string> tokens;
    for (int i = 0; i < 20; ++i) {
        const std::string token = platform::NewBridgeToken();
        EXPECT_EQ(token.size(), 32u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
        tokens.insert(token);
    }
    EXPECT_EQ(tokens.size(), 20u);
    const std::string script = platform::BridgeScript(kToken);
    EXPECT_NE(script.find("'" + kToken + "'"), std::string::npos);
    EXPECT_EQ(script.find("@TOKEN@"), std::string::npos);
}

TEST_F(WindowTest, TheHeadlessBrowserOffersTheExternalObjectAndAnswersADataRemovalLater) {
    platform::BrowserEvents events;
    auto browser = platform::CreateBrowserControl(events);
    browser->AddExternalMethod(L"getGsName",
                               [](const std::vector<ExternalValue>& args, ExternalValue& result) {
                                   result = ExternalValue::Number(static_cast<double>(args.size()));
                                   return true;
                               });
    auto* scripted = platform::headless::LastBrowser();
    ExternalValue result;
    ASSERT_TRUE(scripted->CallExternal(L"GETGSNAME", {ExternalValue::String(L"s1")}, result));
    EXPECT_EQ(result.number, 1);
    EXPECT_FALSE(scripted->CallExternal(L"getNewMsg", {}, result));

    platform::headless::RemovedSiteData().clear();
    bool done = false;
    platform::RemoveCachedSiteData(L"example.com", [&] { done = true; });
    EXPECT_FALSE(done) << "not within the call";
    platform::PumpUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_EQ(platform::headless::RemovedSiteData(), std::vector<std::wstring>{L"example.com"});
}
