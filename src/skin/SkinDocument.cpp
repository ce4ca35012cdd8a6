#include "skin/SkinDocument.h"

#include <tinyxml.h>

#include <cassert>
#include <string>

#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/ui/shell_ui.h"
#include "skin/SkinSchema.h"
#include "skin/SkinValues.h"
#include "util/LeadingInt.h"
#include "util/XmlBytes.h"

namespace {

constexpr int kSkinResourceId = 401;
// Outside the 24-bit colour range: marks a button without its own hover colour.
constexpr COLORREF kNoHotColour = 0x1000000;

std::unique_ptr<SkinDocument>& Slot() {
    static std::unique_ptr<SkinDocument> document;
    return document;
}

// Reads one element's attributes by the skin's value rules, under the names its schema lists; an absent
// or unreadable value leaves the field as it is.
class Attributes {
public:
    Attributes(const TiXmlElement& element, const SkinElementSchema& schema, bool utf8)
        : m_element(element), m_schema(schema), m_utf8(utf8) {}

    void Int(const char* name, int& field) const {
        if (const char* value = Raw(name)) {
            field = LeadingIntIfAny(value).value_or(field);
        }
    }
    void Colour(const char* name, COLORREF& field) const { field = ParseSkinColor(Text(name), field); }
    // Absent: empty.
    std::wstring Text(const char* name) const {
        const char* value = Raw(name);
        if (value == nullptr) {
            return {};
        }
        return m_utf8 ? platform::Utf8ToWide(value) : platform::AnsiToWide(value);
    }
    // Empty or absent: TopLeft. Any other text is kept; the anchor rule reads it.
    std::wstring Anchor(const char* name) const {
        std::wstring align = Text(name);
        return align.empty() ? kSkinTopLeft : align;
    }
    // left, top, left + width, top + height.
    RECT Box() const {
        int left = 0, top = 0, width = 0, height = 0;
        Int("left", left);
        Int("top", top);
        Int("width", width);
        Int("height", height);
        return RECT{left, top, left + width, top + height};
    }

private:
    const char* Raw(const char* name) const {
        assert(m_schema.Has(name) && "every attribute the parser reads is in the skin's schema");
        return m_element.Attribute(name);
    }

    const TiXmlElement& m_element;
    const SkinElementSchema& m_schema;
    bool m_utf8;
};

// Visits each child element `schema` describes, with a reader of its attributes.
template <typename Visit>
void ForEachChild(const TiXmlElement* parent, const SkinElementSchema& schema, bool utf8, Visit visit) {
    if (parent == nullptr) {
        return;
    }
    for (const TiXmlElement* child = parent->FirstChildElement(schema.element); child != nullptr;
         child = child->NextSiblingElement(schema.element)) {
        visit(Attributes(*child, schema, utf8));
    }
}

void ReportImageFailure(int stand) {
    const std::wstring text = L"Load Img Fail : " + std::to_wstring(stand);
    platform::MessageBox(nullptr, text.c_str(), nullptr, MB_OK);
}

// Margins of all zero, or fewer than four, mean no nine-grid.
void ApplyNineGrid(const Attributes& attributes, CImageEx& image) {
    RECT margins{};
    const bool given = ParseSkinRect(attributes.Text("rect"), margins);
    image.m_bNineGrid =
        given && (margins.left != 0 || margins.top != 0 || margins.right != 0 || margins.bottom != 0);
    image.m_rcNineGrid = image.m_bNineGrid ? margins : RECT{};
}

}  // namespace

SkinDocument& SkinDocument::Instance() {
    if (!Slot()) {
        Slot() = std::make_unique<SkinDocument>();
        Slot()->LoadDocument();
    }
    return *Slot();
}

void SkinDocument::DestroyInstance() {
    Slot().reset();
}

SkinDocument::SkinDocument() : m_pDocument(std::make_unique<TiXmlDocument>()) {}

SkinDocument::~SkinDocument() = default;

void SkinDocument::LoadDocument() {
    platform::ResourceBytes bytes = platform::FindResource("XML", kSkinResourceId);
    if (bytes.empty() || bytes.size == 0) {
        return;
    }
    LoadDocumentFromBytes(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

void SkinDocument::LoadDocumentFromBytes(const char* data, std::size_t size) {
    m_pDocument = std::make_unique<TiXmlDocument>();
    m_bUtf8 = ParseXmlBytes(*m_pDocument, data, size);
    m_strLogoPath.clear();
}

const TiXmlElement* SkinDocument::Root() const {
    return m_pDocument->FirstChildElement();
}

const TiXmlElement* SkinDocument::Section(const std::wstring& name) const {
    const TiXmlElement* root = Root();
    if (root == nullptr) {
        return nullptr;
    }
    const std::string narrow = m_bUtf8 ? platform::WideToUtf8(name) : platform::WideToAnsi(name);
    return root->FirstChildElement(narrow.c_str());
}

void SkinDocument::LoadWindowDef(SkinWindowDef& window) const {
    SkinWindowDef loaded;
    loaded.section = window.section;
    if (const TiXmlElement* section = Section(window.section)) {
        Attributes attributes(*section, kSkinSection, m_bUtf8);
        attributes.Int("logo", loaded.logo);
        attributes.Int("titleHeight", loaded.titleHeight);
        attributes.Int("width", loaded.width);
        attributes.Int("height", loaded.height);
        attributes.Int("border", loaded.border);
        attributes.Colour("color", loaded.color);
        attributes.Colour("bgcolor", loaded.bgcolor);
        loaded.title = attributes.Text("title");
        loaded.font = attributes.Text("font");
    }
    window = std::move(loaded);
}

void SkinDocument::LoadImages(const std::wstring& section, SkinImageList& images) const {
    images.clear();
    ForEachChild(Section(section), kSkinImage, m_bUtf8, [&](const Attributes& attributes) {
        SkinImageDef image;
        image.name = attributes.Text("name");
        attributes.Int("stand", image.stand);
        attributes.Int("left", image.left);
        attributes.Int("top", image.top);
        attributes.Int("strech", image.strech);
        const RECT box = attributes.Box();
        image.size = RECT{0, 0, box.right - box.left, box.bottom - box.top};
        image.align = attributes.Anchor("align");
        BOOL loaded = FALSE;
        image.image = CImageEx::LoadSkinImage(image.stand, &loaded);
        if (!loaded) {
            ReportImageFailure(image.stand);
            return;
        }
        ApplyNineGrid(attributes, *image.image);
        images.push_back(std::move(image));
    });
}

void SkinDocument::LoadRects(const std::wstring& section, SkinRectList& rects) const {
    rects.clear();
    ForEachChild(Section(section), kSkinRect, m_bUtf8, [&](const Attributes& attributes) {
        SkinRectDef rect;
        rect.name = attributes.Text("name");
        rect.rect = attributes.Box();
        attributes.Int("strech", rect.strech);
        rects.push_back(std::move(rect));
    });
}

void SkinDocument::LoadButtons(const std::wstring& section, SkinButtonList& buttons) const {
    buttons.clear();
    ForEachChild(Section(section), kSkinButton, m_bUtf8, [&](const Attributes& attributes) {
        SkinButtonDef button;
        button.name = attributes.Text("name");
        attributes.Int("stand", button.stand);
        attributes.Int("left", button.left);
        attributes.Int("top", button.top);
        button.align = attributes.Anchor("align");
        button.tip = attributes.Text("tip");
        button.title = attributes.Text("title");
        button.font = attributes.Text("font");
        attributes.Colour("color", button.color);
        button.hotcolor = kNoHotColour;
        attributes.Colour("hotcolor", button.hotcolor);
        if (button.hotcolor == kNoHotColour) {
            button.hotcolor = button.color;
        }
        attributes.Int("style", button.style);
        attributes.Int("check", button.check);
        attributes.Int("icon", button.icon);
        attributes.Int("icon1", button.icon1);
        buttons.push_back(std::move(button));
    });
}

void SkinDocument::LoadTexts(const std::wstring& section, SkinTextList& texts) const {
    texts.clear();
    ForEachChild(Section(section), kSkinText, m_bUtf8, [&](const Attributes& attributes) {
        SkinTextDef text;
        text.name = attributes.Text("name");
        text.rect = attributes.Box();
        text.align = attributes.Anchor("align");
        text.title = attributes.Text("title");
        text.font = attributes.Text("font");
        attributes.Colour("color", text.color);
        texts.push_back(std::move(text));
    });
}

bool SkinDocument::FindFont(SkinFontDef& font) const {
    bool found = false;
    ForEachChild(Root(), kSkinFont, m_bUtf8, [&](const Attributes& attributes) {
        if (found || !platform::EqualsIgnoreCase(attributes.Text("name"), font.name)) {
            return;
        }
        found = true;
        attributes.Int("size", font.size);
        attributes.Int("style", font.style);
        font.family = attributes.Text("family");
    });
    return found;
}

std::wstring SkinDocument::GetLogoPath() {
    if (m_strLogoPath.empty()) {
        ForEachChild(Root(), kSkinLogo, m_bUtf8, [&](const Attributes& attributes) {
            if (platform::EqualsIgnoreCase(attributes.Text("name"), L"logo")) {
                m_strLogoPath = attributes.Text("stand");
            }
        });
    }
    return m_strLogoPath;
}
