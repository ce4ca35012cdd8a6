#pragma once
// The records the skin document fills: one window section, and the fonts, images, rectangles, buttons
// and texts it declares. Plain values with the defaults an absent attribute leaves.

#include <memory>
#include <string>
#include <vector>

#include "platform/base/win_types.h"
#include "skin/ImageEx.h"

constexpr COLORREF kSkinWhite = 0xFFFFFF;
constexpr wchar_t kSkinTopLeft[] = L"TopLeft";

struct SkinWindowDef {
    int logo = 0;         // non-zero: the framed window draws the logo and the title in its title bar
    int titleHeight = 0;  // the framed window's title bar
    int width = 0;
    int height = 0;
    int border = 1;  // width of the resizing zones along the edges
    COLORREF color = kSkinWhite;
    COLORREF bgcolor = kSkinWhite;
    std::wstring section;  // set by the caller: "MAINWND" or "GAMEWND"
    std::wstring title;
    std::wstring font;
};

struct SkinFontDef {
    int size = 0;   // em size in pixels
    int style = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
    std::wstring name;
    std::wstring family;
};

struct SkinButtonDef {
    COLORREF color = kSkinWhite;
    COLORREF hotcolor = kSkinWhite;  // caption colour while hovered or checked
    int style = 0;                   // caption and icon layout, 0 to 4
    int check = 0;
    int left = 0;
    int top = 0;
    std::wstring name;
    std::wstring title;
    int stand = 0;  // state pictures: stand normal, stand + 1 hover, stand + 2 pressed
    int icon = 0;
    int icon1 = 0;  // badge
    std::wstring font;
    std::wstring align = kSkinTopLeft;
    std::wstring tip;
};

struct SkinTextDef {
    COLORREF color = kSkinWhite;
    RECT rect{};  // left, top, left + width, top + height
    std::wstring name;
    std::wstring title;
    std::wstring font;
    std::wstring align = kSkinTopLeft;
};

struct SkinRectDef {
    int strech = 0;  // non-zero: the right and bottom edges follow the window's size
    RECT rect{};
    std::wstring name;
};

struct SkinImageDef {
    int strech = 0;  // 1 window width, 2 window height, 3 both
    int left = 0;
    int top = 0;
    RECT size{};  // 0, 0, width, height as declared
    std::wstring name;
    int stand = 0;
    std::wstring align = kSkinTopLeft;
    BOOL visible = TRUE;
    std::unique_ptr<CImageEx> image;  // loaded, with its nine-grid margins
};

using SkinImageList = std::vector<SkinImageDef>;
using SkinRectList = std::vector<SkinRectDef>;
using SkinButtonList = std::vector<SkinButtonDef>;
using SkinTextList = std::vector<SkinTextDef>;
