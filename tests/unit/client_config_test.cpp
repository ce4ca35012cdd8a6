#include "config/ClientConfig.h"

#include <gtest/gtest.h>

#include "util/LeadingInt.h"

namespace {

// A configuration parsed from `xml` the way the embedded document is.
std::unique_ptr<ClientConfig> Parse(const std::string& xml) {
    auto config = std::make_unique<ClientConfig>();
    config->LoadDocumentFromBytes(xml.data(), xml.size());
    return config;
}

}  // namespace

TEST(ClientConfig, ReadsAttributesOfTheFirstElementOfTheRoot) {
    auto config =
        Parse("<CLIENTCONFIG><CONFIG homeUrl=\"http://h/\" gameCheck=\"wd_entergame=1\"/></CLIENTCONFIG>");
    EXPECT_EQ(config->HomeUrl(), L"http://h/");
    EXPECT_EQ(config->GameCheck(), L"wd_entergame=1");
    EXPECT_EQ(config->Value("absent"), L"");
}

TEST(ClientConfig, ElementNamesPlayNoPart) {
    auto config = Parse("<ROOT><ANY homeUrl=\"x\"/></ROOT>");
    EXPECT_EQ(config->HomeUrl(), L"x");
}

TEST(ClientConfig, CommentsDeclarationsAndTextBeforeElementsAreSkipped) {
    auto config = Parse(
        "<?xml version=\"1.0\"?>\n<!-- first -->\n<CLIENTCONFIG>text<!-- c --><CONFIG "
        "kfUrl=\"k\"/></CLIENTCONFIG>");
    EXPECT_EQ(config->KfUrl(), L"k");
}

TEST(ClientConfig, OnlyTheFirstElementIsEverConsulted) {
    auto config = Parse("<C><CONFIG a=\"1\"/><CONFIG a=\"2\" b=\"3\"/></C><D><E b=\"4\"/></D>");
    EXPECT_EQ(config->Value("a"), L"1");
    EXPECT_EQ(config->Value("b"), L"") << "keys of a second element are never read";
}

TEST(ClientConfig, KeysAreCaseSensitive) {
    auto config = Parse("<C><CONFIG homeurl=\"lower\" HomeUrl=\"mixed\"/></C>");
    EXPECT_EQ(config->HomeUrl(), L"") << "homeUrl is neither homeurl nor HomeUrl";
    EXPECT_EQ(config->Value("homeurl"), L"lower");
}

TEST(ClientConfig, EntityReferencesAreResolved) {
    auto config = Parse("<C><CONFIG paymentUrl=\"http://p/?a=1&amp;b=&quot;2&quot;&lt;&gt;&apos;\"/></C>");
    EXPECT_EQ(config->PaymentUrl(), L"http://p/?a=1&b=\"2\"<>'");
}

TEST(ClientConfig, Gb2312ValuesAreReadThroughTheAnsiCodePage) {
    // 星海纪元 in GB2312, declared as such.
    auto config = Parse(
        "<?xml version=\"1.0\" encoding=\"gb2312\"?><C><CONFIG "
        "userClientAbout=\"\xD0\xC7\xBA\xA3\xBC\xCD\xD4\xAA\"/></C>");
    EXPECT_EQ(config->UserClientAbout(), L"\u661F\u6D77\u7EAA\u5143");
}

TEST(ClientConfig, Utf8DocumentsAreReadAsUtf8) {
    for (const char* name : {"UTF-8", "utf-8", "Utf8"}) {
        auto declared = Parse(std::string("<?xml version=\"1.0\" encoding=\"") + name +
                              "\"?><C><CONFIG gwLink=\"\xE6\x98\x9F\"/></C>");
        EXPECT_EQ(declared->GwLink(), L"\u661F") << name;
    }
    auto longer =
        Parse("<?xml version=\"1.0\" encoding=\"UTF-8X\"?><C><CONFIG gwLink=\"\xE6\x98\x9F\"/></C>");
    EXPECT_NE(longer->GwLink(), L"\u661F") << "another encoding is not UTF-8";
    auto marked = Parse("\xEF\xBB\xBF<C><CONFIG gwLink=\"\xE6\x98\x9F\"/></C>");
    EXPECT_EQ(marked->GwLink(), L"\u661F");
}

TEST(ClientConfig, IntegerKeysUseTheLeadingIntegerRule) {
    auto config = Parse("<C><CONFIG noRename=\"yes\" noLink=\" 1\" noGWLink=\"2x\"/></C>");
    EXPECT_EQ(LeadingInt(config->Value("noRename")), 0) << "\"yes\" counts as 0, so the rename happens";
    EXPECT_EQ(LeadingInt(config->Value("noLink")), 1);
    EXPECT_EQ(LeadingInt(config->Value("noGWLink")), 2);
    EXPECT_EQ(LeadingInt(config->Value("absent")), 0);
}

TEST(ClientConfig, EachNamedAccessorReadsItsOwnKey) {
    auto config = Parse(
        "<C><CONFIG userClientAbout=\"1\" homeUrl=\"2\" gwUrl=\"3\" gwLink=\"4\" paymentUrl=\"5\" "
        "bbsUrl=\"6\" "
        "kfUrl=\"7\" gameCheck=\"8\" loginCheck=\"9\" configParam=\"10\" userInfoUrl=\"11\" pwKey=\"12\" "
        "runPlugin=\"13\" quitTip=\"14\" cache=\"15\"/></C>");
    const std::wstring values[] = {config->UserClientAbout(), config->HomeUrl(),     config->GwUrl(),
                                   config->GwLink(),          config->PaymentUrl(),  config->BbsUrl(),
                                   config->KfUrl(),           config->GameCheck(),   config->LoginCheck(),
                                   config->ConfigParam(),     config->UserInfoUrl(), config->PwKey(),
                                   config->RunPlugin(),       config->QuitTip(),     config->Cache()};
    for (size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(values[i], std::to_wstring(i + 1));
    }
}

TEST(ClientConfig, LineEndsInValuesAreNormalisedAsInALoadedFile) {
    auto config = Parse("<C><CONFIG quitTip=\"a&#13;b\"/></C>\r\n");
    EXPECT_EQ(config->QuitTip().substr(0, 1), L"a");
    auto crlf = Parse("<C>\r\n<CONFIG\r\nquitTip=\"q\"\r/></C>");
    EXPECT_EQ(crlf->QuitTip(), L"q");
}

TEST(ClientConfig, BadDocumentsAnswerEveryLookupWithEmptyText) {
    const std::string documents[] = {
        "",
        "not xml at all",
        std::string("\x00\xFF\xFE<C><CONFIG homeUrl=\"x\"/></C>", 29),
        "<C><CONFIG homeUrl=\"unterminated/></C>",
        "<C>",
        "<C/>",
        "<!-- only a comment -->",
        "<?xml version=\"1.0\"?>",
        std::string(100000, '<'),
    };
    for (const std::string& document : documents) {
        auto config = Parse(document);
        EXPECT_EQ(config->HomeUrl(), L"") << document.substr(0, 40);
        EXPECT_EQ(config->Value(""), L"");
    }
}

TEST(ClientConfig, WhatTheParserBuiltBeforeAnErrorStays) {
    auto config = Parse("<C><CONFIG homeUrl=\"kept\"/><BROKEN");
    EXPECT_EQ(config->HomeUrl(), L"kept");
}

TEST(ClientConfig, EmbeddedDocumentIsReadFromResource400) {
    ClientConfig config;
    EXPECT_EQ(config.HomeUrl(), L"") << "nothing before the document is loaded";
    config.LoadDocument();
    EXPECT_EQ(config.UserClientAbout(), L"\u661F\u6D77\u7EAA\u5143");
    EXPECT_EQ(config.HomeUrl(), L"http://127.0.0.1:8631/");
    EXPECT_EQ(config.Value("noRename"), L"1");
}

TEST(ClientConfig, NewConfigurationHoldsZeroSettingsAndEmptyTexts) {
    ClientConfig config;
    EXPECT_EQ(config.m_settings.m_nHotKey, 0);
    EXPECT_EQ(config.m_settings.m_nUseHotKey, 0);
    EXPECT_EQ(config.m_settings.m_nAlwaysTop, 0);
    EXPECT_TRUE(config.m_strPluginPath.empty());
    EXPECT_TRUE(config.m_strFrameClass.empty());
    EXPECT_TRUE(config.m_strRegPath.empty());
}
