#pragma once
// The running executable's path as the client uses it: the file, or its folder.

#include <string>

// With the file name, the executable's full path; without, its folder without a trailing '/' ("" for a
// program in the root, so that folder + '/' + name is always the file).
std::wstring GetModulePath(bool withFileName);
