#pragma once
// What the browser view (and the windows) need of the frame and its launcher, so that they depend on
// nothing above them. The frame implements it; one process-wide link, which tests replace with their own.

#include <string>

#include "platform/ui/win_messages.h"

// What a game URL is asked for; the user-info service receives the number.
enum class GameUrlReason { Start = 0, Reload = 1 };

class FrameLink {
public:
    virtual ~FrameLink() = default;

    virtual HWND GetFrameWnd() const = 0;
    // The game window, else the retired one whose page is unloading, else null.
    virtual HWND GetCurrentGameWnd() const = 0;

    virtual bool HasLauncher() const = 0;
    // With false: hides the launcher and its browser popup.
    virtual void ShowLauncher(bool bShow) = 0;
    // The launcher's exit question; on OK it hides and the frame is asked to exit.
    virtual void ConfirmExit() = 0;
    // Shows the launcher's "choose" element.
    virtual void ShowChoose() = 0;

    // Hides the launcher, and loads `url` in the game window, made or reused, and shows it.
    virtual void EnterGame(const std::wstring& url) = 0;
    // Retires the game window, then ends the client or shows the launcher again.
    virtual void LeaveGame() = 0;
    // The signed game URL; empty when it cannot be had.
    virtual std::wstring FetchGameUrl(GameUrlReason nMode) = 0;
};

// The link in use; null when there is none (nothing then reaches a frame).
FrameLink* GetFrameLink();
// Sets the link (null to clear); the caller keeps it alive while it is set.
void SetFrameLink(FrameLink* link);
