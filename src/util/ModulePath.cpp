#include "util/ModulePath.h"

#include "platform/base/module.h"
#include "platform/base/text.h"

std::wstring GetModulePath(bool withFileName) {
    std::wstring path = platform::Utf8ToWide(platform::ModuleFileName());
    if (withFileName) {
        return path;
    }
    size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}
