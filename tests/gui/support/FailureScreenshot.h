#pragma once
// Keeping the screenshot a failing test saw, for a person to look at.

#include <string>

class Screenshot;

// Saves `shot` as screenshots/<suite>.<test>.png under the working folder (under ctest, the test's build
// folder) and returns a line for the failure message saying where it is, or that it could not be saved.
// Call it from a failure message: EXPECT_TRUE(ok) << SaveForInspection(shot);
std::string SaveForInspection(const Screenshot& shot);
