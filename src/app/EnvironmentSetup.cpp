#include "app/EnvironmentSetup.h"

#include "app/AppIdentity.h"
#include "config/ClientConfig.h"
#include "platform/base/files.h"
#include "platform/base/paths.h"
#include "platform/base/text.h"
#include "platform/os/engine.h"
#include "platform/os/registry.h"
#include "util/LeadingInt.h"
#include "util/ModulePath.h"
#include "util/Shell.h"

namespace {

const wchar_t kPluginKey[] = L"CLSID\\{b2e8d85e-c0c5-48df-8dbc-1359b339ae32}\\InprocServer32";
constexpr DWORD kPluginPathChars = 1024;  // at most 1023 characters and the terminator
const wchar_t kFeatureRoot[] = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";
const wchar_t kShortcutSuffix[] = L".desktop";

struct FeatureSwitch {
    const wchar_t* name;
    DWORD value;
};

// The executable as the process was started, and the product-named file it becomes.
struct ProgramFiles {
    std::wstring running;
    std::wstring folder;
    std::wstring target;
};

bool IsSet(const ClientConfig& config, ConfigKey key) {
    return LeadingInt(config.Value(key)) != 0;
}

// A name fit to be one file in a folder: not empty, no folder separator, not a folder reference.
bool IsPlainFileName(const std::wstring& name) {
    return !name.empty() && name.find(L'/') == std::wstring::npos && name != L"." && name != L"..";
}

void ProbePlugin(ClientConfig& config) {
    platform::RegistryKey key;
    std::wstring path;
    if (key.Open(HKEY_CLASSES_ROOT, kPluginKey, KEY_READ | KEY_WRITE) == ERROR_SUCCESS &&
        key.QueryString(L"", kPluginPathChars, path) == ERROR_SUCCESS) {
        config.m_strPluginPath = path;
    }
}

// Renames the running file after the product and copies it back, so that the program exists under both
// names. rename() replaces an older product-named file in one step, so there is never a moment without
// one.
void GiveProductName(const ProgramFiles& files) {
    if (platform::EqualsIgnoreCase(files.running, files.target)) {
        return;
    }
    std::string running = platform::WideToUtf8(files.running);
    std::string target = platform::WideToUtf8(files.target);
    if (platform::RenameFile(running, target)) {
        platform::CopyFile(target, running, true);
    }
}

void PlaceShortcut(const std::wstring& desktop, const std::wstring& name, const std::wstring& target,
                   const std::wstring& icon, const std::wstring& workingDirectory,
                   const std::wstring& windowClass = L"") {
    if (!IsPlainFileName(name)) {
        return;
    }
    std::wstring link = desktop + L"/" + name + kShortcutSuffix;
    if (!platform::PathExists(platform::WideToUtf8(link))) {
        CreateShortcut(link, target, icon, workingDirectory, windowClass);
    }
}

void SetFeatureSwitches(const std::wstring& programName) {
    const FeatureSwitch switches[] = {
        {L"FEATURE_BROWSER_EMULATION", BrowserEmulationValue()},
        {L"FEATURE_GPU_RENDERING", 1},
        {L"FEATURE_MAXCONNECTIONSPERSERVER", 6},
        {L"FEATURE_MAXCONNECTIONSPER1_0SERVER", 6},
        {L"FEATURE_ALIGNED_TIMERS", 1},
        {L"FEATURE_ALLOW_HIGHFREQ_TIMERS", 1},
        {L"FEATURE_BEHAVIORS", 1},
        {L"FEATURE_LOCALMACHINE_LOCKDOWN", 0},
        {L"FEATURE_OBJECT_CACHING", 1},
        {L"FEATURE_SCRIPTURL_MITIGATION", 1},
    };
    for (const FeatureSwitch& feature : switches) {
        platform::RegistryKey key;
        if (key.Open(HKEY_CURRENT_USER, std::wstring(kFeatureRoot) + feature.name, KEY_READ | KEY_WRITE) !=
            ERROR_SUCCESS) {
            continue;  // switches go only where the engine's settings already exist
        }
        DWORD current = 0;
        if (key.QueryDword(programName, current) != ERROR_SUCCESS) {
            key.SetDword(programName, feature.value);
        }
    }
}

}  // namespace

unsigned BrowserEmulationValueFor(int majorVersion) {
    switch (majorVersion) {
        case 8:
            return 8888;
        case 10:
            return 10001;
        case 11:
            return 11000;
        default:
            return 9999;
    }
}

unsigned BrowserEmulationValue() {
    return BrowserEmulationValueFor(platform::BrowserEngineMajorVersion());
}

void RunEnvironmentSetup(ClientConfig& config) {
    config.m_strRegPath = L"SOFTWARE\\Velmora\\" + config.UserClientAbout();
    config.m_settings.Load(config.m_strRegPath);

    ProbePlugin(config);

    // Taken once, before the rename: the switches are keyed by the name the process was started under.
    ProgramFiles files;
    files.running = GetModulePath(true);
    files.folder = GetModulePath(false);
    files.target = files.folder + L"/" + config.UserClientAbout();
    if (!IsSet(config, ConfigKey::NoRename) && IsPlainFileName(config.UserClientAbout())) {
        GiveProductName(files);
    }

    std::wstring desktop = platform::Utf8ToWide(platform::DesktopDir());
    if (!IsSet(config, ConfigKey::NoLink)) {
        // The client's windows carry its taskbar identity, so the desktop groups them under this entry.
        PlaceShortcut(desktop, config.UserClientAbout(), files.target, files.target,
                      L"\"" + files.folder + L"\"", AppUserModelId(config.UserClientAbout()));
    }
    if (!IsSet(config, ConfigKey::NoGWLink)) {
        PlaceShortcut(desktop, config.GwLink(), config.GwUrl(), files.target, files.folder);
    }

    SetFeatureSwitches(platform::Utf8ToWide(platform::BaseName(platform::WideToUtf8(files.running))));
}
