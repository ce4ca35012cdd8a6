#pragma once
// The window class every window of the client derives from, shaped after the classic framework window:
// create and destroy, Win32-numbered messages through a virtual WindowProc with per-class handlers
// (OnCreate, OnSize, OnLButtonDown ...), and the usual geometry, show, paint, timer and capture calls.
// Top-level windows get a native window from the backend; child windows are regions of their parent
// that the layer routes input to (a skin button is one), or hosts for a native widget.

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/win_messages.h"

namespace platform {
class Canvas;
class NativeWindow;
struct NativeWidget;
}  // namespace platform

struct WndInternals;

class CWnd {
public:
    CWnd();
    // Destroys the window if it still exists.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd);

    // `parent` is the owner of a top-level window (null or the desktop for none) and the parent of a
    // WS_CHILD window. Returns FALSE when PreCreateWindow or WM_CREATE refuses.
    virtual BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, UINT id, void* param = nullptr);
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being dispatched now.
    LRESULT Default();
    // Sees every queued message (input, posts) of this window and its children before dispatch; TRUE
    // swallows it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Geometry. Windows have no system frame, so the window and client areas are the same rectangle.
    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const { return m_bIconic; }
    BOOL IsZoomed() const { return m_bZoomed; }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop();
    BOOL SetForegroundWindow();
    CWnd* SetFocus();

    // Painting: invalid areas are collected and painted with one WM_PAINT when the queue is idle.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void ValidateRect(const RECT* rect);
    void UpdateWindow();
    // Inside WM_PAINT: a canvas on the window's area of its top-level picture, clipped to it.
    std::unique_ptr<platform::Canvas> BeginPaint();
    void EndPaint();

    // Sends WM_SETICON; returns the icon the window had.
    HICON SetIcon(HICON icon, BOOL big);
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    int GetDlgCtrlID() const { return static_cast<int>(m_nId); }
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevel();
    DWORD GetStyle() const { return m_dwStyle; }
    DWORD GetExStyle() const { return m_dwExStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add);
    BOOL ModifyStyleEx(DWORD remove, DWORD add);
    const std::wstring& GetClassName() const { return m_strClass; }
    // The children, bottom first.
    const std::vector<HWND>& Children() const { return m_children; }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);
    CWnd* SetCapture();

    // The picture of a top-level window, as last painted or handed over by UpdateLayeredWindow.
    const platform::Bitmap& Picture() const { return m_picture; }
    platform::NativeWindow* Native() const { return m_native.get(); }
    // A child window can host a native widget (the browser view): it is kept at the child's place and
    // shown while the child is visible. Null takes it out again.
    void HostNativeWidget(platform::NativeWidget* widget);
    platform::NativeWidget* HostedWidget() const { return m_pHostedWidget; }

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // After the window is gone; the object itself is not deleted.
    virtual void PostNcDestroy();

    // Handlers the dispatch of WindowProc calls; each defaults to the default handling.
    virtual int OnCreate(CREATESTRUCT* cs);
    virtual void OnDestroy();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(platform::Canvas* canvas);
    virtual void OnClose();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnLButtonUp(UINT flags, POINT point);
    virtual void OnLButtonDblClk(UINT flags, POINT point);
    virtual void OnRButtonDown(UINT flags, POINT point);
    virtual void OnRButtonUp(UINT flags, POINT point);
    virtual void OnMouseHover(UINT flags, POINT point);
    virtual void OnMouseLeave();
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);

private:
    friend struct WndInternals;

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ButtonProc(UINT message, WPARAM wParam, LPARAM lParam);
    void SetRect(const RECT& rect, bool repaint);
    void SetVisibleFlag(bool visible);
    void Maximize();
    void Minimize();
    void Restore();
    // Asks the native window to be minimised or not, which the desktop's next reports will echo.
    void SetNativeMinimized(bool minimized);
    void DestroyTree();
    // Tells the native window where the hosted widgets of its tree are now.
    void PlaceHostedWidgets();

    // The message being dispatched, for Default().
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<CurrentMessage> m_dispatching;

    std::wstring m_strClass;
    std::wstring m_strText;
    UINT m_nClassStyle = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    UINT m_nId = 0;
    HWND m_hParent = nullptr;
    HWND m_hOwner = nullptr;
    std::vector<HWND> m_children;
    RECT m_rect{};         // screen for a top-level window, parent client coordinates for a child
    RECT m_restoreRect{};  // the normal rectangle of a maximised or minimised window
    BOOL m_bIconic = FALSE;
    BOOL m_bZoomed = FALSE;
    BOOL m_bWasZoomed = FALSE;  // maximised before it was minimised
    BOOL m_bTopmost = FALSE;
    bool m_painting = false;
    bool m_destroying = false;
    std::unique_ptr<platform::NativeWindow> m_native;
    platform::NativeWidget* m_pHostedWidget = nullptr;  // owned by whoever created it
    platform::Bitmap m_picture;
    bool m_buttonPressed = false;  // the standard push button's own state
    HICON m_hIconBig = nullptr;
    HICON m_hIconSmall = nullptr;
};
