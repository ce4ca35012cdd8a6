#pragma once
// The desktop backend: the native interface of the window layer on GTK 3 and GDK under X11. One
// instance per process, created on first use; Open connects to the display.

#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/native.h"

namespace platform::gtk {

class GtkBackend final : public Backend {
public:
    bool Open(std::string& reason) override;
    void SetProgramIdentity(const std::string& identity) override;
    void WatchTermination(std::function<void()> handler) override;
    void Close() override;
    std::unique_ptr<NativeWindow> CreateWindow(const NativeWindowParams& params) override;
    RECT WorkArea() override;
    bool PointerPosition(POINT& screen) override;
    void WaitForEvents(int timeoutMs) override;
    void Wake() override;
    UINT TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) override;
    int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    bool SetTrayIcon(HWND hwnd, UINT id, const std::wstring& tip, bool present) override;
    void ShowTooltip(HWND topLevel, const std::wstring& text, POINT screen) override;
    void HideTooltip() override;

    // What is on screen now, for tests that drive the desktop: the popup menu or message box being run
    // (null when none) and the tray icon of a window.
    GtkWidget* ActiveMenu() const { return m_activeMenu; }
    GtkWidget* ActiveDialog() const { return m_activeDialog; }
    GtkStatusIcon* TrayIcon(HWND hwnd, UINT id) const;

    // The button press that asked for the next popup menu (GTK needs one to grab the pointer). Kept
    // until replaced.
    void KeepTriggerEvent(const GdkEvent* event);
    // A request from outside to end arrived: the program's handler runs.
    void HandleTerminationRequest();

private:
    void RemoveTrayIcons();

    bool m_open = false;
    GtkWidget* m_activeMenu = nullptr;
    GtkWidget* m_activeDialog = nullptr;
    GtkWidget* m_tooltip = nullptr;
    GtkWidget* m_tooltipLabel = nullptr;
    std::map<std::pair<HWND, UINT>, GtkStatusIcon*> m_trayIcons;
    GdkEvent* m_trigger = nullptr;
    std::function<void()> m_terminationHandler;
    std::vector<guint> m_signalSources;
};

GtkBackend& Backend();

// The GtkWindow of a top-level window, or null.
GtkWidget* GtkWindowOf(HWND hwnd);

}  // namespace platform::gtk
