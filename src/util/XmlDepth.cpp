#include "util/XmlDepth.h"

#include <tinyxml.h>

#include <string>

namespace {

// TinyXML keeps its token readers protected; a subclass may lend them out. Reading with them rather
// than with look-alikes keeps the walk from ever splitting the text differently from the parser it
// guards: a comment, quote or character reference that hides markup from one hides it from both.
class TinyXmlTokens : public TiXmlBase {
public:
    using TiXmlBase::IsAlpha;
    using TiXmlBase::ReadName;
    using TiXmlBase::SkipWhiteSpace;
    using TiXmlBase::StringEqual;
};

enum class Markup { kDeclaration, kComment, kCData, kUnknown, kElement };

struct Walk {
    TiXmlEncoding encoding;
    std::size_t depth = 0;  // elements open where the walk stands
};

bool StartsWithUtf8Bom(const char* text) {
    return text[0] == '\xEF' && text[1] == '\xBB' && text[2] == '\xBF';
}

// The kind of node TinyXML makes of the markup at `p`, decided as TiXmlNode::Identify decides it; in
// particular a '<' before anything but a letter or '_' starts an unknown node that runs to the next '>'.
Markup Identify(const char* p, TiXmlEncoding encoding) {
    if (TinyXmlTokens::StringEqual(p, "<?xml", true, encoding)) {
        return Markup::kDeclaration;
    }
    if (TinyXmlTokens::StringEqual(p, "<!--", false, encoding)) {
        return Markup::kComment;
    }
    if (TinyXmlTokens::StringEqual(p, "<![CDATA[", false, encoding)) {
        return Markup::kCData;
    }
    if (TinyXmlTokens::StringEqual(p, "<!", false, encoding)) {
        return Markup::kUnknown;
    }
    const unsigned char next = static_cast<unsigned char>(p[1]);
    return TinyXmlTokens::IsAlpha(next, encoding) || next == '_' ? Markup::kElement : Markup::kUnknown;
}

// The first declaration of the document decides how TinyXML reads what follows it.
TiXmlEncoding EncodingNamed(const char* name) {
    const bool utf8 = *name == '\0' ||
                      TinyXmlTokens::StringEqual(name, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
                      TinyXmlTokens::StringEqual(name, "UTF8", true, TIXML_ENCODING_UNKNOWN);
    return utf8 ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_LEGACY;
}

// The nodes that hold no elements are read by TinyXML's own parser for them, which tells where they
// end, or returns null where TinyXML gives up on the document.
const char* SkipLeaf(Markup kind, const char* p, Walk& walk) {
    switch (kind) {
        case Markup::kDeclaration: {
            TiXmlDeclaration declaration;
            p = declaration.Parse(p, nullptr, walk.encoding);
            if (walk.depth == 0 && walk.encoding == TIXML_ENCODING_UNKNOWN) {
                walk.encoding = EncodingNamed(declaration.Encoding());
            }
            return p;
        }
        case Markup::kComment: {
            TiXmlComment comment;
            return comment.Parse(p, nullptr, walk.encoding);
        }
        case Markup::kCData: {
            TiXmlText cdata("");
            cdata.SetCDATA(true);
            return cdata.Parse(p, nullptr, walk.encoding);
        }
        default: {
            TiXmlUnknown unknown;
            return unknown.Parse(p, nullptr, walk.encoding);
        }
    }
}

// Reads a start tag as TiXmlElement::Parse reads it; returns where its content starts.
const char* SkipStartTag(const char* p, TiXmlEncoding encoding, bool& empty) {
    std::string name;
    p = TinyXmlTokens::ReadName(TinyXmlTokens::SkipWhiteSpace(p + 1, encoding), &name, encoding);
    while (p != nullptr && *p != '\0') {
        p = TinyXmlTokens::SkipWhiteSpace(p, encoding);
        if (p == nullptr || *p == '\0') {
            return nullptr;
        }
        if (*p == '/') {
            empty = true;
            return p[1] == '>' ? p + 2 : nullptr;
        }
        if (*p == '>') {
            return p + 1;
        }
        TiXmlAttribute attribute;
        p = attribute.Parse(p, nullptr, encoding);
    }
    return nullptr;
}

// TinyXML ends an element at "</", a name, white space and '>'. It also stops the whole document when
// the name is not the open element's; the walk does not check that, since nothing after that point
// reaches the parser's stack.
const char* SkipEndTag(const char* p, TiXmlEncoding encoding) {
    std::string name;
    p = TinyXmlTokens::SkipWhiteSpace(TinyXmlTokens::ReadName(p + 2, &name, encoding), encoding);
    return p != nullptr && *p == '>' ? p + 1 : nullptr;
}

}  // namespace

// The loop is TiXmlDocument::Parse and TiXmlElement::ReadValue in one, with the recursion into child
// elements replaced by the depth counter.
bool XmlNestsDeeperThan(const char* text, std::size_t maxDepth) {
    Walk walk{StartsWithUtf8Bom(text) ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_UNKNOWN};
    const char* withSpace = text;
    const char* p = TinyXmlTokens::SkipWhiteSpace(text, walk.encoding);
    while (p != nullptr && *p != '\0') {
        if (*p != '<') {
            if (walk.depth == 0) {
                break;  // TinyXML ends the document at text outside the elements
            }
            TiXmlText node("");
            p = node.Parse(TiXmlBase::IsWhiteSpaceCondensed() ? p : withSpace, nullptr, walk.encoding);
        } else if (walk.depth > 0 && TinyXmlTokens::StringEqual(p, "</", false, walk.encoding)) {
            p = SkipEndTag(p, walk.encoding);
            --walk.depth;
        } else if (const Markup kind = Identify(p, walk.encoding); kind != Markup::kElement) {
            p = SkipLeaf(kind, p, walk);
        } else if (walk.depth >= maxDepth) {
            return true;
        } else {
            bool empty = false;
            p = SkipStartTag(p, walk.encoding, empty);
            walk.depth += empty ? 0 : 1;
        }
        withSpace = p;
        p = TinyXmlTokens::SkipWhiteSpace(p, walk.encoding);
    }
    return false;
}
