#pragma once
// The two line-oriented geometry texts: the vertex text file (".vtx", Vertices only, one
// coordinate per line) and the 3DOText file (".txt", Vertices and Polygons, one item per
// line). Free of the user interface; messages and log lines go through Ui.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace meshforge {

struct Project;
struct Ui;
class TextSink;

inline constexpr std::string_view kVertexTextHeader =
    "============ Vertex Definition for 3DO ==============";
inline constexpr std::string_view kVertexTextKeyword = "VertexXYZ";
inline constexpr std::string_view k3DOTextHeader = "# 3DO Export";
inline constexpr std::string_view k3DOTextToken = "-80808080";

// The guard of both export commands: the "No Vertices defined ... Nothing to save !" message
// while the Project has no geometry, otherwise empty.
std::string_view TextExportRefusal(const Project& project);

// Whole file texts, lines ended by CR LF. Polygons with fewer than two indices or naming a
// Vertex outside the list (possible only in a damaged Project) are left out of the 3DOText,
// since a "v" line cannot express them and a reader would misread the rest.
std::string VertexTextOf(const Project& project);
std::string ThreeDOTextOf(const Project& project);
void WriteVertexText(const Project& project, TextSink& out);
void Write3DOText(const Project& project, TextSink& out);

// Write the text to `path` (atomically) and log "<n> Vertices saved to file <path>" or
// "Data saved to 3DO Text file <path>". The guard is the caller's (TextExportRefusal). A file
// that cannot be written: the error is shown, no log line, false.
bool ExportVertexText(const Project& project, const std::string& path, Ui& ui);
bool Export3DOText(const Project& project, const std::string& path, Ui& ui);

enum class TextImportOutcome {
    Imported,        // log lines written, HasGeometry (3DOText: and GeometryShown) set,
                     // bounding box updated
    NotValid,        // wrong first line: message shown, nothing changed
    Unreadable,      // the file cannot be read: message shown, nothing changed
    OffsetCancelled, // the Offset New Vertices dialog was cancelled, nothing changed
    Failed,          // bad number, bad field or a count past the end: message shown naming
                     // the line; items created before it stay (HasGeometry set if any
                     // Vertices remain), no log line, no box update
};

struct TextImportResult {
    TextImportOutcome Outcome = TextImportOutcome::Failed;
    int64_t Vertices = 0; // Vertices created
    int64_t Polygons = 0; // Polygons created
    int64_t Skipped = 0;  // 3DOText Polygons left out for naming a Vertex outside the list
};

// Imports into the Project: loads when it has no geometry (replacing its Vertices and, for
// 3DOText, Polygons), otherwise asks ui.AskImportOffset() and appends with the offset added.
// `path` only names the file in messages and log lines.
//
// Vertex text: m, the number of empty lines in the text, is the number of blocks after the
// first "VertexXYZ" line; later "VertexXYZ" lines are ignored, and a text without one fails
// before anything changes. The log counts the Vertices actually created.
//
// 3DOText: only the header on the first line counts; a later "# 3DO Export" line is ignored.
// A "v" line is read as k, the fixed token and k indices separated by single blanks, with or
// without the closing blank and for any k >= 1. A Polygon naming a Vertex outside the
// file's Vertices is not added; one message lists the lines of those left out. Polygon
// colours come from `rng`.
TextImportResult ReadVertexText(Project& project, const std::string& path, std::string_view text,
                                Ui& ui);
TextImportResult Read3DOText(Project& project, const std::string& path, std::string_view text,
                             Ui& ui, std::mt19937& rng);

// The same on a file; the 3DOText colours come from a generator seeded from the clock.
TextImportResult ImportVertexText(Project& project, const std::string& path, Ui& ui);
TextImportResult Import3DOText(Project& project, const std::string& path, Ui& ui);

} // namespace meshforge
