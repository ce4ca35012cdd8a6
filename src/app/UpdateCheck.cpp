#include "app/UpdateCheck.h"

#include <iostream>

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
#include "platform/os/registry.h"
#include "util/Version.h"

namespace {

// Every hop of a download that starts on https stays on https: the downloader follows redirects from
// https only to https.
bool IsHttps(const std::wstring& url) {
    return url.size() >= 8 && platform::EqualsIgnoreCase(url.substr(0, 8), L"https://");
}

void Refuse(const std::string& why) {
    std::cerr << "velmora: update refused: " << why << "\n";
}

}  // namespace

CUpdateCheck::CUpdateCheck(CDownloadThread& downloads, HWND notifyWnd, std::wstring folder)
    : m_downloads(downloads), m_hNotifyWnd(notifyWnd), m_strFolder(std::move(folder)) {}

void CUpdateCheck::RequestVersionDocument() {
    const ClientConfig& config = ClientConfig::Instance();
    m_documentUrl = config.ConfigParam();
    if (m_documentUrl.empty()) {
        m_stage = Stage::Finished;
        return;
    }
    const std::string keys = platform::WideToUtf8(config.UpdateKey());
    m_signed = keys.find_first_not_of(" \t\r\n,") != std::string::npos;
    minisign::ParsePublicKeys(keys, m_keys);
    m_stage = Stage::AwaitingDocument;
    const std::int64_t now = platform::SecondsSince1970();
    QueueDownload(VersionDocumentUrl(m_documentUrl, now), WM_VERSION_READY, L"", kMaxDocumentBytes);
    m_awaited = 1;
    if (m_signed) {
        QueueDownload(VersionSignatureUrl(m_documentUrl, now), WM_SIGNATURE_READY, L"", kMaxSignatureBytes);
        m_awaited = 2;
    }
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
    m_document = TakeDownload(id);
    if (m_document) {
        // The copy beside the program stands only while the check runs, as it always has; the check reads
        // the bytes it holds, which nothing on disk can change meanwhile.
        const std::wstring copy = WriteWorkingCopy(*m_document);
        if (!copy.empty()) {
            platform::RemoveFile(platform::WideToUtf8(copy));
        }
    }
    OnAnswered();
}

void CUpdateCheck::OnSignatureReady(int id) {
    m_signature = TakeDownload(id);
    OnAnswered();
}

void CUpdateCheck::OnAnswered() {
    if (m_stage != Stage::AwaitingDocument || --m_awaited > 0) {
        return;
    }
    m_stage = Stage::Finished;
    if (!m_document || (m_signed && !IsSignedAndCurrent(*m_document))) {
        return;
    }
    CheckVersionDocument(*m_document);
    m_downloads.m_hWorkEvent.Set();  // starts the installer's download, when one was queued
}

bool CUpdateCheck::IsSignedAndCurrent(const std::string& document) {
    if (m_keys.empty()) {
        Refuse("updateKey is malformed, so no version document can be trusted");
        return false;
    }
    if (!m_signature) {
        Refuse("no signature arrived for the version document");
        return false;
    }
    const minisign::Verdict verdict = minisign::Verify(document, *m_signature, m_keys);
    if (!verdict.valid) {
        Refuse(verdict.why);
        return false;
    }
    // Raised at once and never through the settings saved at exit, as other clients may run beside this.
    platform::RegistryKey key;
    std::uint64_t newest = 0;
    const std::wstring& regPath = ClientConfig::Instance().m_strRegPath;
    if (regPath.empty() || key.Create(HKEY_CURRENT_USER, regPath, KEY_READ | KEY_WRITE) != ERROR_SUCCESS ||
        key.RaiseQword(kTimestampValue, verdict.timestamp, newest) != ERROR_SUCCESS) {
        Refuse("the newest signature time cannot be kept in the settings store");
        return false;
    }
    if (newest > verdict.timestamp) {
        Refuse("the version document was signed at " + std::to_string(verdict.timestamp) +
               ", before one already seen (" + std::to_string(newest) + "): an old document sent again");
        return false;
    }
    return true;
}

void CUpdateCheck::CheckVersionDocument(const std::string& bytes) {
    ClientOffer offer;
    if (!ParseClientOffer(bytes, offer) || !IsNewerVersion(offer.version) || offer.url.empty()) {
        return;
    }
    const std::string version = platform::WideToUtf8(offer.version);
    if (m_signed && offer.sha256.empty()) {
        Refuse("the signed offer of " + version + " names no sha256 for its installer");
        return;
    }
    if (!m_signed && !CameOverHttps(offer)) {
        Refuse("version " + version +
               " was offered over plain http; without updateKey updates run only "
               "over https");
        return;
    }
    // The offered size is the most the downloader accepts, and the installer must have exactly that many.
    QueueDownload(offer.url, WM_INSTALLER_READY, offer.sha256, offer.size);
    m_stage = Stage::AwaitingInstaller;
}

bool CUpdateCheck::CameOverHttps(const ClientOffer& offer) const {
    return IsHttps(m_documentUrl) && IsHttps(offer.url);
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

std::optional<std::string> CUpdateCheck::TakeDownload(int id) {
    const std::string local = platform::WideToUtf8(Result(id).strUrl);
    if (local.empty()) {
        return std::nullopt;
    }
    // The downloader has already refused an answer longer than the request allowed.
    std::string bytes;
    const bool read = platform::ReadFile(local, bytes);
    platform::RemoveFile(local);
    return read ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
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
