// Top-level windows on a real X server: where they appear and what they show, per-pixel alpha with a
// compositor, a hosted native widget, maximise and minimise, keys and the desktop's close request.

#include <gtk/gtk.h>

#include "DesktopProgram.h"
#include "GtkFixture.h"
#include "Xdotool.h"
#include "platform/base/resources.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/png.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/gtk/gtk_icon.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"

#include <thread>

namespace {

constexpr COLORREF kBehind = RGB(30, 160, 60);
constexpr uint32_t kLayerBlue = 0x2050C0;
constexpr int kCorner = 40;

// 200x150, blue, fully transparent in a kCorner square at its top left.
platform::Bitmap CornerPicture() {
    platform::Bitmap picture(200, 150, true);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            picture.Row(y)[x] = x < kCorner && y < kCorner ? 0u : 0xFF000000u | kLayerBlue;
        }
    }
    picture.MarkDirty();
    return picture;
}

gboolean PaintRed(GtkWidget*, cairo_t* cr, gpointer) {
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    return TRUE;
}

}  // namespace

TEST_F(GtkTest, LayeredAndOpaqueWindowsShowTheirPixelsWhereTheLayerPutsThem) {
    DesktopProgram compositor = DesktopProgram::Compositor();
    SetRootBackground(0x808080);
    ColourWnd behind(kBehind);
    ASSERT_TRUE(behind.CreateTop(RECT{100, 100, 400, 350}));
    ColourWnd layered;
    ASSERT_TRUE(layered.CreateTop(RECT{150, 150, 350, 300}, WS_EX_LAYERED));
    ASSERT_TRUE(platform::UpdateLayeredWindow(layered.m_hWnd, nullptr, nullptr, CornerPicture()));

    EXPECT_TRUE(ShowsColour(100, 100, Rgb(kBehind))) << "the opaque window's top-left pixel";
    EXPECT_TRUE(ShowsColour(399, 349, Rgb(kBehind))) << "its bottom-right pixel";
    EXPECT_TRUE(ShowsColour(400, 349, 0x808080)) << "just right of it: the desktop";
    EXPECT_TRUE(ShowsColour(250, 250, kLayerBlue)) << "the layered window's picture, above the other";
    EXPECT_TRUE(ShowsColour(160, 160, Rgb(kBehind))) << "its transparent corner shows the window behind";
    EXPECT_TRUE(ShowsColour(150 + kCorner, 160, kLayerBlue)) << "just right of the corner";
    EXPECT_EQ(WindowGeometry(layered.Xid()), (WindowRect{150, 150, 200, 150}));
    EXPECT_EQ(WindowGeometry(behind.Xid()), (WindowRect{100, 100, 300, 250}));
}

TEST_F(GtkTest, PerPixelAlphaFollowsTheLayeredStyleSwitchedAfterCreation) {
    DesktopProgram compositor = DesktopProgram::Compositor();
    SetRootBackground(0x808080);
    ColourWnd behind(kBehind);
    ASSERT_TRUE(behind.CreateTop(RECT{100, 100, 400, 350}));
    ColourWnd window(RGB(200, 40, 40));
    ASSERT_TRUE(window.CreateTop(RECT{150, 150, 350, 300}));
    ASSERT_TRUE(ShowsColour(160, 160, 0xC82828)) << "opaque as made";
    auto depth = [&] {
        return gdk_visual_get_depth(
            gdk_window_get_visual(gtk_widget_get_window(platform::gtk::GtkWindowOf(window.m_hWnd))));
    };

    window.ModifyStyleEx(0, WS_EX_LAYERED);
    EXPECT_EQ(depth(), 32);
    ASSERT_TRUE(platform::UpdateLayeredWindow(window.m_hWnd, nullptr, nullptr, CornerPicture()));
    EXPECT_TRUE(ShowsColour(160, 160, Rgb(kBehind))) << "the transparent corner shows the window behind";
    EXPECT_TRUE(ShowsColour(250, 250, kLayerBlue));
    EXPECT_TRUE(IsShownByServer(window.Xid()));

    window.ModifyStyleEx(WS_EX_LAYERED, 0);
    EXPECT_EQ(depth(), 24);
    window.Invalidate();
    EXPECT_TRUE(ShowsColour(160, 160, 0xC82828)) << "opaque again, painted";
}

TEST_F(GtkTest, TaskbarPresenceFollowsTheWindowsRules) {
    ColourWnd plain;
    ColourWnd owned;
    ColourWnd ownedApp;
    ColourWnd tool;
    ASSERT_TRUE(plain.CreateTop(RECT{10, 10, 60, 60}));
    ASSERT_TRUE(owned.CreateTop(RECT{70, 10, 120, 60}, 0, plain.m_hWnd));
    ASSERT_TRUE(ownedApp.CreateTop(RECT{130, 10, 180, 60}, WS_EX_APPWINDOW, plain.m_hWnd));
    ASSERT_TRUE(tool.CreateTop(RECT{190, 10, 240, 60}, WS_EX_TOOLWINDOW));
    auto inTaskbar = [](const ColourWnd& wnd) {
        return gtk_window_get_skip_taskbar_hint(GTK_WINDOW(platform::gtk::GtkWindowOf(wnd.m_hWnd))) == FALSE;
    };
    EXPECT_TRUE(inTaskbar(plain)) << "a window without owner";
    EXPECT_FALSE(inTaskbar(owned)) << "an owned window";
    EXPECT_TRUE(inTaskbar(ownedApp)) << "an owned window that asks to be there";
    EXPECT_FALSE(inTaskbar(tool)) << "a tool window";
}

TEST_F(GtkTest, AHostedWidgetShowsAtItsChildsPlaceAndFollowsIt) {
    platform::RegisterWindowClass(L"Host", 0);
    ColourWnd top(RGB(0, 0, 255));
    ASSERT_TRUE(top.CreateTop(RECT{50, 50, 450, 350}));
    CWnd host;
    ASSERT_TRUE(host.Create(L"Host", L"", WS_CHILD | WS_VISIBLE, RECT{20, 30, 120, 90}, &top, 1));
    GtkWidget* area = gtk_drawing_area_new();
    g_object_ref_sink(area);
    g_signal_connect(area, "draw", G_CALLBACK(PaintRed), nullptr);
    host.HostNativeWidget(reinterpret_cast<platform::NativeWidget*>(area));

    EXPECT_TRUE(ShowsColour(50 + 20, 50 + 30, 0xFF0000)) << "the widget's top-left corner";
    EXPECT_TRUE(ShowsColour(50 + 119, 50 + 89, 0xFF0000)) << "its bottom-right corner";
    EXPECT_TRUE(ShowsColour(50 + 120, 50 + 89, 0x0000FF)) << "the window's own picture beside it";

    host.MoveWindow(200, 150, 150, 100);
    EXPECT_TRUE(ShowsColour(50 + 349, 50 + 249, 0xFF0000)) << "moved and sized with its child";
    EXPECT_TRUE(ShowsColour(50 + 20, 50 + 30, 0x0000FF)) << "gone from the old place";
    host.ShowWindow(SW_HIDE);
    EXPECT_TRUE(ShowsColour(50 + 300, 50 + 200, 0x0000FF)) << "hidden with its child";

    host.DestroyWindow();
    EXPECT_EQ(gtk_widget_get_parent(area), nullptr) << "the window let go of the widget";
    g_object_unref(area);
}

TEST_F(GtkTest, MaximiseFillsTheWorkAreaAndRestoreComesBack) {
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 120, 500, 420}));
    RECT work{};
    platform::GetWorkArea(&work);
    EXPECT_EQ(work.right - work.left, 1280);

    window.ShowWindow(SW_SHOWMAXIMIZED);
    WindowRect full{work.left, work.top, work.right - work.left, work.bottom - work.top};
    EXPECT_TRUE(TurnUntil([&] { return WindowGeometry(window.Xid()) == full; }))
        << WindowGeometry(window.Xid()).value_or(WindowRect{});
    window.ShowWindow(SW_RESTORE);
    EXPECT_TRUE(TurnUntil([&] {
        return WindowGeometry(window.Xid()) == (WindowRect{100, 120, 400, 300});
    })) << WindowGeometry(window.Xid()).value_or(WindowRect{});
}

TEST_F(GtkTest, MinimiseIconifiesUnderAWindowManagerAndRestoreMapsAgain) {
    DesktopProgram manager = DesktopProgram::WindowManager();
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 120, 500, 420}));
    GdkWindow* native = gtk_widget_get_window(platform::gtk::GtkWindowOf(window.m_hWnd));
    // Until the window manager has mapped the window, a minimise can cross the map on its way.
    ASSERT_TRUE(TurnUntil([&] { return IsShownByServer(window.Xid()); }));

    window.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(TurnUntil([&] { return (gdk_window_get_state(native) & GDK_WINDOW_STATE_ICONIFIED) != 0; }));
    window.ShowWindow(SW_RESTORE);
    EXPECT_TRUE(TurnUntil([&] {
        return (gdk_window_get_state(native) & GDK_WINDOW_STATE_ICONIFIED) == 0 &&
               IsShownByServer(window.Xid());
    }));
    EXPECT_TRUE(TurnUntil([&] {
        return WindowGeometry(window.Xid()) == (WindowRect{100, 120, 400, 300});
    })) << WindowGeometry(window.Xid()).value_or(WindowRect{});
}

TEST_F(GtkTest, TheLayerHearsOfAMinimiseAndRestoreTheWindowManagerDid) {
    DesktopProgram manager = DesktopProgram::WindowManager();
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 120, 500, 420}));
    // Until the window manager has mapped the window, a minimise can cross the map on its way.
    ASSERT_TRUE(TurnUntil([&] { return IsShownByServer(window.Xid()); }));
    const std::string xid = std::to_string(window.Xid());

    auto minimise = Xdotool::Start({"windowminimize", xid});
    ASSERT_TRUE(minimise->Wait(std::chrono::seconds(5), Turn)) << minimise->Errors();
    EXPECT_TRUE(TurnUntil([&] { return window.IsIconic() != FALSE; })) << "the taskbar's minimise was missed";
    auto activate = Xdotool::Start({"windowactivate", xid});
    ASSERT_TRUE(activate->Wait(std::chrono::seconds(5), Turn)) << activate->Errors();
    EXPECT_TRUE(TurnUntil([&] { return window.IsIconic() == FALSE; })) << "the taskbar's restore was missed";
    std::vector<Seen> commands = window.Of(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, SC_MINIMIZE);
    EXPECT_EQ(commands[1].wParam, SC_RESTORE);
}

TEST_F(GtkTest, KeysReachTheFocusedWindowAsVirtualKeys) {
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    ASSERT_TRUE(ShowsColour(150, 150, Rgb(RGB(200, 40, 40))));
    window.SetForegroundWindow();
    auto typing = Xdotool::Start({"key", "--delay", "50", "a", "F5", "Return"});
    ASSERT_TRUE(typing->Wait(std::chrono::seconds(5), Turn));
    ASSERT_TRUE(TurnUntil([&] { return window.Of(WM_KEYDOWN).size() >= 3; })) << window.Of(WM_KEYDOWN).size();
    std::vector<Seen> keys = window.Of(WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>(VK_F5));
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>(VK_RETURN));
}

TEST_F(GtkTest, APostFromAnotherThreadWakesTheSleepingLoop) {
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    ASSERT_TRUE(TurnUntil([&] { return !window.Of(WM_PAINT).empty(); }));
    // Only a wake-up ends the wait early: the loop has nothing else to do for the next five seconds.
    auto limit = platform::MessageQueue::Instance().Schedule(5000, [] {});
    const auto start = std::chrono::steady_clock::now();
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        platform::PostMessage(window.m_hWnd, WM_USER + 9, 0, 0);
    });
    platform::RunModalLoop([&] { return !window.Of(WM_USER + 9).empty(); });
    const auto waited = std::chrono::steady_clock::now() - start;
    poster.join();
    platform::MessageQueue::Instance().Cancel(limit);
    EXPECT_LT(waited, std::chrono::seconds(3)) << "the post waited for the loop's next reason to wake";
}

TEST_F(GtkTest, TheProgramIconIsEveryWindowsDefault) {
    GList* icons = gtk_window_get_default_icon_list();
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(GDK_PIXBUF(icons->data)), 64) << "the ICON resource of the build";
    g_list_free(icons);
}

TEST_F(GtkTest, ADamagedOrMissingIconLeavesTheWindowOnTheDefault) {
    EXPECT_EQ(platform::gtk::LoadIconPixbuf(129), nullptr) << "a PNG cut off halfway";
    EXPECT_EQ(platform::gtk::LoadIconPixbuf(404), nullptr) << "no such resource";
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    GtkWindow* native = GTK_WINDOW(platform::gtk::GtkWindowOf(window.m_hWnd));
    window.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(platform::LoadIcon(129)));
    EXPECT_EQ(gtk_window_get_icon(native), nullptr);
    window.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(platform::LoadIcon(128)));
    GdkPixbuf* icon = gtk_window_get_icon(native);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(icon), 64);

    // The colours arrive in GDK's byte order: the middle pixel as the PNG has it.
    platform::ResourceBytes bytes = platform::FindResource("ICON", 128);
    platform::Bitmap decoded;
    ASSERT_TRUE(platform::DecodePng(bytes.data, bytes.size, decoded));
    const std::uint32_t expected = decoded.Pixel(32, 32);
    const guchar* middle = gdk_pixbuf_get_pixels(icon) + 32 * gdk_pixbuf_get_rowstride(icon) + 32 * 4;
    EXPECT_EQ(middle[0], (expected >> 16) & 0xFF);
    EXPECT_EQ(middle[1], (expected >> 8) & 0xFF);
    EXPECT_EQ(middle[2], expected & 0xFF);
    EXPECT_EQ(middle[3], decoded.HasAlpha() ? expected >> 24 : 255u);
}

TEST_F(GtkTest, TheDesktopsCloseRequestReachesTheWindowAsClose) {
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 300, 300}));
    GdkWindow* native = gtk_widget_get_window(platform::gtk::GtkWindowOf(window.m_hWnd));
    GdkEvent* request = gdk_event_new(GDK_DELETE);
    request->any.window = GDK_WINDOW(g_object_ref(native));
    request->any.send_event = TRUE;
    gtk_main_do_event(request);
    gdk_event_free(request);

    EXPECT_TRUE(TurnUntil([&] { return !window.Of(WM_CLOSE).empty(); }));
    EXPECT_EQ(window.m_hWnd, nullptr) << "closed the default way: destroyed";
}
