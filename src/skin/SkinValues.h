#pragma once
// The value syntaxes of skin attributes (lists, colours, margins) and the anchor rule that places every
// skinned element inside its window.

#include <string>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/gfx/canvas.h"
#include "skin/SkinDefs.h"

// Splits at every comma; an empty part between two commas counts, an empty part after the last comma
// does not, and a value without commas is one part.
std::vector<std::wstring> SplitSkinList(const std::wstring& text);

// "red, green, blue" as 0x00BBGGRR, each part read as a decimal integer (no digits: 0) and masked to
// 8 bits. `fallback` when the value is empty or has fewer than three parts.
COLORREF ParseSkinColor(const std::wstring& text, COLORREF fallback);

// "left, top, right, bottom" as four full integers; false, with `rect` untouched, when the value has
// fewer than four parts.
bool ParseSkinRect(const std::wstring& text, RECT& rect);

// Moves `position` from an element's left and top offsets to its place in `container` (whose left and
// top count as 0): right anchors measure from the right edge, bottom anchors from the bottom edge.
// `align` is "TopLeft", "TopRight", "BottomLeft" or "BottomRight" in any case; anything else is TopLeft.
void ApplySkinAnchor(POINT& position, const std::wstring& align, const RECT& container, const RECT& element);

// The canvas font a FONT element describes: its family, its size in pixels and its style bits.
platform::FontSpec CanvasFont(const SkinFontDef& font);
