#pragma once
// The texture library: the Project's list of bitmap textures with their masks and background
// colours. Every change keeps the polygons' TextureIndex valid and marks the list changed, so
// the view rebuilds its texture objects.
#include "model/project.h"
#include "texture/image_files.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Ui;

// The grid's column captions and its rows beyond the entries.
inline constexpr std::array<const char*, 6> kTextureGridColumns{
    "Index", "Short Filename", "Transparency", "Repeat Values", "Filename", "Mask Filename"};
inline constexpr int kTextureGridSpareRows = 10;
inline constexpr uint32_t kDefaultBackColor = 14540253; // RGB 221, 221, 221

// Why `path` cannot become an entry (the message shown), or nullopt. `replacing` is the entry
// being replaced, whose own name does not count as a duplicate.
std::optional<std::string> TextureFileProblem(const Project& project, const std::string& path,
                                              ImageFiles& images,
                                              std::optional<std::size_t> replacing);

// A new entry for `path` with the defaults a loaded texture gets.
TextureData FreshTextureEntry(const std::string& path);
// "Load Texture": appends an entry for `path` with the defaults and makes it current; a refused
// file leaves the list unchanged and shows why. Logs the rebuild lines on success.
bool LoadTexture(Project& project, const std::string& path, ImageFiles& images, Ui& ui);
// "Replace Texture": the entry gets the new file and the defaults again; the polygons keep their
// TextureIndex and TexCoords.
bool ReplaceTexture(Project& project, std::size_t index, const std::string& path,
                    ImageFiles& images, Ui& ui);
// "Remove Selected": polygons on the entry become untextured, later indices move down by one.
// CurrentTexture keeps its number. false if `index` names no entry.
bool RemoveTexture(Project& project, std::size_t index, Ui& ui);

// A bitmap that cannot be decoded (missing, damaged, or too large to be a texture).
std::string UnreadableBitmapMessage(const std::string& path);
// The two log lines around a rebuild of the view's texture objects.
void LogTextureRebuild(Ui& ui);

// A grid row chosen (0-based over the data rows): CurrentTexture becomes `row` and the polygons
// using it are selected, every other polygon deselected. Returns whether the row holds an entry
// (the Replace, Transparency, Background Color and Remove buttons).
bool SelectTextureRow(Project& project, int row);
// The window closed: no current texture, no polygon selected.
void CloseTextureLibrary(Project& project);
// The six cells of an entry's row.
std::array<std::string, 6> TextureGridRow(const Project& project, std::size_t index);
// Data rows the grid has: the entries and ten more.
inline std::size_t TextureGridRows(const Project& project) {
    return project.Textures.size() + kTextureGridSpareRows;
}

// Black where the pixel is exactly `transparent` (0x00RRGGBB), white elsewhere.
MaskImage BuildMask(const RgbImage& texture, uint32_t transparent);
// "wall.bmp" -> "wall_mask.bmp" (the last four characters give way to "_mask.bmp").
std::string ProposedMaskPath(std::string_view textureFile);
// "Save Mask File && Close": the built mask (or, without one, the texture itself) written to
// `path`, then the entry uses it. A failed write shows why and changes nothing.
bool SaveMaskFile(Project& project, std::size_t index, const std::string& path,
                  const std::optional<MaskImage>& mask, const RgbImage& texture, ImageFiles& images,
                  Ui& ui);
// The mask file was written: the entry uses it.
void SetTextureMask(Project& project, std::size_t index, const std::string& maskPath, Ui& ui);
// "Save && Close" of the background-colour dialog: `picked` (0x00RRGGBB) becomes the entry's
// BackColor; without a pick the entry keeps its colour.
void SetTextureBackColor(Project& project, std::size_t index, std::optional<uint32_t> picked);

// A picture's 0x00RRGGBB colour as a Windows colour value (red in the low byte) and back.
uint32_t ColorRefOf(uint32_t rgb);
uint32_t RgbOf(uint32_t colorRef);
// "RGB: r,g,b"
std::string RgbLabel(uint32_t rgb);

// Check Background Colours: textured polygons take their texture's background colour and
// Show Textures goes off; what is returned puts both back.
struct BackColorPreview {
    std::vector<ColorTriple> Colors;
    bool ShowTextures = false;
};
BackColorPreview ShowBackColors(Project& project);
void RestorePolygonColors(Project& project, const BackColorPreview& saved);
std::string BackColorMessage(int32_t displayClass);

// The transparency / background dialogs' toggle speed: caption and timer interval for n per s.
std::string ToggleCaption(int perSecond);
int ToggleIntervalMs(int perSecond);

} // namespace meshforge
