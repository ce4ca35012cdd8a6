#pragma once
// The application object: start-up in its order (the desktop, the two start values from the command
// line, the configuration with the set-up its creation runs, the taskbar identity, the hidden frame),
// the message loop, and the exit in its order (the frame, then the configuration, which saves the user
// settings, then the desktop).

#include <memory>
#include <string>
#include <vector>

class ClientConfig;
class CMainFrame;

class CTesselApp {
public:
    static constexpr int kStartFailureStringId = 100;

    CTesselApp();
    ~CTesselApp();

    // The whole life of the program: start-up, the loop, the exit; the process's exit code.
    int Run(const std::vector<std::string>& arguments);

    // TRUE once the frame exists; FALSE, after saying why on stderr, when there is no desktop or no frame.
    bool InitInstance(const std::vector<std::string>& arguments);
    int ExitInstance(int exitCode);

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    const std::wstring& NameTag() const { return m_strNameTag; }
    const std::wstring& GameUrl() const { return m_strGameUrl; }

private:
    void ReadCommandLine(const std::vector<std::string>& arguments);
    void ReportFailure(const std::string& reason) const;

    ClientConfig* m_pConfig = nullptr;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::wstring m_strNameTag;
    std::wstring m_strGameUrl;
    bool m_bDesktopOpen = false;
};
