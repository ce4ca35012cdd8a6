#pragma once
// The free functions of the window layer, named and shaped as the client's window code expects them.

#include <string>

#include "platform/ui/win_messages.h"

namespace platform {

class Bitmap;

BOOL IsWindow(HWND hwnd);
// Any thread; dropped (FALSE) for a null or destroyed window.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// UI thread; 0 for a window that does not exist.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Registers a window class by name (class style and cursor); later registrations replace earlier ones.
void RegisterWindowClass(const std::wstring& name, UINT style, int cursorId = IDC_ARROW);

HWND GetCapture();
BOOL ReleaseCapture();
HWND GetFocus();
HWND GetForegroundWindow();
BOOL GetCursorPos(POINT* point);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);

// An ICON resource of the program; null when there is none.
HICON LoadIcon(int resourceId);
int IconResourceId(HICON icon);

HCURSOR LoadCursor(int cursorId);
// The cursor shown while the pointer is over the window it was set for.
HCURSOR SetCursor(HCURSOR cursor);
int CurrentCursorId();

// The desktop minus panels and docks, in screen coordinates.
BOOL GetWorkArea(RECT* area);

// Hands a layered window its whole picture (per-pixel alpha, premultiplied) at a screen position.
BOOL UpdateLayeredWindow(HWND hwnd, const POINT* position, const SIZE* size, const Bitmap& picture);

UINT GetDoubleClickTime();

}  // namespace platform
