#pragma once
// The check for a newer client at every start. The version document the configuration names is
// downloaded; when it offers a newer version, so is that version's installer, which is then started so
// that the client can end and leave the field to it. Any failure ends the check and the client runs on.
//
// Who may start a program on the player's machine is decided here. With update keys configured, the
// document must carry a minisign signature by one of them, no older than the newest this user has seen,
// and name its installer's SHA-256. Without keys, only a document and an installer that both came over
// https may start anything. A refusal for these reasons says why on stderr.
//
// Everything here runs on the UI thread; the downloads go through the frame's downloader, which reports
// to the frame's window, and the frame hands the reports here.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/win_messages.h"
#include "util/Minisign.h"

class CDownloadThread;
struct ClientOffer;
struct THREAD_PARAM_DOWN;

class CUpdateCheck {
public:
    enum class Stage { Idle, AwaitingDocument, AwaitingInstaller, Finished, InstallerStarted };

    // Longer answers fail while they arrive.
    static constexpr std::uint64_t kMaxDocumentBytes = 1024 * 1024;
    static constexpr std::uint64_t kMaxSignatureBytes = 16 * 1024;
    // The name of the document's working copy.
    static constexpr char kWorkingCopyName[] = "config.xml";
    // The registry value under the client's key that keeps the newest signature time this user has seen.
    static constexpr wchar_t kTimestampValue[] = L"UpdateTimestamp";

    // `downloads` and `notifyWnd` outlive the check. The working copy goes to `folder` (the program's
    // own), or to the temporary folder when it cannot be written there.
    CUpdateCheck(CDownloadThread& downloads, HWND notifyWnd, std::wstring folder);

    // Asks for the configured version document, with the time as its query so no cache answers, and for
    // its signature when update keys are configured.
    void RequestVersionDocument();
    // Queues a download into the URL cache that reports `messageId`; nothing for an empty URL. The
    // downloader is not woken: the caller signals it. `extra` travels with the request; a download
    // longer than `maxBytes` fails (0: the downloader's own limit).
    void QueueDownload(const std::wstring& url, UINT messageId, const std::wstring& extra = L"",
                       std::uint64_t maxBytes = 0);
    // The version document's request `id` ended, and its signature's.
    void OnVersionReady(int id);
    void OnSignatureReady(int id);
    // Queues the installer when the document's `bytes` offer a newer version this client may run.
    void CheckVersionDocument(const std::string& bytes);
    // The installer's request `id` ended: true when the installer was started and the client is to end.
    bool OnInstallerReady(int id);

    Stage GetStage() const { return m_stage; }

private:
    THREAD_PARAM_DOWN Result(int id);
    // The bytes of the finished download `id`, which is then deleted; nothing when it failed.
    std::optional<std::string> TakeDownload(int id);
    // Both answers are in: the document is judged.
    void OnAnswered();
    // The signature is valid and not older than any this user has seen.
    bool IsSignedAndCurrent(const std::string& document);
    // The offer may be run without a signature: it came over https, and its installer will too.
    bool CameOverHttps(const ClientOffer& offer) const;
    // The document's bytes written to the working copy; its path, or empty when it could not be written.
    std::wstring WriteWorkingCopy(const std::string& bytes) const;
    // The installer matches the digest and the size the document gave, or the document gave none.
    static bool IsTrustedInstaller(const std::string& path, const THREAD_PARAM_DOWN& record);

    CDownloadThread& m_downloads;
    HWND m_hNotifyWnd;
    std::wstring m_strFolder;
    Stage m_stage = Stage::Idle;

    std::wstring m_documentUrl;
    bool m_signed = false;  // update keys are configured, well-formed or not
    std::vector<minisign::PublicKey> m_keys;
    int m_awaited = 0;  // answers still to come
    std::optional<std::string> m_document;
    std::optional<std::string> m_signature;
};
