#include "skin/SkinSchema.h"

#include <cstring>

const SkinElementSchema kSkinSection{
    "", {"logo", "titleHeight", "width", "height", "border", "color", "bgcolor", "title", "font"}};
const SkinElementSchema kSkinImage{
    "IMG", {"name", "stand", "left", "top", "width", "height", "strech", "align", "rect"}};
const SkinElementSchema kSkinRect{"RECT", {"name", "left", "top", "width", "height", "strech"}};
const SkinElementSchema kSkinButton{"BTN",
                                    {"name", "stand", "left", "top", "align", "tip", "title", "font", "color",
                                     "hotcolor", "style", "check", "icon", "icon1"}};
const SkinElementSchema kSkinText{
    "TEXT", {"name", "left", "top", "width", "height", "align", "title", "font", "color"}};
const SkinElementSchema kSkinFont{"FONT", {"name", "size", "style", "family"}};
const SkinElementSchema kSkinLogo{"IMG", {"name", "stand"}};

bool SkinElementSchema::Has(const char* attribute) const {
    for (const char* name : attributes) {
        if (std::strcmp(name, attribute) == 0) {
            return true;
        }
    }
    return false;
}

const std::vector<const SkinElementSchema*>& SkinSchema() {
    static const std::vector<const SkinElementSchema*> all = {
        &kSkinSection, &kSkinImage, &kSkinRect, &kSkinButton, &kSkinText, &kSkinFont, &kSkinLogo};
    return all;
}
