#include "util/Version.h"

#include "platform/base/text.h"
#include "util/LeadingInt.h"

const wchar_t kClientVersion[] = L"1.0.0.1";

namespace {

int VersionNumber(const std::wstring& version) {
    std::wstring digits;
    for (wchar_t c : version) {
        if (c != L'.') {
            digits += c;
        }
    }
    return LeadingInt(platform::WideToAnsi(digits));
}

}  // namespace

int LocalVersionNumber() {
    return VersionNumber(kClientVersion);
}

bool IsNewerVersion(const std::wstring& version) {
    return LocalVersionNumber() < VersionNumber(version);
}
