// Maps HTTP transfers onto libcurl easy handles.
#include "platform/net/http_transfer.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {
namespace {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct PartCleanup {
    void operator()(char* part) const { curl_free(part); }
};

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, SlistCleanup>;
using UrlHandle = std::unique_ptr<CURLU, UrlCleanup>;
using UrlPart = std::unique_ptr<char, PartCleanup>;

constexpr long kMaxRedirects = 10;

void EnsureCurlReady() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

UrlPart GetPart(CURLU* url, CURLUPart which) {
    char* part = nullptr;
    if (curl_url_get(url, which, &part, 0) != CURLUE_OK) {
        return nullptr;
    }
    return UrlPart(part);
}

bool IsScheme(const UrlPart& scheme, const char* name) {
    return scheme && curl_strequal(scheme.get(), name) != 0;
}

// The URL exactly as libcurl will request it, or null when it is not an absolute http:// or https:// URL
// with a host. The scheme must be written out: libcurl would otherwise guess one for a bare host name.
UrlHandle ParseHttpUrl(const std::string& text) {
    EnsureCurlReady();
    UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        return nullptr;
    }
    UrlPart scheme = GetPart(url.get(), CURLUPART_SCHEME);
    UrlPart host = GetPart(url.get(), CURLUPART_HOST);
    if (!(IsScheme(scheme, "http") || IsScheme(scheme, "https")) || !host || host.get()[0] == '\0') {
        return nullptr;
    }
    return url;
}

// A page asked for over https:// must not be swapped for one that anybody on the way could read or
// change, so its redirects stay on https://; a page asked for over http:// may move up to https://.
const char* RedirectProtocols(CURLU* url) {
    return IsScheme(GetPart(url, CURLUPART_SCHEME), "https") ? "https" : "http,https";
}

struct SinkContext {
    const HttpBodySink* sink;
    CURL* easy;
    HttpLimits limits;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    // Bytes of headers and body seen so far, and when that count last grew.
    curl_off_t received = 0;
    curl_off_t headerBytes = 0;
    std::chrono::steady_clock::time_point lastActivity = started;
};

// Counts header bytes as a sign of life; the headers themselves are not needed.
size_t CountHeader(char*, size_t size, size_t count, void* context) {
    static_cast<SinkContext*>(context)->headerBytes += static_cast<curl_off_t>(size * count);
    return size * count;
}

// Ends a transfer that has received nothing for the stall time. libcurl calls this at least once a
// second, also while nothing arrives. Its own low-speed limit averages over several seconds, so a stall
// after some data would be noticed late.
int CheckStall(void* context, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t) {
    auto& state = *static_cast<SinkContext*>(context);
    auto now = std::chrono::steady_clock::now();
    // While connecting, the connect limit applies instead. The connect time is counted in microseconds
    // and could read 0 on a very fast connection, so the stall clock runs after the connect limit anyway.
    curl_off_t connectTime = 0;
    bool connecting = curl_easy_getinfo(state.easy, CURLINFO_CONNECT_TIME_T, &connectTime) == CURLE_OK &&
                      connectTime == 0 &&
                      now - state.started < std::chrono::seconds(state.limits.connectSeconds);
    curl_off_t received = downloaded + state.headerBytes;
    if (connecting || received != state.received) {
        state.received = received;
        state.lastActivity = now;
    }
    return now - state.lastActivity > std::chrono::seconds(state.limits.stallSeconds) ? 1 : 0;
}

// libcurl takes any count other than `size * count` as a request to stop; an exception must not unwind
// through its C frames, so it stops the transfer as well.
size_t WriteToSink(char* data, size_t size, size_t count, void* context) {
    size_t bytes = size * count;
    try {
        const HttpBodySink& sink = *static_cast<SinkContext*>(context)->sink;
        return sink(data, bytes) ? bytes : 0;
    } catch (...) {
        return 0;
    }
}

HeaderList NoCacheHeaders() {
    // Intermediate caches must not answer in the server's place: the game URL and version documents
    // change between requests.
    HeaderList headers(curl_slist_append(nullptr, "Pragma: no-cache"));
    curl_slist* grown = headers ? curl_slist_append(headers.get(), "Cache-Control: no-cache") : nullptr;
    return grown != nullptr ? std::move(headers) : nullptr;
}

// Everything every request shares. The proxy is left to libcurl, which reads it from the environment
// (http_proxy, no_proxy) as a user expects of a desktop program.
bool Configure(CURL* easy, CURLU* url, curl_slist* headers, const HttpLimits& limits, SinkContext& sink) {
    bool ok = curl_easy_setopt(easy, CURLOPT_CURLU, url) == CURLE_OK;
    // Signals (the alarm some resolvers time out with) are not safe in a multi-threaded program.
    ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(url)) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    // Operators' servers have always seen this agent and may answer by it.
    ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, "session") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds) == CURLE_OK;
    // No overall limit, so a large download on a slow line may take as long as it needs; only a
    // transfer that stops moving is ended. The connection phase has its own limit, so the stall clock
    // starts once connected.
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, CountHeader) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERDATA, &sink) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, CheckStall) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &sink) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteToSink) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink) == CURLE_OK;
    return ok;
}

// Both checks are libcurl's defaults; they are set here so that nobody takes them for optional. A
// certificate that fails them fails the transfer.
bool ConfigureCertificateChecks(CURL* easy, const std::string& extraCaFile) {
    bool ok = curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    if (ok && !extraCaFile.empty()) {
        // CURLOPT_CAINFO replaces only the built-in CA bundle file. The built-in CA directory
        // (CURLOPT_CAPATH, /etc/ssl/certs, which ca-certificates keeps hashed beside that bundle) stays
        // in effect, and OpenSSL consults both, so the system's CAs are still trusted beside this one.
        ok = curl_easy_setopt(easy, CURLOPT_CAINFO, extraCaFile.c_str()) == CURLE_OK;
    }
    return ok;
}

}  // namespace

bool IsHttpUrl(const std::string& url) {
    return ParseHttpUrl(url) != nullptr;
}

HttpTransferResult RunHttpTransfer(const std::string& text, const HttpLimits& limits,
                                   const HttpBodySink& sink) {
    HttpTransferResult result;
    UrlHandle url = ParseHttpUrl(text);
    if (!url) {
        return result;
    }
    EasyHandle easy(curl_easy_init());
    HeaderList headers = NoCacheHeaders();
    SinkContext context{&sink, easy.get(), limits};
    if (!easy || !headers || !Configure(easy.get(), url.get(), headers.get(), limits, context) ||
        !ConfigureCertificateChecks(easy.get(), GetHttpTrustedCaFile())) {
        return result;
    }
    result.completed = curl_easy_perform(easy.get()) == CURLE_OK;
    long status = 0;
    if (curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status) == CURLE_OK) {
        result.status = status;
    }
    return result;
}

}  // namespace platform
