#include "collision/collision.h"

#include "model/game_codes.h"
#include "model/project.h"
#include "model/renumber.h"
#include "model/texts.h"
#include "ui/ui.h"

#include <algorithm>
#include <utility>

namespace meshforge {

namespace {

bool IsVolume(const Project& p, int32_t volume) {
    return volume >= 0 && static_cast<std::size_t>(volume) < p.CollVols.size();
}

bool IsPolygon(const Project& p, int32_t polygon) {
    return polygon >= 0 && static_cast<std::size_t>(polygon) < p.Polygons.size();
}

void ClearPolygonSelection(Project& p) {
    for (ObjectData& polygon : p.Polygons)
        polygon.Selected = false;
}

void AppendJoined(std::string& out, const int32_t* first, const int32_t* last) {
    for (const int32_t* i = first; i != last; ++i) {
        if (i != first)
            out += ',';
        AppendInt(out, *i);
    }
}

void BackToBrowsing(Project& p, CollisionState& state) {
    state.Mode = CollisionMode::Browsing;
    state.SelectedVolume = kNoVolume; // the refilled list has no selection
    ClearPolygonSelection(p);
}

} // namespace

CollisionControls CollisionControlsOf(const CollisionState& state, const Project& project) {
    CollisionControls c;
    const bool selected = IsVolume(project, state.SelectedVolume);
    switch (state.Mode) {
    case CollisionMode::Browsing:
        c.EditRebound = c.Remove = selected;
        c.RemoveAll = !project.CollVols.empty();
        break;
    case CollisionMode::Adding:
    case CollisionMode::Editing:
        c.Width = kCollisionWideWidth;
        c.PolygonPanel = true;
        c.VolumeList = c.AddVolume = false;
        c.PolyList = state.Mode == CollisionMode::Adding;
        c.AddButtonCaption = state.Mode == CollisionMode::Adding ? "Add" : "Edit";
        break;
    }
    return c;
}

std::string VolumeItem(const Project& project, std::size_t volume) {
    const CollVol& v = project.CollVols[volume];
    std::string out;
    AppendField(out, std::to_string(volume), 3, Align::Left);
    out += ": ";
    // An empty volume has no first plane to name.
    const std::string name =
        v.PolygonIndices.empty() ? "" : ReboundName(v.Rebounds.empty() ? 0 : v.Rebounds[0]);
    AppendField(out, name, 13, Align::Left);
    AppendJoined(out, v.PolygonIndices.data(), v.PolygonIndices.data() + v.PolygonIndices.size());
    return out;
}

std::string PolygonItem(const ObjectData& polygon, std::size_t index) {
    std::string out;
    AppendField(out, std::to_string(index), 3, Align::Left);
    out += ":  ";
    if (polygon.TextureIndex == kUntextured)
        AppendField(out, "None", 6, Align::Left);
    else
        AppendField(out, std::to_string(polygon.TextureIndex), 4, Align::Left);
    const auto& ring = polygon.VertexIndices;
    if (!ring.empty())
        AppendJoined(out, ring.data(), ring.data() + ring.size() - 1);
    return out;
}

std::string ConflictMessage(int32_t polygon, std::size_t volume) {
    return "Polygon No. " + std::to_string(polygon) + " already used by Volume No." +
           std::to_string(volume);
}

bool AddVolume(Project& project, std::vector<int32_t> polygons, int32_t rebound, Ui& ui) {
    std::sort(polygons.begin(), polygons.end());
    polygons.erase(std::unique(polygons.begin(), polygons.end()), polygons.end());
    std::erase_if(polygons, [&](int32_t k) { return !IsPolygon(project, k); });
    if (polygons.empty()) {
        ui.Message("Select one or more Polygons from the list !");
        return false;
    }
    // Every (polygon, volume) pair of the existing planes, sorted, so each chosen polygon finds
    // its volumes at once; a file may hold a polygon twice, it is named once per volume.
    std::vector<std::pair<int32_t, std::size_t>> owners;
    for (std::size_t v = 0; v < project.CollVols.size(); ++v)
        for (int32_t k : project.CollVols[v].PolygonIndices)
            owners.emplace_back(k, v);
    std::sort(owners.begin(), owners.end());
    owners.erase(std::unique(owners.begin(), owners.end()), owners.end());
    bool conflict = false;
    for (int32_t k : polygons) {
        auto at =
            std::lower_bound(owners.begin(), owners.end(), std::pair<int32_t, std::size_t>(k, 0));
        for (; at != owners.end() && at->first == k; ++at) {
            ui.Message(ConflictMessage(k, at->second));
            conflict = true;
        }
    }
    if (conflict)
        return false;
    CollVol volume;
    volume.Rebounds.assign(polygons.size(), rebound);
    volume.PolygonIndices = std::move(polygons);
    project.CollVols.push_back(std::move(volume));
    BumpRevision(project);
    return true;
}

bool SetVolumeRebound(Project& project, std::size_t volume, int32_t rebound) {
    if (volume >= project.CollVols.size())
        return false;
    CollVol& v = project.CollVols[volume];
    v.Rebounds.assign(v.PolygonIndices.size(), rebound);
    return true;
}

bool RemoveVolume(Project& project, std::size_t volume) {
    if (volume >= project.CollVols.size())
        return false;
    std::vector<bool> remove(project.CollVols.size());
    remove[volume] = true;
    RemoveCollVolsWhere(project, remove);
    return true;
}

void OpenCollisionDialog(CollisionState& state) {
    state = CollisionState{};
}

void RefreshCollisionDialog(Project& project, CollisionState& state) {
    if (IsVolume(project, state.SelectedVolume))
        return;
    state.SelectedVolume = kNoVolume;
    if (state.Mode == CollisionMode::Editing)
        BackToBrowsing(project, state);
    else if (state.Mode == CollisionMode::Browsing)
        ClearPolygonSelection(project);
}

void SelectVolume(Project& project, CollisionState& state, int32_t volume) {
    ClearPolygonSelection(project);
    state.SelectedVolume = IsVolume(project, volume) ? volume : kNoVolume;
    if (state.SelectedVolume == kNoVolume)
        return;
    for (int32_t k : project.CollVols[static_cast<std::size_t>(volume)].PolygonIndices)
        if (IsPolygon(project, k))
            project.Polygons[static_cast<std::size_t>(k)].Selected = true;
}

void StartAddVolume(Project& project, CollisionState& state) {
    state.Mode = CollisionMode::Adding;
    state.Rebound = 0;
    ClearPolygonSelection(project);
}

bool StartEditRebound(Project& project, CollisionState& state) {
    if (!IsVolume(project, state.SelectedVolume))
        return false;
    state.Mode = CollisionMode::Editing;
    return true;
}

void HighlightPolygons(Project& project, const std::vector<int32_t>& rows) {
    ClearPolygonSelection(project);
    for (int32_t k : rows)
        if (IsPolygon(project, k))
            project.Polygons[static_cast<std::size_t>(k)].Selected = true;
}

bool ApplyPolygonPanel(Project& project, CollisionState& state, const std::vector<int32_t>& rows,
                       Ui& ui) {
    if (state.Mode == CollisionMode::Adding) {
        if (!AddVolume(project, rows, state.Rebound, ui))
            return false;
    } else if (state.Mode == CollisionMode::Editing) {
        SetVolumeRebound(project, static_cast<std::size_t>(state.SelectedVolume), state.Rebound);
    }
    BackToBrowsing(project, state);
    return true;
}

void LeavePolygonPanel(Project& project, CollisionState& state) {
    BackToBrowsing(project, state);
}

void RemoveSelectedVolume(Project& project, CollisionState& state) {
    if (IsVolume(project, state.SelectedVolume))
        RemoveVolume(project, static_cast<std::size_t>(state.SelectedVolume));
    state.SelectedVolume = kNoVolume;
    ClearPolygonSelection(project);
}

void RemoveAllVolumes(Project& project, CollisionState& state) {
    RemoveCollVolsWhere(project, std::vector<bool>(project.CollVols.size(), true));
    state.SelectedVolume = kNoVolume;
    ClearPolygonSelection(project);
}

void CloseCollisionDialog(Project& project, CollisionState& state) {
    ClearPolygonSelection(project);
    // No volume stays without a plane, as after every removal.
    std::vector<bool> empty(project.CollVols.size());
    for (std::size_t v = 0; v < empty.size(); ++v)
        empty[v] = project.CollVols[v].PolygonIndices.empty();
    RemoveCollVolsWhere(project, empty);
    project.CurrentPolygon = kNoElement;
    state = CollisionState{};
}

} // namespace meshforge
