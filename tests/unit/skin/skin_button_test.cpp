// The skin button through the headless backend's pointer: states, sizing, clicks, blinking, placement,
// tooltip, and what DrawButton puts where.
#include "skin/SkinButton.h"

#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "platform/base/clock.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"

using namespace platform::headless;

namespace {

constexpr int kStand = 600;  // 40 x 20 normal, 44 x 24 hover and pressed
constexpr int kSmall = 610;  // 24 x 20
constexpr int kClear = 620;  // 60 x 40, fully transparent
constexpr int kIcon = 630;   // 80 x 50, blue
constexpr int kBadge = 640;  // 16 x 16, green
constexpr COLORREF kCaption = RGB(255, 0, 0);
constexpr COLORREF kHot = RGB(0, 0, 255);

std::string Solid(int width, int height, Rgba colour) {
    return MakePng(width, height, true, [=](int, int) { return colour; });
}

class Parent : public CWnd {
public:
    std::vector<WPARAM> clicks;
    platform::CToolTipCtrl tooltip;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        clicks.push_back(wParam);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        tooltip.RelayEvent(msg);
        return FALSE;
    }
};

class SkinButtonTest : public ClientTest {
protected:
    SkinButtonTest() {
        platform::SetClock(&clock);
        platform::RegisterWindowClass(L"ButtonTestParent", 0);
        RegisterPng(kStand, Solid(40, 20, {200, 200, 200, 255}));
        RegisterPng(kStand + 1, Solid(44, 24, {220, 220, 220, 255}));
        RegisterPng(kStand + 2, Solid(44, 24, {100, 100, 100, 255}));
        RegisterPng(kSmall, Solid(24, 20, {9, 9, 9, 255}));
        RegisterPng(kClear, Solid(60, 40, {0, 0, 0, 0}));
        RegisterPng(kIcon, Solid(80, 50, {0, 0, 255, 255}));
        RegisterPng(kBadge, Solid(16, 16, {0, 255, 0, 255}));
        const std::string skin = "<S><FONT name='big' size='20' style='1'/></S>";
        SkinDocument::Instance().LoadDocumentFromBytes(skin.data(), skin.size());
        EXPECT_TRUE(parent.CreateEx(0, L"ButtonTestParent", L"parent", WS_POPUP | WS_VISIBLE, 100, 100, 1250,
                                    690, nullptr, 0));
        parent.tooltip.Create(&parent, platform::TTS_ALWAYSTIP);
    }
    ~SkinButtonTest() override {
        parent.DestroyWindow();
        platform::SetClock(nullptr);
    }

    // A button from `def`, with the next id.
    CSkinButton& Make(SkinButtonDef def) {
        auto& button = buttons.emplace_back(std::make_unique<CSkinButton>());
        EXPECT_TRUE(button->CreateButton(&parent, 10000 + static_cast<UINT>(buttons.size()), def.check));
        button->SetupFromDef(L"W", def, &parent.tooltip);
        platform::PumpUntilIdle();
        return *button;
    }
    RECT Place(const CSkinButton& button) const {
        RECT rect;
        button.GetWindowRect(&rect);
        parent.ScreenToClient(&rect);
        return rect;
    }
    POINT At(int x, int y) const { return ScreenPoint(parent.m_hWnd, POINT{x, y}); }
    // Lets the 1 ms hover time pass.
    void Rest() {
        clock.Advance(1);
        platform::PumpUntilIdle();
    }
    void Wait(int ms) {
        clock.Advance(ms);
        platform::PumpUntilIdle();
    }
    platform::Bitmap Drawn(CSkinButton& button) {
        platform::Bitmap picture(400, 200, true);
        platform::Canvas canvas(picture);
        button.DrawButton(canvas);
        return picture;
    }

    platform::ManualClock clock;
    Parent parent;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
};

SkinButtonDef Def(int stand, int left = 10, int top = 10) {
    SkinButtonDef def;
    def.name = L"b";
    def.stand = stand;
    def.left = left;
    def.top = top;
    return def;
}

// The bounding box of the pixels of one colour; all zero when there are none.
RECT BoxOf(const platform::Bitmap& bitmap, COLORREF colour) {
    const std::uint32_t wanted =
        0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    RECT box{10000, 10000, 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.Pixel(x, y) == wanted) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
    }
    return box.right == 0 ? RECT{} : box;
}

}  // namespace

TEST_F(SkinButtonTest, HoverGrowsTheButtonToItsPictureAndPressShowsThePressedOne) {
    CSkinButton& button = Make(Def(kStand));
    EXPECT_EQ(button.ShownState(), 0);
    EXPECT_EQ(Place(button).right, 50);
    MoveMouse(parent.m_hWnd, At(15, 15));
    Rest();
    EXPECT_EQ(button.ShownState(), 1);
    EXPECT_EQ(Place(button).left, 10) << "grows right and down from its top-left corner";
    EXPECT_EQ(Place(button).right, 54);
    EXPECT_EQ(Place(button).bottom, 34);
    PressLeft(parent.m_hWnd, At(15, 15));
    EXPECT_EQ(button.ShownState(), 2);
    ReleaseLeft(parent.m_hWnd, At(15, 15));
    EXPECT_EQ(button.ShownState(), 1);
    ASSERT_EQ(parent.clicks.size(), 1u);
    EXPECT_EQ(parent.clicks[0], MAKEWPARAM(10001, BN_CLICKED));
    MoveMouse(parent.m_hWnd, At(300, 300));
    platform::PumpUntilIdle();
    EXPECT_EQ(button.ShownState(), 0);
    EXPECT_EQ(Place(button).right, 50) << "shrinks back on leaving";
}

TEST_F(SkinButtonTest, ReleasedOutsideIsNoClickAndACheckButtonTogglesOnlyOnClicks) {
    SkinButtonDef def = Def(kStand);
    def.check = 1;
    CSkinButton& button = Make(def);
    Click(parent.m_hWnd, At(15, 15));
    EXPECT_TRUE(button.IsChecked());
    MoveMouse(parent.m_hWnd, At(15, 15));
    Rest();
    EXPECT_EQ(button.ShownState(), 0) << "a check button keeps its normal picture";
    PressLeft(parent.m_hWnd, At(15, 15));
    MoveMouse(parent.m_hWnd, At(300, 300));
    ReleaseLeft(parent.m_hWnd, At(300, 300));
    EXPECT_FALSE(button.IsHover());
    EXPECT_TRUE(button.IsChecked()) << "a release outside keeps the check state";
    EXPECT_EQ(parent.clicks.size(), 1u) << "and sends no click";
    Click(parent.m_hWnd, At(15, 15));
    EXPECT_FALSE(button.IsChecked());
    EXPECT_EQ(parent.clicks.size(), 2u);
}

TEST_F(SkinButtonTest, BlinkingTakesThePicturesAwayAndBackUntilAClick) {
    CSkinButton& button = Make(Def(kStand));
    button.SetBlink(TRUE);
    Wait(500);
    EXPECT_EQ(button.ShownState(), -1);
    MoveMouse(parent.m_hWnd, At(15, 15));
    Rest();
    EXPECT_EQ(button.ShownState(), -1) << "hovering a button without pictures shows none";
    EXPECT_EQ(Drawn(button).Pixel(20, 15), 0u);
    Wait(500);
    EXPECT_EQ(button.ShownState(), 0);
    Wait(500);
    Click(parent.m_hWnd, At(15, 15));
    EXPECT_FALSE(button.IsBlinking());
    EXPECT_EQ(button.ShownState(), 1) << "the click stopped it with its pictures back, hover as it rests";
    Wait(1500);
    EXPECT_EQ(button.ShownState(), 1);
}

TEST_F(SkinButtonTest, AnchoredButtonsKeepTheirDistanceFromTheEdgeAsTheParentResizes) {
    SkinButtonDef def = Def(kSmall, 3, 1);
    def.align = L"TopRight";
    CSkinButton& button = Make(def);
    EXPECT_EQ(Place(button).left, 1223);
    EXPECT_EQ(Place(button).right - Place(button).left, 24);
    button.Relayout(RECT{0, 0, 1000, 600});
    EXPECT_EQ(Place(button).left, 973);
    EXPECT_EQ(Place(button).top, 1);
}

TEST_F(SkinButtonTest, ATipShowsWhileThePointerRestsOnTheButton) {
    SkinButtonDef def = Def(kStand);
    def.tip = L"\u5237\u65B0";
    Make(def);
    MoveMouse(parent.m_hWnd, At(15, 15));
    Wait(platform::kTooltipDelayMs);
    EXPECT_EQ(Backend().tooltip, def.tip);
}

TEST_F(SkinButtonTest, TheBadgeSitsWithItsCornerSixtyTwoPixelsFromTheButtonsCorner) {
    SkinButtonDef def = Def(kStand, 100, 40);
    def.icon1 = kBadge;
    const platform::Bitmap drawn = Drawn(Make(def));
    const RECT badge = BoxOf(drawn, RGB(0, 255, 0));
    EXPECT_EQ(badge.left, 146);
    EXPECT_EQ(badge.top, 86);
    EXPECT_EQ(badge.right, 162);
    EXPECT_EQ(badge.bottom, 102);
}

TEST_F(SkinButtonTest, CaptionsAndIconsFollowTheStyle) {
    struct Case {
        int style;
        int caption;   // 1 the caption shows, 0 it does not, -1 either (an icon covers it)
        RECT iconBox;  // all zero for no icon
    };
    const Case cases[] = {
        {4, 1, {}},                 // the caption only, centred at the bottom
        {7, 0, {}},                 // neither caption nor icon: the picture and the badge only
        {0, -1, {11, 11, 69, 49}},  // an icon larger than the button both ways is drawn inset
        {2, -1, {11, 11, 69, 49}},
        {3, -1, {11, 11, 69, 49}},
    };
    for (const Case& c : cases) {
        SkinButtonDef def = Def(kClear);  // 60 x 40 at (10, 10)
        def.style = c.style;
        def.icon = kIcon;  // 80 x 40
        def.icon1 = kBadge;
        def.title = L"OK";
        def.font = L"big";
        def.color = kCaption;
        CSkinButton& button = Make(def);
        const platform::Bitmap drawn = Drawn(button);
        const RECT caption = BoxOf(drawn, kCaption);
        if (c.caption >= 0) {
            EXPECT_EQ(caption.right != 0, c.caption == 1) << "style " << c.style;
        }
        const RECT icon = BoxOf(drawn, RGB(0, 0, 255));
        EXPECT_EQ(icon.left, c.iconBox.left) << "style " << c.style;
        EXPECT_EQ(icon.top, c.iconBox.top) << "style " << c.style;
        EXPECT_EQ(icon.right, c.iconBox.right) << "style " << c.style;
        EXPECT_EQ(icon.bottom, c.iconBox.bottom) << "style " << c.style;
        EXPECT_EQ(BoxOf(drawn, RGB(0, 255, 0)).right, 72) << "the badge, style " << c.style;
        if (c.style == 4) {
            EXPECT_LE(std::abs((caption.left - 10) - (70 - caption.right)), 2) << "centred";
            EXPECT_GE(caption.bottom, 43) << "at the bottom, where a centred one would end near 38";
        }
        button.DestroyWindow();
    }
}

TEST_F(SkinButtonTest, TheCaptionTakesTheHotColourWhileCheckedAndNeedsAFont) {
    SkinButtonDef def = Def(kClear);
    def.style = 4;
    def.check = 1;
    def.title = L"OK";
    def.font = L"BIG";
    def.color = kCaption;
    def.hotcolor = kHot;
    CSkinButton& button = Make(def);
    EXPECT_NE(BoxOf(Drawn(button), kCaption).right, 0);
    Click(parent.m_hWnd, At(15, 15));
    MoveMouse(parent.m_hWnd, At(300, 300));
    platform::PumpUntilIdle();
    ASSERT_FALSE(button.IsHover());
    EXPECT_NE(BoxOf(Drawn(button), kHot).right, 0) << "checked";
    EXPECT_EQ(BoxOf(Drawn(button), kCaption).right, 0);

    def.font = L"";
    EXPECT_EQ(BoxOf(Drawn(Make(def)), kCaption).right, 0) << "a title without a font draws nothing";
}
