#pragma once
// Starting other programs the way Windows does, from one command line, without a shell.

#include <string>
#include <vector>

namespace platform {

// Splits a command line by the Windows rules: the program name ends at the closing quote or the first
// blank; arguments are separated by blanks, double quotes group, 2n backslashes before a quote give n
// backslashes and a quote that groups, 2n+1 give n backslashes and a literal quote, other backslashes
// are literal, and "" inside quotes is a literal quote. An unpaired quote runs to the end.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Starts args[0] with args, detached: new session, default signals, no inherited descriptors beyond
// the standard three, and never a zombie (the child is reaped in the background). A name without
// '/' is looked up in the running program's folder first, then in PATH. `processId` receives the
// child's id. False when the program could not be started.
bool StartDetachedProcess(const std::vector<std::string>& args, int* processId = nullptr);

// SplitCommandLine + StartDetachedProcess.
bool StartCommandLine(const std::string& commandLine, int* processId = nullptr);

// The running program's process id.
int CurrentProcessId();

}  // namespace platform
