#pragma once
// Desktop shortcuts as freedesktop .desktop files: a target that is a URL gives a link entry, any other
// target an application entry that starts it.

#include <string>

namespace platform {

// Writes the entry at `linkPath` (replacing a file there), named after the link's file name without
// ".desktop". `iconSource` names a program whose icon the entry shows: this program's icon resource,
// installed once under $XDG_DATA_HOME/icons; an image file (.png, .svg, .xpm) is used as it is; empty
// means no icon. `workingDirectory` may be given in double quotes. A program's entry names the window
// class its windows carry, when given, so that the desktop matches them with it. False when the entry
// could not be written.
bool WriteShortcut(const std::string& linkPath, const std::string& target, const std::string& iconSource,
                   const std::string& workingDirectory, const std::string& windowClass = "");

// The entry's text, without touching the file system; `iconPath` is the Icon= value.
std::string DesktopEntryText(const std::string& name, const std::string& target, const std::string& iconPath,
                             const std::string& workingDirectory, const std::string& windowClass = "");

// True for text that starts with a URL scheme ("http:", "mailto:"), false for a file path.
bool HasUrlScheme(const std::string& text);

}  // namespace platform
