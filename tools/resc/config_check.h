#pragma once
// Warnings about the client configuration (XML 400) that the build still accepts: settings that leave
// the players' updates unsafe or impossible.

#include <string>
#include <vector>

#include "manifest.h"

namespace resc {

// Resource id of the client configuration.
constexpr int kClientConfigId = 400;

// "name:line: warning: ..." for each such setting of the configuration among `entries`.
std::vector<std::string> CheckClientConfig(const std::vector<ManifestEntry>& entries,
                                           const std::string& name);

}  // namespace resc
