// Maps shortcuts onto freedesktop desktop entries, with icons in a folder of our own under the user's icons.
#include "platform/os/shortcut.h"

#include "platform/base/files.h"
#include "platform/base/paths.h"
#include "platform/base/resources.h"

namespace platform {
namespace {

constexpr int kIconResourceId = 128;
constexpr const char* kEntrySuffix = ".desktop";

// Escapes a value as the desktop-entry format reads strings.
std::string EscapeValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    if (!out.empty() && out.front() == ' ') {
        out.replace(0, 1, "\\s");
    }
    return out;
}

// One Exec argument: always quoted, with the characters the format reserves inside quotes escaped and
// '%' doubled so no field code is seen. The string escaping of EscapeValue applies on top.
std::string QuoteExecArgument(const std::string& argument) {
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        }
        out += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return out + "\"";
}

std::string Unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool IsImageFile(const std::string& path) {
    for (const char* suffix : {".png", ".svg", ".xpm"}) {
        std::string s(suffix);
        if (path.size() > s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0) {
            return true;
        }
    }
    return false;
}

// The program's icon resource as a file the desktop can show, written when absent or different.
std::string InstalledIcon(const std::string& program) {
    ResourceBytes icon = FindResource("ICON", kIconResourceId);
    if (icon.empty()) {
        return {};
    }
    std::string folder = DataHome() + "/icons/velmora";
    std::string path = folder + "/" + BaseName(program) + ".png";
    std::string bytes(reinterpret_cast<const char*>(icon.data), icon.size);
    std::string existing;
    if (ReadFile(path, existing) && existing == bytes) {
        return path;
    }
    return MakeDirectories(folder) && WriteFileAtomically(path, bytes, 0644) ? path : std::string();
}

std::string EntryName(const std::string& linkPath) {
    std::string name = BaseName(linkPath);
    std::string suffix(kEntrySuffix);
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        name.resize(name.size() - suffix.size());
    }
    return name;
}

}  // namespace

bool HasUrlScheme(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) {
        return false;  // a single letter before ':' is a drive, not a scheme
    }
    auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(text[0])) {
        return false;
    }
    for (size_t i = 1; i < colon; ++i) {
        char c = text[i];
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::string DesktopEntryText(const std::string& name, const std::string& target, const std::string& iconPath,
                             const std::string& workingDirectory, const std::string& windowClass) {
    std::string text = "[Desktop Entry]\nVersion=1.0\n";
    if (HasUrlScheme(target)) {
        text += "Type=Link\nName=" + EscapeValue(name) + "\nURL=" + EscapeValue(target) + "\n";
    } else {
        text += "Type=Application\nName=" + EscapeValue(name) +
                "\nExec=" + EscapeValue(QuoteExecArgument(target)) + "\nTerminal=false\n";
        std::string folder = Unquoted(workingDirectory);
        if (!folder.empty()) {
            text += "Path=" + EscapeValue(folder) + "\n";
        }
        if (!windowClass.empty()) {
            text += "StartupWMClass=" + EscapeValue(windowClass) + "\n";
        }
    }
    if (!iconPath.empty()) {
        text += "Icon=" + EscapeValue(iconPath) + "\n";
    }
    return text;
}

bool WriteShortcut(const std::string& linkPath, const std::string& target, const std::string& iconSource,
                   const std::string& workingDirectory, const std::string& windowClass) {
    std::string icon;
    if (!iconSource.empty()) {
        icon = IsImageFile(iconSource) ? iconSource : InstalledIcon(iconSource);
    }
    // Desktops only start entries that are marked executable.
    return WriteFileAtomically(
        linkPath, DesktopEntryText(EntryName(linkPath), target, icon, workingDirectory, windowClass), 0755);
}

}  // namespace platform
