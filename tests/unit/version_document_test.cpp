// The operator's version document: how it is asked for, what counts as the offer, and what is no offer
// at all.
#include "app/VersionDocument.h"

#include <gtest/gtest.h>

#include <string>

TEST(VersionDocument, TheFirstClientOfTheRootIsTheOffer) {
    const struct {
        const char* document;
        const wchar_t* version;
        const wchar_t* url;
        const wchar_t* sha256;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<VERSIONS>\r\n\t<CLIENT version=\"1.0.1.0\" "
         "url=\"http://h/setup.sh\" sha256=\"AB12\"/>\r\n</VERSIONS>",
         L"1.0.1.0", L"http://h/setup.sh", L"AB12"},
        {"<any><CLIENT version='2.0.0.0' url='http://h/a'/><CLIENT version='1.0.0.1' "
         "url='http://h/b'/></any>",
         L"2.0.0.0", L"http://h/a", L""},
        {"<any><NOTE/><CLIENT version='1.0.0.1'/></any>", L"1.0.0.1", L"", L""},
        {"<any><CLIENT/></any>", L"", L"", L""},
        // The root's name is free, and its text decides nothing.
        {"<?xml version='1.0' encoding='UTF-8'?><\xE7\x89\x88 k='v'>x<CLIENT version='1.0.1.0' "
         "url='http://h/\xE6\x96\xB0.sh'/></\xE7\x89\x88>",
         L"1.0.1.0", L"http://h/\u65B0.sh", L""},
        // Legacy documents are in the ANSI code page: GB bytes for the same character.
        {"<?xml version='1.0' encoding='gb2312'?><V><CLIENT version='1.0.1.0' "
         "url='http://h/\xD0\xC2.sh'/></V>",
         L"1.0.1.0", L"http://h/\u65B0.sh", L""},
    };
    for (const auto& c : cases) {
        ClientOffer offer;
        ASSERT_TRUE(ParseClientOffer(c.document, offer)) << c.document;
        EXPECT_EQ(offer.version, c.version) << c.document;
        EXPECT_EQ(offer.url, c.url) << c.document;
        EXPECT_EQ(offer.sha256, c.sha256) << c.document;
    }
}

TEST(VersionDocument, BrokenOrForeignDocumentsOfferNothing) {
    const char* const cases[] = {
        "",
        "Service Unavailable",
        "<html><body><h1>404 Not Found</h1></body></html>",
        "<VERSIONS><CLIENT version='1.0.1.0' url='http://h/setup.sh'",                // cut off
        "<VERSIONS><CLIENT version='1.0.1.0'></VERSIONS>",                            // not well formed
        "<CLIENT version='1.0.1.0' url='http://h/setup.sh'/>",                        // the root itself
        "<V><GROUP><CLIENT version='1.0.1.0' url='http://h/setup.sh'/></GROUP></V>",  // too deep
        "<V><client version='1.0.1.0' url='http://h/setup.sh'/></V>",                 // names are exact
    };
    for (const char* document : cases) {
        ClientOffer offer;
        EXPECT_FALSE(ParseClientOffer(document, offer)) << document;
    }
}

TEST(VersionDocument, IsAskedForWithTheTimeAfterAQuestionMarkEvenAfterAQuery) {
    EXPECT_EQ(VersionDocumentUrl(L"http://h/ver.xml", 1765432100), L"http://h/ver.xml?1765432100");
    EXPECT_EQ(VersionDocumentUrl(L"http://h/ver.xml?channel=beta", 1765432100),
              L"http://h/ver.xml?channel=beta?1765432100");
    EXPECT_EQ(VersionDocumentUrl(L"http://h/ver.xml", 2147483648), L"http://h/ver.xml?2147483648")
        << "past 2038 the stamp goes on counting";
    EXPECT_EQ(VersionSignatureUrl(L"http://h/version.xml", 1765432100),
              L"http://h/version.xml.minisig?1765432100");
    EXPECT_EQ(VersionSignatureUrl(L"http://h/v.php?g=1", 1765432100), L"http://h/v.php.minisig?g=1?1765432100");
}

TEST(VersionDocument, TheInstallersSizeIsAPositiveCountOfBytesOrTheOfferIsRefused) {
    const struct {
        const char* attribute;  // null: no size attribute
        bool offered;
        std::uint64_t size;
    } cases[] = {
        {nullptr, true, 0},
        {"1048576", true, 1048576},
        {"18446744073709551615", true, 18446744073709551615u},
        {"18446744073709551616", false, 0},  // does not fit
        {"0", false, 0},
        {"", false, 0},
        {"-1", false, 0},
        {"+5", false, 0},
        {" 5", false, 0},
        {"5kB", false, 0},
        {"1e6", false, 0},
    };
    for (const auto& c : cases) {
        const std::string size = c.attribute != nullptr ? std::string(" size='") + c.attribute + "'" : "";
        const std::string document = "<V><CLIENT version='1.0.1.0' url='http://h/a'" + size + "/></V>";
        ClientOffer offer;
        EXPECT_EQ(ParseClientOffer(document, offer), c.offered) << document;
        if (c.offered) {
            EXPECT_EQ(offer.size, c.size) << document;
        }
    }
}
