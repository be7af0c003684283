#pragma once
// DXF R12 import: a line-matching reader for POINT, VERTEX, LINE and 3DFACE entities. It
// looks at no section, table or layer, only at keyword lines and the coordinate groups after
// them; an entity whose groups are not where that reading expects them (another order, no Z)
// is read by its own group codes, and a VERTEX that is a polyface face record is left out.
// Everything here is free of the user interface; messages and log lines go through Ui.
#include "model/project_file_ui.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace meshforge {

struct Project;
struct ColorTriple;
struct Ui;
class LineSource;

enum class DxfKind { Point, Vertex, Line, Face };

// "POINT", "VERTEX", "LINE" or "3DFACE".
std::string_view DxfKeyword(DxfKind kind);

struct DxfScan {
    bool Ok = false;     // false: a message was shown and the Scan DXF dialog is not shown
    std::string Caption; // "Scanning file '<name>'", set once the file was read
    int64_t Points = 0, Vertices = 0, Lines = 0, Faces = 0;
    int64_t Count(DxfKind kind) const;
};

// The caption of a kind's radio button: "<count> POINT objects in DXF" and so on.
std::string DxfButtonCaption(DxfKind kind, int64_t count);

// Reports the share of a file done, from 0 to 1 and rising; see ImportDxf.
using DxfProgress = std::function<void(double)>;

// Counts the keyword lines of the file, read a chunk at a time. Missing file, binary DXF or no
// known entity: the message is shown and Ok stays false. `progress` as for ImportDxf.
DxfScan ScanFile(const std::string& path, Ui& ui, const DxfProgress& progress = {});
// The same on text already read; `path` names the file in the messages.
DxfScan ScanDxfText(const std::string& path, std::string_view text, Ui& ui);

enum class DxfImportOutcome {
    Imported,        // log line written, bounding box updated
    NotPresent,      // no line is the keyword; "Sorry, no ..." shown, nothing changed
    OffsetCancelled, // the Offset New Vertices dialog was cancelled, nothing changed
    Failed,          // a bad number, a group past the end or missing: message shown; the
                     // items created before the failing entity stay, no log line, no box update
};

struct DxfImportResult {
    DxfImportOutcome Outcome = DxfImportOutcome::Failed;
    int64_t Created = 0; // Vertices, Lines or Polygons counted for the log
};

// Three independent values in [0, 1), drawn in R, G, B order (24 bits each).
ColorTriple RandomPolygonColor(std::mt19937& rng);

// The start every geometry import shares: when the Project HasGeometry the offset for the new
// vertices is asked through ui.AskImportOffset() (nullopt: cancelled, nothing changed),
// otherwise the vertex list starts empty and the offset is zero. Bumps the revision.
std::optional<Offset3> BeginGeometryImport(Project& project, Ui& ui);
// Its end: the log line ("<created> valid Polygons loaded from file <path>" and the like for
// `kind`, "additional ... added" when `adding`), HasGeometry, the bounding box.
void EndGeometryImport(Project& project, DxfKind kind, bool adding, int64_t created,
                       const std::string& path, Ui& ui);
// "Unable to import from file '<path>'\r", the head of an import's failure messages.
std::string ImportFailurePrefix(const std::string& path);

// One importer run: reads the file a chunk at a time (a large file is never held whole), asks
// for the offset through ui.AskImportOffset() when the Project HasGeometry, creates the
// items, logs and updates the bounding box. The closing
// Remove Double Vertices pass is not part of it: the Scan DXF dialog runs
// FinishDxfImport after its importer, whatever the importer's outcome except Failed.
// Polygon colours come from `rng`. `progress`, when given, is called with the share of the
// file read (0 first, then rising, 1 after a successful import) every few ten thousand
// lines, so a window can show progress on large files and keep painting (it must refuse
// input meanwhile). A file that cannot be read shows "Unable to load file <path>".
// `expected`, the scan's count of the kind, only reserves room for the new lines or polygons.
DxfImportResult ImportDxf(Project& project, const std::string& path, DxfKind kind, Ui& ui,
                          std::mt19937& rng, const DxfProgress& progress = {},
                          int64_t expected = 0);
DxfImportResult ImportDxfText(Project& project, const std::string& path, std::string_view text,
                              DxfKind kind, Ui& ui, std::mt19937& rng,
                              const DxfProgress& progress = {});
// The same on any source of lines, such as a file read in chunks of a chosen size.
DxfImportResult ImportDxfLines(Project& project, const std::string& path, LineSource& lines,
                               DxfKind kind, Ui& ui, std::mt19937& rng,
                               const DxfProgress& progress = {}, int64_t expected = 0);

// The closing pass of the Scan DXF dialog's OK: Remove Double Vertices over the whole Project
// with its own log line. Returns the number of removed vertices.
int32_t FinishDxfImport(Project& project, ColorTriple& currentLineColor, Ui& ui);

} // namespace meshforge
