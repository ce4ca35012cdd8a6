// velmora-demo [PORT] [--site DIR] [--offer-update] [--installer-marker FILE] [--login-check MARKER]
//
// Plays the game operator on 127.0.0.1: PORT 8631 by default, 0 for any free port (it says which).
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "DemoSite.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: velmora-demo [PORT] [--site DIR] [--offer-update] [--installer-marker FILE] "
                 "[--login-check MARKER]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    DemoSiteOptions options;
    options.siteDir = VELMORA_DEMO_SITE;
    int port = 8631;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--site" && hasValue) {
            options.siteDir = argv[++i];
        } else if (argument == "--offer-update") {
            options.offerUpdate = true;
        } else if (argument == "--installer-marker" && hasValue) {
            options.installerMarker = argv[++i];
        } else if (argument == "--login-check" && hasValue) {
            options.loginCheck = argv[++i];
        } else if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string::npos &&
                   argument.size() <= 5 && std::atoi(argument.c_str()) <= 65535) {
            port = std::atoi(argument.c_str());
        } else {
            return Usage();
        }
    }
    DemoSite site(options, std::cout);
    const int bound = site.Bind(port);
    if (bound < 0) {
        std::fprintf(stderr, "velmora-demo: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::cout << "velmora-demo: listening on http://127.0.0.1:" << bound << "/" << std::endl;
    return site.Run() ? 0 : 1;
}
