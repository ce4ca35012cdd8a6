#include "browser/FrameLink.h"

namespace {

FrameLink*& Link() {
    static FrameLink* link = nullptr;
    return link;
}

}  // namespace

FrameLink* GetFrameLink() {
    return Link();
}

void SetFrameLink(FrameLink* link) {
    Link() = link;
}
