#include "io/dxf_export.h"

#include "io/export_file.h"
#include "model/project.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/text_sink.h"

#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

namespace meshforge {

namespace {

// Group codes and values of the template, in AutoCAD's layout: codes right-aligned in three
// columns. Kept as pairs because the R12 template is nothing but a long run of them.
using Group = std::pair<int, const char*>;

constexpr const char* kBig = "1.0000000000000000E+020";
constexpr const char* kMinusBig = "-1.0000000000000000E+020";

struct HeaderVariable {
    const char* name;
    std::initializer_list<Group> groups;
};

const HeaderVariable kHeader[] = {
    {"$ACADVER", {{1, "AC1009"}}},
    {"$INSBASE", {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}}},
    {"$EXTMIN", {{10, kBig}, {20, kBig}, {30, kBig}}},
    {"$EXTMAX", {{10, kMinusBig}, {20, kMinusBig}, {30, kMinusBig}}},
    {"$LIMMIN", {{10, "0.0"}, {20, "0.0"}}},
    {"$LIMMAX", {{10, "420.0"}, {20, "297.0"}}},
    {"$ORTHOMODE", {{70, "0"}}},
    {"$REGENMODE", {{70, "1"}}},
    {"$FILLMODE", {{70, "1"}}},
    {"$QTEXTMODE", {{70, "0"}}},
    {"$MIRRTEXT", {{70, "1"}}},
    {"$DRAGMODE", {{70, "2"}}},
    {"$LTSCALE", {{40, "1.0"}}},
    {"$OSMODE", {{70, "0"}}},
    {"$ATTMODE", {{70, "1"}}},
    {"$TEXTSIZE", {{40, "2.5"}}},
    {"$TRACEWID", {{40, "1.0"}}},
    {"$TEXTSTYLE", {{7, "STANDARD"}}},
    {"$CLAYER", {{8, "0"}}},
    {"$CELTYPE", {{6, "BYLAYER"}}},
    {"$CECOLOR", {{62, "256"}}},
    {"$DIMSCALE", {{40, "1.0"}}},
    {"$DIMASZ", {{40, "2.5"}}},
    {"$DIMEXO", {{40, "0.625"}}},
    {"$DIMDLI", {{40, "3.75"}}},
    {"$DIMRND", {{40, "0.0"}}},
    {"$DIMDLE", {{40, "0.0"}}},
    {"$DIMEXE", {{40, "1.25"}}},
    {"$DIMTP", {{40, "0.0"}}},
    {"$DIMTM", {{40, "0.0"}}},
    {"$DIMTXT", {{40, "2.5"}}},
    {"$DIMCEN", {{40, "2.5"}}},
    {"$DIMTSZ", {{40, "0.0"}}},
    {"$DIMTOL", {{70, "0"}}},
    {"$DIMLIM", {{70, "0"}}},
    {"$DIMTIH", {{70, "0"}}},
    {"$DIMTOH", {{70, "0"}}},
    {"$DIMSE1", {{70, "0"}}},
    {"$DIMSE2", {{70, "0"}}},
    {"$DIMTAD", {{70, "1"}}},
    {"$DIMZIN", {{70, "8"}}},
    {"$DIMBLK", {{1, ""}}},
    {"$DIMASO", {{70, "1"}}},
    {"$DIMSHO", {{70, "1"}}},
    {"$DIMPOST", {{1, ""}}},
    {"$DIMAPOST", {{1, ""}}},
    {"$DIMALT", {{70, "0"}}},
    {"$DIMALTD", {{70, "4"}}},
    {"$DIMALTF", {{40, "0.0394"}}},
    {"$DIMLFAC", {{40, "1.0"}}},
    {"$DIMTOFL", {{70, "1"}}},
    {"$DIMTVP", {{40, "0.0"}}},
    {"$DIMTIX", {{70, "0"}}},
    {"$DIMSOXD", {{70, "0"}}},
    {"$DIMSAH", {{70, "0"}}},
    {"$DIMBLK1", {{1, ""}}},
    {"$DIMBLK2", {{1, ""}}},
    {"$DIMSTYLE", {{2, "ISO-25"}}},
    {"$DIMCLRD", {{70, "0"}}},
    {"$DIMCLRE", {{70, "0"}}},
    {"$DIMCLRT", {{70, "0"}}},
    {"$DIMTFAC", {{40, "1.0"}}},
    {"$DIMGAP", {{40, "0.625"}}},
    {"$LUNITS", {{70, "2"}}},
    {"$LUPREC", {{70, "4"}}},
    {"$SKETCHINC", {{40, "1.0"}}},
    {"$FILLETRAD", {{40, "0.0"}}},
    {"$AUNITS", {{70, "0"}}},
    {"$AUPREC", {{70, "0"}}},
    {"$MENU", {{1, "."}}},
    {"$ELEVATION", {{40, "0.0"}}},
    {"$PELEVATION", {{40, "0.0"}}},
    {"$THICKNESS", {{40, "0.0"}}},
    {"$LIMCHECK", {{70, "0"}}},
    {"$BLIPMODE", {{70, "0"}}},
    {"$CHAMFERA", {{40, "0.0"}}},
    {"$CHAMFERB", {{40, "0.0"}}},
    {"$SKPOLY", {{70, "0"}}},
    {"$TDCREATE", {{40, "2451544.5"}}},
    {"$TDUPDATE", {{40, "2451544.5"}}},
    {"$TDINDWG", {{40, "0.0"}}},
    {"$TDUSRTIMER", {{40, "0.0"}}},
    {"$USRTIMER", {{70, "1"}}},
    {"$ANGBASE", {{50, "0.0"}}},
    {"$ANGDIR", {{70, "0"}}},
    {"$PDMODE", {{70, "35"}}},
    {"$PDSIZE", {{40, "2.0"}}},
    {"$PLINEWID", {{40, "0.0"}}},
    {"$COORDS", {{70, "1"}}},
    {"$SPLFRAME", {{70, "0"}}},
    {"$SPLINETYPE", {{70, "6"}}},
    {"$SPLINESEGS", {{70, "8"}}},
    {"$ATTDIA", {{70, "0"}}},
    {"$ATTREQ", {{70, "1"}}},
    {"$HANDLING", {{70, "4097"}}},
    {"$HANDSEED", {{5, "C6"}}},
    {"$SURFTAB1", {{70, "6"}}},
    {"$SURFTAB2", {{70, "6"}}},
    {"$SURFTYPE", {{70, "6"}}},
    {"$SURFU", {{70, "6"}}},
    {"$SURFV", {{70, "6"}}},
    {"$UCSNAME", {{2, ""}}},
    {"$UCSORG", {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}}},
    {"$UCSXDIR", {{10, "1.0"}, {20, "0.0"}, {30, "0.0"}}},
    {"$UCSYDIR", {{10, "0.0"}, {20, "1.0"}, {30, "0.0"}}},
    {"$PUCSNAME", {{2, ""}}},
    {"$PUCSORG", {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}}},
    {"$PUCSXDIR", {{10, "1.0"}, {20, "0.0"}, {30, "0.0"}}},
    {"$PUCSYDIR", {{10, "0.0"}, {20, "1.0"}, {30, "0.0"}}},
    {"$USERI1", {{70, "0"}}},
    {"$USERI2", {{70, "0"}}},
    {"$USERI3", {{70, "0"}}},
    {"$USERI4", {{70, "0"}}},
    {"$USERI5", {{70, "0"}}},
    {"$USERR1", {{40, "0.0"}}},
    {"$USERR2", {{40, "0.0"}}},
    {"$USERR3", {{40, "0.0"}}},
    {"$USERR4", {{40, "0.0"}}},
    {"$USERR5", {{40, "0.0"}}},
    {"$WORLDVIEW", {{70, "1"}}},
    {"$SHADEDGE", {{70, "3"}}},
    {"$SHADEDIF", {{70, "70"}}},
    {"$TILEMODE", {{70, "1"}}},
    {"$MAXACTVP", {{70, "16"}}},
    {"$PLIMCHECK", {{70, "0"}}},
    {"$PEXTMIN", {{10, kBig}, {20, kBig}, {30, kBig}}},
    {"$PEXTMAX", {{10, kMinusBig}, {20, kMinusBig}, {30, kMinusBig}}},
    {"$PLIMMIN", {{10, "0.0"}, {20, "0.0"}}},
    {"$PLIMMAX", {{10, "420.0"}, {20, "297.0"}}},
    {"$UNITMODE", {{70, "0"}}},
    {"$VISRETAIN", {{70, "0"}}},
    {"$PLINEGEN", {{70, "0"}}},
    {"$PSLTSCALE", {{70, "1"}}},
};

// Everything after the header: tables, blocks and the empty entities section.
const std::initializer_list<Group> kTablesBlocksEntities = {
    {0, "SECTION"},
    {2, "TABLES"},
    {0, "TABLE"},
    {2, "VPORT"},
    {70, "1"},
    {0, "VPORT"},
    {2, "*ACTIVE"},
    {70, "0"},
    {10, "0.0"},
    {20, "0.0"},
    {11, "1.0"},
    {21, "1.0"},
    {12, "210.0"},
    {22, "148.5"},
    {13, "0.0"},
    {23, "0.0"},
    {14, "10.0"},
    {24, "10.0"},
    {15, "10.0"},
    {25, "10.0"},
    {16, "0.0"},
    {26, "0.0"},
    {36, "1.0"},
    {17, "0.0"},
    {27, "0.0"},
    {37, "0.0"},
    {40, "297.0"},
    {41, "1.414"},
    {42, "50.0"},
    {43, "0.0"},
    {44, "0.0"},
    {50, "0.0"},
    {51, "0.0"},
    {71, "0"},
    {72, "100"},
    {73, "1"},
    {74, "3"},
    {75, "0"},
    {76, "0"},
    {77, "0"},
    {78, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "LTYPE"},
    {70, "1"},
    {0, "LTYPE"},
    {2, "CONTINUOUS"},
    {70, "0"},
    {3, "Solid line"},
    {72, "65"},
    {73, "0"},
    {40, "0.0"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "LAYER"},
    {70, "1"},
    {0, "LAYER"},
    {2, "0"},
    {70, "0"},
    {62, "7"},
    {6, "CONTINUOUS"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "STYLE"},
    {70, "1"},
    {0, "STYLE"},
    {2, "STANDARD"},
    {70, "0"},
    {40, "0.0"},
    {41, "1.0"},
    {50, "0.0"},
    {71, "0"},
    {42, "2.5"},
    {3, "txt"},
    {4, ""},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "VIEW"},
    {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "UCS"},
    {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "APPID"},
    {70, "1"},
    {0, "APPID"},
    {2, "ACAD"},
    {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"},
    {2, "DIMSTYLE"},
    {70, "1"},
    {0, "DIMSTYLE"},
    {2, "ISO-25"},
    {70, "0"},
    {3, ""},
    {4, ""},
    {5, ""},
    {6, ""},
    {7, ""},
    {40, "1.0"},
    {41, "2.5"},
    {42, "0.625"},
    {43, "3.75"},
    {44, "1.25"},
    {45, "0.0"},
    {46, "0.0"},
    {47, "0.0"},
    {48, "0.0"},
    {140, "2.5"},
    {141, "2.5"},
    {142, "0.0"},
    {143, "0.0394"},
    {144, "1.0"},
    {145, "0.0"},
    {146, "1.0"},
    {147, "0.625"},
    {71, "0"},
    {72, "0"},
    {73, "0"},
    {74, "0"},
    {75, "0"},
    {76, "0"},
    {77, "1"},
    {78, "8"},
    {170, "0"},
    {171, "4"},
    {172, "1"},
    {173, "0"},
    {174, "0"},
    {175, "0"},
    {176, "0"},
    {177, "0"},
    {178, "0"},
    {0, "ENDTAB"},
    {0, "ENDSEC"},
    {0, "SECTION"},
    {2, "BLOCKS"},
    {0, "BLOCK"},
    {8, "0"},
    {2, "$MODEL_SPACE"},
    {70, "0"},
    {10, "0.0"},
    {20, "0.0"},
    {30, "0.0"},
    {3, "$MODEL_SPACE"},
    {1, ""},
    {0, "ENDBLK"},
    {5, "B4"},
    {8, "0"},
    {0, "BLOCK"},
    {67, "1"},
    {8, "0"},
    {2, "$PAPER_SPACE"},
    {70, "0"},
    {10, "0.0"},
    {20, "0.0"},
    {30, "0.0"},
    {3, "$PAPER_SPACE"},
    {1, ""},
    {0, "ENDBLK"},
    {5, "B0"},
    {67, "1"},
    {8, "0"},
    {0, "ENDSEC"},
    {0, "SECTION"},
    {2, "ENTITIES"},
    {0, "ENDSEC"},
    {0, "EOF"},
};

std::vector<std::string> BuildTemplate() {
    std::vector<std::string> lines;
    auto add = [&](const Group& g) {
        char code[8];
        std::snprintf(code, sizeof code, "%3d", g.first); // AutoCAD's right-aligned codes
        lines.emplace_back(code);
        lines.emplace_back(g.second);
    };
    add({0, "SECTION"});
    add({2, "HEADER"});
    for (const HeaderVariable& v : kHeader) {
        add({9, v.name});
        for (const Group& g : v.groups)
            add(g);
    }
    add({0, "ENDSEC"});
    for (const Group& g : kTablesBlocksEntities)
        add(g);
    return lines;
}

std::string HandleText(unsigned handle) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", handle);
    return buffer;
}

class EntityWriter {
  public:
    explicit EntityWriter(TextSink& out) : out_(out) {}
    void Line(std::string_view text) {
        out_ += text;
        out_ += "\r\n";
    }
    // "0", the entity name, "5" and the handle, then layer "0".
    void Start(std::string_view name, unsigned handle) {
        Line("0");
        Line(name);
        Line("5");
        Line(HandleText(handle));
        Line("8");
        Line("0");
    }
    void Point(int first, const Vertex& v) {
        Line(std::to_string(first));
        Line(FormatGeneral(v.X));
        Line(std::to_string(first + 10));
        Line(FormatGeneral(v.Y));
        Line(std::to_string(first + 20));
        Line(FormatGeneral(v.Z));
    }

  private:
    TextSink& out_;
};

bool Valid(const Project& p, const ObjectData& item, std::size_t minimum) {
    if (item.VertexIndices.size() < minimum)
        return false;
    for (int32_t x : item.VertexIndices)
        if (x < 0 || static_cast<std::size_t>(x) >= p.Vertices.size())
            return false;
    return true;
}

const Vertex& At(const Project& p, int32_t index) {
    return p.Vertices[static_cast<std::size_t>(index)];
}

// The entity handles of one file. Every entity takes the counter's value, a POLYLINE the
// counter + 1000, which the counter itself reaches a thousand entities later. The entity that
// comes to a handle a POLYLINE took gets the next handle nobody has: past the counter's last
// value, skipping the POLYLINE handles there. So small files keep the plain counter.
class Handles {
  public:
    // `polylines`: the handles of all POLYLINEs in file order (rising); `end`: one past the
    // counter's last value.
    Handles(std::vector<unsigned> polylines, unsigned end)
        : polylines_(std::move(polylines)), spare_(end) {}

    unsigned Polyline() { return counter_++ + 1000; }
    unsigned Next() {
        const unsigned h = counter_++;
        while (taken_ < polylines_.size() && polylines_[taken_] < h)
            ++taken_;
        if (taken_ == polylines_.size() || polylines_[taken_] != h)
            return h;
        while (skip_ < polylines_.size() && polylines_[skip_] < spare_)
            ++skip_;
        while (skip_ < polylines_.size() && polylines_[skip_] == spare_) {
            ++spare_;
            ++skip_;
        }
        return spare_++;
    }

  private:
    std::vector<unsigned> polylines_;
    unsigned counter_ = kFirstDxfHandle;
    unsigned spare_;
    std::size_t taken_ = 0; // first POLYLINE handle not below the counter
    std::size_t skip_ = 0;  // first POLYLINE handle not below spare_
};

} // namespace

const std::vector<std::string>& DxfTemplateLines() {
    static const std::vector<std::string> lines = BuildTemplate();
    return lines;
}

std::string_view DxfExportRefusal(const Project& project, DxfMode mode) {
    switch (mode) {
    case DxfMode::Vertices:
        return project.HasGeometry ? "" : "No Vertices defined !";
    case DxfMode::VerticesLines:
        return project.Lines.empty() ? "No Lines defined !" : "";
    case DxfMode::VerticesLinesPolygons:
        break;
    }
    return project.Polygons.empty() ? "No Polygons defined !" : "";
}

void WriteDxfText(const Project& project, DxfMode mode, TextSink& out) {
    const std::vector<std::string>& templ = DxfTemplateLines();
    EntityWriter w(out);
    for (std::size_t i = 0; i + 4 < templ.size(); ++i)
        w.Line(templ[i]);
    // The counter's course, for the POLYLINE handles and its end.
    unsigned counter = kFirstDxfHandle + static_cast<unsigned>(project.Vertices.size());
    if (mode != DxfMode::Vertices)
        for (const ObjectData& line : project.Lines)
            counter += Valid(project, line, 2);
    std::vector<unsigned> polylines;
    if (mode == DxfMode::VerticesLinesPolygons)
        for (const ObjectData& polygon : project.Polygons)
            if (Valid(project, polygon, 1)) {
                polylines.push_back(counter + 1000);
                counter += static_cast<unsigned>(polygon.VertexIndices.size()) + 2;
            }
    Handles handles(std::move(polylines), counter);
    for (const Vertex& v : project.Vertices) {
        w.Start("POINT", handles.Next());
        w.Point(10, v);
    }
    if (mode != DxfMode::Vertices)
        for (const ObjectData& line : project.Lines) {
            if (!Valid(project, line, 2))
                continue;
            w.Start("LINE", handles.Next());
            w.Point(10, At(project, line.VertexIndices[0]));
            w.Point(11, At(project, line.VertexIndices[1]));
        }
    if (mode == DxfMode::VerticesLinesPolygons)
        for (const ObjectData& polygon : project.Polygons) {
            if (!Valid(project, polygon, 1))
                continue;
            w.Start("POLYLINE", handles.Polyline());
            for (const char* text : {"66", "1", "10", "0.0", "20", "0.0", "30", "0.0"})
                w.Line(text);
            for (int32_t x : polygon.VertexIndices) {
                w.Start("VERTEX", handles.Next());
                w.Point(10, At(project, x));
            }
            w.Start("SEQEND", handles.Next());
        }
    for (std::size_t i = templ.size() >= 4 ? templ.size() - 4 : 0; i < templ.size(); ++i)
        w.Line(templ[i]);
}

std::string DxfText(const Project& project, DxfMode mode) {
    StringSink out;
    WriteDxfText(project, mode, out);
    return out.Take();
}

bool WriteDxf(const Project& project, const std::string& path, DxfMode mode, Ui& ui) {
    if (!WriteExportFile(
            path, [&](TextSink& out) { WriteDxfText(project, mode, out); }, ui))
        return false;
    const std::string vertices = std::to_string(project.Vertices.size()) + " Vertices";
    const std::string lines = std::to_string(project.Lines.size()) + " Lines";
    switch (mode) {
    case DxfMode::Vertices:
        ui.Log(vertices + " saved to DXF-File " + path);
        break;
    case DxfMode::VerticesLines:
        ui.Log(vertices + " & " + lines + " saved to DXF-File " + path);
        break;
    case DxfMode::VerticesLinesPolygons:
        ui.Log(vertices + " & " + lines + " & " + std::to_string(project.Polygons.size()) +
               " Polygons saved to DXF-File " + path);
        break;
    }
    return true;
}

} // namespace meshforge
