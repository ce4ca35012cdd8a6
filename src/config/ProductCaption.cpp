#include "config/ProductCaption.h"

#include "config/ClientConfig.h"
#include "util/Version.h"

std::wstring ProductCaption() {
    return ClientConfig::Instance().UserClientAbout() + L" Ver " + kClientVersion;
}
