#pragma once
// The usual text-to-integer rule of configuration and registry values: optional leading blanks and
// sign, then decimal digits up to the first other character; no digits gives 0.

#include <optional>
#include <string_view>

// Values beyond the 32-bit range saturate instead of wrapping.
int LeadingInt(std::string_view text);
int LeadingInt(std::wstring_view text);

// The same rule for values where text without digits means "not given" rather than 0.
std::optional<int> LeadingIntIfAny(std::string_view text);
std::optional<int> LeadingIntIfAny(std::wstring_view text);
