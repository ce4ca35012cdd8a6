#include "util/Shell.h"

#include "platform/base/text.h"
#include "platform/os/process.h"
#include "platform/os/shell_open.h"
#include "platform/os/shortcut.h"

bool CreateShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& icon,
                    const std::wstring& workingDirectory, const std::wstring& windowClass) {
    return platform::WriteShortcut(platform::WideToUtf8(link), platform::WideToUtf8(target),
                                   platform::WideToUtf8(icon), platform::WideToUtf8(workingDirectory),
                                   platform::WideToUtf8(windowClass));
}

bool RunProcess(const std::wstring& commandLine) {
    return platform::StartCommandLine(platform::WideToUtf8(commandLine));
}

void OpenInShell(const std::wstring& target) {
    platform::OpenWithDefaultProgram(platform::WideToUtf8(target));
}
