// Maps the engine version onto the version pkg-config reported at configure time.
#include "platform/os/engine.h"

#ifndef VELMORA_ENGINE_MAJOR
#define VELMORA_ENGINE_MAJOR 0
#endif

namespace platform {

int BrowserEngineMajorVersion() {
    return VELMORA_ENGINE_MAJOR;
}

}  // namespace platform
