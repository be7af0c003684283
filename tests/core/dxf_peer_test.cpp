// The DXF import and export against dxflib: what the export writes must be what a real DXF
// reader finds, and files written by a real DXF writer must import.
#include "fake_ui.h"
#include "io/dxf_export.h"
#include "io/dxf_import.h"
#include "model/project.h"
#include "temp_dir.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;
using test::TempDir;

struct P3 {
    double x, y, z;
};

struct Collector : DL_CreationAdapter {
    std::vector<P3> points;
    std::vector<std::pair<P3, P3>> lines;
    std::vector<std::vector<P3>> polylines;
    std::vector<std::string> layers;
    std::set<int> handles;
    int handlesTwice = 0; // entities whose handle an earlier one has: a reader keyed by
                          // handle would lose them
    void Attributes() {
        layers.push_back(getAttributes().getLayer());
        handlesTwice += !handles.insert(getAttributes().getHandle()).second;
    }
    void addPoint(const DL_PointData& d) override {
        points.push_back({d.x, d.y, d.z});
        Attributes();
    }
    void addLine(const DL_LineData& d) override {
        lines.push_back({{d.x1, d.y1, d.z1}, {d.x2, d.y2, d.z2}});
        Attributes();
    }
    void addPolyline(const DL_PolylineData&) override {
        polylines.emplace_back();
        Attributes();
    }
    void addVertex(const DL_VertexData& d) override {
        if (!polylines.empty())
            polylines.back().push_back({d.x, d.y, d.z});
        handlesTwice += !handles.insert(getAttributes().getHandle()).second;
    }
};

Project RandomProject(std::mt19937& g, int vertices, int lines, int polygons) {
    std::uniform_real_distribution<float> coord(-5000, 5000);
    Project p;
    for (int i = 0; i < vertices; ++i)
        p.Vertices.push_back({coord(g), coord(g), i % 7 ? coord(g) * 1e-3f : 0.0f, false});
    p.Vertices.push_back({1.5e-6f, -0.0f, 123456.789f, false});
    p.HasGeometry = true;
    std::uniform_int_distribution<int32_t> index(0, static_cast<int32_t>(p.Vertices.size()) - 1);
    for (int i = 0; i < lines; ++i) {
        ObjectData l;
        l.VertexIndices = {index(g), index(g)};
        p.Lines.push_back(l);
    }
    for (int i = 0; i < polygons; ++i) {
        ObjectData poly;
        const int corners = 3 + i % 4;
        for (int c = 0; c < corners; ++c)
            poly.VertexIndices.push_back(index(g));
        poly.VertexIndices.push_back(poly.VertexIndices.front());
        p.Polygons.push_back(poly);
    }
    return p;
}

void ExpectAt(const P3& read, const Vertex& v) {
    EXPECT_EQ(static_cast<float>(read.x), v.X);
    EXPECT_EQ(static_cast<float>(read.y), v.Y);
    EXPECT_EQ(static_cast<float>(read.z), v.Z);
}

TEST(DxfPeer, DxflibReadsEveryExportModeWithTheSameCoordinates) {
    std::mt19937 g(42);
    TempDir dir;
    FakeUi ui;
    // A small project, and one whose handle counter runs far past its first POLYLINE's.
    for (const Project& p : {RandomProject(g, 60, 25, 20), RandomProject(g, 1000, 100, 2000)})
        for (DxfMode mode :
             {DxfMode::Vertices, DxfMode::VerticesLines, DxfMode::VerticesLinesPolygons}) {
            const std::string path = dir / "peer.dxf";
            ASSERT_TRUE(WriteDxf(p, path, mode, ui));
            Collector c;
            DL_Dxf dxf;
            ASSERT_TRUE(dxf.in(path, &c));
            ASSERT_EQ(c.points.size(), p.Vertices.size());
            for (std::size_t i = 0; i < p.Vertices.size(); ++i)
                ExpectAt(c.points[i], p.Vertices[i]);
            const std::size_t lines = mode == DxfMode::Vertices ? 0 : p.Lines.size();
            ASSERT_EQ(c.lines.size(), lines);
            for (std::size_t i = 0; i < lines; ++i) {
                ExpectAt(c.lines[i].first, p.Vertices[p.Lines[i].VertexIndices[0]]);
                ExpectAt(c.lines[i].second, p.Vertices[p.Lines[i].VertexIndices[1]]);
            }
            const std::size_t polys =
                mode == DxfMode::VerticesLinesPolygons ? p.Polygons.size() : 0;
            ASSERT_EQ(c.polylines.size(), polys);
            for (std::size_t i = 0; i < polys; ++i) {
                const auto& indices = p.Polygons[i].VertexIndices;
                ASSERT_EQ(c.polylines[i].size(), indices.size());
                for (std::size_t k = 0; k < indices.size(); ++k)
                    ExpectAt(c.polylines[i][k], p.Vertices[indices[k]]);
            }
            for (const std::string& layer : c.layers)
                EXPECT_EQ(layer, "0");
            EXPECT_EQ(c.handlesTwice, 0);
        }
}

// Writes an R12 file with dxflib's writer; `entities` adds the ENTITIES section's content.
template <class F> void WriteWithDxflib(const std::string& path, F entities) {
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(path.c_str(), DL_VERSION_R12));
    ASSERT_TRUE(dw);
    dxf.writeHeader(*dw);
    dw->sectionEnd();
    dw->sectionTables();
    dw->tableLayers(1);
    dxf.writeLayer(*dw, DL_LayerData("0", 0),
                   DL_Attributes("", DL_Codes::black, 100, "CONTINUOUS", 1.0));
    dw->tableEnd();
    dw->sectionEnd();
    dw->sectionEntities();
    entities(dxf, *dw, DL_Attributes("0", 256, -1, "BYLAYER", 1.0));
    dw->sectionEnd();
    dw->dxfEOF();
    dw->close();
}

TEST(DxfPeer, ImportsPointsLinesAndFacesWrittenByDxflib) {
    TempDir dir;
    FakeUi ui;
    std::mt19937 rng(9);
    const std::vector<P3> pts = {{1.25, -2, 3}, {0, 0, 0}, {1000.5, 2e-3, -7}, {1.25, -2, 3}};

    const std::string points = dir / "points.dxf";
    WriteWithDxflib(points, [&](DL_Dxf& dxf, DL_WriterA& dw, const DL_Attributes& a) {
        for (const P3& q : pts)
            dxf.writePoint(dw, DL_PointData(q.x, q.y, q.z), a);
    });
    DxfScan scan = ScanFile(points, ui);
    ASSERT_TRUE(scan.Ok) << (ui.messages.empty() ? "" : ui.messages.back());
    EXPECT_EQ(scan.Points, 4);
    Project p;
    ASSERT_EQ(ImportDxf(p, points, DxfKind::Point, ui, rng).Outcome, DxfImportOutcome::Imported);
    ASSERT_EQ(p.Vertices.size(), 3u); // the repeated point is added once
    for (std::size_t i = 0; i < 3; ++i)
        ExpectAt(pts[i], p.Vertices[i]);

    const std::string lines = dir / "lines.dxf";
    WriteWithDxflib(lines, [&](DL_Dxf& dxf, DL_WriterA& dw, const DL_Attributes& a) {
        dxf.writeLine(dw, DL_LineData(1, 2, 3, 4, 5, 6), a);
        dxf.writeLine(dw, DL_LineData(4, 5, 6, 1, 2, 3), a);
        dxf.writeLine(dw, DL_LineData(4, 5, 6, -1, 0.5, 0), a);
    });
    Project q;
    ASSERT_EQ(ImportDxf(q, lines, DxfKind::Line, ui, rng).Created, 2);
    ASSERT_EQ(q.Vertices.size(), 3u);
    ExpectAt({-1, 0.5, 0}, q.Vertices[2]);
    EXPECT_EQ(q.Lines[1].VertexIndices, (std::vector<int32_t>{1, 2}));

    const std::string faces = dir / "faces.dxf";
    WriteWithDxflib(faces, [&](DL_Dxf& dxf, DL_WriterA& dw, const DL_Attributes& a) {
        dxf.write3dFace(dw, DL_3dFaceData(0, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0), a);
        dxf.write3dFace(dw, DL_3dFaceData(0, 0, 0, 1, 1, 0, 0, 1, 0.5, 0, 1, 1), a);
    });
    Project f;
    ASSERT_EQ(ImportDxf(f, faces, DxfKind::Face, ui, rng).Created, 2);
    ASSERT_EQ(f.Polygons.size(), 2u);
    EXPECT_EQ(f.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(f.Polygons[1].VertexIndices, (std::vector<int32_t>{0, 2, 3, 4, 0}));
    ExpectAt({0, 1, 1}, f.Vertices[4]);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
}

} // namespace
} // namespace meshforge
