#pragma once
// Everything that makes the art belong to one game: its colours, its name and the lines of copy baked
// into the pictures. Re-colouring the skin for another brand means changing only this file.

#include <string>

#include "painting.h"

namespace artwork {

struct Palette {
    // Deep space, from the darkest corner of the sky to the lit haze behind the title.
    Colour void_black = Hex(0x03050f);
    Colour space_deep = Hex(0x070c24);
    Colour space_navy = Hex(0x0d1638);
    Colour space_indigo = Hex(0x1a2160);
    // Nebula clouds, laid over the sky with a screen blend.
    Colour nebula_violet = Hex(0x6a2fa8);
    Colour nebula_magenta = Hex(0xb13d8f);
    Colour nebula_teal = Hex(0x1d7ea8);
    // The planet: its lit face, its night side and the glow of its atmosphere.
    Colour planet_light = Hex(0x8fdde6);
    Colour planet_mid = Hex(0x2a6894);
    Colour planet_dark = Hex(0x0a1a33);
    Colour atmosphere = Hex(0x7fe3ff);
    // Accents: gold for what matters most (the title, the pay button), cyan for everything interactive.
    Colour gold_light = Hex(0xfff0c0);
    Colour gold = Hex(0xf3c15e);
    Colour gold_deep = Hex(0xb87a22);
    Colour gold_ink = Hex(0x402406);
    Colour cyan = Hex(0x5cd2ff);
    Colour cyan_deep = Hex(0x1f6fb0);
    // Plates the controls sit on.
    Colour panel = Hex(0x0b1130);
    Colour panel_raised = Hex(0x1a2558);
    Colour page_well = Hex(0x040713);
    // Text and glyphs.
    Colour text = Hex(0xe8eeff);
    Colour text_dim = Hex(0xa3b0d6);
    Colour danger = Hex(0xe5484d);
    Colour danger_deep = Hex(0x9c1f26);
};

struct Brand {
    Palette colours;
    std::string title = "星海纪元";
    std::string subtitle = "STAR  SEA  ERA";
    std::string tagline = "浩瀚星海 · 由你征服";
    std::string season = "第七赛季「曙光远征」火热开启";
    std::string season_note = "NEW SEASON  ·  DAWN EXPEDITION";
    // Families as fontconfig knows them: one that covers the Chinese labels and one for Latin lines.
    std::string cjk_font = "WenQuanYi Zen Hei";
    std::string latin_font = "DejaVu Sans";
};

}  // namespace artwork
