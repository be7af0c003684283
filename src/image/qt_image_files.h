#pragma once
// ImageFiles through Qt's image readers and writers. Needs no QGuiApplication.
#include "texture/image_files.h"

namespace meshforge {

class QtImageFiles : public ImageFiles {
  public:
    // Larger pictures are refused before anything is decoded, so a header that claims a huge
    // image costs no memory.
    static constexpr int kMaxSide = 4096;

    std::optional<ImageSize> ReadSize(const std::string& path) override;
    std::optional<RgbImage> ReadRgb(const std::string& path) override;
    bool WriteMask(const std::string& path, const MaskImage& mask, std::string& error) override;
    bool WriteRgb(const std::string& path, const RgbImage& image, std::string& error) override;
};

} // namespace meshforge
