#include "browser/DocHostSite.h"

#include "browser/IEView.h"

using platform::ExternalValue;
using Args = std::vector<ExternalValue>;

void CDocHostSite::Apply(platform::BrowserControl& control) const {
    CIEView* view = m_pView;
    control.AddExternalMethod(L"Invoke_Client",
                              [view](const Args& args, ExternalValue&) { return view->InvokeClient(args); });
    control.AddExternalMethod(L"getNewMsg",
                              [view](const Args&, ExternalValue&) { return view->GetNewMsg(); });
    control.AddExternalMethod(L"getGsName",
                              [view](const Args& args, ExternalValue&) { return view->GetGsName(args); });
    control.AddExternalMethod(L"BeforeNavigate2", [view](const Args& args, ExternalValue& result) {
        return view->ReflectBeforeNavigate2(args, result);
    });
    control.AddExternalMethod(L"DocumentComplete", [view](const Args& args, ExternalValue&) {
        return view->ReflectDocumentComplete(args);
    });
}
