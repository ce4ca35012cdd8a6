#pragma once
// Per-user folders of the freedesktop base-directory rules, and folder creation. Paths are UTF-8.

#include <string>

namespace platform {

// $XDG_CONFIG_HOME, else ~/.config (a relative or empty variable is ignored, as the rules say).
std::string ConfigHome();
// $XDG_CACHE_HOME, else ~/.cache.
std::string CacheHome();
// $XDG_DATA_HOME, else ~/.local/share.
std::string DataHome();
// $HOME, else the password database's home folder.
std::string HomeDir();
// The desktop folder the xdg-user-dirs settings ($XDG_CONFIG_HOME/user-dirs.dirs) name, else
// ~/Desktop. It is created when absent; the path is returned even when that fails.
std::string DesktopDir();

// Creates the folder and its missing parents (mode 0700 for new ones); true when it exists afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace platform
