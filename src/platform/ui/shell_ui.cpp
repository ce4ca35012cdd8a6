// The tray icon, popup menus and message boxes over the backend.
#include "platform/ui/shell_ui.h"

#include <map>
#include <utility>

#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/ui/menu_resource.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/wnd.h"

namespace platform {
namespace {

struct TrayIcon {
    UINT callbackMessage = 0;
    std::wstring tip;
};

std::map<std::pair<HWND, UINT>, TrayIcon>& TrayIcons() {
    static std::map<std::pair<HWND, UINT>, TrayIcon> icons;
    return icons;
}

}  // namespace

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
    auto& icons = TrayIcons();
    const auto key = std::make_pair(data.hWnd, data.uID);
    auto found = icons.find(key);
    switch (message) {
        case NIM_ADD:
            if (found != icons.end() || !IsWindow(data.hWnd)) {
                return FALSE;
            }
            found = icons.emplace(key, TrayIcon{}).first;
            break;
        case NIM_MODIFY:
            if (found == icons.end()) {
                return FALSE;
            }
            break;
        case NIM_DELETE:
            if (found == icons.end()) {
                return FALSE;
            }
            icons.erase(found);
            GetBackend().SetTrayIcon(data.hWnd, data.uID, L"", false);
            return TRUE;
        default:
            return FALSE;
    }
    if ((data.uFlags & NIF_MESSAGE) != 0) {
        found->second.callbackMessage = data.uCallbackMessage;
    }
    if ((data.uFlags & NIF_TIP) != 0) {
        found->second.tip = data.szTip.substr(0, kTrayTipChars - 1);
    }
    if (!GetBackend().SetTrayIcon(data.hWnd, data.uID, found->second.tip, true)) {
        if (message == NIM_ADD) {
            icons.erase(found);
        }
        return FALSE;
    }
    return TRUE;
}

void RemoveAllTrayIcons() {
    for (const auto& [key, icon] : TrayIcons()) {
        GetBackend().SetTrayIcon(key.first, key.second, L"", false);
    }
    TrayIcons().clear();
}

void DeliverTrayClick(HWND hwnd, UINT id, UINT mouseMessage) {
    auto found = TrayIcons().find(std::make_pair(hwnd, id));
    if (found != TrayIcons().end() && found->second.callbackMessage != 0) {
        PostMessage(hwnd, found->second.callbackMessage, id, static_cast<LPARAM>(mouseMessage));
    }
}

bool FindTrayIcon(HWND hwnd, UINT id, std::wstring& tip) {
    auto found = TrayIcons().find(std::make_pair(hwnd, id));
    if (found == TrayIcons().end()) {
        return false;
    }
    tip = found->second.tip;
    return true;
}

bool LoadMenuResource(int id, Menu& menu) {
    ResourceBytes bytes = FindResource("MENU", id);
    if (bytes.empty()) {
        return false;
    }
    std::vector<MenuResourceItem> items;
    std::string error;
    if (!ParseMenuResource(std::string_view(reinterpret_cast<const char*>(bytes.data), bytes.size), items,
                           error)) {
        return false;
    }
    menu.items.clear();
    for (const MenuResourceItem& item : items) {
        menu.items.push_back(
            MenuItem{item.separator ? 0u : static_cast<UINT>(item.id), AnsiToWide(item.ansiText)});
    }
    return true;
}

UINT TrackPopupMenu(const Menu& menu, UINT flags, int x, int y, HWND owner) {
    UINT chosen = GetBackend().TrackPopupMenu(menu.items, POINT{x, y}, owner);
    if ((flags & TPM_RETURNCMD) != 0) {
        return chosen;
    }
    if (chosen != 0) {
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    }
    return chosen != 0 ? TRUE : FALSE;
}

// The backend is handed the owner's top-level window, the one it has a native window for.
int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    CWnd* wnd = IsWindow(owner) ? CWnd::FromHandle(owner) : nullptr;
    return GetBackend().MessageBox(wnd != nullptr ? wnd->GetTopLevel()->m_hWnd : nullptr,
                                   text != nullptr ? text : L"", caption != nullptr ? caption : L"Error",
                                   type);
}

}  // namespace platform
