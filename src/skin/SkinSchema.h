#pragma once
// The skin document's elements and the attributes each one has, as an operator writes them. The parser
// finds an element and reads its attributes only through its entry here (a name the entry lacks is a
// programming error it asserts on), and a test keeps the operator's guide complete against the table.

#include <vector>

struct SkinElementSchema {
    const char* element;  // empty for a window's section, whose element the window names (MAINWND, GAMEWND)
    std::vector<const char*> attributes;

    bool Has(const char* attribute) const;
};

extern const SkinElementSchema kSkinSection;
extern const SkinElementSchema kSkinImage;
extern const SkinElementSchema kSkinRect;
extern const SkinElementSchema kSkinButton;
extern const SkinElementSchema kSkinText;
extern const SkinElementSchema kSkinFont;
extern const SkinElementSchema kSkinLogo;  // an IMG directly in the root: the title bar's logo file

// Every entry above.
const std::vector<const SkinElementSchema*>& SkinSchema();
