#pragma once
// Texture assignment: textures of the library given to polygons with one (U, V) pair per
// corner. The Assign Texture dialog keeps an AssignState (its working set and controls); every
// operation here checks each index against its list, so a window left open while another one
// changed the Project can do no harm.
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

enum class MappingStyle { EntireTexture, TextureArea, RepeatTexture };
enum class CoordPickMode { AllAtOnce, Single, Manually, FromFile };

inline constexpr std::array<const char*, 3> kMappingStyleNames{"Entire Texture", "Texture Area",
                                                               "Repeat Texture"};
inline constexpr std::array<const char*, 4> kCoordPickModeNames{"Pick all at once", "Pick Single",
                                                                "Manually", "Load from File"};
inline constexpr int kMaxRepeat = 999;

struct AssignState {
    std::vector<int32_t> Selection; // polygons selected in the list, in list order
    std::vector<TexCoord> WorkingCoords;
    MappingStyle Style = MappingStyle::EntireTexture;
    CoordPickMode PickMode = CoordPickMode::AllAtOnce;
    int RepeatU = 1, RepeatV = 1;
    int PickCounter = 1; // 1 ... corners, for "Pick all at once"
};

// What the dialog's controls show, derived from the Project and the state.
struct AssignView {
    bool CoordListEnabled = false, PickModeEnabled = false, RepeatEnabled = false;
    bool RotateFaceEnabled = false, MirrorsEnabled = false;
};

// Corner count of a polygon (stored indices minus the closing one); 0 for a bad index.
int Corners(const Project& project, int32_t polygon);
bool IsQuadrangle(const Project& project, int32_t polygon);

// On opening (the menu's guard set CurrentPolygon to 0): style "Entire Texture", pick mode
// "Pick all at once", the list selection taken from the polygons' Selected flags; then the
// current polygon's mapping is loaded.
void StartAssignTextures(Project& project, AssignState& state);
// The current polygon's mapping into the working set, style and repeat counts and its texture
// into CurrentTexture; then applied to the selection.
void LoadPolygonMapping(Project& project, AssignState& state);
// CurrentTexture and the working set into every selected polygon (each takes as many pairs as
// it has corners); "Show Textures" on.
void ApplyTextureToSelection(Project& project, AssignState& state);

// The list selection changed. One polygon: it becomes current, the working set is loaded
// from it and its texture (or none) is the current one. Several: the last becomes current.
void SelectPolygons(Project& project, AssignState& state, std::vector<int32_t> selection);
// A texture chosen in the combo box (kUntextured for "Untextured").
void ChooseTexture(Project& project, AssignState& state, int32_t texture);
// After "-> Load New Texture": the library's last entry is chosen; nothing if it is empty.
bool ChooseLastTexture(Project& project, AssignState& state);
// The mapping style; false (and the message, style "Texture Area") for a polygon that is not a
// quadrangle with "Entire Texture" or "Repeat Texture".
bool SetMappingStyle(Project& project, AssignState& state, MappingStyle style, Ui& ui);
// The repeat counts (1 ... 999): (0,0), (0,V), (U,V), (U,0) into the working set and every
// selected quadrangle.
void SetRepeat(Project& project, AssignState& state, int u, int v);

// Whether a double-click may edit coordinates: the messages of the refusals ("Load from File"
// also goes back to "Pick all at once"). Starts the pick counter.
bool MayEditCoordinates(const Project& project, AssignState& state, Ui& ui);
// Mouse position in a picking window of W x H pixels -> (U, V); W and H at least 1.
TexCoord CoordAt(int x, int y, int width, int height);
// The picking window's caption for a mouse position ("Pick k/n   " first in Pick all at once).
std::string PickCaption(const Project& project, const AssignState& state, int x, int y, int width,
                        int height);
// Picking window size that keeps the width a whole multiple of the height (never 0).
ImageSize PickWindowSize(int width, int height);
// A press in "Pick all at once": corner k-1 gets (U, V); true when the last corner was set
// (the window closes).
bool PickNextCorner(Project& project, AssignState& state, TexCoord coord);
// A press in "Pick Single": every selected coordinate item gets (U, V).
void PickCorners(Project& project, AssignState& state, const std::vector<int>& items,
                 TexCoord coord);
// "Ok" of the Texture Coordinates box: corner `item` of the current polygon gets the typed
// values; a text that is not a number shows the conversion message and changes nothing.
bool SetTypedCoordinate(Project& project, AssignState& state, int item, std::string_view u,
                        std::string_view v, Ui& ui);

// Modify Mapping, on every selected textured polygon (mirrors: quadrangles only). With one
// polygon selected the working set follows it, so that the next texture choice keeps the
// change.
void RotateMapping(Project& project, AssignState& state);
void FaceOpposite(Project& project, AssignState& state);
void MirrorHorizontal(Project& project, AssignState& state);
void MirrorVertical(Project& project, AssignState& state);

// The stored pair of a corner of the current polygon (the default where it has none), which
// the Texture Coordinates box starts from.
TexCoord StoredCoord(const Project& project, int item);
// A coordinate item clicked: the vertex of that corner of the current polygon is the only
// selected one among the polygon's corners (the view shows it in the selected colour).
void SelectCornerVertex(Project& project, int item);

// "Close": nothing current or selected, "Show Textures" on.
void CloseAssignTextures(Project& project, AssignState& state);

// Texts of the lists: "Polygon No. i"; "Vertex i: u, v" / "Vertex i: Not assigned".
std::string PolygonItem(int32_t polygon);
std::vector<std::string> CoordinateItems(const Project& project, int32_t polygon);
std::vector<std::string> WorkingCoordinateItems(const Project& project, const AssignState& state);
// The combo box: texture short names, "Untextured", "-> Load New Texture".
std::vector<std::string> AssignTextureChoices(const Project& project);
// What a row of that combo box stands for.
struct AssignChoice {
    enum Kind { Texture, Untextured, LoadNew } What = Untextured;
    int32_t Index = kUntextured; // the texture, for Texture
};
AssignChoice AssignChoiceAt(const Project& project, int row);
// The row that shows CurrentTexture (a texture, or "Untextured").
int AssignChoiceRow(const Project& project);
// The controls' enabled states.
AssignView AssignControls(const Project& project, const AssignState& state);
// The texture picture's size: its own up to 128 in both directions, else half (rounded).
ImageSize PictureSize(ImageSize image);

} // namespace meshforge
