#pragma once
// A tooltip control: tools are child windows (by their control id) with a text; the window that owns
// the control relays its input messages to it, and the text of the tool under a resting pointer is
// shown after a short delay and hidden when the pointer leaves or a button goes down.

#include <string>
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/ui/win_messages.h"

class CWnd;

namespace platform {

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr UINT kTooltipDelayMs = 500;
// How often a shown tip checks that the pointer is still over its tool.
constexpr UINT kTooltipWatchMs = 100;

class CToolTipCtrl final {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    BOOL Create(CWnd* parent, DWORD style);
    // Non-null once created, so callers can ask whether the control exists.
    HWND GetSafeHwnd() const { return m_parent; }
    BOOL AddTool(CWnd* tool, const std::wstring& text, const RECT* rect, UINT id);
    void RelayEvent(const MSG* msg);
    void DestroyWindow();

    // The text on show, empty while hidden.
    const std::wstring& ShownText() const { return m_shown; }

private:
    struct Tool {
        HWND hwnd;
        UINT id;
        std::wstring text;
    };
    const Tool* ToolFor(HWND hwnd) const;
    void Hide();
    // Hides the tip once the pointer is no longer over `tool`, also when it went to a window whose
    // messages are not relayed here (another top-level window, another program).
    void WatchPointer(HWND tool);

    HWND m_parent = nullptr;
    std::vector<Tool> m_tools;
    HWND m_pending = nullptr;  // the tool whose text is about to show
    MessageQueue::TaskId m_task = 0;
    MessageQueue::TaskId m_watch = 0;
    std::wstring m_shown;
};

}  // namespace platform
