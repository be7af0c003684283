#pragma once
// DXF R12 export: a fixed AutoCAD R12 ("AC1009") template with the Project's vertices as
// POINT, its lines as LINE and its polygons as POLYLINE/VERTEX entities in the ENTITIES
// section. Free of the user interface.
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Project;
struct Ui;
class TextSink;

enum class DxfMode { Vertices, VerticesLines, VerticesLinesPolygons };

// The built-in template, one entry per line. The entities go before its last four lines.
const std::vector<std::string>& DxfTemplateLines();

// The first handle of every file; a POLYLINE is written with the counter + 1000, and an
// entity whose counter value a POLYLINE took gets the next handle no entity has.
inline constexpr unsigned kFirstDxfHandle = 375;

// The guard of the export command: its message ("No Vertices defined !", "No Lines defined !",
// "No Polygons defined !"), or empty when the mode may be exported.
std::string_view DxfExportRefusal(const Project& project, DxfMode mode);

// The whole file text, lines ended by CR LF. Lines and polygons naming a vertex outside the
// list (possible only in a damaged project) are left out rather than written wrongly.
std::string DxfText(const Project& project, DxfMode mode);
void WriteDxfText(const Project& project, DxfMode mode, TextSink& out);

// Writes DxfText to `path` and logs "<n> Vertices ... saved to DXF-File <path>". The guard is
// the caller's (see DxfExportRefusal). A file that cannot be written: the error is shown, no
// log line, false.
bool WriteDxf(const Project& project, const std::string& path, DxfMode mode, Ui& ui);

} // namespace meshforge
