#include "app/UpdateCheck.h"

#include "app/VersionDocument.h"
#include "browser/ClientMessages.h"
#include "config/ClientConfig.h"
#include "download/DownloadThread.h"
#include "platform/base/checksum.h"
#include "platform/base/clock.h"
#include "platform/base/environment.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/os/process.h"
#include "util/Version.h"

CUpdateCheck::CUpdateCheck(CDownloadThread& downloads, HWND notifyWnd, std::wstring folder)
    : m_downloads(downloads), m_hNotifyWnd(notifyWnd), m_strFolder(std::move(folder)) {}

void CUpdateCheck::RequestVersionDocument() {
    const std::wstring document = ClientConfig::Instance().ConfigParam();
    if (document.empty()) {
        m_stage = Stage::Finished;
        return;
    }
    m_stage = Stage::AwaitingDocument;
    QueueDownload(VersionDocumentUrl(document, platform::SecondsSince1970()), WM_VERSION_READY, L"",
                  kMaxDocumentBytes);
    m_downloads.m_hWorkEvent.Set();
}

void CUpdateCheck::QueueDownload(const std::wstring& url, UINT messageId, const std::wstring& extra,
                                 std::uint64_t maxBytes) {
    if (url.empty()) {
        return;
    }
    THREAD_PARAM_DOWN req;
    req.strName = url;
    req.strUrl = url;
    req.strExtra = extra;
    req.nMsg = messageId;
    req.hNotifyWnd = m_hNotifyWnd;
    req.nMaxBytes = maxBytes;
    m_downloads.AddRequest(req);
}

void CUpdateCheck::OnVersionReady(int id) {
    m_stage = Stage::Finished;
    const std::string local = platform::WideToUtf8(Result(id).strUrl);
    if (local.empty()) {
        return;
    }
    // The downloader has already refused a document longer than kMaxDocumentBytes.
    std::string bytes;
    if (!platform::ReadFile(local, bytes)) {
        platform::RemoveFile(local);
        return;
    }
    const std::wstring copy = WriteWorkingCopy(bytes);
    if (!copy.empty()) {
        CheckVersionDocument(copy);
        platform::RemoveFile(platform::WideToUtf8(copy));
    }
    m_downloads.m_hWorkEvent.Set();  // starts the installer's download, when one was queued
    platform::RemoveFile(local);
}

void CUpdateCheck::CheckVersionDocument(const std::wstring& path) {
    std::string bytes;
    ClientOffer offer;
    if (!platform::ReadFile(platform::WideToUtf8(path), bytes) || !ParseClientOffer(bytes, offer) ||
        !IsNewerVersion(offer.version) || offer.url.empty()) {
        return;
    }
    // The offered size is the most the downloader accepts, and the installer must have exactly that many.
    QueueDownload(offer.url, WM_INSTALLER_READY, offer.sha256, offer.size);
    m_stage = Stage::AwaitingInstaller;
}

bool CUpdateCheck::OnInstallerReady(int id) {
    m_stage = Stage::Finished;
    const THREAD_PARAM_DOWN record = Result(id);
    const std::string installer = platform::WideToUtf8(record.strUrl);
    if (installer.empty()) {
        return false;
    }
    if (!IsTrustedInstaller(installer, record)) {
        platform::RemoveFile(installer);
        return false;
    }
    // Downloads are written without execute permission. The path is the program's whole command line, so
    // blanks in the user's folders cannot split it.
    if (!platform::MakeExecutable(installer) || !platform::StartDetachedProcess({installer})) {
        return false;  // the client runs on rather than end without its successor
    }
    m_stage = Stage::InstallerStarted;
    return true;
}

THREAD_PARAM_DOWN CUpdateCheck::Result(int id) {
    THREAD_PARAM_DOWN record;
    m_downloads.GetResult(id, record);
    return record;
}

std::wstring CUpdateCheck::WriteWorkingCopy(const std::string& bytes) const {
    const std::string beside = platform::WideToUtf8(m_strFolder) + "/" + kWorkingCopyName;
    if (platform::WriteFileAtomically(beside, bytes, 0644)) {
        return platform::Utf8ToWide(beside);
    }
    // A program folder the user may not write to; named by the process, as several clients may check.
    const std::string temp = platform::ExpandEnvironmentStrings("%TEMP%") + "/velmora-" +
                             std::to_string(platform::CurrentProcessId()) + "-" + kWorkingCopyName;
    return platform::WriteFileAtomically(temp, bytes, 0600) ? platform::Utf8ToWide(temp) : std::wstring();
}

bool CUpdateCheck::IsTrustedInstaller(const std::string& path, const THREAD_PARAM_DOWN& record) {
    std::uint64_t size = 0;
    const bool sized =
        record.nMaxBytes == 0 || (platform::GetFileSize(path, size) && size == record.nMaxBytes);
    const std::wstring& sha256 = record.strExtra;
    return sized && (sha256.empty() ||
                     platform::EqualsIgnoreCase(platform::Utf8ToWide(platform::Sha256FileHex(path)), sha256));
}
