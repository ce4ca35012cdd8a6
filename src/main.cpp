// The client's entry point. Until the windows exist it runs the start-up path that does (configuration,
// set-up, user settings) and reports what it did on stdout.
#include <iostream>
#include <string>

#include "config/ClientConfig.h"
#include "platform/base/paths.h"
#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/os/registry_store.h"
#include "util/ModulePath.h"
#include "util/Version.h"

namespace {

constexpr int kProductTitleString = 128;

std::string Utf8(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

void Report(const ClientConfig& config, const std::wstring& gameUrl) {
    std::cout << "product title:   " << Utf8(platform::LoadResourceString(kProductTitleString)) << "\n"
              << "caption:         " << Utf8(ProductCaption()) << "\n"
              << "running from:    " << Utf8(GetModulePath(true)) << "\n"
              << "shortcuts in:    " << platform::DesktopDir() << "\n"
              << "plug-in:         "
              << (config.m_strPluginPath.empty() ? "not registered" : Utf8(config.m_strPluginPath)) << "\n"
              << "home page:       " << Utf8(config.HomeUrl()) << "\n"
              << "game marker:     " << Utf8(config.GameCheck()) << "\n"
              << "version check:   " << Utf8(config.ConfigParam()) << "\n"
              << "frame class:     " << Utf8(config.Value("imClass")) << "\n"
              << "game url (argv): " << Utf8(gameUrl) << "\n"
              << "settings key:    HKEY_CURRENT_USER\\" << Utf8(config.m_strRegPath) << "\n"
              << "settings store:  " << platform::RegistryStore::Instance().Path() << "\n"
              << "settings:        UseHotKey=" << config.m_settings.m_nUseHotKey
              << " AlwaysTop=" << config.m_settings.m_nAlwaysTop << " HotKey=" << config.m_settings.m_nHotKey
              << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring gameUrl = argc >= 2 ? platform::Utf8ToWide(argv[1]) : std::wstring();
    ClientConfig& config = ClientConfig::Instance();
    Report(config, gameUrl);
    ClientConfig::DestroyInstance();
    std::cout << (platform::RegistryStore::Instance().Available() ? "settings written back; exiting\n"
                                                                  : "settings store unavailable; exiting\n");
    return 0;
}
