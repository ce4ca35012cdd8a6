// Invalid areas, WM_PAINT and the pictures windows show.
#include "WindowTestSupport.h"
#include "platform/gfx/canvas.h"

using platform::PumpUntilIdle;

namespace {

// Paints its whole client area in one colour.
class SolidWnd : public RecordingWnd {
public:
    COLORREF colour = RGB(255, 0, 0);

protected:
    void OnPaint() override {
        auto canvas = BeginPaint();
        RECT client;
        GetClientRect(&client);
        canvas->FillRect(client, colour);
        canvas.reset();
        EndPaint();
    }
};

constexpr std::uint32_t kOpaqueRed = 0xFFFF0000;
constexpr std::uint32_t kOpaqueBlue = 0xFF0000FF;

}  // namespace

TEST_F(WindowTest, InvalidationsCoalesceIntoOnePaintWhenIdle) {
    SolidWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 40, 30}));
    PumpUntilIdle();
    wnd.Forget();
    RECT part{0, 0, 5, 5};
    wnd.InvalidateRect(&part);
    wnd.Invalidate();
    wnd.PostMessage(WM_USER);
    platform::PumpOne();
    EXPECT_EQ(wnd.Count(WM_PAINT), 0u) << "posted messages go before painting";
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_PAINT), 1u);
    const auto* native = backend.WindowOf(wnd.m_hWnd);
    ASSERT_NE(native->lastPicture, nullptr);
    EXPECT_EQ(native->lastPicture->Pixel(39, 29), kOpaqueRed)
        << "the whole client area was painted and shown";
}

TEST_F(WindowTest, HiddenAndMinimisedWindowsWaitForPaintUntilSeen) {
    SolidWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"TestPopup", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    wnd.Invalidate();
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_PAINT), 0u);
    wnd.ShowWindow(SW_SHOW);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_PAINT), 1u);
    wnd.ShowWindow(SW_MINIMIZE);
    wnd.Invalidate();
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_PAINT), 1u);
}

TEST_F(WindowTest, ChildPaintsItsPartOfTheParentsPicture) {
    SolidWnd parent;
    SolidWnd child;
    parent.colour = RGB(0, 0, 255);
    ASSERT_TRUE(parent.CreatePopup(RECT{0, 0, 40, 30}));
    PumpUntilIdle();
    ASSERT_TRUE(child.Create(L"Static", L"", WS_CHILD | WS_VISIBLE, RECT{10, 5, 20, 15}, &parent, 1));
    PumpUntilIdle();
    const platform::Bitmap& picture = parent.Picture();
    EXPECT_EQ(picture.Pixel(10, 5), kOpaqueRed) << "the child's top-left corner";
    EXPECT_EQ(picture.Pixel(19, 14), kOpaqueRed) << "the child's bottom-right pixel";
    EXPECT_EQ(picture.Pixel(20, 15), kOpaqueBlue) << "outside the child the parent shows";
    EXPECT_EQ(picture.Pixel(9, 5), kOpaqueBlue);
}

TEST_F(WindowTest, PaintingErasesFirstOnlyWhenAnInvalidationAskedForIt) {
    SolidWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_ERASEBKGND), 1u) << "a newly shown window erases";
    wnd.InvalidateRect(nullptr, FALSE);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_ERASEBKGND), 1u);
    EXPECT_EQ(wnd.Count(WM_PAINT), 2u);
}

TEST_F(WindowTest, WindowThatNeverPaintsIsNotAskedForever) {
    RecordingWnd wnd;  // its WM_PAINT handling is the default
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_PAINT), 1u);
}

TEST_F(WindowTest, LayeredWindowShowsThePictureItIsHanded) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 20, 10}, WS_EX_LAYERED));
    platform::Bitmap picture(30, 15, true);
    picture.Row(0)[0] = 0x80400000;  // half-transparent, premultiplied red
    picture.MarkDirty();
    POINT at{5, 6};
    SIZE size{30, 15};
    EXPECT_TRUE(platform::UpdateLayeredWindow(wnd.m_hWnd, &at, &size, picture));
    const auto* native = backend.WindowOf(wnd.m_hWnd);
    ASSERT_NE(native->lastPicture, nullptr);
    EXPECT_TRUE(native->lastPicture->HasAlpha());
    EXPECT_EQ(native->lastPicture->Pixel(0, 0), 0x80400000u);
    EXPECT_EQ(native->geometry.left, 5);
    EXPECT_EQ(native->geometry.right, 35);

    RecordingWnd plain;
    ASSERT_TRUE(plain.CreatePopup(RECT{0, 0, 20, 10}));
    EXPECT_FALSE(platform::UpdateLayeredWindow(plain.m_hWnd, nullptr, nullptr, picture))
        << "only a layered window takes a picture this way";
}
