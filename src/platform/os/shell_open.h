#pragma once
// Handing a URL or a file to the program the user chose for it.

#include <string>

namespace platform {

// Opens `target` (a URL, or a file path, relative ones taken from the current folder) with the user's
// default program: through xdg-open when it is installed, which follows the desktop's own settings,
// else through GIO. Never through a shell. False when no program could be asked.
bool OpenWithDefaultProgram(const std::string& target);

}  // namespace platform
