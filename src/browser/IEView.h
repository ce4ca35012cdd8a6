#pragma once
// The client's browser pane: a child window hosting the platform's browser control, which loads URLs and
// turns what pages do into client actions. Pages steer the client with app:// links and with calls on
// window.external; the view recognises game URLs by the configured marker and hands them to the frame.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/wnd.h"
#include "platform/web/browser.h"

class CDocHostSite;

class CIEView : public CWnd, public platform::BrowserEvents {
public:
    static constexpr UINT kViewId = 131;
    // No 3-D border, no scroll bars, themed controls.
    static constexpr DWORD kHostFlags = 0x0004000C;

    CIEView();
    ~CIEView() override;

    // As a host creates it: WS_CHILD | WS_VISIBLE at (0,0)-(1,1), id 131; the result is not checked.
    void CreateInHost(CWnd* pHost);
    // Loads `url` unchanged; nothing without a control.
    void Navigate(const std::wstring& url);
    // Null until the control exists.
    platform::BrowserControl* GetBrowser() const { return m_pBrowser.get(); }
    std::wstring GetLocationURL() const;
    DWORD GetHostFlags() const { return m_dwHostFlags; }

    // The external object's members, as page script calls them; each returns false to fail the call.
    bool InvokeClient(const std::vector<platform::ExternalValue>& args);
    bool GetNewMsg();
    bool GetGsName(const std::vector<platform::ExternalValue>& args);
    bool ReflectBeforeNavigate2(const std::vector<platform::ExternalValue>& args,
                                platform::ExternalValue& result);
    bool ReflectDocumentComplete(const std::vector<platform::ExternalValue>& args);

    // The hook behind "Invoke_Client"; does nothing here.
    virtual void OnInvokeClient(const std::wstring& name, const platform::ExternalValue& callback);
    virtual void OnNewWindow3(const std::wstring& url, bool& bCancel);
    // The app:// commands and the game and login tests.
    virtual void BeforeNavigate2(const std::wstring& url, bool& bCancel);
    // The sentinel page complete in the current game window.
    virtual void DocumentComplete(const std::wstring& url);
    virtual void OnNavigateComplete2(const std::wstring& url);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(CREATESTRUCT* cs) override;
    void OnDestroy() override;

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override { BeforeNavigate2(url, cancel); }
    void OnNewWindow(const std::wstring& url, bool& cancel) override { OnNewWindow3(url, cancel); }
    void OnNavigateComplete(const std::wstring& url) override { OnNavigateComplete2(url); }
    void OnDocumentComplete(const std::wstring& url) override { DocumentComplete(url); }
    void OnTitleChange(const std::wstring& title) override;

private:
    HWND GetHostWnd() const;
    bool InCurrentGameWnd() const;

    DWORD m_dwHostFlags = kHostFlags;
    std::unique_ptr<CDocHostSite> m_pSite;
    std::unique_ptr<platform::BrowserControl> m_pBrowser;
};
