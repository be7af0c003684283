#pragma once
// Collision volumes and the collision dialog's rules. A volume is a group of planes, each plane
// one polygon with a collision characteristic; a polygon belongs to at most one volume and at
// most once. The dialog (browsing, adding, editing) keeps a CollisionState; what its controls
// show and allow is computed from that state and the Project, so a window only applies it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct ObjectData;
struct Project;
struct Ui;

inline constexpr int kCollisionNarrowWidth = 465; // the volume part only
inline constexpr int kCollisionWideWidth = 650;   // with the polygon panel
inline constexpr std::string_view kVolumeListHeader = "Index       Rebound             Polygons";
inline constexpr int32_t kNoVolume = -1;

enum class CollisionMode { Browsing, Adding, Editing };

struct CollisionState {
    CollisionMode Mode = CollisionMode::Browsing;
    int32_t SelectedVolume = kNoVolume; // the volume list's selection
    int32_t Rebound = 0;                // the characteristic chosen in ReboundComboBox
};

// What TCollisionForm's controls show: its width, which parts take input, the add button's
// caption. "Edit Rebound" and "Remove" need a selected volume; "Remove All" needs a volume.
struct CollisionControls {
    int Width = kCollisionNarrowWidth;
    bool PolygonPanel = false; // PolyListBox, ReboundComboBox, AddButton, BackButton
    bool VolumeList = true, PolyList = false;
    bool AddVolume = true, EditRebound = false, Remove = false, RemoveAll = false;
    std::string_view AddButtonCaption = "Add";
};
CollisionControls CollisionControlsOf(const CollisionState& state, const Project& project);

// The list items: "0  : TireWall     2,3,4" and "7  :  None  0,1,2,3" / "7  :  2   0,1,2,3".
// A value longer than its field is written whole, so no two items read alike.
std::string VolumeItem(const Project& project, std::size_t volume);
std::string PolygonItem(const ObjectData& polygon, std::size_t index);

std::string ConflictMessage(int32_t polygon, std::size_t volume);

// The rules without the dialog (the command line uses them too). AddVolume appends a volume
// over the given polygons (ascending, each once; indices outside the list are none) with one
// characteristic; it refuses an empty choice and every polygon already in a volume, one
// message each, and then changes nothing.
bool AddVolume(Project& project, std::vector<int32_t> polygons, int32_t rebound, Ui& ui);
// Every plane of the volume gets the characteristic; false for a volume not in the list.
bool SetVolumeRebound(Project& project, std::size_t volume, int32_t rebound);
// Removes the volume (later ones move down); false for a volume not in the list.
bool RemoveVolume(Project& project, std::size_t volume);

// The dialog's events.
void OpenCollisionDialog(CollisionState& state);
// After any other command changed the Project: a selection that no longer names a volume is
// dropped (editing it ends) and the highlighted polygons follow the selection.
void RefreshCollisionDialog(Project& project, CollisionState& state);
// A row of the volume list, or kNoVolume: its polygons are highlighted.
void SelectVolume(Project& project, CollisionState& state, int32_t volume);
void StartAddVolume(Project& project, CollisionState& state);               // "Add Volume"
bool StartEditRebound(Project& project, CollisionState& state);             // "Edit Rebound"
void HighlightPolygons(Project& project, const std::vector<int32_t>& rows); // PolyListBox
// "Add" or "Edit" with the rows selected in PolyListBox and state.Rebound; true when the
// dialog went back to browsing.
bool ApplyPolygonPanel(Project& project, CollisionState& state, const std::vector<int32_t>& rows,
                       Ui& ui);
void LeavePolygonPanel(Project& project, CollisionState& state);    // "<<"
void RemoveSelectedVolume(Project& project, CollisionState& state); // "Remove"
void RemoveAllVolumes(Project& project, CollisionState& state);     // "Remove All"
void CloseCollisionDialog(Project& project, CollisionState& state); // "Close", the close box

} // namespace meshforge
