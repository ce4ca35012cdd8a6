#pragma once
// Shortcuts, other programs and the user's browser.

#include <string>

// A desktop shortcut at `link` to `target` (a program or a URL), showing the icon of the program
// `icon` (none when empty), started in `workingDirectory`. False when it could not be written.
// A program's shortcut names `windowClass`, the class its windows carry, when one is given.
bool CreateShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& icon,
                    const std::wstring& workingDirectory, const std::wstring& windowClass = L"");
// Starts the program a command line names, with its arguments, and does not wait for it.
bool RunProcess(const std::wstring& commandLine);
// Shows a web page or file in the user's own program for it.
void OpenInShell(const std::wstring& target);
