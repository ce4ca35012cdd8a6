#pragma once
// Facts about the browser engine the program was built against.

namespace platform {

// The engine's major version as the build found it (WebKitGTK's), 0 when unknown.
int BrowserEngineMajorVersion();

}  // namespace platform
