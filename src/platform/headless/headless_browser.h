#pragma once
// The browser control of the headless backend: no engine, a page that tests script. It reports what a
// navigation does in the order the desktop control does: before-navigate (which may cancel), then
// navigate-complete and document-complete, on a later turn of the loop for the client's own navigations,
// as a real engine loads asynchronously.

#include <string>
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/web/browser.h"

namespace platform::headless {

class ScriptedBrowser final : public BrowserControl {
public:
    explicit ScriptedBrowser(BrowserEvents& events);
    ~ScriptedBrowser() override;
    ScriptedBrowser(const ScriptedBrowser&) = delete;
    ScriptedBrowser& operator=(const ScriptedBrowser&) = delete;

    NativeWidget* Widget() override;
    void Navigate(const std::wstring& url) override;
    void Refresh() override;
    std::wstring LocationUrl() const override { return m_location; }
    void SetSilent(bool value) override { silent = value; }
    void AddExternalMethod(const std::wstring& name, ExternalMethod method) override;

    // What a page does, at once: follow a link (or set location.href), ask for a new window, change its
    // title.
    void FollowLink(const std::wstring& url);
    void OpenWindow(const std::wstring& url);
    void SetTitle(const std::wstring& title);
    // What window.external.NAME(args) does in a page: false when the call would throw there.
    bool CallExternal(const std::wstring& name, const std::vector<ExternalValue>& args,
                      ExternalValue& result) const;

    std::vector<std::wstring> loaded;           // every page that loaded, in order
    std::vector<std::wstring> openedElsewhere;  // new windows nobody refused
    bool silent = false;

private:
    void Load(const std::wstring& url);

    BrowserEvents& m_events;
    ExternalObject m_external;
    std::wstring m_location;
    std::vector<MessageQueue::TaskId> m_pending;
};

// The control made last and still alive; null when there is none.
ScriptedBrowser* LastBrowser();

// The domain texts RemoveCachedSiteData was asked for, in order; tests clear it.
std::vector<std::wstring>& RemovedSiteData();
// Whether removals answer at all; tests set it false to play an engine that never does.
bool& SiteDataRemovalsAnswer();

}  // namespace platform::headless
