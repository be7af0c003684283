#include "image/qt_image_files.h"

#include "temp_dir.h"
#include "util/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace meshforge {
namespace {

using test::TempDir;

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
void PutU32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// What a test reads from a written file's headers; rows are stored bottom-up, each padded to
// four bytes.
struct Bmp {
    std::string bytes;
    uint32_t offBits = 0, infoSize = 0;
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    size_t RowBytes() const { return (size_t(width) * bitCount + 31) / 32 * 4; }
    // The stored bytes of image row y (top row 0).
    const char* Row(int y) const {
        return bytes.data() + offBits + size_t(height - 1 - y) * RowBytes();
    }
    uint32_t Palette(int i) const { return U32(bytes, 14 + infoSize + 4 * size_t(i)) & 0xFFFFFF; }
};

Bmp Parse(const std::string& path) {
    Bmp b;
    b.bytes = ReadWholeFile(path);
    EXPECT_GE(b.bytes.size(), 54u);
    EXPECT_EQ(b.bytes.substr(0, 2), "BM");
    b.offBits = U32(b.bytes, 10);
    b.infoSize = U32(b.bytes, 14);
    b.width = int32_t(U32(b.bytes, 18));
    b.height = int32_t(U32(b.bytes, 22));
    b.bitCount = U16(b.bytes, 28);
    b.compression = U32(b.bytes, 30);
    EXPECT_GE(b.bytes.size(), b.offBits + b.RowBytes() * size_t(b.height > 0 ? b.height : 0));
    return b;
}

MaskImage Pattern(int w, int h) {
    MaskImage m{w, h, std::vector<bool>(size_t(w) * size_t(h))};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.White[size_t(y * w + x)] = (x * 7 + y * 3) % 5 < 2;
    return m;
}

// Black exactly where the mask is black: in the palette the bits point to and in the picture
// read back.
TEST(QtImageFiles, MaskIsOneBitWithBlackWhereTransparent) {
    const struct {
        const char* name;
        MaskImage mask;
    } cases[] = {
        {"one white pixel", {1, 1, {true}}},    {"one black pixel", {1, 1, {false}}},
        {"row of ten, padded", Pattern(10, 3)}, {"33 wide, five bytes a row", Pattern(33, 2)},
        {"texture size", Pattern(64, 32)},
    };
    TempDir dir;
    QtImageFiles images;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "m.bmp";
        std::string error;
        ASSERT_TRUE(images.WriteMask(path, c.mask, error)) << error;
        const Bmp b = Parse(path);
        EXPECT_EQ(b.width, c.mask.Width);
        EXPECT_EQ(b.height, c.mask.Height); // positive: bottom-up
        EXPECT_EQ(b.bitCount, 1);
        EXPECT_EQ(b.compression, 0u);
        EXPECT_EQ(b.Palette(0), 0x000000u);
        EXPECT_EQ(b.Palette(1), 0xFFFFFFu);
        for (int y = 0; y < c.mask.Height; ++y)
            for (int x = 0; x < c.mask.Width; ++x) {
                const int bit = (uint8_t(b.Row(y)[x / 8]) >> (7 - x % 8)) & 1;
                EXPECT_EQ(b.Palette(bit) == 0, !c.mask.White[size_t(y * c.mask.Width + x)])
                    << x << "," << y;
            }
        const std::optional<RgbImage> back = images.ReadRgb(path);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->Width, c.mask.Width);
        ASSERT_EQ(back->Height, c.mask.Height);
        for (size_t i = 0; i < c.mask.White.size(); ++i)
            EXPECT_EQ(back->Pixels[i], c.mask.White[i] ? 0xFFFFFFu : 0u) << i;
    }
}

TEST(QtImageFiles, RgbIsTwentyFourBitsAndReadsBack) {
    RgbImage image{5, 3, {}};
    for (uint32_t i = 0; i < 15; ++i)
        image.Pixels.push_back(0x010203u * (i + 1) ^ (i << 20));
    TempDir dir;
    QtImageFiles images;
    std::string error;
    ASSERT_TRUE(images.WriteRgb(dir / "t.bmp", image, error)) << error;
    const Bmp b = Parse(dir / "t.bmp");
    EXPECT_EQ(b.bitCount, 24);
    EXPECT_EQ(b.compression, 0u);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(b.RowBytes(), 16u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const char* p = b.Row(y) + 3 * x; // blue, green, red
            EXPECT_EQ(uint32_t(uint8_t(p[2])) << 16 | uint32_t(uint8_t(p[1])) << 8 | uint8_t(p[0]),
                      image.At(x, y));
        }
    const std::optional<RgbImage> back = images.ReadRgb(dir / "t.bmp");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Width, 5);
    EXPECT_EQ(back->Pixels, image.Pixels);
}

// Sizes come from the header alone; pixels only for a picture within the limit.
TEST(QtImageFiles, ReadsSizesAndRefusesWhatIsNoPictureOrTooLarge) {
    TempDir dir;
    QtImageFiles images;
    std::string error;
    ASSERT_TRUE(
        images.WriteRgb(dir / "small.bmp", {64, 32, std::vector<uint32_t>(64 * 32, 7)}, error));
    const std::string small = ReadWholeFile(dir / "small.bmp");
    auto claiming = [&](uint32_t w, uint32_t h) {
        std::string b = small;
        PutU32(b, 18, w);
        PutU32(b, 22, h);
        return b;
    };
    const struct {
        const char* name;
        std::optional<std::string> content; // nullopt: no file
        std::optional<ImageSize> size;
        bool pixels;
        uint32_t fill = 7; // every pixel read; a row never delivered is black
    } cases[] = {
        {"a texture", small, ImageSize{64, 32}, true},
        {"header claims 5000 x 5000", claiming(5000, 5000), ImageSize{5000, 5000}, false},
        // Qt's reader takes a picture of more than 2^31 bytes for no picture.
        {"header claims 100000 x 100000", claiming(100000, 100000), std::nullopt, false},
        {"wider than the limit", claiming(4097, 16), ImageSize{4097, 16}, false},
        {"pixels cut short", small.substr(0, 200), ImageSize{64, 32}, true, 0},
        {"no picture", std::string("BM not really"), std::nullopt, false},
        {"empty file", std::string(), std::nullopt, false},
        {"missing", std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "in.bmp";
        std::filesystem::remove(path);
        if (c.content)
            std::ofstream(path, std::ios::binary) << *c.content;
        const std::optional<ImageSize> size = images.ReadSize(path);
        ASSERT_EQ(size.has_value(), c.size.has_value());
        if (size) {
            EXPECT_EQ(size->Width, c.size->Width);
            EXPECT_EQ(size->Height, c.size->Height);
        }
        const std::optional<RgbImage> rgb = images.ReadRgb(path);
        ASSERT_EQ(rgb.has_value(), c.pixels);
        if (rgb) {
            EXPECT_EQ(rgb->Pixels, std::vector<uint32_t>(64 * 32, c.fill));
        }
    }
}

TEST(QtImageFiles, FailedWritesSayWhyAndKeepTheOldFile) {
    TempDir dir;
    QtImageFiles images;
    const std::string locked = dir.Touch("locked.bmp", "old");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    const MaskImage two{2, 1, {true, false}};
    const struct {
        const char* name;
        std::string path;
        MaskImage mask;
    } cases[] = {
        {"folder missing", dir / "none/m.bmp", two},
        {"file without write permission", locked, two},
        {"fewer bits than pixels", dir / "short.bmp", {3, 1, {true}}},
        {"no pixels", dir / "empty.bmp", {0, 0, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(images.WriteMask(c.path, c.mask, error));
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        error.clear();
        EXPECT_FALSE(images.WriteRgb(
            c.path, {c.mask.Width, c.mask.Height, std::vector<uint32_t>(c.mask.White.size())},
            error));
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
    }
    EXPECT_EQ(ReadWholeFile(locked), "old");
    EXPECT_FALSE(std::filesystem::exists(dir / "short.bmp"));
}

} // namespace
} // namespace meshforge
