#pragma once
// The host's answers to the browser control of one view. Most of what a Windows host decides is this
// engine's own behaviour already (its message boxes, context menu and accelerators; script on every
// page; no scroll bars and no border; the same-origin rule for data of other sites); what is left is
// bound here: the view's external object.

#include "platform/web/browser.h"

class CIEView;

class CDocHostSite {
public:
    explicit CDocHostSite(CIEView* pView) : m_pView(pView) {}

    // Offers the view's external object to every page of `control`.
    void Apply(platform::BrowserControl& control) const;

private:
    CIEView* m_pView;  // not owned; the view owns the site
};
