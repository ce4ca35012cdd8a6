// The skin document: sections, element records with their defaults, fonts and the logo.
#include "skin/SkinDocument.h"

#include <gtest/gtest.h>

#include <sstream>

#include "SkinTestSupport.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"

namespace {

constexpr int kPicture = 700;  // a PNG the tests' skins can name

// Records as one line each, so that a case compares every field at once.
std::string Text(const std::wstring& text) {
    return platform::WideToUtf8(text);
}
std::string Box(const RECT& r) {
    std::ostringstream out;
    out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return out.str();
}
std::string Describe(const SkinWindowDef& w) {
    std::ostringstream out;
    out << w.logo << " " << w.titleHeight << " " << w.width << "x" << w.height << " border " << w.border
        << std::hex << " " << w.color << "/" << w.bgcolor << " '" << Text(w.title) << "' '" << Text(w.font)
        << "'";
    return out.str();
}
std::string Describe(const SkinButtonDef& b) {
    std::ostringstream out;
    out << Text(b.name) << " " << b.stand << " at " << b.left << "," << b.top << " " << Text(b.align)
        << std::hex << " " << b.color << "/" << b.hotcolor << std::dec << " style " << b.style << " check "
        << b.check << " icons " << b.icon << "," << b.icon1 << " '" << Text(b.tip) << "' '" << Text(b.title)
        << "' '" << Text(b.font) << "'";
    return out.str();
}
std::string Describe(const SkinImageDef& i) {
    std::ostringstream out;
    out << Text(i.name) << " " << i.stand << " at " << i.left << "," << i.top << " " << Text(i.align)
        << " size " << Box(i.size) << " strech " << i.strech << " picture " << i.image->GetWidth() << " grid "
        << (i.image->m_bNineGrid ? Box(i.image->m_rcNineGrid) : "none");
    return out.str();
}

class SkinDocumentTest : public ::testing::Test {
protected:
    SkinDocumentTest() {
        RegisterPng(kPicture, MakePng(30, 20, true, [](int, int) { return Rgba{1, 2, 3, 255}; }));
        backend.Reset();
    }
    ~SkinDocumentTest() override { SkinDocument::DestroyInstance(); }

    SkinDocument& Load(const std::string& xml) {
        document.LoadDocumentFromBytes(xml.data(), xml.size());
        return document;
    }
    std::string Window(const wchar_t* section) {
        SkinWindowDef window;
        window.section = section;
        window.width = 77;  // left over from before: reset to the default
        document.LoadWindowDef(window);
        return Describe(window);
    }

    SkinDocument document;
    platform::headless::HeadlessBackend& backend = platform::headless::Backend();
};

}  // namespace

TEST_F(SkinDocumentTest, TheEmbeddedSkinIsResource401InTheAnsiCodePage) {
    SkinWindowDef window;
    window.section = L"MAINWND";
    SkinDocument::Instance().LoadWindowDef(window);
    EXPECT_EQ(Describe(window), "0 30 1039x573 border 1 ffffff/ffffff '星海纪元' 'title'");
    SkinFontDef font;
    font.name = L"TITLE";
    ASSERT_TRUE(SkinDocument::Instance().FindFont(font));
    EXPECT_EQ(Text(font.family), "宋体");
}

TEST_F(SkinDocumentTest, AMissingSectionOrDocumentLeavesTheDefaults) {
    const char* documents[] = {
        "<ANYROOT><MAINWND width='5'><BTN name='b'/></MAINWND></ANYROOT>",  // no GAMEWND
        "",
        "not XML at all",
        "<CLIENTSKIN><GAMEWND wid",         // cut off inside the section
        "<GAMEWND width='5' border='3'/>",  // the section is the root, not a child of it
    };
    for (const char* xml : documents) {
        Load(xml);
        EXPECT_EQ(Window(L"GAMEWND"), "0 0 0x0 border 1 ffffff/ffffff '' ''") << xml;
        SkinButtonList buttons(2);
        document.LoadButtons(L"GAMEWND", buttons);
        EXPECT_TRUE(buttons.empty()) << xml;
    }
    EXPECT_EQ(Load(documents[0]).GetLogoPath(), L"");
    EXPECT_EQ(Window(L"MAINWND"), "0 0 5x0 border 1 ffffff/ffffff '' ''") << "a root of any name";
    Load("<CLIENTSKIN><MAINWND width='6'><BTN></CLIENTSKIN>");
    EXPECT_EQ(Window(L"MAINWND"), "0 0 6x0 border 1 ffffff/ffffff '' ''") << "kept from before a parse error";
}

TEST_F(SkinDocumentTest, NumbersAreTheirLeadingDigitsAndTextWithoutDigitsKeepsTheDefault) {
    Load(
        "<S><GAMEWND width='1250px' height=' -3' border='x' logo='+' titleHeight='50' color='235,235,235' "
        "bgcolor='0,0' font='title' title='T'/></S>");
    EXPECT_EQ(Window(L"GAMEWND"), "0 50 1250x-3 border 1 ebebeb/ffffff 'T' 'title'");
}

TEST_F(SkinDocumentTest, ButtonsTakeTheirDefaultsAndTheHoverColourFollowsTheColour) {
    Load(
        "<S><W>"
        "<BTN name='plain' stand='311' color='0,128,255'/>"
        "<BTN name='full' stand='1' left='40' align='TOPRIGHT' tip='t' title='c' font='bold' color='1,2,3' "
        "hotcolor='4,5,6' style='3' check='1' icon='7' icon1='8'/>"
        "<BTN name='blank' align=''/>"
        "<btn name='wrong case'/><BTN Name='x' STAND='9'/>"
        "</W></S>");
    SkinButtonList buttons;
    document.LoadButtons(L"W", buttons);
    std::vector<std::string> described;
    for (const SkinButtonDef& button : buttons) {
        described.push_back(Describe(button));
    }
    EXPECT_EQ(described, (std::vector<std::string>{
                             "plain 311 at 0,0 TopLeft ff8000/ff8000 style 0 check 0 icons 0,0 '' '' ''",
                             "full 1 at 40,0 TOPRIGHT 30201/60504 style 3 check 1 icons 7,8 't' 'c' 'bold'",
                             "blank 0 at 0,0 TopLeft ffffff/ffffff style 0 check 0 icons 0,0 '' '' ''",
                             " 0 at 0,0 TopLeft ffffff/ffffff style 0 check 0 icons 0,0 '' '' ''",
                         }));
}

TEST_F(SkinDocumentTest, RectanglesAndTextsSpanLeftTopWidthAndHeight) {
    Load(
        "<S><W><RECT name='ie' left='2' top='32' width='1246' height='656' strech='3'/><RECT top='5'/>"
        "<TEXT name='t' left='10' top='20' width='30' height='40' align='BottomRight' title='hi' font='f' "
        "color='9,8,7'/><TEXT top='5'/></W></S>");
    SkinRectList rects;
    document.LoadRects(L"W", rects);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(Text(rects[0].name) + " " + Box(rects[0].rect) + " " + std::to_string(rects[0].strech),
              "ie 2,32,1248,688 3");
    EXPECT_EQ(Box(rects[1].rect), "0,5,0,5");
    SkinTextList texts;
    document.LoadTexts(L"W", texts);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(Text(texts[0].name + L" " + texts[0].align + L" " + texts[0].title + L" " + texts[0].font) +
                  " " + Box(texts[0].rect),
              "t BottomRight hi f 10,20,40,60");
    EXPECT_EQ(texts[0].color, RGB(9, 8, 7));
    EXPECT_EQ(Box(texts[1].rect) + " " + Text(texts[1].align), "0,5,0,5 TopLeft");
    EXPECT_EQ(texts[1].color, 0xFFFFFFu);
}

TEST_F(SkinDocumentTest, ImagesLoadTheirPicturesAndAMissingOneIsReportedAndLeftOut) {
    Load(
        "<S><W><IMG name='top' stand='700' strech='1' rect='120,1,10,1' width='1250' height='32'/>"
        "<IMG name='gone' stand='999'/>"
        "<IMG name='plain' stand='700' left='4' top='5' align='BottomLeft' rect='0,0,0,0'/>"
        "<IMG name='short' stand='700' rect='1,2,3' height='9'/></W></S>");
    SkinImageList images;
    document.LoadImages(L"W", images);
    ASSERT_EQ(backend.messageBoxes.size(), 1u);
    EXPECT_EQ(backend.messageBoxes[0].text, L"Load Img Fail : 999");
    EXPECT_EQ(backend.messageBoxes[0].owner, nullptr);
    EXPECT_EQ(backend.messageBoxes[0].type, static_cast<UINT>(MB_OK));
    std::vector<std::string> described;
    for (const SkinImageDef& image : images) {
        EXPECT_TRUE(image.visible);
        described.push_back(Describe(image));
    }
    EXPECT_EQ(described, (std::vector<std::string>{
                             "top 700 at 0,0 TopLeft size 0,0,1250,32 strech 1 picture 30 grid 120,1,10,1",
                             "plain 700 at 4,5 BottomLeft size 0,0,0,0 strech 0 picture 30 grid none",
                             "short 700 at 0,0 TopLeft size 0,0,0,9 strech 0 picture 30 grid none",
                         }));
}

TEST_F(SkinDocumentTest, FontsAreFoundByNameInAnyCaseAndTheFirstWins) {
    Load(
        "<S><FONT name='bold' size='14' family='Serif' style='1'/><FONT name='Bold' size='99'/>"
        "<FONT name='bare'/><W><FONT name='inner' size='5'/></W></S>");
    SkinFontDef font{0, 0, L"BOLD", L""};
    ASSERT_TRUE(document.FindFont(font));
    EXPECT_EQ(Text(font.family) + " " + std::to_string(font.size) + " " + std::to_string(font.style),
              "Serif 14 1");
    SkinFontDef bare{3, 0, L"bare", L"old"};
    ASSERT_TRUE(document.FindFont(bare));
    EXPECT_EQ(bare.size, 3) << "no size given: the record keeps its own";
    EXPECT_EQ(bare.family, L"") << "the family is always taken";
    SkinFontDef inner{0, 0, L"inner", L"untouched"};
    EXPECT_FALSE(document.FindFont(inner)) << "fonts are read from the root only";
    EXPECT_EQ(inner.family, L"untouched");
}

TEST_F(SkinDocumentTest, TheLogoIsTheLastRootImageNamedLogo) {
    struct Case {
        const char* xml;
        const wchar_t* path;
    };
    const Case cases[] = {
        {"<S><IMG name='logo' stand='a.png'/><IMG name='Logo' stand='/b/c.png'/><IMG name='x' "
         "stand='d'/></S>",
         L"/b/c.png"},
        {"<S><IMG name='logo' stand=''/></S>", L""},
        {"<S><IMG name='logo'/></S>", L""},
        {"<S><W><IMG name='logo' stand='inner.png'/></W></S>", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.xml).GetLogoPath(), c.path) << c.xml;
    }
}

TEST_F(SkinDocumentTest, TextOfADocumentDeclaredUtf8IsReadAsUtf8) {
    Load("<?xml version='1.0' encoding='UTF-8'?><S><W><BTN name='min' tip='最小化'/></W></S>");
    SkinButtonList buttons;
    document.LoadButtons(L"W", buttons);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(Text(buttons[0].tip), "最小化");
}
