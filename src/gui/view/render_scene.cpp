// Drawing the scene (on the screen and in selection mode), the vertex spheres, the texture
// objects and picking.
#include "gui/view/view_form.h"

#include "model/project.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "ui/ui.h"
#include "view/scene_geometry.h"

#include <QImage>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace meshforge::gui {

namespace {

Box3 PointBox(const Vertex& v, double r) {
    return {{v.X - r, v.Y - r, v.Z - r}, {v.X + r, v.Y + r, v.Z + r}};
}

void Grow(Box3& b, const Vertex& v) {
    b.Min = {std::min(b.Min.X, double(v.X)), std::min(b.Min.Y, double(v.Y)),
             std::min(b.Min.Z, double(v.Z))};
    b.Max = {std::max(b.Max.X, double(v.X)), std::max(b.Max.Y, double(v.Y)),
             std::max(b.Max.Z, double(v.Z))};
}

bool ValidIndex(int32_t i, std::size_t count) {
    return i >= 0 && static_cast<std::size_t>(i) < count;
}

} // namespace

// The unit spheres of every tessellation level as display lists, for the selection pass (which
// names each sphere; a list of one primitive type is safe to call there). The screen pass copies
// the triangles themselves into one array for all spheres.
class SphereCache {
  public:
    SphereCache() {
        base_ = glGenLists(kSphereLevels);
        for (std::size_t l = 0; l < kSphereLevels; ++l) {
            const std::vector<float>& unit = UnitSphereTriangles(l);
            glNewList(base_ + GLuint(l), GL_COMPILE);
            glBegin(GL_TRIANGLES);
            for (std::size_t k = 0; k + 2 < unit.size(); k += 3)
                glVertex3f(unit[k], unit[k + 1], unit[k + 2]);
            glEnd();
            glEndList();
        }
    }
    ~SphereCache() { glDeleteLists(base_, kSphereLevels); }
    SphereCache(const SphereCache&) = delete;
    SphereCache& operator=(const SphereCache&) = delete;

    void Draw(std::size_t level) const { glCallList(base_ + GLuint(level)); }

  private:
    GLuint base_ = 0;
};

// Runs of objects of one colour (and one texture) that need no state change between them,
// sent with one call in the order they would have been drawn one by one. The colour is set
// once per run, not per corner, so that the rasterizer keeps it constant as immediate mode
// does; a colour array would make it interpolate the colour for every pixel.
class Batch {
  public:
    explicit Batch(GLenum primitive) : primitive_(primitive) {}
    // Starts a run of this colour and texture (0 = none), ending the current one if it differs.
    void Use(const ColorTriple& color, GLuint texture = 0) {
        if (!xyz_.empty() && color == color_ && texture == texture_)
            return;
        Flush();
        color_ = color;
        texture_ = texture;
    }
    void Add(float x, float y, float z) { xyz_.insert(xyz_.end(), {x, y, z}); }
    void Add(float x, float y, float z, TexCoord t) {
        Add(x, y, z);
        uv_.insert(uv_.end(), {t.U, t.V});
    }
    void Flush() {
        if (xyz_.empty())
            return;
        if (texture_) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture_);
        }
        glColor3f(color_.R, color_.G, color_.B);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, xyz_.data());
        if (texture_) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, uv_.data());
        }
        glDrawArrays(primitive_, 0, GLsizei(xyz_.size() / 3));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        if (texture_)
            glDisable(GL_TEXTURE_2D);
        xyz_.clear();
        uv_.clear();
    }

  private:
    GLenum primitive_;
    ColorTriple color_;
    GLuint texture_ = 0;
    std::vector<float> xyz_, uv_;
};

TViewForm::~TViewForm() {
    if (glReady_) {
        makeCurrent();
        DeleteTextures();
        spheres_.reset();
        doneCurrent();
    }
}

void TViewForm::CreateSpheres() {
    spheres_ = std::make_shared<SphereCache>();
}

bool TViewForm::HasLinesOrPolygons() const {
    return !project_.Lines.empty() || !project_.Polygons.empty();
}

void TViewForm::RenderScene(Mode mode, const Mat4& pickMatrix) {
    // Selection mode writes no pixel: a clear there would only wipe the picture on show.
    if (mode == Mode::Render)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const int w = width() * devicePixelRatio(), h = height() * devicePixelRatio();
    const Mat4 scene = SceneMatrix(project_.Options, view_, project_.Box, w, h);
    glMultMatrixd(scene.M.data());
    if (!project_.GeometryShown)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // Objects that cannot touch the pick region are skipped in selection mode; the literal
    // path draws everything, as the reference the fast path is measured against.
    const bool skip = mode == Mode::Select && skipInPick_;
    const Mat4 cullMatrix = pickMatrix * scene;
    const Mat4* cull = skip ? &cullMatrix : nullptr;
    const ViewOptions& o = project_.Options;

    DrawVertices(mode, scene, cull);
    if (o.ShowLines && !project_.Lines.empty())
        DrawLines(mode, cull);
    if (!project_.VisLines.empty()) {
        if (mode == Mode::Select)
            glLoadName(kNoObjectName);
        DrawVisLines();
    }
    if (o.ShowPolygons && !project_.Polygons.empty())
        DrawPolygons(mode, cull);
    if (mode == Mode::Select)
        glLoadName(kNoObjectName);
    if (o.ShowAxis)
        DrawAxis();
    if (general_.ShowGrid)
        DrawGrid();
    glColor3f(0, 0, 0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
}

void TViewForm::DrawVertices(Mode mode, const Mat4& scene, const Mat4* cull) {
    const ViewOptions& o = project_.Options;
    if (!o.VerticesVisible)
        return;
    const SphereSizing sizing =
        SphereSizing::For(o, width(), height(), int(height() * devicePixelRatio()));
    const double radius = sizing.Radius;
    const double pivotRadius = radius * kPivotSphereScale;
    const ColorTriple& normal = o.VertexRgb;
    const ColorTriple& selected = o.SelectedVertexRgb;
    ColorTriple current = normal;
    GLUquadric* quadric = literal_ ? gluNewQuadric() : nullptr;
    const bool batched = mode == Mode::Render && !literal_;
    Batch batch(GL_TRIANGLES);
    auto sphere = [&](const Vertex& v, double r, std::size_t level) {
        if (batched) {
            const std::vector<float>& unit = UnitSphereTriangles(level);
            const float fr = float(r);
            batch.Use(current);
            for (std::size_t k = 0; k < unit.size(); k += 3)
                batch.Add(v.X + fr * unit[k], v.Y + fr * unit[k + 1], v.Z + fr * unit[k + 2]);
            return;
        }
        glPushMatrix();
        glTranslated(v.X, v.Y, v.Z);
        if (quadric) {
            gluSphere(quadric, r, 15, 15);
        } else {
            glScaled(r, r, r);
            spheres_->Draw(level);
        }
        glPopMatrix();
    };
    for (std::size_t i = 0; i < project_.Vertices.size(); ++i) {
        const Vertex& v = project_.Vertices[i];
        const bool pivot = int(i) == editor_.PivotVertex;
        const double r = v.Selected ? radius * kSelectedSphereScale : radius;
        if (cull && BoxOutsideFrustum(*cull, PointBox(v, pivot ? std::max(r, pivotRadius) : r)))
            continue;
        if (mode == Mode::Select)
            glLoadName(VertexPickName(i));
        current = v.Selected ? selected : normal;
        glColor3f(current.R, current.G, current.B);
        sphere(v, r, sizing.Level(scene, v, r));
        if (pivot) {
            current = selected;
            glColor3f(selected.R, selected.G, selected.B);
            sphere(v, pivotRadius, sizing.Level(scene, v, pivotRadius));
        }
    }
    if (view_.OriginPivot) {
        // The origin is no vertex: a pick there must not name the last vertex drawn.
        if (mode == Mode::Select)
            glLoadName(kNoObjectName);
        current = selected;
        glColor3f(selected.R, selected.G, selected.B);
        sphere(Vertex{0, 0, 0, false}, pivotRadius, SphereLevelFor(kOriginPivotPixels));
    }
    batch.Flush();
    if (quadric)
        gluDeleteQuadric(quadric);
}

void TViewForm::DrawLines(Mode mode, const Mat4* cull) {
    const auto& vs = project_.Vertices;
    const bool batched = mode == Mode::Render && !literal_;
    Batch batch(GL_LINES);
    glLineWidth(1.5f);
    for (std::size_t i = 0; i < project_.Lines.size(); ++i) {
        const ObjectData& line = project_.Lines[i];
        if (line.VertexIndices.size() < 2 || !ValidIndex(line.VertexIndices[0], vs.size()) ||
            !ValidIndex(line.VertexIndices[1], vs.size()))
            continue;
        const Vertex& a = vs[line.VertexIndices[0]];
        const Vertex& b = vs[line.VertexIndices[1]];
        if (cull) {
            Box3 box = PointBox(a, 0);
            Grow(box, b);
            if (BoxOutsideFrustum(*cull, box))
                continue;
        }
        if (mode == Mode::Select)
            glLoadName(LinePickName(i));
        if (batched && !line.Selected) {
            batch.Use(line.Color);
            batch.Add(a.X, a.Y, a.Z);
            batch.Add(b.X, b.Y, b.Z);
            continue;
        }
        batch.Flush();
        if (line.Selected) {
            glLineWidth(5);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x0FFF);
        }
        glColor3f(line.Color.R, line.Color.G, line.Color.B);
        glBegin(GL_LINES);
        glVertex3f(a.X, a.Y, a.Z);
        glVertex3f(b.X, b.Y, b.Z);
        glEnd();
        if (line.Selected) {
            glLineWidth(1.5f);
            glDisable(GL_LINE_STIPPLE);
        }
    }
    batch.Flush();
}

void TViewForm::DrawVisLines() {
    const auto& vs = project_.Vertices;
    glLineWidth(0.3f);
    glBegin(GL_LINES);
    for (const ObjectData& line : project_.VisLines) {
        if (line.VertexIndices.size() < 2 || !ValidIndex(line.VertexIndices[0], vs.size()) ||
            !ValidIndex(line.VertexIndices[1], vs.size()))
            continue;
        const Vertex& a = vs[line.VertexIndices[0]];
        const Vertex& b = vs[line.VertexIndices[1]];
        glColor3f(line.Color.R, line.Color.G, line.Color.B);
        glVertex3f(a.X, a.Y, a.Z);
        glVertex3f(b.X, b.Y, b.Z);
    }
    glEnd();
}

void TViewForm::DrawPolygonShape(const ObjectData& polygon, bool shownTextured) {
    const auto& vs = project_.Vertices;
    if (shownTextured)
        glColor3f(1, 1, 1);
    else
        glColor3f(polygon.Color.R, polygon.Color.G, polygon.Color.B);
    glBegin(GL_POLYGON);
    const std::size_t corners = polygon.VertexIndices.size() - 1;
    for (std::size_t k = 0; k < corners; ++k) {
        if (shownTextured) {
            TexCoord t = k < polygon.TexCoords.size() ? polygon.TexCoords[k] : TexCoord{};
            glTexCoord2f(t.U, t.V);
        }
        const Vertex& v = vs[polygon.VertexIndices[k]];
        glVertex3f(v.X, v.Y, v.Z);
    }
    glEnd();
}

void TViewForm::DrawPolygons(Mode mode, const Mat4* cull) {
    const auto& vs = project_.Vertices;
    const bool showTextures = project_.Options.ShowTextures;
    const std::size_t usableTextures = UsableTextureObjects();
    // The screen pass sends runs of plain polygons (no mask, not selected, the same colour
    // and texture or none) as one array of triangles, split as the renderer splits GL_POLYGON
    // (corners k, k + 1, 0). With the colour constant over a run instead of given per corner
    // a channel may round differently by one step: no visible change.
    const bool batched = mode == Mode::Render && !literal_;
    Batch batch(GL_TRIANGLES);
    for (std::size_t i = 0; i < project_.Polygons.size(); ++i) {
        const ObjectData& poly = project_.Polygons[i];
        if (poly.VertexIndices.size() < 2 ||
            !std::all_of(poly.VertexIndices.begin(), poly.VertexIndices.end(),
                         [&](int32_t k) { return ValidIndex(k, vs.size()); }))
            continue;
        if (cull) {
            Box3 box = PointBox(vs[poly.VertexIndices[0]], 0);
            for (int32_t k : poly.VertexIndices)
                Grow(box, vs[k]);
            if (BoxOutsideFrustum(*cull, box))
                continue;
        }
        if (mode == Mode::Select)
            glLoadName(PolygonPickName(i));
        const bool textured =
            poly.TextureIndex < kUntextured && ValidIndex(poly.TextureIndex, usableTextures);
        const bool shown = textured && showTextures;
        const bool masked = textured && !project_.Textures[poly.TextureIndex].MaskFilename.empty();
        const TextureObject* objects = textured ? &textureObjects_[poly.TextureIndex] : nullptr;
        if (batched && !masked && !poly.Selected) {
            batch.Use(shown ? ColorTriple{1, 1, 1} : poly.Color, shown ? objects->Image : 0);
            const std::size_t corners = poly.VertexIndices.size() - 1;
            auto corner = [&](std::size_t k) {
                const Vertex& v = vs[poly.VertexIndices[k]];
                if (shown)
                    batch.Add(v.X, v.Y, v.Z,
                              k < poly.TexCoords.size() ? poly.TexCoords[k] : TexCoord{});
                else
                    batch.Add(v.X, v.Y, v.Z);
            };
            for (std::size_t k = 1; k + 1 < corners; ++k) {
                corner(k);
                corner(k + 1);
                corner(0);
            }
            continue;
        }
        batch.Flush();
        if (masked) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            if (shown) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, objects->Mask);
            }
            DrawPolygonShape(poly, shown);
            glDisable(GL_DEPTH_TEST);
            glBlendFunc(GL_ONE, GL_ONE);
        }
        if (shown) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, objects->Image);
        }
        DrawPolygonShape(poly, shown);
        if (masked) {
            glEnable(GL_DEPTH_TEST);
            glDisable(GL_BLEND);
        }
        glDisable(GL_TEXTURE_2D);
        if (poly.Selected) {
            glLineWidth(5);
            glColor3f(1 - poly.Color.R, 1 - poly.Color.G, 1 - poly.Color.B);
            glBegin(GL_LINE_STRIP);
            for (int32_t k : poly.VertexIndices)
                glVertex3f(vs[k].X, vs[k].Y, vs[k].Z);
            glEnd();
            glLineWidth(1.5f);
        }
    }
    batch.Flush();
}

void TViewForm::DrawAxis() {
    const float a = float(project_.Options.AxisSize);
    glLineWidth(3);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(a, 0, 0);
    glColor3f(0, 1, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(0, a, 0);
    glColor3f(0, 0, 1);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 0, a);
    glEnd();
}

void TViewForm::DrawGrid() {
    const GridLattice lattice = GridLatticeOf(project_.Box);
    if (!lattice.Drawn)
        return;
    const double g = general_.GridScale;
    ColorTriple c = GridColorTripleOf(general_.GridColor);
    glPointSize(float(general_.GridSize) / 10.0f);
    glColor3f(c.R, c.G, c.B);
    glBegin(GL_POINTS);
    for (long long i = lattice.X0; i <= lattice.X1; ++i)
        for (long long j = lattice.Y0; j <= lattice.Y1; ++j)
            for (long long k = lattice.Z0; k <= lattice.Z1; ++k)
                glVertex3d(g * double(i), g * double(j), g * double(k));
    glEnd();
}

} // namespace meshforge::gui
