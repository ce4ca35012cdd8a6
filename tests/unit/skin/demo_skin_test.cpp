// The demo build's skin against its artwork: every picture it names is there, at the size and in the
// format its layout was drawn for.
#include <gtest/gtest.h>

#include <set>

#include "platform/headless/headless.h"
#include "skin/SkinDocument.h"

namespace {

const wchar_t* const kSections[] = {L"MAINWND", L"GAMEWND"};

std::set<int> PicturesNamed(SkinDocument& skin) {
    std::set<int> ids;
    for (const wchar_t* section : kSections) {
        SkinButtonList buttons;
        skin.LoadButtons(section, buttons);
        for (const SkinButtonDef& button : buttons) {
            ids.insert({button.stand, button.stand + 1, button.stand + 2});
            for (int extra : {button.icon, button.icon1}) {
                if (extra != 0) {
                    ids.insert(extra);
                }
            }
        }
        SkinImageList images;
        skin.LoadImages(section, images);
        for (const SkinImageDef& image : images) {
            ids.insert(image.stand);
        }
    }
    return ids;
}

}  // namespace

TEST(DemoSkin, EveryPictureTheSkinNamesIsThere) {
    platform::headless::Backend().Reset();
    std::set<int> ids = PicturesNamed(SkinDocument::Instance());
    EXPECT_GE(ids.size(), 40u);
    for (int id : ids) {
        BOOL loaded = FALSE;
        CImageEx::LoadSkinImage(id, &loaded);
        EXPECT_TRUE(loaded) << "picture " << id;
    }
    EXPECT_TRUE(platform::headless::Backend().messageBoxes.empty()) << "no image failed to load";
    SkinWindowDef launcher;
    launcher.section = L"MAINWND";
    SkinDocument::Instance().LoadWindowDef(launcher);
    EXPECT_EQ(launcher.width, 1039);
    EXPECT_EQ(launcher.title, L"\u661F\u6D77\u7EAA\u5143");
    SkinDocument::DestroyInstance();
}

TEST(DemoSkin, PicturesHaveTheSizesAndFormatsTheLayoutExpects) {
    struct Case {
        int first;
        int last;
        int width;
        int height;
        bool alpha;
    };
    const Case cases[] = {
        {348, 348, 1039, 573, true},  // launcher background, with its shadow
        {311, 313, 36, 36, true},     // launcher close
        {314, 316, 28, 24, true},     // launcher minimise
        {334, 345, 168, 44, true},    // forum, service, official site, pay
        {347, 347, 1250, 32, false},  // the game window's title strip
        {350, 350, 51, 16, true},     // refresh
        {351, 352, 55, 20, true},
        {353, 353, 71, 16, true},  // clear cache
        {354, 355, 75, 20, true},
        {318, 332, 24, 20, false},  // close, minimise, maximise, restore, collapse
        {356, 358, 120, 22, true},  // the server name
    };
    for (const Case& c : cases) {
        for (int id = c.first; id <= c.last; ++id) {
            std::unique_ptr<CImageEx> image = CImageEx::LoadSkinImage(id);
            EXPECT_EQ(image->GetWidth(), c.width) << id;
            EXPECT_EQ(image->GetHeight(), c.height) << id;
            EXPECT_EQ(image->HasAlpha(), c.alpha) << id;
        }
    }
}
