#pragma once
// Reading and checking a resource manifest: one resource a line, "TYPE ID FILE", with FILE relative
// to the manifest's folder.

#include <string>
#include <vector>

namespace resc {

struct ManifestEntry {
    std::string type;  // upper case: XML, PNG, ICON, MENU or STRING
    int id = 0;
    std::string path;  // as resolved against the manifest's folder
    int line = 0;
    std::string bytes;  // the file's content, ready to embed
};

// Parses and validates the manifest text; `folder` resolves relative paths and `name` prefixes
// messages. Every problem found is appended to `errors` as "name:line: message".
std::vector<ManifestEntry> ReadManifest(const std::string& text, const std::string& folder,
                                        const std::string& name, std::vector<std::string>& errors);

}  // namespace resc
