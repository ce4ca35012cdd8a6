// velmora-resc: compiles a resource manifest into a C++ source file that registers the resources.
//
//   velmora-resc MANIFEST OUTPUT.cpp [DEPFILE]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "config_check.h"
#include "emit.h"
#include "manifest.h"

namespace {

// Writes beside the target and renames, so a failed run never leaves half a file for the build.
bool WriteAtomically(const std::string& path, const std::string& content) {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: velmora-resc MANIFEST OUTPUT.cpp [DEPFILE]\n";
        return 2;
    }
    std::string manifest = argv[1];
    std::ifstream in(manifest, std::ios::binary);
    if (!in) {
        std::cerr << manifest << ": error: cannot read the manifest\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    std::vector<std::string> errors;
    auto entries = resc::ReadManifest(text.str(), FolderOf(manifest), manifest, errors);
    if (!errors.empty()) {
        for (const std::string& error : errors) {
            std::cerr << error << "\n";
        }
        return 1;
    }
    for (const std::string& warning : resc::CheckClientConfig(entries, manifest)) {
        std::cerr << warning << "\n";
    }
    if (!WriteAtomically(argv[2], resc::EmitSource(entries)) ||
        (argc == 4 && !WriteAtomically(argv[3], resc::EmitDepfile(argv[2], manifest, entries)))) {
        std::cerr << argv[2] << ": error: cannot write the output\n";
        return 1;
    }
    return 0;
}
