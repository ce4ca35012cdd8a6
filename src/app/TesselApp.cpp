#include "app/TesselApp.h"

#include <cstdio>

#include "app/AppIdentity.h"
#include "app/EnvironmentSetup.h"
#include "app/MainFrame.h"
#include "app/NameTag.h"
#include "config/ClientConfig.h"
#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/ui/desktop.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/win_api.h"

CTesselApp::CTesselApp() = default;

CTesselApp::~CTesselApp() = default;

int CTesselApp::Run(const std::vector<std::string>& arguments) {
    if (!InitInstance(arguments)) {
        return ExitInstance(1);
    }
    return ExitInstance(platform::RunMessageLoop());
}

bool CTesselApp::InitInstance(const std::vector<std::string>& arguments) {
    std::string reason;
    if (!platform::OpenDesktop(reason)) {
        ReportFailure(reason);
        return false;
    }
    m_bDesktopOpen = true;
    ReadCommandLine(arguments);
    ClientConfig::InstallSetupStep(RunEnvironmentSetup);
    m_pConfig = &ClientConfig::Instance();
    // Before the first window: the desktop reads the identity when a window is made.
    platform::SetProgramIdentity(AppUserModelId(m_pConfig->UserClientAbout()));

    m_pMainWnd = std::make_unique<CMainFrame>(m_strNameTag, m_strGameUrl);
    if (!m_pMainWnd->LoadFrame()) {
        m_pMainWnd.reset();
        ReportFailure("the main window could not be created (is \"imClass\" set in the configuration?)");
        return false;
    }
    const HWND frame = m_pMainWnd->m_hWnd;
    // Ended from outside (the session, a terminal), the client leaves as from its own exit command.
    platform::SetTerminationHandler([frame] { platform::PostMessage(frame, WM_COMMAND, ID_APP_EXIT, 0); });
    return true;
}

int CTesselApp::ExitInstance(int exitCode) {
    platform::SetTerminationHandler(nullptr);
    m_pMainWnd.reset();
    if (m_pConfig != nullptr) {
        ClientConfig::DestroyInstance();
        m_pConfig = nullptr;
    }
    ClientConfig::InstallSetupStep(nullptr);
    if (m_bDesktopOpen) {
        platform::CloseDesktop();
        m_bDesktopOpen = false;
    }
    return exitCode;
}

void CTesselApp::ReadCommandLine(const std::vector<std::string>& arguments) {
    if (!arguments.empty()) {
        m_strNameTag = NameTagFromProgramPath(platform::Utf8ToWide(arguments[0]));
    }
    if (arguments.size() >= 2) {
        m_strGameUrl = platform::Utf8ToWide(arguments[1]);
    }
}

void CTesselApp::ReportFailure(const std::string& reason) const {
    const std::string text = platform::WideToUtf8(platform::LoadResourceString(kStartFailureStringId));
    std::fprintf(stderr, "%s%s%s\n", text.c_str(), text.empty() ? "" : " ", reason.c_str());
}
