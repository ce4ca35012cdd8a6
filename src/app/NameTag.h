#pragma once
// The player tag a copy of the program carries in its file name ("client_4711.run" gives "4711"), sent
// to the operator's user-info service to find the player's game page.

#include <string>

// From the program path exactly as the process received it (argv[0]): the file name after the last
// '/', then the text after its last '_', up to the first '(' or '.'. Empty when the path has no folder
// part, the file name starts with its last '_' or has none, or neither '(' nor '.' follows.
std::wstring NameTagFromProgramPath(const std::wstring& programPath);
