#pragma once
// The game page's address from the operator's user-info service: a copy of the client that carries a
// player tag asks for it with a GET signed by the tag, the time and the configuration's shared key, and
// the answer's body is the address.

#include <string>

#include "browser/FrameLink.h"

// Fills the configuration's `userInfoUrl` template without handing it to printf: placeholders are
// taken from the left, "%s" for the tag, "%d" for the reason, "%d" for the stamp and "%s" for the
// signature, in that order, and "%%" stands for a percent sign. A template may stop after any of them
// (one without placeholders is copied as it is). False, with `url` left alone, for an empty template, a
// conversion other than the one its position calls for (flags, widths and "%n" included), a '%' that
// ends the template, or a fifth placeholder.
bool FillUserInfoTemplate(const std::wstring& format, const std::wstring& nameTag, GameUrlReason reason,
                          int stamp, const std::wstring& signature, std::wstring& url);

// The lower-case hexadecimal MD5 of the tag, the stamp in decimal and the key, over their bytes in the
// ANSI code page: what the service checks.
std::wstring GameUrlSignature(const std::wstring& nameTag, int stamp, const std::wstring& key);

// The signed request for `format` with every '+' turned into '&' (the shipped templates separate their
// parameters with '+'); empty when the template is unusable.
std::wstring UserInfoRequestUrl(const std::wstring& format, const std::wstring& key,
                                const std::wstring& nameTag, GameUrlReason reason, int stamp);

// The seconds since 1970 a request sent now is stamped with, cut to 32 bits as the service expects.
int UserInfoStamp();

// The request FetchGameUrlFor sends now, from the client configuration and the wall clock.
std::wstring CurrentUserInfoRequestUrl(const std::wstring& nameTag, GameUrlReason reason);

// `gameUrl` unchanged, without any request, when there is no tag; otherwise the service's answer, or
// empty text when the template is unusable or the request fails (the HTTP status is not looked at).
std::wstring FetchGameUrlFor(const std::wstring& nameTag, const std::wstring& gameUrl, GameUrlReason reason);
