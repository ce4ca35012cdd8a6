#pragma once
// The client's own window messages, numbered from WM_USER + 100, shared by the frame, the windows and
// the browser view.

#include "platform/ui/win_messages.h"

// The tray icon's callback to the frame: wParam the icon id, lParam the mouse message.
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 100;
// Posted by the download thread to the frame, lParam the request id: the version document's request
// ended, its signature's, and the installer's.
constexpr UINT WM_VERSION_READY = WM_USER + 102;
constexpr UINT WM_SIGNATURE_READY = WM_USER + 103;
constexpr UINT WM_INSTALLER_READY = WM_USER + 104;
// Sent by a browser view to its host window, lParam the new title (const wchar_t*).
constexpr UINT WM_VIEW_TITLE = WM_USER + 105;
// Sent to the current game window while a page's call runs: lParam the server's name (const wchar_t*,
// valid during the call), and a new message for the player.
constexpr UINT WM_GS_NAME = WM_USER + 106;
constexpr UINT WM_NEW_MSG = WM_USER + 107;
// Posted to the frame once the sentinel page is complete in the current game window.
constexpr UINT WM_GAME_CLOSED = WM_USER + 108;
