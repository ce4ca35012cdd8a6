// Maps PNG decoding onto libpng.
#include "platform/gfx/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <utility>

#include "platform/base/files.h"

namespace platform {
namespace {

// libpng reports errors by longjmp. A longjmp that leaves a frame holding C++ objects with
// destructors is undefined behaviour, and throwing through libpng's C frames instead is not safe
// either (they need not carry unwind information). So every libpng call that can fail runs inside one
// of the two small functions below that call setjmp themselves, whose frames hold only trivially
// destructible values and which touch objects owned by their caller through references only. The
// caller owns the libpng structures (and the bitmap) and frees them on every path.

struct MemoryInput {
    const png_byte* data;
    std::size_t size;
    std::size_t position;
};

struct Header {
    int width;
    int height;
    bool hasAlpha;
    int passes;
};

extern "C" {

static void ReadFromMemory(png_structp png, png_bytep buffer, png_size_t length) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (length > input->size - input->position) {
        png_error(png, "truncated");
    }
    for (png_size_t i = 0; i < length; ++i) {
        buffer[i] = input->data[input->position + i];
    }
    input->position += length;
}

// The caller only learns that decoding failed; libpng's default handler would print to stderr first.
static void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

static void OnWarning(png_structp, png_const_charp) {}

}  // extern "C"

class ReadStruct final {
public:
    ReadStruct() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_png != nullptr) {
            m_info = png_create_info_struct(m_png);
        }
    }
    ~ReadStruct() {
        if (m_png != nullptr) {
            png_destroy_read_struct(&m_png, m_info != nullptr ? &m_info : nullptr, nullptr);
        }
    }
    ReadStruct(const ReadStruct&) = delete;
    ReadStruct& operator=(const ReadStruct&) = delete;

    bool Valid() const { return m_png != nullptr && m_info != nullptr; }
    png_structp Png() const { return m_png; }
    png_infop Info() const { return m_info; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Reads the header, refuses absurd sizes and sets libpng up to deliver rows in the Bitmap's memory
// layout: blue, green, red, alpha bytes on a little-endian machine, alpha first on a big-endian one.
bool ReadHeader(png_structp png, png_infop info, Header& header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 ||
        static_cast<std::uint64_t>(width) * height > static_cast<std::uint64_t>(Bitmap::kMaxPixels)) {
        return false;
    }
    int colourType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    header.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparentColour;

    if (bitDepth == 16) {
        png_set_scale_16(png);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (transparentColour) {
        png_set_tRNS_to_alpha(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    if (header.hasAlpha) {
        png_set_swap_alpha(png);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    }
#else
    png_set_bgr(png);
    if (!header.hasAlpha) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
#endif
    header.passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(width) * 4;
}

// Reads every pass of every row straight into the bitmap; later passes of an interlaced picture fill
// in the pixels earlier ones left out. The end of the data is read too, so that a file cut short after
// its last row still counts as damaged.
bool ReadPixels(png_structp png, png_infop info, int passes, Bitmap& bitmap) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < bitmap.Height(); ++y) {
            png_read_row(png, reinterpret_cast<png_bytep>(bitmap.Row(y)), nullptr);
        }
    }
    png_read_end(png, info);
    return true;
}

}  // namespace

bool DecodePng(const void* data, std::size_t size, Bitmap& out) {
    out = Bitmap();
    if (data == nullptr || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) {
        return false;
    }
    ReadStruct reader;
    if (!reader.Valid()) {
        return false;
    }
    MemoryInput input{static_cast<const png_byte*>(data), size, 0};
    png_set_read_fn(reader.Png(), &input, ReadFromMemory);
    Header header{};
    if (!ReadHeader(reader.Png(), reader.Info(), header)) {
        return false;
    }
    Bitmap bitmap(header.width, header.height, header.hasAlpha);
    if (bitmap.IsNull() || !ReadPixels(reader.Png(), reader.Info(), header.passes, bitmap)) {
        return false;
    }
    bitmap.MarkDirty();
    out = std::move(bitmap);
    return true;
}

bool LoadPngFile(const std::string& path, Bitmap& out) {
    out = Bitmap();
    std::string bytes;
    if (!IsRegularFile(path) || !ReadFile(path, bytes)) {
        return false;
    }
    return DecodePng(bytes.data(), bytes.size(), out);
}

}  // namespace platform
