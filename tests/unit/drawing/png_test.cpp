#include "platform/gfx/png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "png_writer.h"
#include "support/TempDir.h"

using platform::Bitmap;
using platform::DecodePng;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// A one-row picture of the given type from its packed row.
PngPicture OneRow(int width, int colourType, int bitDepth, std::string row) {
    PngPicture picture;
    picture.width = width;
    picture.height = 1;
    picture.colourType = colourType;
    picture.bitDepth = bitDepth;
    picture.rows = {std::move(row)};
    return picture;
}

// 9 x 9 pixels, each with its own colour and alpha, so every Adam7 pass carries some of them.
PngPicture Gradient(bool interlaced) {
    PngPicture picture;
    picture.width = 9;
    picture.height = 9;
    picture.interlaced = interlaced;
    for (int y = 0; y < 9; ++y) {
        std::string row;
        for (int x = 0; x < 9; ++x) {
            row += Bytes({x * 25, y * 25, 200, 255 - x * y});
        }
        picture.rows.push_back(row);
    }
    return picture;
}

::testing::AssertionResult Decodes(const std::string& file, Bitmap& out) {
    if (DecodePng(file.data(), file.size(), out)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "a valid file was refused";
}

// A picture that stands in for the one a failed decode must throw away.
Bitmap Leftover() {
    return Bitmap(2, 2, true);
}

}  // namespace

TEST(PngDecode, AlphaChannelsKeepStraightColour) {
    Bitmap rgba;
    ASSERT_TRUE(Decodes(
        EncodePng(OneRow(2, PNG_COLOR_TYPE_RGB_ALPHA, 8, Bytes({255, 0, 0, 128, 10, 20, 30, 0}))), rgba));
    EXPECT_TRUE(rgba.HasAlpha());
    EXPECT_EQ(rgba.Pixel(0, 0), 0x80FF0000u) << "half-transparent red keeps its full red, not premultiplied";
    EXPECT_EQ(rgba.Pixel(1, 0), 0x000A141Eu) << "a fully transparent pixel keeps its stored colour";

    Bitmap greyAlpha;
    ASSERT_TRUE(Decodes(EncodePng(OneRow(1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, Bytes({100, 50}))), greyAlpha));
    EXPECT_TRUE(greyAlpha.HasAlpha());
    EXPECT_EQ(greyAlpha.Pixel(0, 0), 0x32646464u) << "grey spreads to all three colours, alpha kept";

    PngPicture wide =
        OneRow(1, PNG_COLOR_TYPE_RGB_ALPHA, 16, Bytes({0xFF, 0xFF, 0x80, 0x80, 0, 0, 0x80, 0x80}));
    Bitmap sixteen;
    ASSERT_TRUE(Decodes(EncodePng(wide), sixteen));
    EXPECT_EQ(sixteen.Pixel(0, 0), 0x80FF8000u) << "16-bit samples are scaled to 8 bits";
}

TEST(PngDecode, TransparencyChunkGivesAlpha) {
    PngPicture palette = OneRow(3, PNG_COLOR_TYPE_PALETTE, 8, Bytes({0, 1, 2}));
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    palette.paletteAlpha = {0, 128};  // entries past the list stay opaque
    Bitmap fromPalette;
    ASSERT_TRUE(Decodes(EncodePng(palette), fromPalette));
    EXPECT_TRUE(fromPalette.HasAlpha());
    EXPECT_EQ(fromPalette.Pixel(0, 0), 0x00FF0000u) << "palette entry 0 is fully transparent red";
    EXPECT_EQ(fromPalette.Pixel(1, 0), 0x8000FF00u) << "palette entry 1 is half-transparent green";
    EXPECT_EQ(fromPalette.Pixel(2, 0), 0xFF0000FFu) << "palette entry 2 has no alpha entry and is opaque";

    PngPicture rgb = OneRow(2, PNG_COLOR_TYPE_RGB, 8, Bytes({1, 2, 3, 4, 5, 6}));
    rgb.transparentColour = png_color_16{0, 1, 2, 3, 0};
    Bitmap fromRgb;
    ASSERT_TRUE(Decodes(EncodePng(rgb), fromRgb));
    EXPECT_TRUE(fromRgb.HasAlpha());
    EXPECT_EQ(fromRgb.Pixel(0, 0), 0x00010203u) << "the transparent colour gets alpha 0";
    EXPECT_EQ(fromRgb.Pixel(1, 0), 0xFF040506u) << "other colours stay opaque";

    PngPicture grey = OneRow(2, PNG_COLOR_TYPE_GRAY, 8, Bytes({7, 9}));
    grey.transparentColour = png_color_16{0, 0, 0, 0, 9};
    Bitmap fromGrey;
    ASSERT_TRUE(Decodes(EncodePng(grey), fromGrey));
    EXPECT_EQ(fromGrey.Pixel(0, 0), 0xFF070707u) << "an ordinary grey pixel is opaque";
    EXPECT_EQ(fromGrey.Pixel(1, 0), 0x00090909u) << "the transparent grey gets alpha 0";
}

TEST(PngDecode, PicturesWithoutTransparencyBecomeOpaque) {
    struct Case {
        const char* what;
        PngPicture picture;
        std::uint32_t first;
        std::uint32_t second;
    };
    PngPicture palette = OneRow(2, PNG_COLOR_TYPE_PALETTE, 4, Bytes({0x10}));
    palette.palette = {{9, 8, 7}, {1, 2, 3}};
    std::vector<Case> cases = {
        {"8-bit RGB", OneRow(2, PNG_COLOR_TYPE_RGB, 8, Bytes({1, 2, 3, 250, 251, 252})), 0xFF010203u,
         0xFFFAFBFCu},
        {"16-bit RGB",
         OneRow(2, PNG_COLOR_TYPE_RGB, 16, Bytes({0xFF, 0xFF, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0, 0})),
         0xFFFF0080u, 0xFF000000u},
        {"8-bit grey", OneRow(2, PNG_COLOR_TYPE_GRAY, 8, Bytes({0, 200})), 0xFF000000u, 0xFFC8C8C8u},
        {"1-bit grey", OneRow(2, PNG_COLOR_TYPE_GRAY, 1, Bytes({0x80})), 0xFFFFFFFFu, 0xFF000000u},
        {"4-bit palette", palette, 0xFF010203u, 0xFF090807u},
    };
    for (const Case& c : cases) {
        Bitmap out;
        ASSERT_TRUE(Decodes(EncodePng(c.picture), out)) << c.what;
        EXPECT_FALSE(out.HasAlpha()) << c.what;
        EXPECT_EQ(out.Pixel(0, 0), c.first) << c.what << ": first pixel, alpha byte 255";
        EXPECT_EQ(out.Pixel(1, 0), c.second) << c.what << ": second pixel, alpha byte 255";
    }
}

TEST(PngDecode, InterlacedPictureMatchesTheSamePictureStoredPlainly) {
    Bitmap plain;
    Bitmap interlaced;
    ASSERT_TRUE(Decodes(EncodePng(Gradient(false)), plain));
    ASSERT_TRUE(Decodes(EncodePng(Gradient(true)), interlaced));
    ASSERT_EQ(interlaced.Width(), 9);
    ASSERT_EQ(interlaced.Height(), 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            std::uint32_t expected =
                (static_cast<std::uint32_t>(255 - x * y) << 24) | (x * 25u << 16) | (y * 25u << 8) | 200u;
            EXPECT_EQ(plain.Pixel(x, y), expected) << "plain picture at " << x << "," << y;
            EXPECT_EQ(interlaced.Pixel(x, y), expected) << "interlaced picture at " << x << "," << y;
        }
    }
}

TEST(PngDecode, DamagedDataIsRefusedAndLeavesNothing) {
    const std::string valid = EncodePng(Gradient(false));
    std::string corrupt = valid;
    corrupt[valid.size() - 20] ^= 0x55;  // inside the image data: its CRC no longer matches

    // Garbage inside an image-data chunk whose CRC is right, so that only decompression can notice.
    std::string signature = valid.substr(0, 8);
    std::string ihdr = PngChunk("IHDR", IhdrData(2, 2, 8, PNG_COLOR_TYPE_RGB));
    std::string badStream =
        signature + ihdr + PngChunk("IDAT", "\x78\x9C garbage here") + PngChunk("IEND", "");

    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"no bytes", ""},
        {"the signature alone", signature},
        {"a GIF", "GIF89a\x01\x00\x01\x00\x00\x00\x00"},
        {"a broken CRC", corrupt},
        {"a corrupt compressed stream", badStream},
        {"a zero width",
         signature + PngChunk("IHDR", IhdrData(0, 5, 8, PNG_COLOR_TYPE_RGB)) + PngChunk("IEND", "")},
        {"a bit depth RGB cannot have", signature + PngChunk("IHDR", IhdrData(1, 1, 3, PNG_COLOR_TYPE_RGB))},
    };
    for (const Case& c : cases) {
        Bitmap out = Leftover();
        EXPECT_FALSE(DecodePng(c.bytes.data(), c.bytes.size(), out)) << c.what;
        EXPECT_TRUE(out.IsNull()) << c.what << ": the output is emptied";
    }
    Bitmap out = Leftover();
    EXPECT_FALSE(DecodePng(nullptr, 100, out)) << "no data at all";
    EXPECT_TRUE(out.IsNull());
}

TEST(PngDecode, EveryTruncationOfAFileIsRefused) {
    const std::string valid = EncodePng(Gradient(true));
    for (std::size_t size = 0; size < valid.size(); ++size) {
        Bitmap out;
        EXPECT_FALSE(DecodePng(valid.data(), size, out)) << "cut after " << size << " of " << valid.size();
        EXPECT_TRUE(out.IsNull());
    }
}

TEST(PngDecode, PicturesBeyondTheSizeLimitAreRefusedFromTheirHeader) {
    // A header claiming ten billion pixels, with nothing behind it.
    std::string signature = EncodePng(Gradient(false)).substr(0, 8);
    std::string huge = signature + PngChunk("IHDR", IhdrData(100000, 100000, 8, PNG_COLOR_TYPE_RGB_ALPHA)) +
                       PngChunk("IEND", "");
    Bitmap out = Leftover();
    EXPECT_FALSE(DecodePng(huge.data(), huge.size(), out)) << "a header claiming 100000 x 100000";
    EXPECT_TRUE(out.IsNull());

    // A complete, valid picture one row and column beyond the limit: only the size check refuses it.
    // One bit a pixel keeps it small to build.
    const int side = 8193;
    static_assert(std::int64_t{side} * side > Bitmap::kMaxPixels);
    PngPicture picture;
    picture.width = side;
    picture.height = side;
    picture.colourType = PNG_COLOR_TYPE_GRAY;
    picture.bitDepth = 1;
    picture.rows.assign(side, std::string((side + 7) / 8, '\0'));
    std::string file = EncodePng(picture);
    EXPECT_FALSE(DecodePng(file.data(), file.size(), out)) << "a valid picture of 8193 x 8193 pixels";
    EXPECT_TRUE(out.IsNull());
}

TEST(PngFile, LoadsAFileAndRefusesWhatIsNoPngFile) {
    TempDir dir;
    WriteWholeFile(dir / "logo.png", EncodePng(Gradient(false)));
    WriteWholeFile(dir / "notes.png", "just text");
    Bitmap out;
    ASSERT_TRUE(platform::LoadPngFile(dir / "logo.png", out));
    EXPECT_EQ(out.Width(), 9);
    EXPECT_EQ(out.Pixel(8, 8), 0xBFC8C8C8u) << "the last pixel of the gradient";

    EXPECT_FALSE(platform::LoadPngFile(dir / "notes.png", out)) << "text is no picture";
    EXPECT_TRUE(out.IsNull());
    out = Leftover();
    EXPECT_FALSE(platform::LoadPngFile(dir / "missing.png", out)) << "a missing file";
    EXPECT_TRUE(out.IsNull());
    EXPECT_FALSE(platform::LoadPngFile(dir.Path(), out)) << "a folder";
}
