// Maps Canvas onto cairo for fills and blits, and onto pango for text.
#include "platform/gfx/canvas.h"

#include <cairo.h>
#include <glib-object.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/text.h"

namespace platform {
namespace {

// Cairo keeps path coordinates in 24.8 fixed point and pango its sizes in 22.10, so everything handed
// to them stays well inside this bound; nothing a window shows comes near it.
constexpr double kMaxCoordinate = 1 << 20;
constexpr float kDefaultPixelSize = 12;
constexpr float kMaxPixelSize = 1000;

// A rectangle with 64-bit edges, so that arithmetic on LONG edges cannot overflow.
struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    std::int64_t Width() const { return right - left; }
    std::int64_t Height() const { return bottom - top; }
};

Box ToBox(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

Box Intersect(const Box& a, const Box& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void SetSourceColour(cairo_t* cr, COLORREF colour) {
    cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
}

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using ContextPtr = std::unique_ptr<PangoContext, GObjectUnref>;
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// Pango font maps may not be shared between threads, so each thread gets its own, kept for the life of
// the thread so that its font caches serve every call, and released with it, caches and all.
PangoFontMap* ThreadFontMap() {
    thread_local std::unique_ptr<PangoFontMap, GObjectUnref> fontMap(pango_cairo_font_map_new());
    return fontMap.get();
}

// Grey antialiasing rather than subpixel colour fringes, because text often lands on transparent
// pixels of a layered window where the subpixel order means nothing; hinted metrics keep glyph
// advances in whole pixels, so measuring and drawing agree.
ContextPtr CreateTextContext() {
    ContextPtr context(pango_font_map_create_context(ThreadFontMap()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    return context;
}

// The text as one line of valid UTF-8: line and paragraph breaks become blanks (a CR LF pair one blank)
// and NUL characters, which would end the text for pango, are dropped.
std::string OneLineUtf8(const std::wstring& text) {
    std::wstring line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue;
        }
        if (c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f' || c == 0x85 || c == 0x2028 || c == 0x2029) {
            line += L' ';
        } else if (c != 0) {
            line += c;
        }
    }
    std::string utf8 = WideToUtf8(line);
    if (utf8.size() > INT_MAX / 2) {
        utf8.clear();
    }
    if (!g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr)) {
        gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
        utf8 = valid;
        g_free(valid);
    }
    return utf8;
}

float UsablePixelSize(float pixelSize) {
    if (!std::isfinite(pixelSize) || pixelSize <= 0) {
        return kDefaultPixelSize;
    }
    return std::min(pixelSize, kMaxPixelSize);
}

void SetLayoutText(PangoLayout* layout, const std::string& utf8) {
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
}

LayoutPtr CreateTextLayout(PangoContext* context, const std::string& utf8, const FontSpec& font) {
    LayoutPtr layout(pango_layout_new(context));
    // The generic family goes last in the list, so a family this machine lacks still gets a face
    // picked for sans-serif text rather than whatever the font configuration puts first.
    std::string family = WideToUtf8(font.family);
    family = family.empty() ? "sans-serif" : family + ",sans-serif";
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, family.c_str());
    pango_font_description_set_absolute_size(description, UsablePixelSize(font.pixelSize) * PANGO_SCALE);
    pango_font_description_set_weight(
        description, (font.style & FontSpec::kBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        description, (font.style & FontSpec::kItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);

    if (font.style & (FontSpec::kUnderline | FontSpec::kStrikeout)) {
        PangoAttrList* attributes = pango_attr_list_new();
        if (font.style & FontSpec::kUnderline) {
            pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        }
        if (font.style & FontSpec::kStrikeout) {
            pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        }
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    SetLayoutText(layout.get(), utf8);
    return layout;
}

// The logical extents of the layout's single line, in pango units, y measured from the baseline.
PangoRectangle LineExtents(PangoLayout* layout) {
    PangoRectangle logical{};
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &logical);
    return logical;
}

// Keeps the words of `utf8` that fit in `width` pixels. Pango's word-or-character wrapping finds the
// break: its first line holds the words that fit, or the characters of a first word too long for the
// line, which is what trimming by words shows.
std::string FittingWords(PangoLayout* layout, const std::string& utf8, double width) {
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    PangoLayoutLine* first = pango_layout_get_line_readonly(layout, 0);
    std::size_t end = static_cast<std::size_t>(std::max(0, first->start_index + first->length));
    pango_layout_set_width(layout, -1);
    std::string kept = utf8.substr(0, std::min(end, utf8.size()));
    // The blanks before the break would push far-aligned text away from its edge.
    while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t')) {
        kept.pop_back();
    }
    return kept;
}

// Keeps the longest start of `utf8` that fits in `width` pixels together with a trailing "…", cut
// between whole characters (never inside a cluster); blanks before the ellipsis are dropped. Pango's
// own ellipsizing widens the ellipsis to fill the line, which would leave a gap before the far edge.
std::string Ellipsized(PangoLayout* layout, const std::string& utf8, double width) {
    static const std::string kEllipsis = "\xE2\x80\xA6";
    int attributeCount = 0;
    const PangoLogAttr* attributes = pango_layout_get_log_attrs_readonly(layout, &attributeCount);
    std::vector<std::size_t> cuts;  // byte offsets where the text may end, shortest first
    const char* text = utf8.c_str();
    for (int i = 1; i + 1 < attributeCount; ++i) {
        if (attributes[i].is_cursor_position) {
            cuts.push_back(static_cast<std::size_t>(g_utf8_offset_to_pointer(text, i) - text));
        }
    }
    auto candidate = [&](std::size_t cut) {
        std::string kept = utf8.substr(0, cut);
        while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t')) {
            kept.pop_back();
        }
        return kept + kEllipsis;
    };
    std::string best = kEllipsis;
    std::size_t low = 0;
    std::size_t high = cuts.size();
    while (low < high) {
        std::size_t middle = low + (high - low) / 2;
        std::string tried = candidate(cuts[middle]);
        SetLayoutText(layout, tried);
        if (LineExtents(layout).width <= width * PANGO_SCALE) {
            best = std::move(tried);
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return best;
}

double AlignedOffset(TextAlign align, double room, double size) {
    switch (align) {
        case TextAlign::Center:
            return (room - size) / 2;
        case TextAlign::Far:
            return room - size;
        case TextAlign::Near:
            break;
    }
    return 0;
}

}  // namespace

Canvas::Canvas(Bitmap& target) : m_target(target) {
    if (target.IsNull()) {
        return;
    }
    m_cr = cairo_create(target.Surface());
    if (cairo_status(m_cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(m_cr);
        m_cr = nullptr;
    }
}

Canvas::~Canvas() {
    if (m_cr != nullptr) {
        Flush();
        cairo_destroy(m_cr);
    }
}

void Canvas::Flush() {
    cairo_surface_flush(m_target.Surface());
}

void Canvas::SetOrigin(int x, int y) {
    if (m_cr != nullptr) {
        // Held within the range the other coordinates are held to, so that no sum of the two can leave
        // cairo's fixed-point range; an origin that far out shows nothing of the bitmap either way.
        cairo_identity_matrix(m_cr);
        cairo_translate(m_cr, std::clamp<double>(x, -kMaxCoordinate, kMaxCoordinate),
                        std::clamp<double>(y, -kMaxCoordinate, kMaxCoordinate));
    }
}

void Canvas::OffsetOrigin(int dx, int dy) {
    POINT origin = Origin();
    SetOrigin(static_cast<int>(std::clamp<double>(static_cast<double>(origin.x) + dx, INT_MIN, INT_MAX)),
              static_cast<int>(std::clamp<double>(static_cast<double>(origin.y) + dy, INT_MIN, INT_MAX)));
}

POINT Canvas::Origin() const {
    if (m_cr == nullptr) {
        return {0, 0};
    }
    cairo_matrix_t matrix;
    cairo_get_matrix(m_cr, &matrix);
    return {static_cast<LONG>(std::lround(matrix.x0)), static_cast<LONG>(std::lround(matrix.y0))};
}

void Canvas::ClipTo(const RECT& rect) {
    if (m_cr == nullptr) {
        return;
    }
    // Intersecting first keeps far-out edges away from cairo's fixed-point range; an empty result
    // clips everything away.
    Box box = Intersect(ToBox(rect), ToBox(ClipBox()));
    if (box.Empty()) {
        box = {};
    }
    cairo_rectangle(m_cr, static_cast<double>(box.left), static_cast<double>(box.top),
                    static_cast<double>(box.Width()), static_cast<double>(box.Height()));
    cairo_clip(m_cr);
}

RECT Canvas::ClipBox() const {
    if (m_cr == nullptr) {
        return {0, 0, 0, 0};
    }
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    if (x2 <= x1 || y2 <= y1) {
        return {0, 0, 0, 0};
    }
    return {static_cast<LONG>(std::floor(x1)), static_cast<LONG>(std::floor(y1)),
            static_cast<LONG>(std::ceil(x2)), static_cast<LONG>(std::ceil(y2))};
}

void Canvas::Save() {
    if (m_cr != nullptr) {
        cairo_save(m_cr);
        ++m_saveDepth;
    }
}

void Canvas::Restore() {
    // Cairo treats an unmatched restore as a fatal error of the context, after which it draws nothing.
    if (m_cr != nullptr && m_saveDepth > 0) {
        cairo_restore(m_cr);
        --m_saveDepth;
    }
}

void Canvas::FillRect(const RECT& rect, COLORREF colour) {
    if (m_cr == nullptr) {
        return;
    }
    Box box = Intersect(ToBox(rect), ToBox(ClipBox()));
    if (box.Empty()) {
        return;
    }
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    SetSourceColour(m_cr, colour);
    cairo_rectangle(m_cr, static_cast<double>(box.left), static_cast<double>(box.top),
                    static_cast<double>(box.Width()), static_cast<double>(box.Height()));
    cairo_fill(m_cr);
    cairo_restore(m_cr);
    Flush();
}

void Canvas::Clear() {
    if (m_cr == nullptr) {
        return;
    }
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    Flush();
}

void Canvas::DrawBitmap(const Bitmap& source, const RECT& destination) {
    DrawBitmap(source, {0, 0, source.Width(), source.Height()}, destination);
}

void Canvas::DrawBitmap(const Bitmap& source, const RECT& sourceRect, const RECT& destination) {
    Box from = ToBox(sourceRect);
    Box to = ToBox(destination);
    if (m_cr == nullptr || source.IsNull() || from.Empty() || to.Empty()) {
        return;
    }
    // Only the part of the source rectangle inside the source is drawn, onto the matching part of the
    // destination, whose edges are rounded to whole pixels so that the blit stays pixel-aligned.
    Box part = Intersect(from, {0, 0, source.Width(), source.Height()});
    if (part.Empty()) {
        return;
    }
    double scaleX = static_cast<double>(to.Width()) / static_cast<double>(from.Width());
    double scaleY = static_cast<double>(to.Height()) / static_cast<double>(from.Height());
    double left =
        std::round(static_cast<double>(to.left) + static_cast<double>(part.left - from.left) * scaleX);
    double right =
        std::round(static_cast<double>(to.left) + static_cast<double>(part.right - from.left) * scaleX);
    double top = std::round(static_cast<double>(to.top) + static_cast<double>(part.top - from.top) * scaleY);
    double bottom =
        std::round(static_cast<double>(to.top) + static_cast<double>(part.bottom - from.top) * scaleY);
    if (right <= left || bottom <= top) {
        return;
    }
    if (std::max({std::fabs(left), std::fabs(right), std::fabs(top), std::fabs(bottom)}) > kMaxCoordinate) {
        return;
    }

    // The source is a sub-surface of exactly the part, padded at its edges, so that filtering near the
    // border repeats the part's own edge pixels instead of blending in its neighbours.
    SurfacePtr surface(cairo_surface_create_for_rectangle(
        source.Surface(), static_cast<double>(part.left), static_cast<double>(part.top),
        static_cast<double>(part.Width()), static_cast<double>(part.Height())));
    if (source.Surface() == m_target.Surface()) {
        // Reading and writing the same pixels in one composite gives undefined results; draw a copy.
        cairo_surface_t* copy = cairo_surface_create_similar_image(
            source.Surface(), source.HasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
            static_cast<int>(part.Width()), static_cast<int>(part.Height()));
        const CairoPtr cr(cairo_create(copy));
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
        cairo_paint(cr.get());
        surface.reset(copy);
    }
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return;
    }
    PatternPtr pattern(cairo_pattern_create_for_surface(surface.get()));
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    double width = right - left;
    double height = bottom - top;
    // A 1:1 blit samples exactly one source pixel per destination pixel. A stretch is bilinear: skin
    // pictures are stretched to window sizes by uneven factors, where nearest-neighbour sampling would
    // double some pixel rows and not others; the padding keeps the edges crisp.
    bool oneToOne =
        width == static_cast<double>(part.Width()) && height == static_cast<double>(part.Height());
    cairo_pattern_set_filter(pattern.get(), oneToOne ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, static_cast<double>(part.Width()) / width,
                            static_cast<double>(part.Height()) / height);
    cairo_matrix_translate(&matrix, -left, -top);
    cairo_pattern_set_matrix(pattern.get(), &matrix);

    cairo_save(m_cr);
    // A source without alpha reads as opaque, so source-over is a plain copy for it.
    cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
    cairo_set_source(m_cr, pattern.get());
    cairo_rectangle(m_cr, left, top, width, height);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
    Flush();
}

void Canvas::DrawText(const std::wstring& text, const FontSpec& font, COLORREF colour, const RectF& layout,
                      const TextFormat& format) {
    if (m_cr == nullptr || text.empty()) {
        return;
    }
    // Negated tests so that NaN fails them too.
    if (!(std::fabs(layout.x) <= kMaxCoordinate && std::fabs(layout.y) <= kMaxCoordinate &&
          layout.width > 0 && layout.height > 0)) {
        return;
    }
    double boxX = layout.x;
    double boxY = layout.y;
    double boxWidth = std::min(static_cast<double>(layout.width), kMaxCoordinate);
    double boxHeight = std::min(static_cast<double>(layout.height), kMaxCoordinate);

    std::string utf8 = OneLineUtf8(text);
    ContextPtr context = CreateTextContext();
    pango_cairo_update_context(m_cr, context.get());
    LayoutPtr textLayout = CreateTextLayout(context.get(), utf8, font);
    if (LineExtents(textLayout.get()).width > boxWidth * PANGO_SCALE) {
        if (format.trimming == TextTrimming::EllipsisCharacter) {
            SetLayoutText(textLayout.get(), Ellipsized(textLayout.get(), utf8, boxWidth));
        } else if (format.trimming == TextTrimming::Word) {
            SetLayoutText(textLayout.get(), FittingWords(textLayout.get(), utf8, boxWidth));
        }
    }

    // Placed by its logical box (advance width, ascent plus descent), on whole pixels so that glyphs
    // stay as crisp as the hinting made them.
    PangoRectangle extents = LineExtents(textLayout.get());
    double x = boxX + AlignedOffset(format.horizontal, boxWidth, extents.width / double{PANGO_SCALE}) -
               extents.x / double{PANGO_SCALE};
    double y = boxY + AlignedOffset(format.vertical, boxHeight, extents.height / double{PANGO_SCALE}) -
               extents.y / double{PANGO_SCALE};

    cairo_save(m_cr);
    cairo_rectangle(m_cr, boxX, boxY, boxWidth, boxHeight);
    cairo_clip(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
    SetSourceColour(m_cr, colour);
    cairo_move_to(m_cr, std::round(x), std::round(y));
    pango_cairo_show_layout_line(m_cr, pango_layout_get_line_readonly(textLayout.get(), 0));
    cairo_restore(m_cr);
    Flush();
}

SIZE Canvas::MeasureText(const std::wstring& text, const FontSpec& font) {
    ContextPtr context = CreateTextContext();
    LayoutPtr layout = CreateTextLayout(context.get(), OneLineUtf8(text), font);
    PangoRectangle logical{};
    pango_layout_line_get_pixel_extents(pango_layout_get_line_readonly(layout.get(), 0), nullptr, &logical);
    return {logical.width, logical.height};
}

FontSpec Canvas::DefaultGuiFont() {
    FontSpec font;
    font.family = L"sans-serif";
    font.pixelSize = kDefaultPixelSize;
    return font;
}

}  // namespace platform
