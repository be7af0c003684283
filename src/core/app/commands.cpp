#include "app/commands.h"

#include "app/lifecycle.h"
#include "edit/lines.h"
#include "model/project.h"
#include "transform/transform.h"

namespace meshforge {

namespace {
constexpr std::string_view kNothingToSave =
    "      No Vertices defined      \r\r      Nothing to save !";
constexpr std::string_view kNotEnoughVertices = "Not enough Vertices defined";
constexpr std::string_view kNoVertices = "No Vertices defined";
constexpr std::string_view kNoPolygons = "No Polygons defined !";
constexpr std::string_view kDrawPolygonsFirst = "Draw Polygons first !";

std::optional<std::string_view> Unless(bool ok, std::string_view message) {
    if (ok)
        return std::nullopt;
    return message;
}
} // namespace

std::optional<std::string_view> GuardMessage(GuardedCommand c, const Project& p) {
    const std::size_t vertices = p.Vertices.size();
    const bool polygons = !p.Polygons.empty();
    switch (c) {
    case GuardedCommand::PrintProjectData:
        return Unless(vertices != 0, "No Vertices, No Print !");
    case GuardedCommand::ExportVertexText:
    case GuardedCommand::Export3DOText:
        return Unless(p.HasGeometry, kNothingToSave);
    case GuardedCommand::ExportDxfVertices:
        return Unless(p.HasGeometry, "No Vertices defined !");
    case GuardedCommand::ExportDxfLines:
        return Unless(!p.Lines.empty(), "No Lines defined !");
    case GuardedCommand::ExportDxfPolygons:
    case GuardedCommand::AssignTextures:
        return Unless(polygons, kNoPolygons);
    case GuardedCommand::Lines:
        return Unless(vertices > 1, kNotEnoughVertices);
    case GuardedCommand::Polygons:
        return Unless(vertices > 2, kNotEnoughVertices);
    case GuardedCommand::LoadRemoveTextures:
        return Unless(vertices > 0, "No Vertices, No Textures !");
    case GuardedCommand::RotateVertices:
    case GuardedCommand::MoveVertices:
    case GuardedCommand::MirrorVertices:
    case GuardedCommand::ScaleVertices:
        return Unless(vertices > 0, kNoVertices);
    case GuardedCommand::CenterAllVertices:
        // Tested first, so that an empty Project centred at the origin says so; the box is
        // recomputed, as Mirror, Rotate and the polygon tools leave the stored one behind.
        if (IsCentred(p))
            return kAlreadyCenteredMessage;
        return Unless(vertices > 0, kNoVertices);
    case GuardedCommand::CopyPolygon:
    case GuardedCommand::MovePolygon:
        return Unless(polygons, kDrawPolygonsFirst);
    }
    return std::nullopt;
}

IdleStates ComputeIdleStates(const Project& p) {
    const bool vertices = !p.Vertices.empty();
    const bool polygons = !p.Polygons.empty();
    IdleStates s;
    s.CloseProject = p.ProjectFileName != kNoFile;
    s.SaveProjectAs = vertices;
    s.WriteAse = polygons && !p.Textures.empty();
    s.CreateLine = s.CreatePolygon = p.HasGeometry;
    s.MoveAll = s.MirrorAll = s.ScaleAll = s.CenterAll = p.HasGeometry;
    s.AssignTexture = s.CopyPolygon = s.MovePolygon = polygons;
    s.ClearAll = vertices || !p.Textures.empty();
    s.PrintProjectData = s.DisplayContents = vertices;
    return s;
}

MenuOpenStates ComputeMenuOpenStates(const Project& p) {
    const bool g = p.HasGeometry;
    const bool polygons = !p.Polygons.empty();
    MenuOpenStates s;
    s.AddData = s.CreateInterpolatedVertex = s.ExportGeometry = g;
    s.Lines = s.Polygons = g;
    s.AssignTextures = polygons;
    s.CheckBackgroundColors = polygons && !p.Textures.empty();
    s.RotateVertices = s.MoveVertices = s.MirrorVertices = s.ScaleVertices = s.CenterAllVertices =
        g;
    s.CopyPolygon = s.MovePolygon = polygons;
    s.SetCollisionType = polygons;
    s.CreateVisLines = p.VisLines.empty() && p.Vertices.size() >= 2;
    s.AddInterpolatedVertices = p.Vertices.size() > 1;
    return s;
}

std::string_view ImportMenuCaption(const Project& p) {
    return p.HasGeometry ? "&Import additional Geometry from...." : "&Import Geometry from....";
}

namespace {
void SetVisLineMenus(EventMenuStates& menus, bool exist) {
    menus.CreateVisLines = !exist;
    menus.RemoveVisLines = menus.ConvertVisLines = exist;
}
} // namespace

void CreateVisLinesCommand(Project& project, ColorTriple& currentLineColor, EventMenuStates& menus,
                           Ui& ui) {
    CreateVisLines(project, currentLineColor, true, ui);
    SetVisLineMenus(menus, true);
}

void RemoveVisLinesCommand(Project& project, EventMenuStates& menus, Ui& ui) {
    RemoveVisLines(project, ui);
    SetVisLineMenus(menus, false);
}

void ConvertVisLinesCommand(Project& project, EventMenuStates& menus, Ui& ui) {
    ConvertVisLines(project, ui);
    SetVisLineMenus(menus, false);
}

} // namespace meshforge
