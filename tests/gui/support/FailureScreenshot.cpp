// Saves what a failing GUI test saw next to its build.
#include "FailureScreenshot.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "Screenshot.h"

std::string SaveForInspection(const Screenshot& shot) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "screenshot";
    // Parameterised tests have slashes in their names.
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    mkdir("screenshots", 0755);
    std::string path = "screenshots/" + name + ".png";
    if (!shot.SavePng(path)) {
        return "could not save the screenshot as " + path;
    }
    char* folder = getcwd(nullptr, 0);
    std::string where = folder != nullptr ? std::string(folder) + "/" + path : path;
    free(folder);
    return "screenshot saved as " + where;
}
