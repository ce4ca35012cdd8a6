// A program that starts a test display and then exits or is killed, for the tests of how the display ends.
//
// Writes "<display name> <server pid>" to the file named first, then ends as the second argument says:
// "exit" (normally, so the display is stopped) or "kill" (SIGKILL, so nothing is).
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "TestDisplay.h"
#include "support/TempDir.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: display_holder <output file> exit|kill\n");
        return 2;
    }
    TestDisplay& display = TestDisplay::Get();
    WriteWholeFile(argv[1], display.Name() + " " + std::to_string(display.ServerPid()) + "\n");
    if (std::string(argv[2]) == "kill") {
        kill(getpid(), SIGKILL);
    }
    return 0;
}
