#pragma once
// The check for a newer client at every start. The version document the configuration names is
// downloaded; when it offers a newer version, so is that version's installer, which is then started so
// that the client can end and leave the field to it. Any failure ends the check quietly and the client
// runs on. Everything here runs on the UI thread; the downloads go through the frame's downloader, which
// reports to the frame's window, and the frame hands the two reports here.

#include <cstdint>
#include <string>

#include "platform/ui/win_messages.h"

class CDownloadThread;
struct THREAD_PARAM_DOWN;

class CUpdateCheck {
public:
    enum class Stage { Idle, AwaitingDocument, AwaitingInstaller, Finished, InstallerStarted };

    // A longer version document fails while it arrives.
    static constexpr std::uint64_t kMaxDocumentBytes = 1024 * 1024;
    // The name of the document's working copy.
    static constexpr char kWorkingCopyName[] = "config.xml";

    // `downloads` and `notifyWnd` outlive the check. The working copy goes to `folder` (the program's
    // own), or to the temporary folder when it cannot be written there.
    CUpdateCheck(CDownloadThread& downloads, HWND notifyWnd, std::wstring folder);

    // Asks for the configured version document, with the time as its query so no cache answers.
    void RequestVersionDocument();
    // Queues a download into the URL cache that reports `messageId`; nothing for an empty URL. The
    // downloader is not woken: the caller signals it. `extra` travels with the request; a download
    // longer than `maxBytes` fails (0: the downloader's own limit).
    void QueueDownload(const std::wstring& url, UINT messageId, const std::wstring& extra = L"",
                       std::uint64_t maxBytes = 0);
    // The version document's request `id` ended.
    void OnVersionReady(int id);
    // Queues the installer when the document at `path` offers a newer version.
    void CheckVersionDocument(const std::wstring& path);
    // The installer's request `id` ended: true when the installer was started and the client is to end.
    bool OnInstallerReady(int id);

    Stage GetStage() const { return m_stage; }

private:
    THREAD_PARAM_DOWN Result(int id);
    // The document's bytes written to the working copy; its path, or empty when it could not be written.
    std::wstring WriteWorkingCopy(const std::string& bytes) const;
    // The installer matches the digest and the size the document gave, or the document gave none.
    static bool IsTrustedInstaller(const std::string& path, const THREAD_PARAM_DOWN& record);

    CDownloadThread& m_downloads;
    HWND m_hNotifyWnd;
    std::wstring m_strFolder;
    Stage m_stage = Stage::Idle;
};
