// The scripted browser control of the headless backend.
#include "platform/headless/headless_browser.h"

#include <utility>

namespace platform::headless {
namespace {

ScriptedBrowser*& Last() {
    static ScriptedBrowser* last = nullptr;
    return last;
}

}  // namespace

ScriptedBrowser* LastBrowser() {
    return Last();
}

std::vector<std::wstring>& RemovedSiteData() {
    static std::vector<std::wstring> removed;
    return removed;
}

bool& SiteDataRemovalsAnswer() {
    static bool answer = true;
    return answer;
}

ScriptedBrowser::ScriptedBrowser(BrowserEvents& events) : m_events(events) {
    Last() = this;
}

ScriptedBrowser::~ScriptedBrowser() {
    for (MessageQueue::TaskId task : m_pending) {
        MessageQueue::Instance().Cancel(task);
    }
    if (Last() == this) {
        Last() = nullptr;
    }
}

NativeWidget* ScriptedBrowser::Widget() {
    return reinterpret_cast<NativeWidget*>(this);
}

void ScriptedBrowser::Navigate(const std::wstring& url) {
    m_pending.push_back(MessageQueue::Instance().Schedule(0, [this, url] { Load(url); }));
}

void ScriptedBrowser::Refresh() {
    if (!m_location.empty()) {
        Navigate(m_location);
    }
}

void ScriptedBrowser::FollowLink(const std::wstring& url) {
    Load(url);
}

void ScriptedBrowser::OpenWindow(const std::wstring& url) {
    bool cancel = false;
    m_events.OnNewWindow(url, cancel);
    if (!cancel) {
        openedElsewhere.push_back(url);
    }
}

void ScriptedBrowser::SetTitle(const std::wstring& title) {
    m_events.OnTitleChange(title);
}

void ScriptedBrowser::AddExternalMethod(const std::wstring& name, ExternalMethod method) {
    m_external.Add(name, std::move(method));
}

bool ScriptedBrowser::CallExternal(const std::wstring& name, const std::vector<ExternalValue>& args,
                                   ExternalValue& result) const {
    return m_external.Call(name, args, result);
}

void ScriptedBrowser::Load(const std::wstring& url) {
    bool cancel = false;
    m_events.OnBeforeNavigate(url, cancel);
    if (cancel) {
        return;
    }
    m_location = url;
    loaded.push_back(url);
    m_events.OnNavigateComplete(url);
    m_events.OnDocumentComplete(url);
}

}  // namespace platform::headless

namespace platform {

std::unique_ptr<BrowserControl> CreateBrowserControl(BrowserEvents& events) {
    return std::make_unique<headless::ScriptedBrowser>(events);
}

void RemoveCachedSiteData(const std::wstring& domainText, std::function<void()> done) {
    headless::RemovedSiteData().push_back(domainText);
    if (!headless::SiteDataRemovalsAnswer()) {
        return;
    }
    // The engine answers on a later turn of the loop; so does this.
    MessageQueue::Instance().Schedule(0, [done = std::move(done)] {
        if (done) {
            done();
        }
    });
}

}  // namespace platform
