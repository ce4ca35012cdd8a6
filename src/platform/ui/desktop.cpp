// Forwards the desktop session's calls to the backend.
#include "platform/ui/desktop.h"

#include "platform/base/text.h"
#include "platform/ui/native.h"
#include "platform/ui/shell_ui.h"

namespace platform {

bool OpenDesktop(std::string& reason) {
    return GetBackend().Open(reason);
}

void SetProgramIdentity(const std::wstring& identity) {
    GetBackend().SetProgramIdentity(WideToUtf8(identity));
}

void SetTerminationHandler(std::function<void()> handler) {
    GetBackend().WatchTermination(std::move(handler));
}

void CloseDesktop() {
    RemoveAllTrayIcons();
    GetBackend().Close();
}

}  // namespace platform
