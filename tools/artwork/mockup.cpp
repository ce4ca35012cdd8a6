// Pictures for people, not for the skin: both windows on a made-up desktop, and a sheet of every
// button state enlarged on the very pixels it will cover.
#include <cmath>
#include <string>

#include "artwork.h"
#include "layout.h"
#include "space_art.h"

namespace artwork {

namespace {

void Blit(cairo_t* cr, cairo_surface_t* picture, double x, double y) {
    cairo_save(cr);
    cairo_set_source_surface(cr, picture, x, y);
    cairo_paint(cr);
    cairo_restore(cr);
}

// The title strip stretched the way the skin stretches it: fixed margins, a scaled middle.
void PaintNineGrid(cairo_t* cr, cairo_surface_t* strip, double x, double y, int width) {
    const int sw = WidthOf(strip), sh = HeightOf(strip);
    const int left = game::kGridLeft, right = game::kGridRight;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, left, sh);
    cairo_clip(cr);
    Blit(cr, strip, x, y);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x + width - right, y, right, sh);
    cairo_clip(cr);
    Blit(cr, strip, x + width - sw, y);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x + left, y, width - left - right, sh);
    cairo_clip(cr);
    cairo_translate(cr, x + left, y);
    cairo_scale(cr, double(width - left - right) / (sw - left - right), 1);
    cairo_set_source_surface(cr, strip, -left, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

void Text(cairo_t* cr, const std::string& text, const Font& font, double x, double y, Colour colour,
          double alpha = 1) {
    Layout layout = NewLayout(cr, text, font);
    ShowLayout(cr, layout.get(), Point{std::round(x), std::round(y)}, colour, alpha);
}

void CentredText(cairo_t* cr, const std::string& text, const Font& font, double cx, double cy, Colour colour,
                 double alpha = 1) {
    Layout layout = NewLayout(cr, text, font);
    ShowLayout(cr, layout.get(), CentredOrigin(layout.get(), cx, cy), colour, alpha);
}

// Stand-in for the news page the launcher shows in its browser area.
void PaintNewsPage(cairo_t* cr, const Brand& brand, const Rect& r) {
    const Palette& c = brand.colours;
    const Font small{brand.cjk_font, 12, false, 0};
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_clip(cr);
    Pattern page = Linear(0, r.y, 0, r.y + r.height, {{0, Hex(0x121a3c)}, {1, Hex(0x0a0f26)}});
    SetSource(cr, page);
    cairo_paint(cr);

    const double bx = r.x + 10, by = r.y + 10, bw = 430, bh = 196;
    cairo_save(cr);
    RoundedRect(cr, bx, by, bw, bh, 4);
    cairo_clip(cr);
    Pattern banner =
        Linear(bx, by, bx + bw, by + bh,
               {{0, Mix(c.nebula_violet, c.space_deep, 0.3)}, {1, Mix(c.nebula_teal, c.void_black, 0.5)}});
    SetSource(cr, banner);
    cairo_paint(cr);
    StarField field;
    field.area = Box{bx, by, bw, bh};
    field.count = 160;
    field.seed = 77;
    PaintStars(cr, field);
    PaintPlanet(cr, c, Planet{bx + 360, by + 150, 90, -0.5, -0.85, 12, 14, 3});
    PaintStarship(cr, c, bx + 300, by + 60, -0.3, 0.8);
    Text(cr, "「曙光远征」今日开启", Font{brand.cjk_font, 24, true, 1}, bx + 22, by + 96, kWhite);
    Text(cr, "全新星域 · 舰队远征 · 登录领取传说舰船", small, bx + 24, by + 132, c.text_dim);
    RoundedRect(cr, bx + 24, by + 156, 92, 24, 12);
    SetColour(cr, c.gold);
    cairo_fill(cr);
    CentredText(cr, "立即了解", Font{brand.cjk_font, 12, true, 1}, bx + 70, by + 168, c.gold_ink);
    cairo_restore(cr);

    const double nx = bx + bw + 12, nw = r.x + r.width - 10 - nx;
    const char* tabs[] = {"新闻", "公告", "活动"};
    for (int i = 0; i < 3; ++i) {
        Text(cr, tabs[i], Font{brand.cjk_font, 14, i == 0, 0}, nx + i * 52, by + 2,
             i == 0 ? c.gold : c.text_dim);
    }
    SetColour(cr, c.text_dim, 0.25);
    cairo_rectangle(cr, nx, by + 26, nw, 1);
    cairo_fill(cr);
    SetColour(cr, c.gold);
    cairo_rectangle(cr, nx, by + 25, 30, 2);
    cairo_fill(cr);
    const char* news[][2] = {{"[公告] 新赛季开服时间公告", "03-12"}, {"[活动] 曙光远征 登录送舰船", "03-12"},
                             {"[新闻] 星域地图全面扩展", "03-10"},   {"[公告] 例行停服维护说明", "03-08"},
                             {"[活动] 舰队集结 组队有礼", "03-05"},  {"[新闻] 开发者访谈第三期", "03-01"}};
    for (int i = 0; i < 6; ++i) {
        double y = by + 38 + i * 26;
        Text(cr, news[i][0], small, nx, y, c.text, 0.9);
        Layout date = NewLayout(cr, news[i][1], Font{brand.latin_font, 11, false, 0});
        ShowLayout(cr, date.get(), Point{std::round(nx + nw - LogicalBox(date.get()).width), y + 1},
                   c.text_dim);
    }

    const char* cards[][2] = {
        {"新手指引", "三分钟了解星海"}, {"舰船图鉴", "百余艘战舰一览"}, {"星域地图", "探索未知星区"}};
    for (int i = 0; i < 3; ++i) {
        double cx = bx + i * 228, cy = by + bh + 12, cw = 218, ch = r.y + r.height - 10 - cy;
        RoundedRect(cr, cx, cy, cw, ch, 4);
        Pattern card = Linear(0, cy, 0, cy + ch, {{0, c.panel_raised}, {1, c.panel}});
        SetSource(cr, card);
        cairo_fill_preserve(cr);
        SetColour(cr, c.cyan, 0.25);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        PaintRingedPlanet(cr, c, cx + 34, cy + ch / 2, 10);
        Text(cr, cards[i][0], Font{brand.cjk_font, 16, true, 1}, cx + 66, cy + ch / 2 - 22, c.text);
        Text(cr, cards[i][1], small, cx + 66, cy + ch / 2 + 4, c.text_dim);
    }
    cairo_restore(cr);
}

void PaintWallpaper(cairo_t* cr, int width, int height) {
    Pattern base =
        Linear(0, 0, width, height, {{0, Hex(0x2d4f86)}, {0.55, Hex(0x3d3f7e)}, {1, Hex(0x6a4a86)}});
    SetSource(cr, base);
    cairo_paint(cr);
    Pattern glow =
        Radial(width * 0.2, height * 0.85, width * 0.5, {{0, Hex(0x4fa3c7), 0.55}, {1, Hex(0x4fa3c7), 0}});
    SetSource(cr, glow);
    cairo_paint(cr);
    Pattern warm =
        Radial(width * 0.85, height * 0.1, width * 0.4, {{0, Hex(0xe39ab0), 0.35}, {1, Hex(0xe39ab0), 0}});
    SetSource(cr, warm);
    cairo_paint(cr);
}

void PaintTaskbar(cairo_t* cr, const Brand& brand, cairo_surface_t* icon, int width, int height) {
    const int bar = 44;
    SetColour(cr, Hex(0x11131c), 0.92);
    cairo_rectangle(cr, 0, height - bar, width, bar);
    cairo_fill(cr);
    SetColour(cr, kWhite, 0.08);
    cairo_rectangle(cr, 0, height - bar, width, 1);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 12, height - bar + 4);
    cairo_scale(cr, 36.0 / 64, 36.0 / 64);
    Blit(cr, icon, 0, 0);
    cairo_restore(cr);
    SetColour(cr, kWhite, 0.12);
    RoundedRect(cr, 56, height - bar + 5, 150, 34, 4);
    cairo_fill(cr);
    Text(cr, brand.title, Font{brand.cjk_font, 13, false, 0}, 68, height - bar + 14, kWhite);
    Text(cr, "21:08", Font{brand.latin_font, 13, false, 0}, width - 60, height - bar + 13, kWhite, 0.85);
}

void PaintWindowShadow(cairo_t* cr, int width, int height, Rect r) {
    PaintBlurred(cr, width, height, 6, 0.6, [&](cairo_t* layer) {
        cairo_rectangle(layer, r.x, r.y + 6, r.width, r.height);
        cairo_set_source_rgb(layer, 0, 0, 0);
        cairo_fill(layer);
    });
}

void PaintGameWindow(cairo_t* cr, const Brand& brand, const Pictures& pictures, double x, double y) {
    using namespace game;
    const Palette& c = brand.colours;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    cairo_fill(cr);
    PaintNineGrid(cr, Find(pictures, "347-game-title.png"), 0, 0, kWidth);
    Blit(cr, Find(pictures, "356-vip.png"), kVip.x, kVip.y);
    CentredText(cr, "星海一区 启航", Font{brand.cjk_font, 12, true, 0}, kVip.x + kVip.width / 2.0,
                kVip.y + kVip.height / 2.0, Hex(0xebebeb));
    Blit(cr, Find(pictures, "350-refresh.png"), kRefresh.x, kRefresh.y);
    Blit(cr, Find(pictures, "354-cache-hover.png"), kCache.x, kCache.y);
    Blit(cr, Find(pictures, "330-pack.png"), kPack.x, kPack.y);
    Blit(cr, Find(pictures, "321-game-min.png"), kMinimise.x, kMinimise.y);
    Blit(cr, Find(pictures, "324-game-max.png"), kMaximise.x, kMaximise.y);
    Blit(cr, Find(pictures, "318-game-close.png"), kClose.x, kClose.y);
    // The game itself loads into the black client area.
    CentredText(cr, "正在进入 星海一区 …", Font{brand.cjk_font, 14, false, 1}, kWidth / 2.0, 380, c.text_dim);
    RoundedRect(cr, kWidth / 2.0 - 160, 404, 320, 6, 3);
    SetColour(cr, kWhite, 0.1);
    cairo_fill(cr);
    RoundedRect(cr, kWidth / 2.0 - 160, 404, 210, 6, 3);
    Pattern bar = Linear(kWidth / 2.0 - 160, 0, kWidth / 2.0 + 50, 0, {{0, c.cyan_deep}, {1, c.cyan}});
    SetSource(cr, bar);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintLauncher(cairo_t* cr, const Brand& brand, const Pictures& pictures, double x, double y) {
    using namespace launcher;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    Blit(cr, Find(pictures, "348-launcher-background.png"), 0, 0);
    PaintNewsPage(cr, brand, kBrowser);
    const char* buttons[] = {"337-home.png", "343-pay.png", "341-service-hover.png", "334-forum.png"};
    for (int i = 0; i < 4; ++i) {
        Blit(cr, Find(pictures, buttons[i]), kNavX[i], kNavY);
    }
    Blit(cr, Find(pictures, "314-launcher-min.png"), kMinimise.x, kMinimise.y);
    Blit(cr, Find(pictures, "311-launcher-close.png"), kClose.x, kClose.y);
    cairo_restore(cr);
}

}  // namespace

Surface ComposeMockup(const Brand& brand, const Pictures& pictures, cairo_surface_t* icon) {
    const int width = 1920, height = 1080;
    Surface surface = NewSurface(width, height, true);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    PaintWallpaper(cr, width, height);
    const int gx = 40, gy = 28, lx = 840, ly = 452;
    PaintWindowShadow(cr, width, height, Rect{gx, gy, game::kWidth, game::kHeight});
    PaintGameWindow(cr, brand, pictures, gx, gy);
    PaintLauncher(cr, brand, pictures, lx, ly);
    PaintTaskbar(cr, brand, icon, width, height);
    return surface;
}

namespace {

// One enlarged cell: the button drawn at its place over the pixels it covers, with some surround.
void Cell(cairo_t* cr, cairo_surface_t* under, Rect place, cairo_surface_t* button, double x, double y,
          double scale, int pad) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, place.width + 4 + 2 * pad, place.height + 4 + 2 * pad);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, under, pad - place.x, pad - place.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_set_source_surface(cr, button, pad, pad);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace

Surface ComposeSheet(const Pictures& pictures, cairo_surface_t* icon) {
    const int width = 1800, height = 1500;
    Surface surface = NewSurface(width, height, true);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, 0.17, 0.18, 0.22);
    cairo_paint(cr);
    const char* suffixes[] = {"", "-hover", "-pressed"};

    cairo_surface_t* background = Find(pictures, "348-launcher-background.png");
    const char* nav_ids[][3] = {{"337-home", "338-home-hover", "339-home-pressed"},
                                {"343-pay", "344-pay-hover", "345-pay-pressed"},
                                {"340-service", "341-service-hover", "342-service-pressed"},
                                {"334-forum", "335-forum-hover", "336-forum-pressed"}};
    for (int row = 0; row < 4; ++row) {
        for (int state = 0; state < 3; ++state) {
            Rect place{launcher::kNavX[row], launcher::kNavY, launcher::kNavWidth, launcher::kNavHeight};
            Cell(cr, background, place, Find(pictures, std::string(nav_ids[row][state]) + ".png"),
                 20 + state * 380, 20 + row * 118, 2, 6);
        }
    }
    for (int state = 0; state < 3; ++state) {
        Cell(cr, background, launcher::kMinimise,
             Find(pictures, std::to_string(314 + state) + "-launcher-min" + suffixes[state] + ".png"), 1180,
             20 + state * 150, 3, 4);
        Cell(cr, background, launcher::kClose,
             Find(pictures, std::to_string(311 + state) + "-launcher-close" + suffixes[state] + ".png"), 1340,
             20 + state * 150, 3, 4);
    }

    // The game strip's buttons, each over the strip at its own place.
    Surface strip_window = NewSurface(game::kWidth, game::kHeight, true);
    {
        Context strip_cr = NewContext(strip_window.get());
        PaintNineGrid(strip_cr.get(), Find(pictures, "347-game-title.png"), 0, 0, game::kWidth);
    }
    struct GameCell {
        int first_id;
        const char* name;
        Rect place;
    };
    const GameCell cells[] = {{350, "refresh", game::kRefresh},
                              {353, "cache", game::kCache},
                              {356, "vip", game::kVip},
                              {330, "pack", game::kPack},
                              {321, "game-min", game::kMinimise},
                              {324, "game-max", game::kMaximise},
                              {327, "game-restore", game::kMaximise},
                              {318, "game-close", game::kClose}};
    double y = 500;
    double x = 20;
    for (const GameCell& cell : cells) {
        double cell_width = (cell.place.width + 12) * 3;
        if (x + cell_width * 3 > width) {
            x = 20, y += (cell.place.height + 12) * 3 * 3 + 20;
        }
        for (int state = 0; state < 3; ++state) {
            Cell(cr, strip_window.get(), cell.place,
                 Find(pictures,
                      std::to_string(cell.first_id + state) + "-" + cell.name + suffixes[state] + ".png"),
                 x, y + state * (cell.place.height + 12) * 3, 3, 4);
        }
        x += cell_width + 20;
    }

    // The strip at its own width and stretched, to look for seams.
    PaintNineGrid(cr, Find(pictures, "347-game-title.png"), 20, 1300, game::kWidth);
    PaintNineGrid(cr, Find(pictures, "347-game-title.png"), 20, 1350, 1760);
    PaintNineGrid(cr, Find(pictures, "347-game-title.png"), 20, 1400, 700);
    Blit(cr, icon, 1500, 1230);
    cairo_save(cr);
    cairo_translate(cr, 1580, 1230);
    cairo_scale(cr, 3, 3);
    cairo_set_source_surface(cr, icon, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    return surface;
}

}  // namespace artwork
