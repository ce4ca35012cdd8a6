// Moves and resizes the layer drives on real windows, with and without a window manager, and a click on
// a push button.
#include <algorithm>
#include <optional>
#include <string>

#include "DesktopProgram.h"
#include "GtkFixture.h"
#include "Xdotool.h"

namespace {

constexpr UINT kButtonId = 7;

// Starts a move of the layer when pressed, and keeps its owned panel right below it as it moves.
class DraggedWnd final : public ColourWnd {
public:
    ColourWnd* panel = nullptr;

protected:
    void OnLButtonDown(UINT, POINT) override { SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); }
    void OnMove(int, int) override {
        if (panel != nullptr && panel->m_hWnd != nullptr) {
            RECT rect{};
            GetWindowRect(&rect);
            panel->SetWindowPos(nullptr, rect.left, rect.bottom + 10, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
};

// Resizes from its right edge, no narrower than 200 and no lower than 120 pixels.
class SizedWnd final : public ColourWnd {
protected:
    void OnLButtonDown(UINT, POINT) override { SendMessage(WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0); }
    void OnGetMinMaxInfo(MINMAXINFO* info) override { info->ptMinTrackSize = POINT{200, 120}; }
};

std::string Text(int value) {
    return std::to_string(value);
}

// Index of a window in the stacking, -1 when absent.
int StackIndex(unsigned long window) {
    std::vector<unsigned long> order = StackingOrder();
    auto found = std::find(order.begin(), order.end(), window);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

class GtkDragTest : public GtkTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GtkTest::SetUp();
        if (GetParam()) {
            manager.emplace(DesktopProgram::WindowManager());
        }
    }
    std::optional<DesktopProgram> manager;
};

}  // namespace

TEST_P(GtkDragTest, ADragMovesTheWindowAndItsOwnedPanelFollows) {
    DraggedWnd owner;
    ASSERT_TRUE(owner.CreateTop(RECT{100, 100, 400, 300}));
    ColourWnd panel(RGB(240, 200, 40));
    owner.panel = &panel;
    ASSERT_TRUE(panel.CreateTop(RECT{100, 310, 400, 400}, 0, owner.m_hWnd));
    ASSERT_TRUE(ShowsColour(200, 200, Rgb(RGB(200, 40, 40))));
    ASSERT_TRUE(ShowsColour(200, 350, Rgb(RGB(240, 200, 40))));

    auto drag = Xdotool::Start({"mousemove", "200", "200",       "sleep", "0.2", "mousedown", "1",
                                "sleep",     "0.2", "mousemove", "260",   "240", "sleep",     "0.2",
                                "mousemove", "330", "290",       "sleep", "0.3", "mouseup",   "1"});
    ASSERT_TRUE(drag->Wait(std::chrono::seconds(10), Turn)) << drag->Errors();
    const WindowRect moved{230, 190, 300, 200};
    const WindowRect followed{230, 400, 300, 90};
    EXPECT_TRUE(TurnUntil([&] { return WindowGeometry(owner.Xid()) == moved; }))
        << "the window is at " << WindowGeometry(owner.Xid()).value_or(WindowRect{});
    EXPECT_EQ(owner.LayerRect(), moved);
    EXPECT_TRUE(TurnUntil([&] { return WindowGeometry(panel.Xid()) == followed; }))
        << "the panel is at " << WindowGeometry(panel.Xid()).value_or(WindowRect{});
    EXPECT_GT(StackIndex(panel.Xid()), StackIndex(owner.Xid())) << "the owned panel went below its owner";
    EXPECT_TRUE(ShowsColour(240, 200, Rgb(RGB(200, 40, 40)))) << "the window's picture at its new place";
}

TEST_P(GtkDragTest, AResizeFromTheRightEdgeStopsAtTheMinimumTrackingSize) {
    SizedWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 500, 300}));
    ASSERT_TRUE(ShowsColour(495, 200, Rgb(RGB(200, 40, 40))));
    auto drag = Xdotool::Start({"mousemove", "495", "200",       "sleep", "0.2", "mousedown", "1",
                                "sleep",     "0.2", "mousemove", "400",   "205", "sleep",     "0.2",
                                "mousemove", "150", "210",       "sleep", "0.3", "mouseup",   "1"});
    ASSERT_TRUE(drag->Wait(std::chrono::seconds(10), Turn)) << drag->Errors();
    const WindowRect narrowest{100, 100, 200, 200};
    EXPECT_TRUE(TurnUntil([&] { return WindowGeometry(window.Xid()) == narrowest; }))
        << "the window is at " << WindowGeometry(window.Xid()).value_or(WindowRect{});
    EXPECT_EQ(window.LayerRect(), narrowest);
    EXPECT_FALSE(window.Of(WM_SIZE).empty());
}

TEST_P(GtkDragTest, AClickOnAChildButtonIsReportedToItsParent) {
    ColourWnd window;
    ASSERT_TRUE(window.CreateTop(RECT{100, 100, 400, 300}));
    CWnd button;
    ASSERT_TRUE(
        button.Create(L"Button", L"OK", WS_CHILD | WS_VISIBLE, RECT{50, 50, 150, 90}, &window, kButtonId));
    ASSERT_TRUE(ShowsColour(120, 120, Rgb(RGB(200, 40, 40))));
    auto click = Xdotool::Start({"mousemove", Text(100 + 100), Text(100 + 70), "sleep", "0.2", "click", "1"});
    ASSERT_TRUE(click->Wait(std::chrono::seconds(10), Turn)) << click->Errors();
    ASSERT_TRUE(TurnUntil([&] { return !window.Of(WM_COMMAND).empty(); })) << [&] {
        std::string all;
        for (const Seen& s : window.seen)
            all += std::to_string(s.message) + " ";
        return all;
    }();
    Seen command = window.Of(WM_COMMAND)[0];
    EXPECT_EQ(LOWORD(command.wParam), kButtonId);
    EXPECT_EQ(HIWORD(command.wParam), BN_CLICKED);
    EXPECT_EQ(reinterpret_cast<HWND>(command.lParam), button.m_hWnd);
}

INSTANTIATE_TEST_SUITE_P(Desktop, GtkDragTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& withManager) {
                             return withManager.param ? "WithWindowManager" : "WithoutWindowManager";
                         });
