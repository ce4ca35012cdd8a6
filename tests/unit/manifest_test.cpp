#include "manifest.h"

#include <gtest/gtest.h>

#include "emit.h"
#include "support/TempDir.h"

namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + "rest";

class ManifestTest : public ::testing::Test {
protected:
    std::vector<resc::ManifestEntry> Read(const std::string& text) {
        errors.clear();
        return resc::ReadManifest(text, dir.Path(), "res.manifest", errors);
    }

    TempDir dir;
    std::vector<std::string> errors;
};

}  // namespace

TEST_F(ManifestTest, ReadsEveryTypeResolvingFilesAgainstTheManifestFolder) {
    WriteWholeFile(dir / "config.xml", "<CLIENTCONFIG/>");
    WriteWholeFile(dir / "a b.png", kPng);
    WriteWholeFile(dir / "menu.txt", "201 Show\n-\n57665 Exit\n");
    WriteWholeFile(dir / "title.txt", "Title\r\n");
    auto entries = Read(
        "# comment\n"
        "XML 400 config.xml\n"
        "\n"
        "png 1001 a b.png\n"
        "ICON 128 a b.png\n"
        "MENU 200 menu.txt\n"
        "STRING 128 title.txt\n");
    ASSERT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].path, dir / "config.xml");
    EXPECT_EQ(entries[1].type, "PNG");
    EXPECT_EQ(entries[1].id, 1001);
    EXPECT_EQ(entries[1].bytes, kPng);
    EXPECT_EQ(entries[4].bytes, "Title") << "a string file's final line break is not part of the string";
}

TEST_F(ManifestTest, EveryBadLineIsReportedWithItsLineNumber) {
    WriteWholeFile(dir / "x.xml", "<a/>");
    WriteWholeFile(dir / "not.png", "GIF89a");
    WriteWholeFile(dir / "bad.menu", "Show\n");
    Read(
        "XML 400 x.xml\n"
        "XML 400 x.xml\n"
        "BITMAP 5 x.xml\n"
        "XML 401 missing.xml\n"
        "XML 0 x.xml\n"
        "XML 70000 x.xml\n"
        "XML abc x.xml\n"
        "XML 402\n"
        "PNG 1 not.png\n"
        "MENU 200 bad.menu\n");
    ASSERT_EQ(errors.size(), 9u);
    EXPECT_EQ(errors[0], "res.manifest:2: duplicate XML 400 (first at line 1)");
    EXPECT_EQ(errors[1], "res.manifest:3: unknown resource type 'BITMAP' (XML, PNG, ICON, MENU or STRING)");
    EXPECT_EQ(errors[2], "res.manifest:4: cannot read '" + (dir / "missing.xml") + "'");
    EXPECT_EQ(errors[3], "res.manifest:5: resource id '0' is not a number from 1 to 65535");
    EXPECT_EQ(errors[4], "res.manifest:6: resource id '70000' is not a number from 1 to 65535");
    EXPECT_EQ(errors[5], "res.manifest:7: resource id 'abc' is not a number from 1 to 65535");
    EXPECT_EQ(errors[6], "res.manifest:8: expected 'TYPE ID FILE'");
    EXPECT_EQ(errors[7], "res.manifest:9: '" + (dir / "not.png") + "' is not a PNG file");
    EXPECT_EQ(errors[8],
              "res.manifest:10: menu '" + (dir / "bad.menu") + "' line 1: expected '<id> <text>' or '-'");
}

TEST_F(ManifestTest, SameIdUnderAnotherTypeIsNoDuplicate) {
    WriteWholeFile(dir / "x.xml", "<a/>");
    WriteWholeFile(dir / "x.png", kPng);
    auto entries = Read("XML 128 x.xml\nICON 128 x.png\nPNG 128 x.png\n");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(entries.size(), 3u);
}

TEST_F(ManifestTest, GeneratedSourceAndDepfileNameEveryResource) {
    WriteWholeFile(dir / "e.xml", "");
    WriteWholeFile(dir / "my file.xml", "<a/>");
    auto entries = Read("XML 400 e.xml\nXML 401 my file.xml\n");
    ASSERT_TRUE(errors.empty());
    std::string source = resc::EmitSource(entries);
    EXPECT_NE(source.find("{\"XML\", 400, kData0, 0}"), std::string::npos) << source;
    EXPECT_NE(source.find("0x3c,0x61,0x2f,0x3e,"), std::string::npos) << "the bytes of <a/>";
    EXPECT_NE(source.find("kRegistrar(kEntries, 2)"), std::string::npos);
    std::string depfile = resc::EmitDepfile("out.cpp", "res.manifest", entries);
    EXPECT_NE(depfile.find("my\\ file.xml"), std::string::npos) << depfile;
    EXPECT_EQ(depfile.rfind("out.cpp: res.manifest", 0), 0u) << depfile;
}

TEST(ManifestEmit, AnEmptyManifestStillCompilesToAValidTable) {
    std::string source = resc::EmitSource({});
    EXPECT_NE(source.find("kRegistrar(kEntries, 0)"), std::string::npos);
}

TEST_F(ManifestTest, AFileNameEndingInABackslashCannotSwallowTheNextLine) {
    WriteWholeFile(dir / "odd\\", "<a/>");
    auto entries = Read("XML 400 odd\\\n");
    ASSERT_TRUE(errors.empty());
    std::string source = resc::EmitSource(entries);
    EXPECT_EQ(source.find("\\\n"), std::string::npos) << source;
}
