#pragma once
// The caption the client's windows and tray icon carry.

#include <string>

// "<product> Ver <version>"; creates the configuration when it does not exist yet.
std::wstring ProductCaption();
