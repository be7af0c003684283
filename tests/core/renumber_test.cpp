#include "model/renumber.h"

#include "edit/lines.h"
#include "edit/polygons.h"
#include "edit/vertices.h"
#include "fake_ui.h"
#include "model/project.h"
#include "model/project_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace meshforge {
namespace {

using test::FakeUi;
using Planes = std::vector<std::pair<int32_t, int32_t>>; // (polygon, rebound) per plane

CollVol Volume(std::vector<int32_t> polygons, std::vector<int32_t> rebounds) {
    return {std::move(polygons), std::move(rebounds)};
}

std::vector<Planes> PlanesOf(const std::vector<CollVol>& volumes) {
    std::vector<Planes> out;
    for (const CollVol& v : volumes) {
        Planes planes;
        for (std::size_t k = 0; k < v.PolygonIndices.size(); ++k)
            planes.emplace_back(v.PolygonIndices[k], k < v.Rebounds.size() ? v.Rebounds[k] : -1);
        out.push_back(planes);
    }
    return out;
}

// Four triangles over four vertices; the flagged ones name vertex 99 instead, which a read drops.
Project FourPolygons(const std::vector<bool>& unreadable = {}) {
    Project p;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    for (int32_t i = 0; i < 4; ++i) {
        const bool bad = static_cast<std::size_t>(i) < unreadable.size() && unreadable[i];
        ObjectData polygon;
        polygon.VertexIndices = {i, (i + 1) % 4, bad ? 99 : (i + 2) % 4, i};
        polygon.TextureIndex = kUntextured;
        p.Polygons.push_back(polygon);
    }
    p.HasGeometry = true;
    return p;
}

// A collision volume follows the same rule whether its polygons are removed in the editor or
// dropped by the reader: planes of gone polygons go, the others are renumbered, and a volume
// without a plane goes.
TEST(RenumberVolumes, EditorAndReaderKeepTheSameVolumes) {
    struct Case {
        const char* name;
        std::vector<CollVol> volumes;
        std::vector<bool> removed;
        std::vector<Planes> expected;
    };
    const Case cases[] = {
        {"nothing removed", {Volume({0, 3}, {1, 2})}, {}, {{{0, 1}, {3, 2}}}},
        {"a plane goes, later ones move down",
         {Volume({1, 2, 3}, {4, 5, 6})},
         {false, true},
         {{{1, 5}, {2, 6}}}},
        {"emptied volumes go",
         {Volume({0}, {1}), Volume({1, 3}, {2, 3}), Volume({0, 2}, {4, 5})},
         {true, false, true},
         {{{0, 2}, {1, 3}}}},
        {"a plane naming no polygon goes", {Volume({3, 9}, {7, 8})}, {}, {{{3, 7}}}},
        {"a volume without planes goes", {Volume({}, {}), Volume({2}, {1})}, {}, {{{2, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project edited = FourPolygons();
        edited.CollVols = c.volumes;
        SelectRows(edited.Polygons, c.removed);
        RemoveSelectedPolygons(edited);
        EXPECT_EQ(PlanesOf(edited.CollVols), c.expected);

        Project written = FourPolygons(c.removed);
        written.CollVols = c.volumes;
        FakeUi ui;
        const std::string text = SerializeProject(written, {}, ui);
        Project read;
        read.ProjectFileName = "/x/volumes.3dp";
        ASSERT_EQ(ReadProjectText(read, text, ui), ReadOutcome::Completed);
        EXPECT_EQ(PlanesOf(read.CollVols), c.expected);
        EXPECT_EQ(read.Polygons.size(), edited.Polygons.size());
    }
}

TEST(RenumberTextures, RemovedOnesLeaveUntexturedPolygonsAndLaterOnesMoveDown) {
    struct Case {
        std::vector<bool> removed;
        int32_t current;
        std::string kept; // file names of the textures left
        std::vector<int32_t> indices;
        int32_t currentAfter;
    };
    const Case cases[] = {
        {{false, true, false, true}, 2, "ac", {0, 999, 1, 999, 999}, 1},
        {{false, true}, 1, "acd", {0, 999, 1, 2, 999}, kNoTexture},
        {{}, 3, "abcd", {0, 1, 2, 3, 999}, 3},
        {{true, true, true, true}, kNoTexture, "", {999, 999, 999, 999, 999}, kNoTexture},
    };
    for (const Case& c : cases) {
        Project p;
        for (const char* name : {"a", "b", "c", "d"})
            p.Textures.emplace_back().Filename = name;
        for (int32_t t : {0, 1, 2, 3, kUntextured})
            p.Polygons.push_back({{}, {0}, t, {{0.5f, 0.5f}}, false});
        p.CurrentTexture = c.current;
        RemoveTexturesWhere(p, c.removed);
        std::string kept;
        for (const TextureData& t : p.Textures)
            kept += t.Filename;
        EXPECT_EQ(kept, c.kept);
        std::vector<int32_t> indices;
        for (const ObjectData& poly : p.Polygons)
            indices.push_back(poly.TextureIndex);
        EXPECT_EQ(indices, c.indices);
        EXPECT_EQ(p.CurrentTexture, c.currentAfter);
        EXPECT_EQ(p.Polygons[0].TexCoords.size(), 1u); // coordinates stay for a later texture
    }
}

// Visualization lines follow removed and merged vertices as lines do.
TEST(RenumberVertices, VisualizationLinesFollowRemovalAndMerging) {
    auto loop = [] {
        Project p;
        p.Vertices = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0}, {4, 0, 0}};
        for (int32_t i = 0; i < 5; ++i)
            p.VisLines.push_back({{}, {i, (i + 1) % 5}, 0, {}, false});
        return p;
    };
    auto ends = [](const Project& p) {
        std::vector<std::vector<int32_t>> out;
        for (const ObjectData& l : p.VisLines)
            out.push_back(l.VertexIndices);
        return out;
    };
    Project removed = loop();
    EXPECT_EQ(RemoveVerticesWhere(removed, {false, false, true}), 1);
    EXPECT_EQ(ends(removed), (std::vector<std::vector<int32_t>>{{0, 1}, {2, 3}, {3, 0}}));

    Project merged = loop();
    EXPECT_EQ(MergeDoubleVertices(merged), 1); // vertex 3 lies on vertex 1
    EXPECT_EQ(ends(merged),
              (std::vector<std::vector<int32_t>>{{0, 1}, {1, 2}, {2, 1}, {1, 3}, {3, 0}}));
    EXPECT_EQ(merged.Vertices.size(), 4u);
}

} // namespace
} // namespace meshforge
