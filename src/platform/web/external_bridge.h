#pragma once
// How page script reaches the client's external object on an engine that offers no such object: a user
// script defines window.external in every frame and turns each call into one synchronous prompt() whose
// text begins with a token of this process. The engine hands every prompt to the client; those that
// begin with the token are calls, answered with the reply text; any other is the page's own.
//
// The page never sees the token, and the script keeps its own references to prompt() and the built-ins
// it uses, so a page that replaces them later cannot forge or break a call.

#include <string>

#include "platform/web/external.h"

namespace platform {

// 32 random hexadecimal digits, new for each process.
std::string NewBridgeToken();

// The user script to run at document start in every frame.
std::string BridgeScript(const std::string& token);

// True when `message` is a call through the bridge of `token`; `reply` is then the prompt's answer for
// the page: the method's result, or a failure the page throws as a script error (no such method, a
// method that failed, a message that does not parse).
bool AnswerBridgeMessage(const std::string& token, const std::string& message, const ExternalObject& object,
                         std::string& reply);

}  // namespace platform
