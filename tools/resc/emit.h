#pragma once
// Writing the C++ source that embeds the resources, and the make-style list of files it depends on.

#include <string>
#include <vector>

#include "manifest.h"

namespace resc {

std::string EmitSource(const std::vector<ManifestEntry>& entries);

// "output: manifest file1 file2 ..." with blanks escaped, for the build system.
std::string EmitDepfile(const std::string& output, const std::string& manifest,
                        const std::vector<ManifestEntry>& entries);

}  // namespace resc
