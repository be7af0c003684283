#include "io/text_geometry.h"

#include "fake_ui.h"
#include "io/dxf_export.h"
#include "io/dxf_import.h"
#include "model/project.h"
#include "model/project_file.h"
#include "temp_dir.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;

Vertex V(float x, float y, float z) {
    return Vertex{x, y, z, false};
}

ObjectData Ring(std::vector<int32_t> corners) {
    ObjectData p;
    corners.push_back(corners.front());
    p.VertexIndices = std::move(corners);
    p.TextureIndex = 3;
    return p;
}

Project WithVertices(std::vector<Vertex> vertices) {
    Project p;
    p.Vertices = std::move(vertices);
    p.HasGeometry = !p.Vertices.empty();
    return p;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

void ExpectSameBits(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
    auto bits = [](const std::vector<Vertex>& v) {
        std::vector<std::array<uint32_t, 3>> out;
        for (const Vertex& x : v)
            out.push_back({std::bit_cast<uint32_t>(x.X), std::bit_cast<uint32_t>(x.Y),
                           std::bit_cast<uint32_t>(x.Z)});
        return out;
    };
    EXPECT_EQ(bits(a), bits(b));
}

std::vector<Vertex> RandomVertices(std::mt19937& rng, int n) {
    // Wide magnitudes reach both the fixed and the scientific notation.
    std::uniform_real_distribution<float> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-12, 18);
    auto value = [&] { return std::ldexp(mantissa(rng), exponent(rng) * 2); };
    std::vector<Vertex> v;
    for (int i = 0; i < n; ++i)
        v.push_back(V(value(), value(), value()));
    return v;
}

const std::string kPath = "geo.txt";

// ---------------------------------------------------------------------------------------------
// Written texts

TEST(TextGeometryExport, VertexTextLayoutAndNumbers) {
    Project p = WithVertices({V(0, 12, 0.5f), V(-3.25f, 0.1f, 1.5e-6f)});
    EXPECT_EQ(kVertexTextHeader.size(), 53u);
    EXPECT_EQ(VertexTextOf(p), Join({std::string(kVertexTextHeader),
                                     "    Following the Keyword \"VertexXYZ\" are blocks",
                                     "  of Data X,Y,Z, each block preceeded by a blank line",
                                     std::string(53, '='), "VertexXYZ", "", "0", "12", "0.5", "",
                                     "-3.25", "0.100000001490116", "1.50000005305628E-6"}));
}

TEST(TextGeometryExport, ThreeDOTextLayoutLeavesDamagedPolygonsOut) {
    Project p = WithVertices({V(1, 2, 3), V(-0.5f, 0, 4), V(0, 0, 0), V(7, 8, 9)});
    ObjectData single;
    single.VertexIndices = {0};
    p.Polygons = {Ring({0, 1, 2}), single, Ring({0, 4}), Ring({3, 2, 1, 0}), Ring({0, -1})};
    EXPECT_EQ(ThreeDOTextOf(p),
              Join({"# 3DO Export", "4", "p 1 2 3", "p -0.5 0 4", "p 0 0 0", "p 7 8 9",
                    "v 3 -80808080 0 1 2 ", "v 4 -80808080 3 2 1 0 ", "v -1"}));
}

// ---------------------------------------------------------------------------------------------
// Vertex text import

TEST(VertexTextImport, RoundTripIntoEmptyProject) {
    std::mt19937 rng(7);
    Project source = WithVertices(RandomVertices(rng, 300));
    source.Vertices[5] = V(0.1f, -1e-30f, 123456789.0f);
    Project target;
    FakeUi ui;
    TextImportResult r = ReadVertexText(target, kPath, VertexTextOf(source), ui);
    EXPECT_EQ(r.Outcome, TextImportOutcome::Imported);
    EXPECT_EQ(r.Vertices, 300);
    ExpectSameBits(target.Vertices, source.Vertices);
    EXPECT_EQ(ui.log, std::vector<std::string>{"300 Vertices loaded from file geo.txt"});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.offsetDialogs, 0);
    EXPECT_TRUE(target.HasGeometry);
}

TEST(VertexTextImport, ExtraEmptyLineStopsAtTheEnd) {
    Project source = WithVertices({V(1, 2, 3), V(4, 5, 6)});
    Project target;
    FakeUi ui;
    std::string text = VertexTextOf(source) + "\r\n";
    TextImportResult r = ReadVertexText(target, kPath, text, ui);
    EXPECT_EQ(r.Outcome, TextImportOutcome::Failed);
    // Header 5 lines + 2 blocks of 4 + the extra empty line (line 14, opening block 3) = 14
    // lines; the X of block 3 would be line 15.
    EXPECT_EQ(ui.messages, std::vector<std::string>{
                               "Error in file geo.txt, line 15: expected the X coordinate of "
                               "Vertex 3, found the end of the file"});
    EXPECT_TRUE(ui.log.empty());
    ASSERT_EQ(target.Vertices.size(), 2u);
    EXPECT_EQ(target.Vertices[1].Z, 6);
}

TEST(VertexTextImport, AddsWithOffsetOrLeavesProjectOnCancel) {
    Project file = WithVertices({V(1, 2, 3), V(4, 5, 6)});
    std::string text = VertexTextOf(file);
    Project p = WithVertices({V(9, 9, 9)});

    FakeUi cancelling;
    cancelling.offsetAnswers = {std::nullopt};
    EXPECT_EQ(ReadVertexText(p, kPath, text, cancelling).Outcome,
              TextImportOutcome::OffsetCancelled);
    EXPECT_EQ(cancelling.offsetDialogs, 1);
    EXPECT_EQ(p.Vertices.size(), 1u);
    EXPECT_TRUE(cancelling.log.empty());

    FakeUi ui;
    ui.offsetAnswers.push_back(Offset3{10, 20, 30});
    EXPECT_EQ(ReadVertexText(p, kPath, text, ui).Outcome, TextImportOutcome::Imported);
    ASSERT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.Vertices[0].X, 9);
    EXPECT_EQ(p.Vertices[2].X, 14);
    EXPECT_EQ(p.Vertices[2].Y, 25);
    EXPECT_EQ(p.Vertices[2].Z, 36);
    EXPECT_EQ(ui.log, std::vector<std::string>{"2 additional Vertices added from file geo.txt"});
    EXPECT_EQ(p.Box.MaxX, 14);
}

TEST(VertexTextImport, RefusedTextsChangeNothing) {
    Project p = WithVertices({V(9, 9, 9)});
    p.HasGeometry = false; // loading would replace the vertices
    FakeUi ui;
    std::string wrongFirst = Join({std::string(kVertexTextHeader) + "=", "VertexXYZ", "", "1"});
    EXPECT_EQ(ReadVertexText(p, kPath, wrongFirst, ui).Outcome, TextImportOutcome::NotValid);
    std::string noKeyword = Join({std::string(kVertexTextHeader), "", "1", "2", "3"});
    EXPECT_EQ(ReadVertexText(p, kPath, noKeyword, ui).Outcome, TextImportOutcome::Failed);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Not a valid Vertex Text file !",
                                        "Error in file geo.txt: no line \"VertexXYZ\" found"}));
    ASSERT_EQ(p.Vertices.size(), 1u);
    EXPECT_EQ(p.Vertices[0].X, 9);
}

TEST(VertexTextImport, BadNumberNamesItsLineAndKeepsEarlierVertices) {
    std::string text =
        Join({std::string(kVertexTextHeader), "VertexXYZ", "", "1", "2", "3", "", "4", "5,5", "6"});
    Project p;
    FakeUi ui;
    EXPECT_EQ(ReadVertexText(p, kPath, text, ui).Outcome, TextImportOutcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error in file geo.txt, line 9: '5,5'", 0), 0u)
        << ui.messages[0];
    EXPECT_EQ(p.Vertices.size(), 1u);
    EXPECT_TRUE(p.HasGeometry);
    EXPECT_TRUE(ui.log.empty());
}

TEST(VertexTextImport, ManyEmptyLinesWithoutDataFailWithoutGrowing) {
    // A million empty lines promise a million blocks the file does not hold.
    std::string text =
        std::string(kVertexTextHeader) + "\nVertexXYZ\n" + std::string(1000000, '\n');
    Project p;
    FakeUi ui;
    EXPECT_EQ(ReadVertexText(p, kPath, text, ui).Outcome, TextImportOutcome::Failed);
    EXPECT_TRUE(p.Vertices.empty());
    EXPECT_LT(p.Vertices.capacity(), 16u);
}

// ---------------------------------------------------------------------------------------------
// 3DOText import

TEST(ThreeDOTextImport, RoundTripKeepsVerticesAndCorners) {
    std::mt19937 rng(11);
    Project source = WithVertices(RandomVertices(rng, 40));
    std::vector<int32_t> twelve;
    for (int32_t i = 0; i < 12; ++i)
        twelve.push_back(39 - 3 * i);
    source.Polygons = {Ring({0, 1, 2}), Ring({5, 4, 3, 2}), Ring(twelve), Ring({39, 10})};
    source.Polygons[0].TexCoords = {{1, 1}, {0, 1}, {0, 0}, {1, 1}};
    Project target;
    FakeUi ui;
    TextImportResult r = Read3DOText(target, kPath, ThreeDOTextOf(source), ui, rng);
    EXPECT_EQ(r.Outcome, TextImportOutcome::Imported);
    ExpectSameBits(target.Vertices, source.Vertices);
    ASSERT_EQ(target.Polygons.size(), source.Polygons.size());
    for (std::size_t i = 0; i < source.Polygons.size(); ++i) {
        const ObjectData& q = target.Polygons[i];
        EXPECT_EQ(q.VertexIndices, source.Polygons[i].VertexIndices) << i;
        EXPECT_EQ(q.TextureIndex, kUntextured);
        EXPECT_TRUE(q.TexCoords.empty());
        for (float c : {q.Color.R, q.Color.G, q.Color.B}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LT(c, 1.0f);
        }
    }
    EXPECT_NE(target.Polygons[0].Color, target.Polygons[1].Color);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"40 Vertices loaded from file geo.txt",
                                                "4 Polygons loaded from file geo.txt"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(target.HasGeometry);
    EXPECT_TRUE(target.GeometryShown);
}

TEST(ThreeDOTextImport, AddingUsesOffsetAndBase) {
    Project file = WithVertices({V(1, 2, 3), V(4, 5, 6), V(7, 8, 9), V(1, 1, 1)});
    file.Polygons = {Ring({0, 1, 2})};
    Project p;
    for (int i = 0; i < 10; ++i)
        p.Vertices.push_back(V(float(i), 0, 0));
    p.Polygons = {Ring({0, 1, 2})};
    p.HasGeometry = true;
    FakeUi ui;
    ui.offsetAnswers.push_back(Offset3{0, 0, 5});
    std::mt19937 rng(1);
    EXPECT_EQ(Read3DOText(p, kPath, ThreeDOTextOf(file), ui, rng).Outcome,
              TextImportOutcome::Imported);
    ASSERT_EQ(p.Vertices.size(), 14u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.Vertices[10 + i].X, file.Vertices[i].X);
        EXPECT_EQ(p.Vertices[10 + i].Z, file.Vertices[i].Z + 5);
    }
    ASSERT_EQ(p.Polygons.size(), 2u);
    EXPECT_EQ(p.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(p.Polygons[1].VertexIndices, (std::vector<int32_t>{10, 11, 12, 10}));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"4 additional Vertices added from file geo.txt",
                                                "1 new Polygons added from file geo.txt"}));

    FakeUi cancelling;
    cancelling.offsetAnswers = {std::nullopt};
    EXPECT_EQ(Read3DOText(p, kPath, ThreeDOTextOf(file), cancelling, rng).Outcome,
              TextImportOutcome::OffsetCancelled);
    EXPECT_EQ(p.Vertices.size(), 14u);
    EXPECT_EQ(p.Polygons.size(), 2u);
}

TEST(ThreeDOTextImport, PolygonsOutsideTheFilesVerticesAreNotAdded) {
    std::string text =
        Join({"# 3DO Export", "3", "p 0 0 0", "p 1 0 0", "p 0 1 0", "v 3 -80808080 0 1 3 ",
              "v 3 -80808080 0 1 2 ", "v 3 -80808080 -1 1 2 ", "v -1"});
    // Adding over 5 existing Vertices: index -1 would land on an existing one, but still
    // lies outside the file's own list.
    Project p = WithVertices({V(0, 0, 0), V(0, 0, 0), V(0, 0, 0), V(0, 0, 0), V(0, 0, 0)});
    FakeUi ui;
    ui.offsetAnswers.push_back(Offset3{});
    std::mt19937 rng(2);
    TextImportResult r = Read3DOText(p, kPath, text, ui, rng);
    EXPECT_EQ(r.Outcome, TextImportOutcome::Imported);
    EXPECT_EQ(r.Skipped, 2);
    ASSERT_EQ(p.Polygons.size(), 1u);
    EXPECT_EQ(p.Polygons[0].VertexIndices, (std::vector<int32_t>{5, 6, 7, 5}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("lines 6, 8"), std::string::npos) << ui.messages[0];
    EXPECT_EQ(ui.log.back(), "1 new Polygons added from file geo.txt");
}

TEST(ThreeDOTextImport, LineFormsTheWriterDoesNotProduce) {
    std::string text = Join({"# 3DO Export", "3", "p 1 2 3", "q 7 7 7", "p 4 5 6",
                             "v 3 -80808080 0 1 2",      // no closing blank: last index still whole
                             "v 3 -80808080 2 1 0 9 9 ", // fields beyond k are ignored
                             "# 3DO Export", "v -1", "v 3 -80808080 0 1 2 "});
    Project p;
    FakeUi ui;
    std::mt19937 rng(3);
    EXPECT_EQ(Read3DOText(p, kPath, text, ui, rng).Outcome, TextImportOutcome::Imported);
    ASSERT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.Vertices[1].X, 0); // a line not starting with "p" leaves its Vertex at the origin
    EXPECT_EQ(p.Vertices[2].Z, 6);
    ASSERT_EQ(p.Polygons.size(), 2u); // the scan ends at "v -1"
    EXPECT_EQ(p.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(p.Polygons[1].VertexIndices, (std::vector<int32_t>{2, 1, 0, 2}));
}

TEST(ThreeDOTextImport, HostileTextsStopWithTheirLine) {
    struct BadCase {
        const char* name;
        std::string body;    // lines after the header, "|" for a line break
        std::string message; // after "Error in file geo.txt, "
        std::size_t vertices, polygons;
    };
    const BadCase cases[] = {
        {"huge count", "2000000000|p 1 2 3", "line 2: the vertex count 2000000000 is more", 0, 0},
        {"negative count", "-1", "line 2: the vertex count -1 is negative", 0, 0},
        {"count past end", "3|p 1 2 3|p 1 2 3", "line 2: the vertex count 3 is more", 0, 0},
        {"four fields", "2|p 1 2 3|p 1 2 3 4", "line 4: more than three", 1, 0},
        {"double blank", "1|p 1  2", "line 3: '' is not", 0, 0},
        {"huge k", "1|p 1 2 3|v 999999999 -80808080 0 ", "line 4: the corner count 999999999", 1,
         0},
        {"zero k", "1|p 1 2 3|v 0 -80808080 ", "line 4: a polygon needs", 1, 0},
        {"k only", "1|p 1 2 3|v 1", "line 4: expected the corner indices", 1, 0},
        {"empty index", "1|p 1 2 3|v 1 -80808080 0 |v 2 -80808080 0  0 ", "line 5: '' is not", 1,
         1},
        {"index overflow", "1|p 1 2 3|v 1 -80808080 99999999999 ", "line 4: '99999999999' is", 1,
         0},
    };
    for (const BadCase& c : cases) {
        std::string text = "# 3DO Export\r\n" + c.body + "\r\n";
        std::replace(text.begin(), text.end(), '|', '\n');
        Project p;
        FakeUi ui;
        std::mt19937 rng(5);
        EXPECT_EQ(Read3DOText(p, kPath, text, ui, rng).Outcome, TextImportOutcome::Failed)
            << c.name;
        ASSERT_EQ(ui.messages.size(), 1u) << c.name;
        EXPECT_EQ(ui.messages[0].rfind("Error in file geo.txt, " + c.message, 0), 0u)
            << c.name << ": " << ui.messages[0];
        EXPECT_EQ(p.Vertices.size(), c.vertices) << c.name;
        EXPECT_EQ(p.Polygons.size(), c.polygons) << c.name;
        EXPECT_FALSE(p.GeometryShown) << c.name;
        EXPECT_LE(p.Vertices.capacity(), 16u) << c.name;
    }
}

// Mutated writer output must never crash or leave a Polygon naming a missing Vertex.
TEST(TextGeometryImport, MutatedTextsKeepTheProjectConsistent) {
    std::mt19937 rng(99);
    Project source = WithVertices(RandomVertices(rng, 6));
    source.Polygons = {Ring({0, 1, 2}), Ring({5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5})};
    const std::string texts[] = {ThreeDOTextOf(source), VertexTextOf(source)};
    const std::string alphabet = " \r\n-pv0123456789.E#";
    for (int round = 0; round < 3000; ++round) {
        std::string t = texts[round % 2];
        int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = rng() % t.size();
            char c = alphabet[rng() % alphabet.size()];
            switch (rng() % 3) {
            case 0:
                t[at] = c;
                break;
            case 1:
                t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), c);
                break;
            default:
                t.erase(at, 1 + rng() % 8);
                break;
            }
            if (t.empty())
                t = "#";
        }
        Project p = WithVertices({V(1, 1, 1)});
        p.HasGeometry = round % 3 == 0;
        FakeUi ui;
        if (p.HasGeometry)
            ui.offsetAnswers.push_back(Offset3{1, 2, 3});
        if (round % 2 == 0)
            Read3DOText(p, kPath, t, ui, rng);
        else
            ReadVertexText(p, kPath, t, ui);
        ui.offsetAnswers.clear(); // a text refused before its vertices asks for no offset
        for (const ObjectData& poly : p.Polygons) {
            ASSERT_GE(poly.VertexCount(), 2) << t;
            ASSERT_EQ(poly.VertexIndices.front(), poly.VertexIndices.back()) << t;
            for (int32_t i : poly.VertexIndices)
                ASSERT_TRUE(i >= 0 && static_cast<std::size_t>(i) < p.Vertices.size()) << t;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Files

TEST(TextGeometryFiles, ExportImportAndUnreachablePaths) {
    test::TempDir dir;
    Project source = WithVertices({V(1, 2, 3), V(4, 5, 6), V(7, 8, 9)});
    source.Polygons = {Ring({2, 1, 0})};
    FakeUi ui;
    std::string vtx = dir / "a.vtx", txt = dir / "a.txt";
    ASSERT_TRUE(ExportVertexText(source, vtx, ui));
    ASSERT_TRUE(Export3DOText(source, txt, ui));
    EXPECT_EQ(ReadWholeFile(txt), ThreeDOTextOf(source));
    Project a, b;
    EXPECT_EQ(ImportVertexText(a, vtx, ui).Outcome, TextImportOutcome::Imported);
    EXPECT_EQ(Import3DOText(b, txt, ui).Outcome, TextImportOutcome::Imported);
    ExpectSameBits(a.Vertices, source.Vertices);
    ExpectSameBits(b.Vertices, source.Vertices);
    ASSERT_EQ(b.Polygons.size(), 1u);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"3 Vertices saved to file " + vtx,
                                                "Data saved to 3DO Text file " + txt,
                                                "3 Vertices loaded from file " + vtx,
                                                "3 Vertices loaded from file " + txt,
                                                "1 Polygons loaded from file " + txt}));

    std::string nowhere = dir / "no/such/folder/x.vtx";
    EXPECT_FALSE(ExportVertexText(source, nowhere, ui));
    EXPECT_FALSE(Export3DOText(source, nowhere, ui));
    EXPECT_EQ(ImportVertexText(a, nowhere, ui).Outcome, TextImportOutcome::Unreadable);
    EXPECT_EQ(Import3DOText(b, nowhere, ui).Outcome, TextImportOutcome::Unreadable);
    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.log.size(), 5u);
    EXPECT_EQ(a.Vertices.size(), 3u);
}

// ---------------------------------------------------------------------------------------------
// Every reader

TEST(EveryReader, ReadsBackTheExtremeValuesItsWriterWrites) {
    const float denormMin = std::numeric_limits<float>::denorm_min();
    const float values[] = {FLT_MAX,   -FLT_MAX,    std::nextafter(FLT_MAX, 0.0f),
                            FLT_MIN,   -FLT_MIN,    std::nextafter(FLT_MIN, 0.0f),
                            denormMin, -denormMin,  3 * denormMin,
                            -0.0f,     1.234568e8f, 1e15f,
                            -1e16f,    0.1f,        1.5e-6f};
    Project p;
    for (float v : values) {
        p.Vertices.push_back(V(v, -v, v));
        ObjectData line;
        line.Color = {v, -v, v};
        line.VertexIndices = {0, 1};
        p.Lines.push_back(line);
    }
    p.HasGeometry = true;
    auto expectSame = [&](const std::vector<Vertex>& back, const char* reader) {
        ASSERT_EQ(back.size(), p.Vertices.size()) << reader;
        for (std::size_t i = 0; i < back.size(); ++i) // -0 is written as 0
            EXPECT_TRUE(back[i].X == p.Vertices[i].X && back[i].Y == p.Vertices[i].Y &&
                        back[i].Z == p.Vertices[i].Z)
                << reader << " " << values[i];
    };
    FakeUi ui;
    std::mt19937 rng(3);
    Project vtx, txt, dxf;
    ASSERT_EQ(ReadVertexText(vtx, kPath, VertexTextOf(p), ui).Outcome, TextImportOutcome::Imported);
    expectSame(vtx.Vertices, "vertex text");
    ASSERT_EQ(Read3DOText(txt, kPath, ThreeDOTextOf(p), ui, rng).Outcome,
              TextImportOutcome::Imported);
    expectSame(txt.Vertices, "3DOText");
    ASSERT_EQ(
        ImportDxfText(dxf, "x.dxf", DxfText(p, DxfMode::Vertices), DxfKind::Point, ui, rng).Outcome,
        DxfImportOutcome::Imported);
    expectSame(dxf.Vertices, "DXF");
    EXPECT_TRUE(ui.messages.empty());

    // The project file keeps colours exactly and coordinates in their fixed form ("3.402823E38",
    // "1.234568E8"), which reads back to the same text.
    const std::string written = SerializeProject(p, {}, ui);
    Project back;
    back.ProjectFileName = "extremes.3dp";
    ASSERT_EQ(ReadProjectText(back, written, ui), ReadOutcome::Completed);
    ASSERT_EQ(back.Lines.size(), p.Lines.size());
    for (std::size_t i = 0; i < p.Lines.size(); ++i)
        EXPECT_TRUE(back.Lines[i].Color.R == p.Lines[i].Color.R &&
                    back.Lines[i].Color.G == p.Lines[i].Color.G)
            << values[i];
    EXPECT_EQ(SerializeProject(back, {}, ui), written);
}

TEST(EveryReader, QuotesAHugeBadNumberShort) {
    const std::string huge = std::string(1 << 20, '9') + "x";
    const std::string header(kVertexTextHeader), header3(k3DOTextHeader);
    const struct {
        const char* reader;
        std::function<std::string(Ui&)> message;
    } cases[] = {
        {"project",
         [&](Ui& ui) {
             Project p;
             try {
                 ReadProjectText(p, Join({"Vertices", "1", "0", huge, "0"}), ui);
             } catch (const ParseError& e) {
                 return std::string(e.what());
             }
             return std::string("no error");
         }},
        {"vertex text",
         [&](Ui& ui) {
             Project p;
             ReadVertexText(p, kPath, Join({header, "VertexXYZ", "", "0", huge, "0"}), ui);
             return static_cast<FakeUi&>(ui).messages.at(0);
         }},
        {"3DOText point",
         [&](Ui& ui) {
             Project p;
             std::mt19937 rng(1);
             Read3DOText(p, kPath, Join({header3, "1", "p 0 " + huge + " 0", "v -1"}), ui, rng);
             return static_cast<FakeUi&>(ui).messages.at(0);
         }},
        {"3DOText polygon",
         [&](Ui& ui) {
             Project p;
             std::mt19937 rng(1);
             Read3DOText(p, kPath,
                         Join({header3, "1", "p 0 0 0", "v 3 -80808080 0 " + huge + " 0 "}), ui,
                         rng);
             return static_cast<FakeUi&>(ui).messages.at(0);
         }},
    };
    for (const auto& c : cases) {
        FakeUi ui;
        const std::string m = c.message(ui);
        ASSERT_LT(m.size(), 200u) << c.reader;
        EXPECT_NE(m.find(", line "), std::string::npos) << c.reader << ": " << m;
        EXPECT_NE(m.find("'" + std::string(60, '9') + "\u2026'"), std::string::npos)
            << c.reader << ": " << m;
    }
}

} // namespace
} // namespace meshforge
