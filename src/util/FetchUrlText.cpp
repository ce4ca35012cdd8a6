#include "util/FetchUrlText.h"

#include <string_view>

#include "platform/base/text.h"
#include "platform/net/http.h"

namespace {

// The size of the buffer the answer has always been read through; each fill is converted on its own.
constexpr std::size_t kChunkBytes = 1023;

}  // namespace

std::wstring FetchUrlText(const std::wstring& url) {
    const platform::HttpResponse response = platform::HttpGet(platform::WideToUtf8(url));
    const std::string_view body = response.body;
    std::wstring text;
    for (std::size_t offset = 0; offset < body.size(); offset += kChunkBytes) {
        text += platform::AnsiToWide(body.substr(offset, kChunkBytes));
    }
    return text;
}
