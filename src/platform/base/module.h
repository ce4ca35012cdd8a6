#pragma once
// The running program's own file.

#include <string>

namespace platform {

// The full path of the running executable (UTF-8), as the kernel reports it: after the file is
// renamed, the new name.
std::string ModuleFileName();
// Makes ModuleFileName answer `path` instead, so that tests can play a program installed elsewhere;
// an empty path restores the real answer.
void OverrideModuleFileName(const std::string& path);

}  // namespace platform
