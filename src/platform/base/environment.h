#pragma once
// Environment variables in paths written the Windows way ("%TEMP%\\setup.run").

#include <string>

namespace platform {

// Replaces every %NAME% with the variable's value; names match exactly first, then without regard to
// ASCII case, as on Windows. TEMP and TMP fall back to $TMPDIR, else /tmp. A name that is not set, and
// a lone '%', stay as written.
std::string ExpandEnvironmentStrings(const std::string& text);

}  // namespace platform
