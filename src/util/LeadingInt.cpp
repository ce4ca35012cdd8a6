#include "util/LeadingInt.h"

#include <climits>

namespace {

template <typename Char>
std::optional<int> Parse(std::basic_string_view<Char> text) {
    size_t i = 0;
    auto blank = [](Char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t digits = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (i == digits) {
        return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace

int LeadingInt(std::string_view text) {
    return Parse(text).value_or(0);
}

int LeadingInt(std::wstring_view text) {
    return Parse(text).value_or(0);
}

std::optional<int> LeadingIntIfAny(std::string_view text) {
    return Parse(text);
}

std::optional<int> LeadingIntIfAny(std::wstring_view text) {
    return Parse(text);
}
