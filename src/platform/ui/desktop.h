#pragma once
// The program's life on the desktop, around its windows: connecting before the first window, the
// identity its windows carry, a request from outside to end, and letting go at the end.

#include <functional>
#include <string>

namespace platform {

// Connects to the desktop before any window is made; false, with a reason a person can read, when there
// is none (no display).
bool OpenDesktop(std::string& reason);
// The identity the desktop groups the program's windows by and matches its shortcut with (on X11 the
// windows' class and the program name), for windows made after the call.
void SetProgramIdentity(const std::wstring& identity);
// `handler` runs on the UI thread, from the message loop, when the process is asked to end (SIGTERM,
// SIGINT, SIGHUP); an empty one gives the requests their default again (the process ends).
void SetTerminationHandler(std::function<void()> handler);
// Lets go of the desktop at the end: a tray icon still present is removed and what was asked of the
// display is sent, so that nothing the program showed outlives it.
void CloseDesktop();

}  // namespace platform
