#include "texture/library.h"

#include "model/game_codes.h"
#include "model/project_file.h"
#include "model/renumber.h"
#include "ui/ui.h"

#include <algorithm>
#include <cmath>

namespace meshforge {

namespace {

constexpr std::size_t kMaxNameBytes = 12; // 8 + ".bmp"

bool ValidSide(int n) {
    return n == 16 || n == 32 || n == 64 || n == 128 || n == 256;
}

bool EndsInBmp(std::string_view name) {
    if (name.size() < 4)
        return false;
    std::string_view ext = name.substr(name.size() - 4);
    std::string lower;
    for (char c : ext)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == ".bmp";
}

bool Names(const Project& p, std::size_t index) {
    return index < p.Textures.size();
}

} // namespace

TextureData FreshTextureEntry(const std::string& path) {
    TextureData t;
    t.Filename = path;
    t.Transparent = 0;
    t.RepeatValue = 0;
    t.BackColor = kDefaultBackColor;
    return t;
}

std::optional<std::string> TextureFileProblem(const Project& project, const std::string& path,
                                              ImageFiles& images,
                                              std::optional<std::size_t> replacing) {
    const std::string_view name = FileNamePart(path);
    if (name.size() > kMaxNameBytes)
        return "Filename must not exceed 8 characters !\r\rLength of selected: " +
               path.substr(0, path.size() >= 4 ? path.size() - 4 : 0);
    if (!EndsInBmp(name))
        return "Only Bitmap files (*.bmp) can be textures !\r\rSelected: " + path;
    // Exact comparison: on this system WALL.BMP and wall.bmp are two files, and the names
    // stored projects hold must keep matching as they are.
    for (std::size_t i = 0; i < project.Textures.size(); ++i) {
        if (replacing && *replacing == i)
            continue;
        const std::string& other = project.Textures[i].Filename;
        if (FileNamePart(other) == name)
            return "No duplicate filenames allowed !\r\rFilename \"" + std::string(name) +
                   "\" already in use\rTexture index = " + std::to_string(i) +
                   "\rPath = " + std::string(FolderPart(other));
    }
    std::optional<ImageSize> size = images.ReadSize(path);
    if (!size)
        return UnreadableBitmapMessage(path);
    if (!ValidSide(size->Width) || !ValidSide(size->Height))
        return "Unable to load Bitmap, Width and Height must be one of 16,32,64,128 or 256 "
               "!\r\r                        Width/Height of selected: " +
               std::to_string(size->Width) + ", " + std::to_string(size->Height);
    return std::nullopt;
}

std::string UnreadableBitmapMessage(const std::string& path) {
    return "Unable to load Bitmap, the file could not be read !\r\r" + path;
}

void LogTextureRebuild(Ui& ui) {
    // The window disables itself around the view's rebuild; the log says so.
    ui.Log("Rebuilding Texture Library.....");
    ui.Log("Done !");
}

bool LoadTexture(Project& project, const std::string& path, ImageFiles& images, Ui& ui) {
    // Index 999 marks an untextured polygon: a 999th entry could never be used.
    if (project.Textures.size() >= kMaxTextures) {
        ui.Message("No more than 998 textures allowed !\r\rRemove a texture before loading "
                   "another one.");
        return false;
    }
    if (auto problem = TextureFileProblem(project, path, images, std::nullopt)) {
        ui.Message(*problem);
        return false;
    }
    project.Textures.push_back(FreshTextureEntry(path));
    project.CurrentTexture = static_cast<int32_t>(project.Textures.size() - 1);
    TexturesChanged(project);
    LogTextureRebuild(ui);
    return true;
}

bool ReplaceTexture(Project& project, std::size_t index, const std::string& path,
                    ImageFiles& images, Ui& ui) {
    if (!Names(project, index))
        return false;
    // The duplicate check applies here too: with bitmap copying on, two entries of one name
    // would overwrite each other's copy in the project folder.
    if (auto problem = TextureFileProblem(project, path, images, index)) {
        ui.Message(*problem);
        return false;
    }
    project.Textures[index] = FreshTextureEntry(path);
    TexturesChanged(project);
    LogTextureRebuild(ui);
    return true;
}

bool RemoveTexture(Project& project, std::size_t index, Ui& ui) {
    if (!Names(project, index))
        return false;
    const int32_t current = project.CurrentTexture;
    std::vector<bool> flags(project.Textures.size(), false);
    flags[index] = true;
    RemoveTexturesWhere(project, flags);
    project.CurrentTexture = current; // the grid keeps its selected row
    LogTextureRebuild(ui);
    return true;
}

bool SelectTextureRow(Project& project, int row) {
    if (row < 0)
        return false;
    project.CurrentTexture = row;
    for (ObjectData& polygon : project.Polygons)
        polygon.Selected = polygon.TextureIndex == row;
    return static_cast<std::size_t>(row) < project.Textures.size();
}

void CloseTextureLibrary(Project& project) {
    project.CurrentTexture = kNoTexture;
    for (ObjectData& polygon : project.Polygons)
        polygon.Selected = false;
}

std::array<std::string, 6> TextureGridRow(const Project& project, std::size_t index) {
    if (!Names(project, index))
        return {};
    const TextureData& t = project.Textures[index];
    return {std::to_string(index),
            std::string(FileNamePart(t.Filename)),
            std::to_string(t.Transparent),
            std::to_string(t.RepeatValue),
            t.Filename,
            t.MaskFilename};
}

MaskImage BuildMask(const RgbImage& texture, uint32_t transparent) {
    MaskImage mask;
    mask.Width = texture.Width;
    mask.Height = texture.Height;
    mask.White.resize(texture.Pixels.size());
    for (std::size_t i = 0; i < texture.Pixels.size(); ++i)
        mask.White[i] = (texture.Pixels[i] & 0xFFFFFFu) != (transparent & 0xFFFFFFu);
    return mask;
}

std::string ProposedMaskPath(std::string_view textureFile) {
    const std::size_t keep = textureFile.size() >= 4 ? textureFile.size() - 4 : 0;
    return std::string(textureFile.substr(0, keep)) + "_mask.bmp";
}

bool SaveMaskFile(Project& project, std::size_t index, const std::string& path,
                  const std::optional<MaskImage>& mask, const RgbImage& texture, ImageFiles& images,
                  Ui& ui) {
    if (!Names(project, index))
        return false;
    std::string error;
    const bool written =
        mask ? images.WriteMask(path, *mask, error) : images.WriteRgb(path, texture, error);
    if (!written) {
        ui.Message("Unable to write the mask file !\r\r" + path + "\r" + error);
        return false;
    }
    SetTextureMask(project, index, path, ui);
    return true;
}

void SetTextureMask(Project& project, std::size_t index, const std::string& maskPath, Ui& ui) {
    if (!Names(project, index))
        return;
    project.Textures[index].MaskFilename = maskPath;
    project.Textures[index].Transparent = 1;
    TexturesChanged(project);
    LogTextureRebuild(ui);
}

void SetTextureBackColor(Project& project, std::size_t index, std::optional<uint32_t> picked) {
    // Without a pick the old colour stays: the swatch's button-face grey is no choice.
    if (Names(project, index) && picked)
        project.Textures[index].BackColor = ColorRefOf(*picked);
}

uint32_t ColorRefOf(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

uint32_t RgbOf(uint32_t colorRef) {
    return ColorRefOf(colorRef); // the same exchange of red and blue
}

std::string RgbLabel(uint32_t rgb) {
    return "RGB: " + std::to_string((rgb >> 16) & 0xFF) + "," + std::to_string((rgb >> 8) & 0xFF) +
           "," + std::to_string(rgb & 0xFF);
}

BackColorPreview ShowBackColors(Project& project) {
    BackColorPreview saved;
    saved.ShowTextures = project.Options.ShowTextures;
    saved.Colors.reserve(project.Polygons.size());
    for (ObjectData& polygon : project.Polygons) {
        saved.Colors.push_back(polygon.Color);
        const int32_t t = polygon.TextureIndex;
        if (t == kUntextured || t < 0 || static_cast<std::size_t>(t) >= project.Textures.size())
            continue;
        const uint32_t c = project.Textures[static_cast<std::size_t>(t)].BackColor;
        polygon.Color = {float(c & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f,
                         float((c >> 16) & 0xFF) / 255.0f};
    }
    project.Options.ShowTextures = false;
    return saved;
}

void RestorePolygonColors(Project& project, const BackColorPreview& saved) {
    const std::size_t n = std::min(saved.Colors.size(), project.Polygons.size());
    for (std::size_t i = 0; i < n; ++i)
        project.Polygons[i].Color = saved.Colors[i];
    project.Options.ShowTextures = saved.ShowTextures;
}

std::string BackColorMessage(int32_t displayClass) {
    // A code without an entry (a hand-edited file) is shown as its number.
    const std::string text = DisplayClassText(displayClass);
    return "This is how the 3DO will look like in GPL when the particular graphic option is "
           "un-checked.\r\rDisplay Class is currently set to:\r\"" +
           text + "\"";
}

std::string ToggleCaption(int perSecond) {
    return "Toggle Texture --> " + std::to_string(perSecond) + "/sec";
}

int ToggleIntervalMs(int perSecond) {
    return static_cast<int>(std::lround(1000.0 / std::max(perSecond, 1)));
}

} // namespace meshforge
