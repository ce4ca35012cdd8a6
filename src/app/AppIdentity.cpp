#include "app/AppIdentity.h"

std::wstring AppUserModelId(const std::wstring& userClientAbout) {
    return L"Velmora." + userClientAbout + L".1";
}
