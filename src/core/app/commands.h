#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace meshforge {

struct Project;
struct ColorTriple;
struct EventMenuStates;
struct Ui;

// Main-window commands that check the Project before they run.
enum class GuardedCommand {
    PrintProjectData,
    ExportVertexText,
    ExportDxfVertices,
    ExportDxfLines,
    ExportDxfPolygons,
    Export3DOText,
    Lines,
    Polygons,
    AssignTextures,
    LoadRemoveTextures,
    RotateVertices,
    MoveVertices,
    MirrorVertices,
    ScaleVertices,
    CenterAllVertices,
    CopyPolygon,
    MovePolygon,
};

// The message a command shows instead of running, or nullopt when it may run.
std::optional<std::string_view> GuardMessage(GuardedCommand command, const Project& project);

// Enabled states the idle handler sets whenever the application becomes idle.
struct IdleStates {
    bool CloseProject = false;
    bool SaveProjectAs = false;
    bool WriteAse = false;
    bool CreateLine = false, CreatePolygon = false;
    bool MoveAll = false, MirrorAll = false, ScaleAll = false, CenterAll = false;
    bool AssignTexture = false, CopyPolygon = false, MovePolygon = false;
    bool ClearAll = false;
    bool PrintProjectData = false, DisplayContents = false;
};
IdleStates ComputeIdleStates(const Project& project);

// Enabled states of menu entries, set when their top-level menu is opened.
struct MenuOpenStates {
    // "&Geometry"
    bool AddData = false, CreateInterpolatedVertex = false, ExportGeometry = false;
    // "&Visual Elements"
    bool Lines = false, Polygons = false, AssignTextures = false, CheckBackgroundColors = false;
    // "&Modify"
    bool RotateVertices = false, MoveVertices = false, MirrorVertices = false;
    bool ScaleVertices = false, CenterAllVertices = false;
    bool CopyPolygon = false, MovePolygon = false;
    // "Misc."
    bool SetCollisionType = false, CreateVisLines = false, AddInterpolatedVertices = false;
};
MenuOpenStates ComputeMenuOpenStates(const Project& project);

// Caption of the Geometry menu's import entry.
std::string_view ImportMenuCaption(const Project& project);

// The three visualization-line commands of the "Misc." menu with the menu states they set
// afterwards.
void CreateVisLinesCommand(Project& project, ColorTriple& currentLineColor, EventMenuStates& menus,
                           Ui& ui);
void RemoveVisLinesCommand(Project& project, EventMenuStates& menus, Ui& ui);
void ConvertVisLinesCommand(Project& project, EventMenuStates& menus, Ui& ui);

} // namespace meshforge
