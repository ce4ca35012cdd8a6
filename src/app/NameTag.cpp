#include "app/NameTag.h"

std::wstring NameTagFromProgramPath(const std::wstring& programPath) {
    const std::size_t slash = programPath.rfind(L'/');
    if (slash == std::wstring::npos || slash == 0) {
        return L"";
    }
    const std::wstring fileName = programPath.substr(slash + 1);
    const std::size_t underscore = fileName.rfind(L'_');
    if (underscore == std::wstring::npos || underscore == 0) {
        return L"";
    }
    const std::wstring tail = fileName.substr(underscore + 1);
    const std::size_t end = tail.find_first_of(L"(.");
    return end == std::wstring::npos ? L"" : tail.substr(0, end);
}
