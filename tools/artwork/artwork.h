#pragma once
// The pictures of the skin, drawn in memory, and what can be made of them.

#include <string>
#include <vector>

#include "brand.h"
#include "painting.h"

namespace artwork {

// The three pictures every button has.
enum class State { Normal, Hover, Pressed };
constexpr State kStates[] = {State::Normal, State::Hover, State::Pressed};

// What the skin appends to a button's file name for the state.
inline const char* StateSuffix(State state) {
    switch (state) {
        case State::Hover:
            return "-hover";
        case State::Pressed:
            return "-pressed";
        default:
            return "";
    }
}

struct Picture {
    std::string file;  // the name it is written under, for example "337-home.png"
    Surface surface;
};
using Pictures = std::vector<Picture>;

void DrawLauncherBackground(const Brand& brand, Pictures& out);
void DrawLauncherButtons(const Brand& brand, Pictures& out);
void DrawGameArt(const Brand& brand, Pictures& out);
Surface DrawIcon(const Brand& brand);

// The picture written under `file`; exits with a message if there is none, which is a bug here.
cairo_surface_t* Find(const Pictures& pictures, const std::string& file);

// Both windows on a made-up desktop, to judge the skin as a whole.
Surface ComposeMockup(const Brand& brand, const Pictures& pictures, cairo_surface_t* icon);
// Every button in every state, enlarged, on the plates they are used on.
Surface ComposeSheet(const Pictures& pictures, cairo_surface_t* icon);

}  // namespace artwork
