#pragma once
// What the layer's own files need of CWnd beyond its public face: class style and picture, the stacking
// of top-level windows, hit-testing children and the steps of a move or resize. Internal to platform/.

#include "platform/ui/wnd.h"

struct WndInternals {
    static UINT ClassStyle(const CWnd& wnd) { return wnd.m_nClassStyle; }
    static platform::Bitmap& Picture(CWnd& wnd) { return wnd.m_picture; }
    // Moves and sizes the window as a move or resize of the layer does, with WM_MOVE and WM_SIZE.
    static void SetRect(CWnd& wnd, const RECT& rect) { wnd.SetRect(rect, true); }
    // Puts a top-level window at `insertAfter` in the stacking, keeps its owned windows above it and
    // the topmost band on top, and tells the backend.
    static void Restack(CWnd& wnd, HWND insertAfter);
    // The deepest visible, enabled child of `wnd` under a point in its client coordinates, else `wnd`.
    static CWnd* ChildAt(CWnd& wnd, POINT client);
    // The default handling of WM_SYSCOMMAND: moves and resizes the layer drives, minimise, maximise,
    // restore and close.
    static void SystemCommand(CWnd& wnd, WPARAM command);
    // Fills the limits a window of this desktop has before the window adjusts them.
    static MINMAXINFO DefaultLimits();
};
