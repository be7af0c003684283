#include "model/project.h"

#include <gtest/gtest.h>

using namespace meshforge;

TEST(ResetProject, EmptiesListsAndRestoresDefaults) {
    Project p;
    p.Vertices.push_back({1, 2, 3});
    p.Textures.push_back({});
    p.Lines.push_back({});
    p.VisLines.push_back({});
    p.Polygons.push_back({});
    p.CollVols.push_back({});
    p.DisplayClass = 7;
    p.ProjectDescription = "x";
    p.ProjectFileName = "/tmp/a.3dp";
    p.ProjectName = "a";
    p.HasGeometry = p.GeometryShown = true;
    p.CurrentTexture = 2;
    p.CurrentPolygon = p.CurrentLine = 1;
    p.Options.Zoom = 5;
    p.Options.RotationY = 40;
    p.Options.PanX = 3;
    p.Options.ShowAxis = true;
    p.Options.AutoGPL = true;
    p.Options.TrackFolder = "t";
    p.Options.AdditionalGPLParams = "g";
    SetVertexColor(p.Options, "clRed");
    p.Options.VertexDisplaySize = 9;
    p.Options.AxisSize = 99;

    ResetProject(p);

    EXPECT_TRUE(p.Vertices.empty() && p.Textures.empty() && p.Lines.empty() && p.VisLines.empty() &&
                p.Polygons.empty() && p.CollVols.empty());
    EXPECT_EQ(p.DisplayClass, 3);
    EXPECT_EQ(p.ProjectDescription, "None available");
    EXPECT_EQ(p.ProjectFileName, "None");
    EXPECT_EQ(p.ProjectName, "a"); // the name survives a reset
    EXPECT_FALSE(p.HasGeometry);
    EXPECT_FALSE(p.GeometryShown);
    EXPECT_EQ(p.CurrentTexture, 999);
    EXPECT_EQ(p.CurrentPolygon, 9999);
    EXPECT_EQ(p.CurrentLine, 9999);
    EXPECT_EQ(p.Options.Zoom, 70);
    EXPECT_EQ(p.Options.RotationY, 0);
    EXPECT_EQ(p.Options.PanX, 0);
    EXPECT_TRUE(p.Options.TrackFolder.empty());
    EXPECT_TRUE(p.Options.AdditionalGPLParams.empty());
    EXPECT_EQ(p.Options.VertexColor, "$00408000");
    // The triple is the fixed reset value, not the text's channels (0x40 / 255).
    EXPECT_EQ(p.Options.VertexRgb, (ColorTriple{0, 0.6f, 0}));
    EXPECT_EQ(p.Options.BackgroundRgb, (ColorTriple{1, 1, 1}));
    EXPECT_EQ(p.Options.SelectedVertexRgb, (ColorTriple{1, 0, 0}));
    EXPECT_EQ(p.Options.VertexDisplaySize, 3);
    EXPECT_EQ(p.Options.AxisSize, 10);
    // Check boxes of the view menus and the Options dialog are left alone.
    EXPECT_TRUE(p.Options.ShowAxis);
    EXPECT_TRUE(p.Options.AutoGPL);

    RecomputeColorTriples(p.Options);
    EXPECT_FLOAT_EQ(p.Options.VertexRgb.G, 128.0f / 255);
    EXPECT_FLOAT_EQ(p.Options.VertexRgb.R, 0);
    EXPECT_FLOAT_EQ(p.Options.VertexRgb.B, 64.0f / 255);
}

TEST(UpdateBoundingBox, SingleManyAndEmpty) {
    Project p;
    p.Vertices = {{1, -2, 3}};
    UpdateBoundingBox(p);
    EXPECT_EQ(p.Box.MinX, 1);
    EXPECT_EQ(p.Box.MaxX, 1);
    EXPECT_EQ(p.Box.CenterY, -2);
    EXPECT_EQ(p.Box.CenterZ, 3);

    p.Vertices = {{1, 5, 0}, {-3, 5, 2}, {4, 1, -6}, {4, 5, 2}};
    UpdateBoundingBox(p);
    EXPECT_EQ(p.Box.MinX, -3);
    EXPECT_EQ(p.Box.MaxX, 4);
    EXPECT_EQ(p.Box.MinY, 1);
    EXPECT_EQ(p.Box.MaxY, 5);
    EXPECT_EQ(p.Box.MinZ, -6);
    EXPECT_EQ(p.Box.MaxZ, 2);
    EXPECT_EQ(p.Box.CenterX, 0.5f);
    EXPECT_EQ(p.Box.CenterY, 3);
    EXPECT_EQ(p.Box.CenterZ, -2);

    // An empty list keeps the previous box.
    p.Vertices.clear();
    UpdateBoundingBox(p);
    EXPECT_EQ(p.Box.MinX, -3);
    EXPECT_EQ(p.Box.CenterZ, -2);
}
