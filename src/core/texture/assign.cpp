#include "texture/assign.h"

#include "model/texts.h"
#include "ui/ui.h"
#include "util/errors.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace meshforge {

namespace {

bool ValidPolygon(const Project& p, int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < p.Polygons.size();
}

bool Textured(const Project& p, const ObjectData& polygon) {
    const int32_t t = polygon.TextureIndex;
    return t != kUntextured && t >= 0 && static_cast<std::size_t>(t) < p.Textures.size();
}

int CornersOf(const ObjectData& polygon) {
    return std::max(polygon.VertexCount() - 1, 0);
}

// A polygon's pair for every corner: stored ones where they exist, defaults past them (a file
// may hold fewer pairs than corners).
std::vector<TexCoord> StoredCoords(const ObjectData& polygon) {
    const int n = CornersOf(polygon);
    std::vector<TexCoord> coords(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        coords[static_cast<std::size_t>(k)] = static_cast<std::size_t>(k) < polygon.TexCoords.size()
                                                  ? polygon.TexCoords[static_cast<std::size_t>(k)]
                                                  : DefaultTexCoord(k);
    return coords;
}

std::vector<TexCoord> DefaultCoords(int n) {
    std::vector<TexCoord> coords(static_cast<std::size_t>(std::max(n, 0)));
    for (int k = 0; k < n; ++k)
        coords[static_cast<std::size_t>(k)] = DefaultTexCoord(k);
    return coords;
}

// The working set as a polygon's own (the polygon it was made for may have fewer corners).
TexCoord WorkingCoordFor(const AssignState& state, int corner) {
    return static_cast<std::size_t>(corner) < state.WorkingCoords.size()
               ? state.WorkingCoords[static_cast<std::size_t>(corner)]
               : DefaultTexCoord(corner);
}

// The working set sized for the current polygon.
void FitWorkingSet(const Project& p, AssignState& state) {
    const int n = Corners(p, p.CurrentPolygon);
    const std::size_t old = state.WorkingCoords.size();
    state.WorkingCoords.resize(static_cast<std::size_t>(n));
    for (std::size_t k = old; k < state.WorkingCoords.size(); ++k)
        state.WorkingCoords[k] = DefaultTexCoord(static_cast<int>(k));
}

// Every selected polygon that is still in the list.
template <class F> void ForSelected(Project& p, const AssignState& state, F f) {
    for (int32_t i : state.Selection)
        if (ValidPolygon(p, i))
            f(p.Polygons[static_cast<std::size_t>(i)]);
}

// The Modify Mapping buttons work on textured polygons with a pair for every corner.
template <class F> void ForSelectedTextured(Project& p, AssignState& state, F f) {
    ForSelected(p, state, [&](ObjectData& polygon) {
        if (!Textured(p, polygon))
            return;
        polygon.TexCoords = StoredCoords(polygon);
        f(polygon);
    });
    if (state.Selection.size() == 1 && ValidPolygon(p, state.Selection[0]))
        state.WorkingCoords =
            StoredCoords(p.Polygons[static_cast<std::size_t>(state.Selection[0])]);
}

bool IsZeroOrOne(float x) {
    return x == 0.0f || x == 1.0f;
}

int RepeatCount(float value) {
    const double r = std::round(double(value));
    return static_cast<int>(std::clamp(r, 1.0, double(kMaxRepeat)));
}

std::string Coord3(float x) {
    return FormatFixed(double(x), 3);
}

std::string CoordItem(int32_t vertex, TexCoord c) {
    return "Vertex " + std::to_string(vertex) + ": " + Coord3(c.U) + ", " + Coord3(c.V);
}

// The working set, style and repeat counts from a polygon's stored mapping.
void LoadMapping(const Project& project, const ObjectData& polygon, AssignState& state) {
    const int n = CornersOf(polygon);
    const bool textured = Textured(project, polygon);
    bool repeat = false, area = false;
    if (textured) {
        state.WorkingCoords = StoredCoords(polygon);
        for (const TexCoord& c : state.WorkingCoords) {
            repeat = repeat || c.U > 1 || c.V > 1;
            area = area || (!IsZeroOrOne(c.U) && !IsZeroOrOne(c.V));
        }
    } else {
        state.WorkingCoords = DefaultCoords(n);
    }
    state.RepeatU = state.RepeatV = 1;
    if (repeat) {
        state.Style = MappingStyle::RepeatTexture;
        if (n > 2) {
            state.RepeatU = RepeatCount(state.WorkingCoords[2].U);
            state.RepeatV = RepeatCount(state.WorkingCoords[2].V);
        }
    } else {
        state.Style = area ? MappingStyle::TextureArea : MappingStyle::EntireTexture;
    }
    if (n != 4) {
        state.Style = MappingStyle::TextureArea;
        state.RepeatU = state.RepeatV = 1;
    }
}

} // namespace

int Corners(const Project& project, int32_t polygon) {
    return ValidPolygon(project, polygon)
               ? CornersOf(project.Polygons[static_cast<std::size_t>(polygon)])
               : 0;
}

bool IsQuadrangle(const Project& project, int32_t polygon) {
    return Corners(project, polygon) == 4;
}

void StartAssignTextures(Project& project, AssignState& state) {
    state.Style = MappingStyle::EntireTexture;
    state.PickMode = CoordPickMode::AllAtOnce;
    state.PickCounter = 1;
    state.Selection.clear();
    for (std::size_t i = 0; i < project.Polygons.size(); ++i)
        if (project.Polygons[i].Selected)
            state.Selection.push_back(static_cast<int32_t>(i));
    LoadPolygonMapping(project, state);
}

void LoadPolygonMapping(Project& project, AssignState& state) {
    const int32_t cp = project.CurrentPolygon;
    if (!ValidPolygon(project, cp)) {
        state.WorkingCoords.clear();
        return;
    }
    const ObjectData& polygon = project.Polygons[static_cast<std::size_t>(cp)];
    const bool textured = Textured(project, polygon);
    LoadMapping(project, polygon, state);
    project.CurrentTexture = textured ? polygon.TextureIndex : kNoTexture;
    ApplyTextureToSelection(project, state);
}

void ApplyTextureToSelection(Project& project, AssignState& state) {
    project.Options.ShowTextures = true;
    const int32_t t = project.CurrentTexture;
    // A texture removed meanwhile by the library window is no texture to give.
    const bool valid =
        t != kNoTexture && t >= 0 && static_cast<std::size_t>(t) < project.Textures.size();
    ForSelected(project, state, [&](ObjectData& polygon) {
        polygon.TextureIndex = valid ? t : kUntextured;
        const int n = CornersOf(polygon);
        polygon.TexCoords.resize(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k)
            polygon.TexCoords[static_cast<std::size_t>(k)] = WorkingCoordFor(state, k);
    });
}

void SelectPolygons(Project& project, AssignState& state, std::vector<int32_t> selection) {
    std::erase_if(selection, [&](int32_t i) { return !ValidPolygon(project, i); });
    for (ObjectData& polygon : project.Polygons)
        polygon.Selected = false;
    for (int32_t i : selection)
        project.Polygons[static_cast<std::size_t>(i)].Selected = true;
    state.Selection = std::move(selection);
    if (state.Selection.empty())
        return;
    project.CurrentPolygon = state.Selection.back();
    if (state.Selection.size() == 1) {
        // The working set is this polygon's own, so that the next texture choice keeps its
        // mapping instead of writing another polygon's over it.
        const ObjectData& polygon =
            project.Polygons[static_cast<std::size_t>(project.CurrentPolygon)];
        const bool textured = Textured(project, polygon);
        // Its style and repeat counts too: the controls describe the polygon shown.
        LoadMapping(project, polygon, state);
        // The combo box shows this polygon's texture: that is the one a pick or a typed
        // coordinate goes with, not one chosen for an earlier polygon.
        project.CurrentTexture = textured ? polygon.TextureIndex : kNoTexture;
    }
}

void ChooseTexture(Project& project, AssignState& state, int32_t texture) {
    if (texture != kUntextured &&
        (texture < 0 || static_cast<std::size_t>(texture) >= project.Textures.size()))
        return;
    project.CurrentTexture = texture;
    ApplyTextureToSelection(project, state);
}

bool ChooseLastTexture(Project& project, AssignState& state) {
    if (project.Textures.empty())
        return false;
    ChooseTexture(project, state, static_cast<int32_t>(project.Textures.size() - 1));
    return true;
}

bool SetMappingStyle(Project& project, AssignState& state, MappingStyle style, Ui& ui) {
    const bool quad = IsQuadrangle(project, project.CurrentPolygon);
    if (style != MappingStyle::TextureArea && !quad) {
        ui.Message("Only possible for rectangular Polygons !");
        state.Style = MappingStyle::TextureArea;
        state.RepeatU = state.RepeatV = 1;
        return false;
    }
    state.Style = style;
    if (style == MappingStyle::EntireTexture)
        state.WorkingCoords = DefaultCoords(4);
    if (style != MappingStyle::RepeatTexture)
        state.RepeatU = state.RepeatV = 1;
    ApplyTextureToSelection(project, state);
    return true;
}

void SetRepeat(Project& project, AssignState& state, int u, int v) {
    state.RepeatU = std::clamp(u, 1, kMaxRepeat);
    state.RepeatV = std::clamp(v, 1, kMaxRepeat);
    const float x = float(state.RepeatU), y = float(state.RepeatV);
    const std::vector<TexCoord> four{{0, 0}, {0, y}, {x, y}, {x, 0}};
    if (state.WorkingCoords.size() < 4)
        state.WorkingCoords.resize(4);
    std::copy(four.begin(), four.end(), state.WorkingCoords.begin());
    ForSelected(project, state, [&](ObjectData& polygon) {
        if (CornersOf(polygon) == 4)
            polygon.TexCoords = four;
    });
}

bool MayEditCoordinates(const Project& project, AssignState& state, Ui& ui) {
    if (state.RepeatU > 1 || state.RepeatV > 1) {
        ui.Message("Repeating Texture, no Coordinates possible !");
        return false;
    }
    if (project.CurrentTexture == kNoTexture) {
        ui.Message("Choose a Texture !");
        return false;
    }
    if (state.PickMode == CoordPickMode::FromFile) {
        ui.Message("Load from file not available yet !");
        state.PickMode = CoordPickMode::AllAtOnce;
        return false;
    }
    if (Corners(project, project.CurrentPolygon) == 0)
        return false;
    FitWorkingSet(project, state);
    state.PickCounter = 1;
    return true;
}

TexCoord CoordAt(int x, int y, int width, int height) {
    const double w = std::max(width, 1), h = std::max(height, 1);
    const double px = x * 256.0 / w, py = (h - y) * 128.0 / h;
    return {float(px / 256.0), float(py / 128.0)};
}

std::string PickCaption(const Project& project, const AssignState& state, int x, int y, int width,
                        int height) {
    const double w = std::max(width, 1), h = std::max(height, 1);
    const double px = x * 256.0 / w, py = (h - y) * 128.0 / h;
    std::string caption = "[" + std::to_string(std::lround(px + 1)) + "," +
                          std::to_string(std::lround(py + 1)) + "] --> " +
                          FormatFixed(px / 255.0, 3) + ", " + FormatFixed(py / 127.0, 3);
    if (state.PickMode == CoordPickMode::AllAtOnce)
        caption = "Pick " + std::to_string(state.PickCounter) + "/" +
                  std::to_string(Corners(project, project.CurrentPolygon)) + "   " + caption;
    return caption;
}

ImageSize PickWindowSize(int width, int height) {
    const int h = std::max(height, 1);
    const long ratio = std::max(std::lround(double(std::max(width, 1)) / h), 1L);
    return {static_cast<int>(std::min<long>(ratio * h, 1L << 20)), h};
}

bool PickNextCorner(Project& project, AssignState& state, TexCoord coord) {
    const int n = Corners(project, project.CurrentPolygon);
    if (n == 0)
        return true;
    FitWorkingSet(project, state);
    const int k = std::clamp(state.PickCounter, 1, n);
    state.WorkingCoords[static_cast<std::size_t>(k - 1)] = coord;
    if (k >= n) {
        state.PickCounter = 1;
        return true;
    }
    state.PickCounter = k + 1;
    return false;
}

void PickCorners(Project& project, AssignState& state, const std::vector<int>& items,
                 TexCoord coord) {
    FitWorkingSet(project, state);
    for (int item : items)
        if (item >= 0 && static_cast<std::size_t>(item) < state.WorkingCoords.size())
            state.WorkingCoords[static_cast<std::size_t>(item)] = coord;
    state.PickCounter = 1;
}

bool SetTypedCoordinate(Project& project, AssignState& state, int item, std::string_view u,
                        std::string_view v, Ui& ui) {
    float values[2];
    const std::string_view texts[2] = {u, v};
    for (int i = 0; i < 2; ++i) {
        try {
            values[i] = ParseFloat(texts[i]);
        } catch (const ParseError&) {
            ui.Message("'" + std::string(texts[i]) + "' is not a valid floating point value");
            return false;
        }
    }
    const int n = Corners(project, project.CurrentPolygon);
    if (item < 0 || item >= n)
        return false;
    ObjectData& polygon = project.Polygons[static_cast<std::size_t>(project.CurrentPolygon)];
    polygon.TexCoords = StoredCoords(polygon);
    polygon.TexCoords[static_cast<std::size_t>(item)] = {values[0], values[1]};
    FitWorkingSet(project, state);
    state.WorkingCoords[static_cast<std::size_t>(item)] = {values[0], values[1]};
    return true;
}

void RotateMapping(Project& project, AssignState& state) {
    ForSelectedTextured(project, state, [](ObjectData& polygon) {
        if (!polygon.TexCoords.empty())
            std::rotate(polygon.TexCoords.begin(), polygon.TexCoords.begin() + 1,
                        polygon.TexCoords.end());
    });
}

void FaceOpposite(Project& project, AssignState& state) {
    ForSelectedTextured(project, state, [](ObjectData& polygon) {
        const int n = CornersOf(polygon);
        if (n == 0)
            return;
        std::vector<int32_t>& v = polygon.VertexIndices;
        v.resize(static_cast<std::size_t>(n));
        std::reverse(v.begin(), v.end());
        v.push_back(v.front());
    });
}

void MirrorHorizontal(Project& project, AssignState& state) {
    ForSelectedTextured(project, state, [](ObjectData& polygon) {
        if (CornersOf(polygon) != 4)
            return;
        std::swap(polygon.TexCoords[0], polygon.TexCoords[1]);
        std::swap(polygon.TexCoords[2], polygon.TexCoords[3]);
    });
}

void MirrorVertical(Project& project, AssignState& state) {
    ForSelectedTextured(project, state, [](ObjectData& polygon) {
        if (CornersOf(polygon) != 4)
            return;
        std::swap(polygon.TexCoords[0], polygon.TexCoords[3]);
        std::swap(polygon.TexCoords[1], polygon.TexCoords[2]);
    });
}

TexCoord StoredCoord(const Project& project, int item) {
    const int32_t cp = project.CurrentPolygon;
    if (item < 0 || item >= Corners(project, cp))
        return DefaultTexCoord(std::max(item, 0));
    return StoredCoords(
        project.Polygons[static_cast<std::size_t>(cp)])[static_cast<std::size_t>(item)];
}

void SelectCornerVertex(Project& project, int item) {
    const int32_t cp = project.CurrentPolygon;
    const int n = Corners(project, cp);
    if (item < 0 || item >= n)
        return;
    const ObjectData& polygon = project.Polygons[static_cast<std::size_t>(cp)];
    auto select = [&](int k, bool on) {
        const int32_t v = polygon.VertexIndices[static_cast<std::size_t>(k)];
        if (v >= 0 && static_cast<std::size_t>(v) < project.Vertices.size())
            project.Vertices[static_cast<std::size_t>(v)].Selected = on;
    };
    for (int k = 0; k < n; ++k)
        select(k, false);
    select(item, true);
}

void CloseAssignTextures(Project& project, AssignState& state) {
    project.CurrentPolygon = kNoElement;
    for (Vertex& v : project.Vertices)
        v.Selected = false;
    for (ObjectData& polygon : project.Polygons)
        polygon.Selected = false;
    project.Options.ShowTextures = true;
    state.Selection.clear();
}

std::string PolygonItem(int32_t polygon) {
    return "Polygon No. " + std::to_string(polygon);
}

std::vector<std::string> CoordinateItems(const Project& project, int32_t polygon) {
    std::vector<std::string> items;
    if (!ValidPolygon(project, polygon))
        return items;
    const ObjectData& p = project.Polygons[static_cast<std::size_t>(polygon)];
    const bool textured = Textured(project, p);
    const std::vector<TexCoord> coords = StoredCoords(p);
    for (std::size_t k = 0; k < coords.size(); ++k)
        items.push_back(textured
                            ? CoordItem(p.VertexIndices[k], coords[k])
                            : "Vertex " + std::to_string(p.VertexIndices[k]) + ": Not assigned");
    return items;
}

std::vector<std::string> WorkingCoordinateItems(const Project& project, const AssignState& state) {
    std::vector<std::string> items;
    const int32_t cp = project.CurrentPolygon;
    const int n = Corners(project, cp);
    for (int k = 0; k < n; ++k)
        items.push_back(CoordItem(project.Polygons[static_cast<std::size_t>(cp)]
                                      .VertexIndices[static_cast<std::size_t>(k)],
                                  WorkingCoordFor(state, k)));
    return items;
}

std::vector<std::string> AssignTextureChoices(const Project& project) {
    std::vector<std::string> items;
    items.reserve(project.Textures.size() + 2);
    for (const TextureData& t : project.Textures) {
        const std::string& f = t.Filename;
        const std::size_t cut = f.find_last_of("/\\");
        items.push_back(cut == std::string::npos ? f : f.substr(cut + 1));
    }
    items.emplace_back("Untextured");
    items.emplace_back("-> Load New Texture");
    return items;
}

AssignChoice AssignChoiceAt(const Project& project, int row) {
    const int textures = static_cast<int>(project.Textures.size());
    if (row >= 0 && row < textures)
        return {AssignChoice::Texture, row};
    if (row == textures + 1)
        return {AssignChoice::LoadNew, kUntextured};
    return {AssignChoice::Untextured, kUntextured};
}

int AssignChoiceRow(const Project& project) {
    const int32_t t = project.CurrentTexture;
    if (t >= 0 && static_cast<std::size_t>(t) < project.Textures.size())
        return t;
    return static_cast<int>(project.Textures.size());
}

AssignView AssignControls(const Project& project, const AssignState& state) {
    AssignView view;
    view.CoordListEnabled = view.PickModeEnabled = state.Style == MappingStyle::TextureArea;
    view.RepeatEnabled = state.Style == MappingStyle::RepeatTexture;
    for (int32_t i : state.Selection)
        if (ValidPolygon(project, i) &&
            Textured(project, project.Polygons[static_cast<std::size_t>(i)]))
            view.RotateFaceEnabled = true;
    view.MirrorsEnabled = state.Selection.size() == 1 && IsQuadrangle(project, state.Selection[0]);
    return view;
}

ImageSize PictureSize(ImageSize image) {
    if (image.Width <= 128 && image.Height <= 128)
        return image;
    return {static_cast<int>(std::lround(image.Width / 2.0)),
            static_cast<int>(std::lround(image.Height / 2.0))};
}

} // namespace meshforge
