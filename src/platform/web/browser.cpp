#include "platform/web/browser.h"

namespace platform {

void BrowserEvents::OnBeforeNavigate(const std::wstring&, bool&) {}
void BrowserEvents::OnNewWindow(const std::wstring&, bool&) {}
void BrowserEvents::OnNavigateComplete(const std::wstring&) {}
void BrowserEvents::OnDocumentComplete(const std::wstring&) {}
void BrowserEvents::OnTitleChange(const std::wstring&) {}

}  // namespace platform
