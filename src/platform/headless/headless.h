#pragma once
// The in-memory backend: windows are records of geometry, visibility, stacking and the last picture
// shown; the pointer, keys, tray clicks, menu choices and message-box answers come from the test. Input
// goes through the same routing a desktop backend uses (platform/input.h).

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/input.h"
#include "platform/ui/native.h"

namespace platform::headless {

class HeadlessWindow final : public NativeWindow {
public:
    explicit HeadlessWindow(const NativeWindowParams& params);
    ~HeadlessWindow() override;

    void SetGeometry(const RECT& screen) override { geometry = screen; }
    void SetVisible(bool value) override { visible = value; }
    void SetMinimized(bool value) override { minimized = value; }
    void SetLayered(bool value) override { layered = value; }
    void SetTitle(const std::wstring& text) override { title = text; }
    void SetIcon(int id) override { icon = id; }
    void Present(const Bitmap& picture) override;
    void PlaceAbove(NativeWindow* below) override;
    void Activate() override { ++activations; }
    void SetCursor(int id) override { cursor = id; }
    void PlaceWidget(NativeWidget* widget, const RECT& rect, bool visible) override;
    void RemoveWidget(NativeWidget* widget) override { widgets.erase(widget); }

    NativeWindowParams params;
    RECT geometry{};
    bool visible = false;
    bool minimized = false;
    bool layered = false;
    std::wstring title;
    std::string programIdentity;  // the identity the program had when the window was made
    int icon = 0;
    int cursor = 0;
    int activations = 0;
    int presents = 0;
    const Bitmap* lastPicture = nullptr;  // the picture the window showed last (owned by its CWnd)
    struct WidgetPlace {
        RECT rect;
        bool visible;
    };
    std::map<NativeWidget*, WidgetPlace> widgets;  // the hosted widgets and where they are
};

struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class HeadlessBackend final : public Backend {
public:
    bool Open(std::string& reason) override;
    void SetProgramIdentity(const std::string& identity) override { programIdentity = identity; }
    void WatchTermination(std::function<void()> handler) override {
        m_terminationHandler = std::move(handler);
    }
    void Close() override {
        ++closes;
        trayIcons.clear();
    }
    std::unique_ptr<NativeWindow> CreateWindow(const NativeWindowParams& params) override;
    RECT WorkArea() override { return workArea; }
    bool PointerPosition(POINT&) override { return false; }
    void WaitForEvents(int timeoutMs) override;
    void Wake() override;
    UINT TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) override;
    int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    bool SetTrayIcon(HWND hwnd, UINT id, const std::wstring& tip, bool present) override;
    void ShowTooltip(HWND topLevel, const std::wstring& text, POINT screen) override;
    void HideTooltip() override { tooltip.clear(); }

    HeadlessWindow* WindowOf(HWND hwnd) const;
    // Native windows bottom first, as the desktop would stack them.
    std::vector<HeadlessWindow*> stacking;

    RECT workArea{0, 0, 1920, 1040};
    // Scripted answers, taken in order; an empty script dismisses menus (0) and answers IDCANCEL.
    std::deque<UINT> menuChoices;
    std::deque<int> messageBoxAnswers;
    std::vector<std::vector<MenuItem>> menusShown;
    std::vector<MessageBoxCall> messageBoxes;
    std::map<std::pair<HWND, UINT>, std::wstring> trayIcons;
    bool trayAvailable = true;
    std::wstring tooltip;
    std::string openFailure;  // the reason Open gives when it fails; empty: it succeeds
    std::string programIdentity;
    int closes = 0;

    // What a termination request from outside does: the handler runs; false when none is set.
    bool RequestTermination();
    // Forgets windows' records and scripts (tests).
    void Reset();

private:
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_woken = false;
    std::function<void()> m_terminationHandler;
};

HeadlessBackend& Backend();

// Test input in screen coordinates, through the layer's routing; each returns after the resulting
// messages have been handled.
void MoveMouse(HWND topLevel, POINT screen);
void PressLeft(HWND topLevel, POINT screen);
void ReleaseLeft(HWND topLevel, POINT screen);
void Click(HWND topLevel, POINT screen);
void PressKey(HWND topLevel, UINT virtualKey);
// The same in the client coordinates of any window.
POINT ScreenPoint(HWND hwnd, POINT client);

}  // namespace platform::headless
