#pragma once
#include "texture/image_files.h"

#include <map>
#include <string>

namespace meshforge::test {

// Images by path: what a test put there, nothing else. Writes are recorded.
struct FakeImages : ImageFiles {
    std::map<std::string, RgbImage> files;
    std::map<std::string, MaskImage> masks;

    void Put(const std::string& path, int w, int h, uint32_t fill = 0) {
        files[path] = {w, h, std::vector<uint32_t>(std::size_t(w) * std::size_t(h), fill)};
    }
    std::optional<ImageSize> ReadSize(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return ImageSize{it->second.Width, it->second.Height};
    }
    std::optional<RgbImage> ReadRgb(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return it->second;
    }
    bool WriteMask(const std::string& path, const MaskImage& mask, std::string&) override {
        masks[path] = mask;
        return true;
    }
    bool WriteRgb(const std::string& path, const RgbImage& image, std::string&) override {
        files[path] = image;
        return true;
    }
};

} // namespace meshforge::test
