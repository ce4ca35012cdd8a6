#pragma once
// Where the skin places things in the two windows, in client pixels. The pictures are drawn to fit
// these places; the mock-up puts them there.

#include <string>
#include <vector>

#include "painting.h"

namespace artwork {

struct Rect {
    int x;
    int y;
    int width;
    int height;
};

namespace launcher {

constexpr int kWidth = 1039;
constexpr int kHeight = 573;
constexpr Rect kBrowser{333, 210, 698, 362};
constexpr int kNavY = 160;
constexpr int kNavX[] = {334, 505, 676, 847};
constexpr int kNavWidth = 168;
constexpr int kNavHeight = 44;
constexpr Rect kMinimise{956, 120, 28, 24};
constexpr Rect kClose{986, 108, 36, 36};

// The outline of the window inside its shadow: the key art column rises above the rest at the left.
constexpr int kPanelLeft = 12;
constexpr int kPanelRight = 1034;
constexpr int kArtTop = 12;
constexpr int kArtRight = 333;
constexpr int kHeaderTop = 98;
// The plate the navigation buttons stand on.
constexpr int kNavBandTop = 152;

}  // namespace launcher

namespace game {

constexpr int kWidth = 1250;
constexpr int kHeight = 690;
constexpr int kStripHeight = 32;
// The title strip is stretched as a nine-grid with these fixed margins.
constexpr int kGridLeft = 120;
constexpr int kGridRight = 10;
constexpr Rect kVip{130, 5, 120, 22};
constexpr Rect kRefresh{949, 8, 51, 16};
constexpr Rect kCache{1029, 8, 71, 16};
constexpr Rect kPack{1141, 2, 24, 20};
constexpr Rect kMinimise{1169, 2, 24, 20};
constexpr Rect kMaximise{1197, 1, 24, 20};
constexpr Rect kClose{1223, 1, 24, 20};

}  // namespace game

}  // namespace artwork
