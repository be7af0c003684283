#pragma once
// How the texture subsystem sees images: sizes and pixels, nothing of a file format. The
// editor and the command line hand in the Qt adapter (src/image), tests a fake.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct ImageSize {
    int Width = 0, Height = 0;
};

// Pixels top row first, each 0x00RRGGBB.
struct RgbImage {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
};

// One bit per pixel, top row first: true = white, false = black (transparent).
struct MaskImage {
    int Width = 0, Height = 0;
    std::vector<bool> White;
};

struct ImageFiles {
    virtual ~ImageFiles() = default;
    // The width and height from the file's header, without decoding; nullopt if the file is
    // missing or not an image.
    virtual std::optional<ImageSize> ReadSize(const std::string& path) = 0;
    // The decoded pixels; nullopt if unreadable or too large to be a texture or preview.
    virtual std::optional<RgbImage> ReadRgb(const std::string& path) = 0;
    // Windows BMP files, replaced atomically: a mask with 1 bit per pixel (palette black,
    // white), an image with 24. false with `error` set when the file could not be written.
    virtual bool WriteMask(const std::string& path, const MaskImage& mask, std::string& error) = 0;
    virtual bool WriteRgb(const std::string& path, const RgbImage& image, std::string& error) = 0;
};

} // namespace meshforge
