#pragma once
// Starting helper programs from tests, without a shell.

#include <sys/types.h>

#include <string>
#include <vector>

// Starts args[0] with args; stderr goes to `stderrPath` when one is given. Returns -1 on failure.
pid_t StartProgram(std::vector<std::string> args, const std::string& stderrPath = "");
// Waits for the program and returns its exit status, or -1 when it did not exit normally.
int WaitForExit(pid_t pid);
