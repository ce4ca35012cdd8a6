// Documents nesting deeper than TinyXML's recursion can bear are refused before it sees them. The
// levels are counted as TinyXML reads the text: markup that hides a level from the parser hides it from
// the count, and nothing the parser reads as an element escapes it.
#include "util/XmlBytes.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Open(std::size_t levels) {
    std::string text;
    for (std::size_t i = 0; i < levels; ++i) {
        text += "<a>";
    }
    return text;
}

// `inner` inside `levels` nested elements, after `prologue`.
std::string Nested(std::size_t levels, const std::string& inner, const std::string& prologue = "") {
    std::string text = prologue + Open(levels) + inner;
    for (std::size_t i = 0; i < levels; ++i) {
        text += "</a>";
    }
    return text;
}

// What every caller sees of a refused document: an error, and no node to read.
bool Refused(const std::string& text) {
    TiXmlDocument document;
    ParseXmlBytes(document, text.data(), text.size());
    return document.Error() && document.NoChildren();
}

}  // namespace

TEST(ParseXmlBytes, RefusesADocumentTooDeepForTheParsersStack) {
    const std::string deep = Nested(40000, "");
    ASSERT_GT(deep.size(), 270000u);
    EXPECT_TRUE(Refused(deep));

    const std::string shallow = Nested(200, "<x k='v'/>");
    TiXmlDocument document;
    ParseXmlBytes(document, shallow.data(), shallow.size());
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    const TiXmlElement* element = document.RootElement();
    for (int level = 1; level <= 200 && element != nullptr; ++level) {
        element = element->FirstChildElement();
    }
    ASSERT_NE(element, nullptr);
    EXPECT_STREQ(element->Attribute("k"), "v");
}

TEST(ParseXmlBytes, CountsTheLevelsTheParserEnters) {
    // Markup placed here starts at the deepest level allowed.
    const std::size_t below = kMaxXmlDepth - 1;
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string document;
        bool refused;
        const char* why;
    } cases[] = {
        {Nested(kMaxXmlDepth, ""), false, "exactly as deep as allowed"},
        {Nested(kMaxXmlDepth + 1, ""), true, "one level too deep"},
        {Nested(below, "<x/>"), false, "an empty element opens nothing inside it"},
        {Nested(below, "<x><y/></x>"), true, "an empty element is a level of its own"},
        {Nested(below, "<!-- <x><y> -->"), false, "elements in a comment"},
        {Nested(below, "<![CDATA[<x><y>]]>"), false, "elements in CDATA"},
        {Nested(below, "<?pi ><x><y/></x>?>"), true, "a processing instruction ends at its first '>'"},
        {Nested(below, "<x a=\"><y><z>\" b='/>'/>"), false, "'>' and '/>' in quoted values"},
        {Nested(below, "<x a='/>'><y/></x>"), true, "a quoted '/>' does not end the tag"},
        {Nested(below, "<x/>", "<!DOCTYPE a>"), false, "a document type"},
        {Nested(below, "<x/>", "<!DOCTYPE a [<!ENTITY e \"><b>\">]>"), true,
         "a document type ends at its first '>', quoted or not"},
        {Nested(below, "<x>1 < 2</x><y/></x>"), true, "'<' before a blank runs to the next '>'"},
        {Nested(below, "<x>&#</x>#1;<y/></x>"), true, "a character reference runs to the next ';'"},
        {Nested(below, "<x>\xC3</x><y/></x>", bom), true, "a UTF-8 lead byte takes the '<' after it"},
        {Nested(below, "<x>\xC3</x><y/></x>", "<?xml version='1.0'?>"), true,
         "a declaration without encoding means UTF-8"},
        {Nested(below, "<x>\xC3</x><y/></x>", "<?xml version='1.0' encoding='gb2312'?>"), false,
         "legacy text is read byte by byte"},
        {Open(below) + "<x a='<y><z>", false, "an unterminated quote"},
        {Open(below) + "<!-- <x><y>", false, "an unterminated comment"},
        {Open(below) + "<![CDATA[<x><y>", false, "an unterminated CDATA section"},
        {Open(below) + "<x><y", true, "an element counts from its '<'"},
        {bom + Open(below) + std::string("<x>\xC3\0<y/>", 9), false,
         "nothing after a zero byte counts, even right after a lead byte"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Refused(c.document), c.refused) << c.why;
    }
}
