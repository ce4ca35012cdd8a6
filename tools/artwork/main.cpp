// velmora-artwork: draws the skin pictures of the demo build.
//
//   velmora-artwork [--icon FILE] [--mockup FILE] [--sheet FILE] [OUTDIR]
//
// OUTDIR receives every picture the skin names; --icon writes the application icon; --mockup shows
// both windows on a made-up desktop and --sheet every button state enlarged, both for people to
// judge the art by (write those two outside the source tree).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "artwork.h"

namespace {

bool WritePng(cairo_surface_t* surface, const std::string& path) {
    cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "velmora-artwork: cannot write %s: %s\n", path.c_str(),
                     cairo_status_to_string(status));
        return false;
    }
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: velmora-artwork [--icon FILE] [--mockup FILE] [--sheet FILE] [OUTDIR]\n");
    return 2;
}

}  // namespace

namespace artwork {

cairo_surface_t* Find(const Pictures& pictures, const std::string& file) {
    for (const Picture& picture : pictures) {
        if (picture.file == file) {
            return picture.surface.get();
        }
    }
    std::fprintf(stderr, "velmora-artwork: no picture %s\n", file.c_str());
    std::exit(1);
}

}  // namespace artwork

int main(int argc, char** argv) {
    std::string icon_path, mockup_path, sheet_path, folder;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string* option = argument == "--icon"     ? &icon_path
                              : argument == "--mockup" ? &mockup_path
                              : argument == "--sheet"  ? &sheet_path
                                                       : nullptr;
        if (option != nullptr) {
            if (i + 1 >= argc) {
                return Usage();
            }
            *option = argv[++i];
        } else if (!argument.empty() && argument[0] != '-' && folder.empty()) {
            folder = argument;
        } else {
            return Usage();
        }
    }
    if (icon_path.empty() && mockup_path.empty() && sheet_path.empty() && folder.empty()) {
        return Usage();
    }

    const artwork::Brand brand;
    artwork::Pictures pictures;
    artwork::DrawLauncherBackground(brand, pictures);
    artwork::DrawLauncherButtons(brand, pictures);
    artwork::DrawGameArt(brand, pictures);
    artwork::Surface icon = artwork::DrawIcon(brand);

    bool ok = true;
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "velmora-artwork: cannot create %s: %s\n", folder.c_str(),
                         error.message().c_str());
            return 1;
        }
        for (const artwork::Picture& picture : pictures) {
            ok = WritePng(picture.surface.get(), (std::filesystem::path(folder) / picture.file).string()) &&
                 ok;
        }
    }
    if (!icon_path.empty()) {
        ok = WritePng(icon.get(), icon_path) && ok;
    }
    if (!mockup_path.empty()) {
        ok = WritePng(artwork::ComposeMockup(brand, pictures, icon.get()).get(), mockup_path) && ok;
    }
    if (!sheet_path.empty()) {
        ok = WritePng(artwork::ComposeSheet(pictures, icon.get()).get(), sheet_path) && ok;
    }
    return ok ? 0 : 1;
}
