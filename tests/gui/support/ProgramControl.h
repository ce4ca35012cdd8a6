#pragma once
// Finding, watching and stopping the programs the GUI test harness starts (Xvfb, desktop programs, xdotool).

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>

// The full path of `name` on PATH, or `name` itself when it holds a slash and can be run; empty when neither.
// StartProgram does not search PATH, and the programs live in different folders on different systems.
std::string FindProgram(const std::string& name);

// True once the child `pid` has ended (then it is reaped and its wait status goes to *status); never blocks.
// A pid that is not, or no longer, our child counts as ended.
bool HasExited(pid_t pid, int* status = nullptr);

// Asks the child to end (SIGTERM); kills it (SIGKILL) when it is still there after `grace`; reaps it.
// Returns its wait status, or -1 when it was not our child.
int StopProgram(pid_t pid, std::chrono::milliseconds grace);

// True when no process `pid` runs any more. A zombie counts as gone: once a program's parent is gone, its
// reaper may be an init that never reaps.
bool ProcessGone(pid_t pid);

// "exited with status 1", "was killed by signal 9": for failure messages.
std::string DescribeWaitStatus(int status);

// The last `bytes` of a log file, for failure messages; "(empty)" when there is nothing.
std::string TailOfFile(const std::string& path, std::size_t bytes = 2000);
