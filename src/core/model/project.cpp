#include "model/project.h"

#include "model/texts.h"

namespace meshforge {

void ResetProject(Project& p) {
    TexturesChanged(p);
    p.Vertices.clear();
    p.Textures.clear();
    p.Lines.clear();
    p.VisLines.clear();
    p.Polygons.clear();
    p.CollVols.clear();

    p.DisplayClass = 3;
    p.Options.AdditionalGPLParams.clear();
    p.Options.TrackFolder.clear();
    p.ProjectDescription = "None available";

    p.CurrentPolygon = kNoElement;
    p.CurrentLine = kNoElement;
    p.CurrentTexture = kNoTexture;
    p.HasGeometry = false;
    p.GeometryShown = false;

    p.ProjectFileName = kNoFile;

    ViewOptions& o = p.Options;
    o.Zoom = 70;
    o.RotationX = o.RotationY = o.RotationZ = 0;
    o.PanX = o.PanY = 0;

    // The triples are fixed values, not the channels of the texts.
    o.BackgroundColor = "clwhite";
    o.VertexColor = "$00408000";
    o.SelectedVertexColor = "$004080FF";
    o.BackgroundRgb = {1, 1, 1};
    o.VertexRgb = {0, 0.6f, 0};
    o.SelectedVertexRgb = {1, 0, 0};
    o.VertexDisplaySize = 3;
    o.AxisSize = 10;
}

BoundingBox ComputeBoundingBox(const Project& p) {
    BoundingBox b = p.Box;
    if (p.Vertices.empty())
        return b;
    const Vertex& first = p.Vertices.front();
    b.MinX = b.MaxX = first.X;
    b.MinY = b.MaxY = first.Y;
    b.MinZ = b.MaxZ = first.Z;
    for (std::size_t i = 1; i < p.Vertices.size(); ++i) {
        const Vertex& v = p.Vertices[i];
        if (v.X < b.MinX)
            b.MinX = v.X;
        if (v.X > b.MaxX)
            b.MaxX = v.X;
        if (v.Y < b.MinY)
            b.MinY = v.Y;
        if (v.Y > b.MaxY)
            b.MaxY = v.Y;
        if (v.Z < b.MinZ)
            b.MinZ = v.Z;
        if (v.Z > b.MaxZ)
            b.MaxZ = v.Z;
    }
    b.CenterX = (b.MaxX + b.MinX) / 2;
    b.CenterY = (b.MaxY + b.MinY) / 2;
    b.CenterZ = (b.MaxZ + b.MinZ) / 2;
    return b;
}

void UpdateBoundingBox(Project& p) {
    p.Box = ComputeBoundingBox(p);
}

namespace {
ColorTriple TripleOf(const std::string& text) {
    Rgb c = ColorToRgb(ParseColor(text));
    return {c.r, c.g, c.b};
}
} // namespace

void SetBackgroundColor(ViewOptions& o, const std::string& text) {
    ColorTriple t = TripleOf(text);
    o.BackgroundColor = text;
    o.BackgroundRgb = t;
}

void SetVertexColor(ViewOptions& o, const std::string& text) {
    ColorTriple t = TripleOf(text);
    o.VertexColor = text;
    o.VertexRgb = t;
}

void SetSelectedVertexColor(ViewOptions& o, const std::string& text) {
    ColorTriple t = TripleOf(text);
    o.SelectedVertexColor = text;
    o.SelectedVertexRgb = t;
}

void RecomputeColorTriples(ViewOptions& o) {
    o.BackgroundRgb = TripleOf(o.BackgroundColor);
    o.VertexRgb = TripleOf(o.VertexColor);
    o.SelectedVertexRgb = TripleOf(o.SelectedVertexColor);
}

} // namespace meshforge
