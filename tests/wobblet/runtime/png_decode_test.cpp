// DecodeImageMemory with the PNG decoder: every colour type and depth the
// decoder converts, and data that must be refused without harm.
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/wobblet/runtime/RuntimeTest.h"
#include "tools/png/png_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PngRecipe {
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Bytes> rows;  // packed samples, as they go into the file
    std::vector<png_color> palette;
    Bytes paletteAlpha;                         // tRNS for palettes
    const png_color_16* transparent = nullptr;  // tRNS for grey and RGB
};

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// Written with libpng's own writer, so the test data do not depend on the
// code under test.
Bytes Encode(const PngRecipe& recipe) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write the test picture";
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colorType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty()) {
        png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    }
    if (!recipe.paletteAlpha.empty()) {
        png_set_tRNS(png, info, recipe.paletteAlpha.data(),
                     static_cast<int>(recipe.paletteAlpha.size()), nullptr);
    }
    if (recipe.transparent != nullptr) {
        png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(recipe.transparent));
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const Bytes& row : recipe.rows) {
        rows.push_back(const_cast<png_bytep>(row.data()));
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

using Pixel = std::array<int, 4>;  // blue, green, red, alpha (-1: none)

class PngDecodeTest : public RuntimeTest {
  protected:
    // Decodes from an exactly sized heap copy, so that the sanitizers catch
    // any read past the end.
    ImageHandle Decode(const Bytes& data, int number = 18) {
        auto copy = std::make_unique<std::uint8_t[]>(data.size());
        std::memcpy(copy.get(), data.data(), data.size());
        return DecodeImageMemory(number, copy.get(), data.size());
    }
};

TEST_F(PngDecodeTest, RgbGivesTwentyFourBitsTopRowFirst) {
    PngRecipe recipe;
    recipe.width = 3;
    recipe.height = 2;
    recipe.rows = {{10, 20, 30, 40, 50, 60, 70, 80, 90}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    ImageHandle image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bytesPerPixel, 3);
    EXPECT_EQ(image->stride, 12);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{30, 20, 10, -1}));
    EXPECT_EQ(PixelOf(image, 2, 1), (Pixel{9, 8, 7, -1}));
    // Bottom-up: the picture's top row is the last row in memory.
    EXPECT_EQ(image->bits[12], 30);
    EXPECT_EQ(NativeImageHandle(18), image);
}

TEST_F(PngDecodeTest, RgbaKeepsItsAlphaUnpremultiplied) {
    PngRecipe recipe;
    recipe.width = 2;
    recipe.height = 1;
    recipe.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    recipe.rows = {{200, 100, 50, 0, 1, 2, 3, 128}};
    ImageHandle image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{50, 100, 200, 0}));
    EXPECT_EQ(PixelOf(image, 1, 0), (Pixel{3, 2, 1, 128}));
}

// The background picture's format: 800 x 600, grey with alpha, 8 bits.
TEST_F(PngDecodeTest, GreyWithAlphaPictureGivesThirtyTwoBitGreyRgb) {
    const int width = 800;
    const int height = 600;
    Bytes ga(static_cast<std::size_t>(width) * height * 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool ink = (x / 50 + y / 50) % 2 == 0;
            ga[(y * width + x) * 2] = ink ? static_cast<std::uint8_t>(x % 256) : 0;
            ga[(y * width + x) * 2 + 1] = ink ? 255 : 0;
        }
    }
    const std::string path = ::testing::TempDir() + "wobblet_grey_alpha.png";
    ASSERT_TRUE(
        png_file::Write(path, width, height, png_file::Layout::kGrayAlpha, ga.data(), width * 2));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    Bytes data;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        data.push_back(static_cast<std::uint8_t>(c));
    }
    std::fclose(file);
    std::remove(path.c_str());

    ImageHandle image = Decode(data);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 800);
    EXPECT_EQ(image->height, 600);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(PixelOf(image, 25, 3), (Pixel{25, 25, 25, 255}));
    EXPECT_EQ(PixelOf(image, 60, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(PixelOf(image, 799, 599), (Pixel{799 % 256, 799 % 256, 799 % 256, 255}));
}

TEST_F(PngDecodeTest, PalettesExpandToRgbAndTheirTransparencyToAlpha) {
    PngRecipe recipe;
    recipe.width = 3;
    recipe.height = 1;
    recipe.colorType = PNG_COLOR_TYPE_PALETTE;
    recipe.bitDepth = 4;
    recipe.palette = {{255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
    recipe.rows = {{0x21, 0x00}};  // indices 2, 1, 0
    ImageHandle image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerPixel, 3);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{3, 2, 1, -1}));
    EXPECT_EQ(PixelOf(image, 1, 0), (Pixel{0, 255, 0, -1}));
    EXPECT_EQ(PixelOf(image, 2, 0), (Pixel{0, 0, 255, -1}));

    recipe.paletteAlpha = {0, 99};
    image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{3, 2, 1, 255}));  // beyond the tRNS entries
    EXPECT_EQ(PixelOf(image, 1, 0), (Pixel{0, 255, 0, 99}));
    EXPECT_EQ(PixelOf(image, 2, 0), (Pixel{0, 0, 255, 0}));
}

TEST_F(PngDecodeTest, LowDepthGreyIsScaledToEightBits) {
    struct Case {
        int depth;
        Bytes row;  // 4 pixels
        Bytes expected;
    };
    const Case cases[] = {
        {1, {0b1010'0000}, {255, 0, 255, 0}},
        {2, {0b0001'1011}, {0, 85, 170, 255}},
        {4, {0x07, 0xF0}, {0, 119, 255, 0}},
    };
    for (const Case& c : cases) {
        PngRecipe recipe;
        recipe.width = 4;
        recipe.height = 1;
        recipe.colorType = PNG_COLOR_TYPE_GRAY;
        recipe.bitDepth = c.depth;
        recipe.rows = {c.row};
        ImageHandle image = Decode(Encode(recipe));
        ASSERT_NE(image, nullptr) << c.depth;
        EXPECT_EQ(image->bytesPerPixel, 3);
        for (int x = 0; x < 4; ++x) {
            const int g = c.expected[x];
            EXPECT_EQ(PixelOf(image, x, 0), (Pixel{g, g, g, -1})) << c.depth << " bits, x " << x;
        }
    }
}

TEST_F(PngDecodeTest, SixteenBitSamplesKeepTheirHighByte) {
    PngRecipe recipe;
    recipe.width = 1;
    recipe.height = 2;
    recipe.bitDepth = 16;
    recipe.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, {0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x00}};
    ImageHandle image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{0x9A, 0x56, 0x12, -1}));
    EXPECT_EQ(PixelOf(image, 0, 1), (Pixel{0x80, 0x00, 0xFF, -1}));

    recipe.colorType = PNG_COLOR_TYPE_GRAY;
    recipe.rows = {{0xAB, 0xCD}, {0x01, 0xFF}};
    image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{0xAB, 0xAB, 0xAB, -1}));
    EXPECT_EQ(PixelOf(image, 0, 1), (Pixel{0x01, 0x01, 0x01, -1}));
}

TEST_F(PngDecodeTest, InterlacedPicturesGetEveryPass) {
    // 9 x 9 so that all seven passes carry pixels.
    PngRecipe recipe;
    recipe.width = 9;
    recipe.height = 9;
    recipe.interlaced = true;
    for (int y = 0; y < 9; ++y) {
        Bytes row;
        for (int x = 0; x < 9; ++x) {
            row.insert(row.end(),
                       {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20),
                        static_cast<std::uint8_t>(x + y)});
        }
        recipe.rows.push_back(row);
    }
    ImageHandle image = Decode(Encode(recipe));
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            ASSERT_EQ(PixelOf(image, x, y), (Pixel{x + y, y * 20, x * 20, -1})) << x << "," << y;
        }
    }
}

TEST_F(PngDecodeTest, TransparentColoursBecomeAlpha) {
    png_color_16 black{};
    PngRecipe grey;
    grey.width = 2;
    grey.height = 1;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {{0, 200}};
    grey.transparent = &black;
    ImageHandle image = Decode(Encode(grey));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(PixelOf(image, 1, 0), (Pixel{200, 200, 200, 255}));

    png_color_16 key{};
    key.red = 1;
    key.green = 2;
    key.blue = 3;
    PngRecipe rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.rows = {{1, 2, 3, 1, 2, 4}};
    rgb.transparent = &key;
    image = Decode(Encode(rgb));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelOf(image, 0, 0), (Pixel{3, 2, 1, 0}));
    EXPECT_EQ(PixelOf(image, 1, 0), (Pixel{4, 2, 1, 255}));
}

class BadPngTest : public PngDecodeTest {
  protected:
    Bytes Good() {
        PngRecipe recipe;
        recipe.width = 5;
        recipe.height = 4;
        recipe.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        for (int y = 0; y < 4; ++y) {
            recipe.rows.push_back(Bytes(20, static_cast<std::uint8_t>(y * 50 + 1)));
        }
        return Encode(recipe);
    }
};

TEST_F(BadPngTest, TruncatedDataIsRefusedAtEveryLength) {
    const Bytes good = Good();
    ASSERT_NE(Decode(good), nullptr);
    // The last chunk (IEND, 12 bytes) is never read.
    for (std::size_t size = 1; size < good.size() - 12; ++size) {
        ASSERT_EQ(Decode(Bytes(good.begin(), good.begin() + size)), nullptr) << size;
    }
}

TEST_F(BadPngTest, CorruptedCriticalChunksAreRefused) {
    const Bytes good = Good();
    // Every byte of the header chunk and of the picture data (checked by CRC).
    for (std::size_t at = 12; at < good.size() - 12; ++at) {
        Bytes bad = good;
        bad[at] ^= 0x5A;
        ASSERT_EQ(Decode(bad), nullptr) << at;
    }
}

TEST_F(BadPngTest, OtherDataIsNotAPicture) {
    const std::string text = "BM this is not a picture at all";
    EXPECT_EQ(Decode(Bytes(text.begin(), text.end())), nullptr);
    const Bytes good = Good();
    EXPECT_EQ(Decode(Bytes(good.begin(), good.begin() + 8)), nullptr);  // signature only
    EXPECT_EQ(DecodeImageMemory(18, nullptr, 100), nullptr);
    EXPECT_EQ(DecodeImageMemory(18, good.data(), 0), nullptr);
    EXPECT_EQ(DecodeImageMemory(-1, good.data(), good.size()), nullptr);
}

TEST_F(BadPngTest, HugeDeclaredSizesAreRefused) {
    Bytes bad = Good();
    // IHDR width 100,000 with its CRC recomputed, so that only the size is wrong.
    bad[16] = 0x00;
    bad[17] = 0x01;
    bad[18] = 0x86;
    bad[19] = 0xA0;
    const png_uint_32 crc = static_cast<png_uint_32>(crc32(0, bad.data() + 12, 17));
    bad[29] = static_cast<std::uint8_t>(crc >> 24);
    bad[30] = static_cast<std::uint8_t>(crc >> 16);
    bad[31] = static_cast<std::uint8_t>(crc >> 8);
    bad[32] = static_cast<std::uint8_t>(crc);
    EXPECT_EQ(Decode(bad), nullptr);
}

TEST_F(BadPngTest, AFailedDecodeKeepsTheImageUnderItsNumber) {
    ImageHandle before = MakeImage(18, 2, 2);
    const Bytes good = Good();
    EXPECT_EQ(Decode(Bytes(good.begin(), good.begin() + 40)), nullptr);
    EXPECT_EQ(NativeImageHandle(18), before);
    ImageHandle after = Decode(good);
    EXPECT_NE(after, nullptr);
    EXPECT_EQ(NativeImageHandle(18), after);
}

}  // namespace
