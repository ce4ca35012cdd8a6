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

}  // namespace

HttpLimits GetHttpLimits() {
    std::lock_guard<std::mutex> guard(LimitsLock());
    return Limits();
}

void SetHttpLimits(const HttpLimits& limits) {
    std::lock_guard<std::mutex> guard(LimitsLock());
    Limits() = limits;
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
