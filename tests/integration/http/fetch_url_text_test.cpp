// Short text answers as the client reads them: through the ANSI code page, one 1023-byte buffer at a
// time, and whatever arrived even when the exchange went wrong.
#include "util/FetchUrlText.h"

#include "HttpFixture.h"
#include "platform/base/text.h"

namespace {

class FetchUrlTextTest : public HttpFixture {
protected:
    void Serve(const std::string& target, const std::string& body, int status = 200) {
        server.Get(target, [body, status](const httplib::Request&, httplib::Response& response) {
            response.status = status;
            response.set_content(body, "text/plain");
        });
    }

    std::wstring Fetch(const std::string& target) {
        return FetchUrlText(platform::Utf8ToWide(server.Url(target)));
    }
};

}  // namespace

TEST_F(FetchUrlTextTest, ReadsTheAnswerInTheAnsiCodePage) {
    ASSERT_STREQ(platform::AnsiCodePage(), "CP936");
    Serve("/game-url", "\xD0\xC7\xBA\xA3 http://127.0.0.1/game");  // 星海
    EXPECT_EQ(Fetch("/game-url"), L"\u661F\u6D77 http://127.0.0.1/game");
}

TEST_F(FetchUrlTextTest, CharacterSplitBetweenTwoBuffersBecomesTwoReplacements) {
    ASSERT_STREQ(platform::AnsiCodePage(), "CP936");
    // 星 opens the first buffer; 海 straddles bytes 1022 and 1023, the last of the first buffer and the
    // first of the second. In the second buffer 星 sits whole and 海 ends exactly at its end; a third
    // buffer holds the last byte.
    std::string body = "\xD0\xC7" + std::string(1020, 'a') + "\xBA\xA3";
    body += " \xD0\xC7" + std::string(1017, 'b') + "\xBA\xA3" + "c";
    ASSERT_EQ(body.size(), 1023u * 2 + 1);
    Serve("/split", body);

    std::wstring expected = L"\u661F" + std::wstring(1020, L'a') + L"\uFFFD\uFFFD" + L" \u661F" +
                            std::wstring(1017, L'b') + L"\u6D77c";
    EXPECT_EQ(Fetch("/split"), expected);
}

TEST_F(FetchUrlTextTest, ErrorPagesAndBrokenTransfersStillGiveTheirText) {
    Serve("/missing", "\xC3\xBB\xD3\xD0 not here", 404);  // 没有
    EXPECT_EQ(Fetch("/missing"), L"\u6CA1\u6709 not here");

    ServePartialPage("/dropped", "http://127.0.0.1/game", Cutoff::Drop);
    EXPECT_EQ(Fetch("/dropped"), L"http://127.0.0.1/game");
}

TEST_F(FetchUrlTextTest, RefusedUrlGivesEmptyTextAndWideUrlsTravelAsUtf8) {
    EXPECT_EQ(FetchUrlText(L"javascript:alert(1)"), L"");
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(FetchUrlText(L"https://127.0.0.1:" + std::to_wstring(server.Port()) + L"/x"), L"")
        << "the handshake fails: this server speaks no TLS";

    EXPECT_EQ(FetchUrlText(platform::Utf8ToWide(server.Url("/")) + L"\u661F"), L"no such test page");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/\xE6\x98\x9F");
}
