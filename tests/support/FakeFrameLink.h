#pragma once
// The frame the tests of the views and the windows talk to: it writes each call down as a line and
// answers from its fields. Header only: it is built with the client each test links.

#include <functional>
#include <string>
#include <vector>

#include "browser/FrameLink.h"
#include "platform/base/text.h"

class FakeFrameLink : public FrameLink {
public:
    // "show", "hide", "exit question", "choose", "enter <url>", "leave".
    std::vector<std::string> calls;
    HWND frameWnd = nullptr;
    HWND game = nullptr;
    bool launcher = true;
    // FetchGameUrl's answer, asked anew at each call; empty text when unset.
    std::function<std::wstring(GameUrlReason)> gameUrl;
    int fetches = 0;

    HWND GetFrameWnd() const override { return frameWnd; }
    HWND GetCurrentGameWnd() const override { return game; }
    bool HasLauncher() const override { return launcher; }
    void ShowLauncher(bool show) override { calls.push_back(show ? "show" : "hide"); }
    void ConfirmExit() override { calls.push_back("exit question"); }
    void ShowChoose() override { calls.push_back("choose"); }
    void EnterGame(const std::wstring& url) override {
        calls.push_back("enter " + platform::WideToUtf8(url));
    }
    void LeaveGame() override { calls.push_back("leave"); }
    std::wstring FetchGameUrl(GameUrlReason reason) override {
        ++fetches;
        return gameUrl ? gameUrl(reason) : std::wstring();
    }

    // The addresses EnterGame was given, in order.
    std::vector<std::string> Entered() const {
        std::vector<std::string> urls;
        for (const std::string& call : calls) {
            if (call.rfind("enter ", 0) == 0) {
                urls.push_back(call.substr(6));
            }
        }
        return urls;
    }
};
