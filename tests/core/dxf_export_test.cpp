#include "io/dxf_export.h"

#include "fake_ui.h"
#include "io/dxf_import.h"
#include "model/project.h"
#include "model/project_file.h"
#include "temp_dir.h"
#include "util/atomic_file.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;
using test::TempDir;

Project Sample() {
    Project p;
    p.Vertices = {{0, 0, 0, false}, {1, 0, 0, false}, {1.5e-6f, 0.6f, -2, false}};
    p.HasGeometry = true;
    ObjectData line;
    line.VertexIndices = {0, 1};
    p.Lines.push_back(line);
    ObjectData tri;
    tri.VertexIndices = {0, 1, 2, 0};
    p.Polygons.push_back(tri);
    return p;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::string_view l : SplitLines(text))
        out.emplace_back(l);
    return out;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<std::string> Head() {
    const auto& t = DxfTemplateLines();
    return {t.begin(), t.end() - 4};
}
std::vector<std::string> Tail() {
    const auto& t = DxfTemplateLines();
    return {t.end() - 4, t.end()};
}

TEST(DxfTemplate, HasTheR12HeaderVariablesInOrderAndAnEmptyEntitiesSection) {
    const auto& t = DxfTemplateLines();
    std::vector<std::string> names;
    for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == "  9")
            names.emplace_back(t[i + 1]);
    EXPECT_EQ(t.size(), 932u);
    ASSERT_EQ(names.size(), 133u);
    EXPECT_EQ(names.front(), "$ACADVER");
    EXPECT_EQ(names[94], "$HANDLING");
    EXPECT_EQ(names.back(), "$PSLTSCALE");
    auto valueAfter = [&](const std::string& name, std::size_t k) {
        for (std::size_t i = 0; i + 1 < t.size(); ++i)
            if (t[i] == name)
                return std::string(t[i + k]);
        return std::string("(missing)");
    };
    EXPECT_EQ(valueAfter("$ACADVER", 2), "AC1009");
    EXPECT_EQ(valueAfter("$LIMMAX", 2), "420.0");
    EXPECT_EQ(valueAfter("$LIMMAX", 4), "297.0");
    EXPECT_EQ(valueAfter("$PDMODE", 2), "35");
    EXPECT_EQ(valueAfter("$HANDSEED", 2), "C6");
    EXPECT_EQ(valueAfter("$PEXTMIN", 6), "1.0000000000000000E+020");
    EXPECT_EQ(valueAfter("$PEXTMAX", 2), "-1.0000000000000000E+020");
    EXPECT_EQ(valueAfter("$DIMSTYLE", 2), "ISO-25");
    EXPECT_EQ(valueAfter("$MODEL_SPACE", 16), "B4"); // ENDBLK handle after the block header
    ASSERT_GE(t.size(), 8u);
    const std::vector<std::string> end(t.end() - 8, t.end());
    EXPECT_EQ(end, (std::vector<std::string>{"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC",
                                             "  0", "EOF"}));
    // Group codes and values alternate: every even line is a right-aligned code.
    for (std::size_t i = 0; i < t.size(); i += 2)
        ASSERT_TRUE(t[i].size() == 3 && t[i].find_first_not_of(' ') != std::string::npos) << i;
}

TEST(DxfExport, VerticesOnlyWritesPointsWithHandlesFrom177) {
    Project p;
    p.Vertices = {{1, 2, 3, false}, {-0.5f, 1.5e-6f, 0, false}};
    p.HasGeometry = true;
    const auto expected =
        Concat({Head(),
                {"0", "POINT", "5", "000177", "8", "0", "10", "1", "20", "2", "30", "3"},
                {"0", "POINT", "5", "000178", "8", "0", "10", "-0.5", "20", "1.50000005305628E-6",
                 "30", "0"},
                Tail()});
    const std::string text = DxfText(p, DxfMode::Vertices);
    EXPECT_EQ(Lines(text), expected);
    EXPECT_NE(text.find("\r\nPOINT\r\n"), std::string::npos);
}

TEST(DxfExport, PolylineTakesTheCounterPlus1000AndEachCornerAVertex) {
    Project p;
    p.Vertices = {{0, 0, 0, false}};
    ObjectData tri;
    tri.VertexIndices = {0, 0, 0, 0};
    p.Polygons.push_back(tri);
    const auto point = std::vector<std::string>{"10", "0", "20", "0", "30", "0"};
    auto vertex = [&](const char* h) { return Concat({{"0", "VERTEX", "5", h, "8", "0"}, point}); };
    const auto expected = Concat({Head(),
                                  {"0", "POINT", "5", "000177", "8", "0"},
                                  point,
                                  {"0", "POLYLINE", "5", "000560", "8", "0", "66", "1", "10", "0.0",
                                   "20", "0.0", "30", "0.0"},
                                  vertex("000179"),
                                  vertex("00017A"),
                                  vertex("00017B"),
                                  vertex("00017C"),
                                  {"0", "SEQEND", "5", "00017D", "8", "0"},
                                  Tail()});
    EXPECT_EQ(Lines(DxfText(p, DxfMode::VerticesLinesPolygons)), expected);
}

// The handle of every entity the export wrote, in file order.
std::vector<std::string> EntityHandles(const std::vector<std::string>& lines) {
    std::vector<std::string> handles;
    for (std::size_t i = Head().size(); i + 3 < lines.size(); i += 2)
        if (lines[i] == "0" && lines[i + 2] == "5")
            handles.push_back(lines[i + 3]);
    return handles;
}

TEST(DxfExport, HandlesStayUniqueWhenTheCounterReachesAPolylineHandle) {
    // 2,000 triangles: the counter passes a POLYLINE's counter + 1000 after 170 of them.
    Project p;
    for (int i = 0; i < 1000; ++i)
        p.Vertices.push_back({float(i), 0, 0, false});
    p.HasGeometry = true;
    for (int i = 0; i < 2000; ++i) {
        ObjectData tri;
        tri.VertexIndices = {i % 1000, (i + 1) % 1000, (i + 2) % 1000, i % 1000};
        p.Polygons.push_back(tri);
    }
    const auto handles = EntityHandles(Lines(DxfText(p, DxfMode::VerticesLinesPolygons)));
    ASSERT_EQ(handles.size(), 1000u + 2000u * 6u);
    std::set<std::string> seen;
    for (const std::string& h : handles)
        EXPECT_TRUE(seen.insert(h).second) << "handle " << h << " written twice";
    // Every POLYLINE keeps the counter + 1000 and every other entity the counter's value,
    // except the 1,834 fourth VERTEXes whose counter value a POLYLINE took: they get the
    // free handles after the counter's last one, in file order.
    auto polyline = [](unsigned h) {
        const unsigned first = kFirstDxfHandle + 2000;
        return h >= first && (h - first) % 6 == 0 && (h - first) / 6 < 2000;
    };
    unsigned spare = kFirstDxfHandle + 1000 + 2000 * 6, moved = 0;
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const unsigned counter = kFirstDxfHandle + static_cast<unsigned>(i);
        const unsigned h = static_cast<unsigned>(std::stoul(handles[i], nullptr, 16));
        if (i >= 1000 && (i - 1000) % 6 == 0) {
            EXPECT_EQ(h, counter + 1000) << i;
        } else if (polyline(counter)) {
            while (polyline(spare))
                ++spare;
            EXPECT_EQ(h, spare++) << i;
            ++moved;
        } else {
            EXPECT_EQ(h, counter) << i;
        }
    }
    EXPECT_EQ(moved, 1834u);
}

TEST(DxfExport, ModesWriteTheirKindsAndLinesComeBeforePolylines) {
    const Project p = Sample();
    const auto lines = Lines(DxfText(p, DxfMode::VerticesLines));
    const auto all = Lines(DxfText(p, DxfMode::VerticesLinesPolygons));
    auto count = [](const std::vector<std::string>& l, const char* what) {
        return std::count(l.begin(), l.end(), what);
    };
    EXPECT_EQ(count(lines, "LINE"), 1);
    EXPECT_EQ(count(lines, "POLYLINE"), 0);
    EXPECT_EQ(count(all, "VERTEX"), 4);
    const auto line = std::find(all.begin(), all.end(), "LINE");
    EXPECT_EQ(std::vector<std::string>(line + 1, line + 17),
              (std::vector<std::string>{"5", "00017A", "8", "0", "10", "0", "20", "0", "30", "0",
                                        "11", "1", "21", "0", "31", "0"}));
    EXPECT_LT(line, std::find(all.begin(), all.end(), "POLYLINE"));
    // A damaged project: a line and a polygon naming a missing vertex are left out.
    Project bad = p;
    bad.Lines[0].VertexIndices = {0, 9};
    bad.Polygons[0].VertexIndices = {-1, 0, 1, -1};
    const auto skipped = Lines(DxfText(bad, DxfMode::VerticesLinesPolygons));
    EXPECT_EQ(count(skipped, "LINE") + count(skipped, "POLYLINE"), 0);
}

TEST(DxfExport, GuardsRefuseEmptyKinds) {
    Project p;
    EXPECT_EQ(DxfExportRefusal(p, DxfMode::Vertices), "No Vertices defined !");
    p = Sample();
    EXPECT_EQ(DxfExportRefusal(p, DxfMode::Vertices), "");
    p.Polygons.clear();
    EXPECT_EQ(DxfExportRefusal(p, DxfMode::VerticesLines), "");
    EXPECT_EQ(DxfExportRefusal(p, DxfMode::VerticesLinesPolygons), "No Polygons defined !");
    p.Lines.clear();
    EXPECT_EQ(DxfExportRefusal(p, DxfMode::VerticesLines), "No Lines defined !");
}

TEST(DxfExport, WriteLogsPerModeAndReportsAFailedWrite) {
    TempDir dir;
    FakeUi ui;
    const Project p = Sample();
    const std::string path = dir / "out.dxf";
    ASSERT_TRUE(WriteDxf(p, path, DxfMode::Vertices, ui));
    ASSERT_TRUE(WriteDxf(p, path, DxfMode::VerticesLines, ui));
    ASSERT_TRUE(WriteDxf(p, path, DxfMode::VerticesLinesPolygons, ui));
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "3 Vertices saved to DXF-File " + path,
                          "3 Vertices & 1 Lines saved to DXF-File " + path,
                          "3 Vertices & 1 Lines & 1 Polygons saved to DXF-File " + path}));
    EXPECT_EQ(ReadWholeFile(path), DxfText(p, DxfMode::VerticesLinesPolygons));
    EXPECT_FALSE(WriteDxf(p, dir / "missing/out.dxf", DxfMode::Vertices, ui));
    EXPECT_EQ(ui.log.size(), 3u);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(DxfExport, ReadsBackThroughTheImporter) {
    const Project p = Sample();
    const std::string text = DxfText(p, DxfMode::VerticesLinesPolygons);
    FakeUi ui;
    const DxfScan scan = ScanDxfText("x.dxf", text, ui);
    ASSERT_TRUE(scan.Ok);
    EXPECT_EQ(scan.Points, 3);
    EXPECT_EQ(scan.Lines, 1);
    EXPECT_EQ(scan.Vertices, 4); // the sum of the polygons' VertexCount
    EXPECT_EQ(scan.Faces, 0);
    std::mt19937 rng(1);
    for (DxfKind kind : {DxfKind::Point, DxfKind::Vertex, DxfKind::Line}) {
        Project back;
        ASSERT_EQ(ImportDxfText(back, "x.dxf", text, kind, ui, rng).Outcome,
                  DxfImportOutcome::Imported);
        ASSERT_EQ(back.Vertices.size(), kind == DxfKind::Line ? 2u : 3u);
        for (std::size_t i = 0; i < back.Vertices.size(); ++i) {
            EXPECT_EQ(back.Vertices[i].X, p.Vertices[i].X);
            EXPECT_EQ(back.Vertices[i].Y, p.Vertices[i].Y);
            EXPECT_EQ(back.Vertices[i].Z, p.Vertices[i].Z);
        }
        if (kind == DxfKind::Line) {
            EXPECT_EQ(back.Lines.at(0).VertexIndices, p.Lines[0].VertexIndices);
        }
    }
}

} // namespace
} // namespace meshforge
