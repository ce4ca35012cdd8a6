#pragma once
// The desktop's small interface pieces around the windows: the notification-area icon, popup menus,
// message boxes and tooltips, shaped as the client's window code calls them.

#include <string>
#include <vector>

#include "platform/ui/native.h"
#include "platform/ui/win_messages.h"

namespace platform {

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;
constexpr size_t kTrayTipChars = 128;  // including the terminating zero, as the record holds it

struct NOTIFYICONDATA {
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    std::wstring szTip;  // cut to 127 characters
};

// Adds, changes or removes the icon. Clicks reach the window as its callback message with the icon id
// in wParam and the mouse message (WM_LBUTTONDOWN, WM_RBUTTONDOWN) in lParam.
BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data);
// Removes every icon still present (the program's end).
void RemoveAllTrayIcons();
// Backends report a click on the icon with this.
void DeliverTrayClick(HWND hwnd, UINT id, UINT mouseMessage);
// The tip of a present icon, empty when there is none (tests, backends).
bool FindTrayIcon(HWND hwnd, UINT id, std::wstring& tip);

// A popup menu: items in order, id 0 for a separator.
struct Menu {
    std::vector<MenuItem> items;
};
// The MENU resource as a popup menu; false when it is missing or malformed.
bool LoadMenuResource(int id, Menu& menu);
// With TPM_RETURNCMD the chosen id is returned (0 when dismissed); without, a choice is posted to the
// owner as WM_COMMAND and the result says whether there was one.
UINT TrackPopupMenu(const Menu& menu, UINT flags, int x, int y, HWND owner);

// MB_OK or MB_OKCANCEL with an icon and default-button flag (MB_SYSTEMMODAL is how every box of the
// layer behaves: above all the program's windows, taking their input); a null caption shows "Error", as the
// desktop's default. Returns IDOK or IDCANCEL; 0 when no box could be shown.
int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

}  // namespace platform
