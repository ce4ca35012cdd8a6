// Maps the blocking text GET onto the shared libcurl transfer.
#include "platform/net/http.h"

#include <mutex>

#include "platform/net/http_transfer.h"

namespace platform {
namespace {

std::mutex& LimitsLock() {
    static std::mutex lock;
    return lock;
}

HttpLimits& Limits() {
    static HttpLimits limits;
    return limits;
}

std::string& TrustedCaFile() {
    static std::string path;
    return path;
}

}  // namespace

HttpLimits GetHttpLimits() {
    std::lock_guard<std::mutex> guard(LimitsLock());
    return Limits();
}

void SetHttpLimits(const HttpLimits& limits) {
    std::lock_guard<std::mutex> guard(LimitsLock());
    Limits() = limits;
}

std::string GetHttpTrustedCaFile() {
    std::lock_guard<std::mutex> guard(LimitsLock());
    return TrustedCaFile();
}

void SetHttpTrustedCaFile(const std::string& path) {
    std::lock_guard<std::mutex> guard(LimitsLock());
    TrustedCaFile() = path;
}

HttpResponse HttpGet(const std::string& url) {
    HttpResponse response;
    const HttpLimits limits = GetHttpLimits();
    HttpTransferResult result = RunHttpTransfer(url, limits, [&](const char* data, std::size_t size) {
        std::size_t room = limits.maxBodyBytes - response.body.size();
        if (size > room) {
            response.body.append(data, room);
            response.truncated = true;
            return false;
        }
        response.body.append(data, size);
        return true;
    });
    response.completed = result.completed;
    response.status = result.status;
    return response;
}

}  // namespace platform
