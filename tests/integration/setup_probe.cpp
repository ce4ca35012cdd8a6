// A client that only starts up: it installs the start-up set-up and creates the configuration, which runs it,
// and writes where the running program now lives into the file argv[1], so a test can see the set-up from
// outside.
#include <cstdio>
#include <string>

#include "app/EnvironmentSetup.h"
#include "config/ClientConfig.h"
#include "platform/base/text.h"
#include "util/ModulePath.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    ClientConfig::InstallSetupStep(RunEnvironmentSetup);
    ClientConfig::Instance();
    std::string path = platform::WideToUtf8(GetModulePath(true));
    ClientConfig::DestroyInstance();
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        return 3;
    }
    std::fputs(path.c_str(), out);
    return std::fclose(out) == 0 ? 0 : 4;
}
