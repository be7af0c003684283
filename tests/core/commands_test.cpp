#include "app/commands.h"

#include "model/project.h"

#include <gtest/gtest.h>

using namespace meshforge;

namespace {

Project WithVertices(int n) {
    Project p;
    for (int i = 0; i < n; ++i)
        p.Vertices.push_back({float(i), 1, 2});
    p.HasGeometry = n > 0;
    UpdateBoundingBox(p);
    return p;
}

std::string Guard(GuardedCommand c, const Project& p) {
    auto m = GuardMessage(c, p);
    return m ? std::string(*m) : std::string("<runs>");
}

} // namespace

TEST(Guards, VertexCountsDecide) {
    Project none = WithVertices(0), one = WithVertices(1), two = WithVertices(2),
            three = WithVertices(3);
    EXPECT_EQ(Guard(GuardedCommand::PrintProjectData, none), "No Vertices, No Print !");
    EXPECT_EQ(Guard(GuardedCommand::PrintProjectData, one), "<runs>");
    EXPECT_EQ(Guard(GuardedCommand::LoadRemoveTextures, none), "No Vertices, No Textures !");
    EXPECT_EQ(Guard(GuardedCommand::Lines, one), "Not enough Vertices defined");
    EXPECT_EQ(Guard(GuardedCommand::Lines, two), "<runs>");
    EXPECT_EQ(Guard(GuardedCommand::Polygons, two), "Not enough Vertices defined");
    EXPECT_EQ(Guard(GuardedCommand::Polygons, three), "<runs>");
    for (auto c : {GuardedCommand::RotateVertices, GuardedCommand::MoveVertices,
                   GuardedCommand::MirrorVertices, GuardedCommand::ScaleVertices}) {
        EXPECT_EQ(Guard(c, none), "No Vertices defined");
        EXPECT_EQ(Guard(c, one), "<runs>");
    }
}

TEST(Guards, ExportsLookAtGeometryLinesAndPolygons) {
    Project none = WithVertices(0), p = WithVertices(3);
    const std::string nothing = "      No Vertices defined      \r\r      Nothing to save !";
    EXPECT_EQ(Guard(GuardedCommand::ExportVertexText, none), nothing);
    EXPECT_EQ(Guard(GuardedCommand::Export3DOText, none), nothing);
    EXPECT_EQ(Guard(GuardedCommand::ExportDxfVertices, none), "No Vertices defined !");
    EXPECT_EQ(Guard(GuardedCommand::ExportDxfVertices, p), "<runs>");
    EXPECT_EQ(Guard(GuardedCommand::ExportDxfLines, p), "No Lines defined !");
    EXPECT_EQ(Guard(GuardedCommand::ExportDxfPolygons, p), "No Polygons defined !");
    EXPECT_EQ(Guard(GuardedCommand::AssignTextures, p), "No Polygons defined !");
    EXPECT_EQ(Guard(GuardedCommand::CopyPolygon, p), "Draw Polygons first !");
    EXPECT_EQ(Guard(GuardedCommand::MovePolygon, p), "Draw Polygons first !");
    p.Lines.push_back({{0.5f, 0.5f, 0.5f}, {0, 1}, 0, {}});
    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, kUntextured, {}});
    for (auto c :
         {GuardedCommand::ExportDxfLines, GuardedCommand::ExportDxfPolygons,
          GuardedCommand::AssignTextures, GuardedCommand::CopyPolygon, GuardedCommand::MovePolygon})
        EXPECT_EQ(Guard(c, p), "<runs>");
}

TEST(Guards, CenterTestsTheCentreBeforeTheVertices) {
    EXPECT_EQ(Guard(GuardedCommand::CenterAllVertices, WithVertices(0)), "Already centered !");
    Project p;
    p.Vertices = {{-1, -1, -1}, {1, 1, 1}};
    p.HasGeometry = true;
    UpdateBoundingBox(p);
    EXPECT_EQ(Guard(GuardedCommand::CenterAllVertices, p), "Already centered !");
    p.Vertices[1].X = 3;
    UpdateBoundingBox(p);
    EXPECT_EQ(Guard(GuardedCommand::CenterAllVertices, p), "<runs>");
    // A centre away from the origin with no vertices left (the box keeps its last value).
    p.Vertices.clear();
    EXPECT_EQ(Guard(GuardedCommand::CenterAllVertices, p), "No Vertices defined");
}

TEST(EnableRules, IdleStatesFollowTheProject) {
    Project p;
    IdleStates empty = ComputeIdleStates(p);
    EXPECT_FALSE(empty.CloseProject || empty.SaveProjectAs || empty.WriteAse || empty.CreateLine ||
                 empty.AssignTexture || empty.ClearAll || empty.PrintProjectData ||
                 empty.DisplayContents);

    p.Textures.emplace_back().Filename = "t.bmp";
    EXPECT_TRUE(ComputeIdleStates(p).ClearAll);
    EXPECT_FALSE(ComputeIdleStates(p).WriteAse);

    p.ProjectFileName = "a.3dp";
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    IdleStates v = ComputeIdleStates(p);
    EXPECT_TRUE(v.CloseProject && v.SaveProjectAs && v.PrintProjectData && v.DisplayContents);
    EXPECT_FALSE(v.CreateLine || v.MoveAll) << "these follow HasGeometry, not the count";
    p.HasGeometry = true;
    v = ComputeIdleStates(p);
    EXPECT_TRUE(v.CreateLine && v.CreatePolygon && v.MoveAll && v.MirrorAll && v.ScaleAll &&
                v.CenterAll);
    EXPECT_FALSE(v.AssignTexture || v.CopyPolygon || v.MovePolygon || v.WriteAse);

    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, kUntextured, {}});
    v = ComputeIdleStates(p);
    EXPECT_TRUE(v.AssignTexture && v.CopyPolygon && v.MovePolygon && v.WriteAse);
}

TEST(EnableRules, MenuOpenStatesAndTheImportCaption) {
    Project p = WithVertices(1);
    MenuOpenStates m = ComputeMenuOpenStates(p);
    EXPECT_TRUE(m.AddData && m.CreateInterpolatedVertex && m.ExportGeometry && m.Lines &&
                m.Polygons && m.RotateVertices && m.CenterAllVertices);
    EXPECT_FALSE(m.CreateVisLines) << "needs two vertices";
    EXPECT_FALSE(m.AddInterpolatedVertices);
    EXPECT_FALSE(m.AssignTextures || m.CopyPolygon || m.SetCollisionType ||
                 m.CheckBackgroundColors);
    EXPECT_EQ(ImportMenuCaption(p), "&Import additional Geometry from....");

    p = WithVertices(2);
    EXPECT_TRUE(ComputeMenuOpenStates(p).CreateVisLines);
    EXPECT_TRUE(ComputeMenuOpenStates(p).AddInterpolatedVertices);
    p.VisLines.push_back({{0, 0, 0}, {0, 1}, 0, {}});
    EXPECT_FALSE(ComputeMenuOpenStates(p).CreateVisLines);

    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 0, 0}, kUntextured, {}});
    m = ComputeMenuOpenStates(p);
    EXPECT_TRUE(m.AssignTextures && m.CopyPolygon && m.MovePolygon && m.SetCollisionType);
    EXPECT_FALSE(m.CheckBackgroundColors);
    p.Textures.emplace_back().Filename = "t.bmp";
    EXPECT_TRUE(ComputeMenuOpenStates(p).CheckBackgroundColors);

    Project empty;
    MenuOpenStates e = ComputeMenuOpenStates(empty);
    EXPECT_FALSE(e.AddData || e.Lines || e.RotateVertices || e.CreateVisLines);
    EXPECT_EQ(ImportMenuCaption(empty), "&Import Geometry from....");
}
