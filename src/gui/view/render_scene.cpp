// Drawing the scene (on the screen and in selection mode), the vertex spheres, the texture
// objects and picking.
#include "gui/view/view_form.h"

#include "model/project.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "ui/ui.h"

#include <QImage>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace meshforge::gui {

namespace {

// Grids beyond this many points are left out: a lattice over a large object (a terrain
// several kilometres wide) would otherwise stop the program drawing at all.
constexpr long long kMaxGridPoints = 2'000'000;

struct Level {
    int slices, stacks;
    double maxPixelRadius;
};
// A sphere a pixel or two across needs only a handful of triangles; a large one stays round.
constexpr Level kLevels[] = {{4, 2, 1.5},  {6, 4, 3},    {8, 6, 6},      {12, 8, 12},
                             {16, 12, 30}, {24, 16, 80}, {32, 24, 1e300}};

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

// Unit spheres of plain triangles, one per tessellation level, both as display lists (for the
// selection pass, which names each sphere; a list of one primitive type is safe to call there)
// and as vertex lists that the screen pass copies into one array for all spheres.
class SphereCache {
  public:
    SphereCache() {
        base_ = glGenLists(std::size(kLevels));
        for (std::size_t l = 0; l < std::size(kLevels); ++l) {
            triangles_[l] = Tessellate(kLevels[l].slices, kLevels[l].stacks);
            glNewList(base_ + GLuint(l), GL_COMPILE);
            glBegin(GL_TRIANGLES);
            for (std::size_t k = 0; k < triangles_[l].size(); k += 3)
                glVertex3f(triangles_[l][k], triangles_[l][k + 1], triangles_[l][k + 2]);
            glEnd();
            glEndList();
        }
    }
    ~SphereCache() { glDeleteLists(base_, std::size(kLevels)); }
    SphereCache(const SphereCache&) = delete;
    SphereCache& operator=(const SphereCache&) = delete;

    static std::size_t LevelFor(double pixelRadius) {
        std::size_t l = 0;
        while (l + 1 < std::size(kLevels) && pixelRadius > kLevels[l].maxPixelRadius)
            ++l;
        return l;
    }
    void Draw(std::size_t level) const { glCallList(base_ + GLuint(level)); }
    // x, y, z of each corner of each triangle, on the unit sphere.
    const std::vector<float>& Triangles(std::size_t level) const { return triangles_[level]; }

  private:
    static std::vector<float> Tessellate(int slices, int stacks) {
        std::vector<float> out;
        auto point = [&](int i, int j) {
            double theta = std::numbers::pi * i / stacks;
            double phi = 2 * std::numbers::pi * j / slices;
            out.push_back(float(std::sin(theta) * std::cos(phi)));
            out.push_back(float(std::sin(theta) * std::sin(phi)));
            out.push_back(float(std::cos(theta)));
        };
        for (int i = 0; i < stacks; ++i)
            for (int j = 0; j < slices; ++j) {
                // The triangles that would collapse onto a pole are left out.
                if (i + 1 < stacks) {
                    point(i, j);
                    point(i + 1, j);
                    point(i + 1, j + 1);
                }
                if (i > 0) {
                    point(i, j);
                    point(i + 1, j + 1);
                    point(i, j + 1);
                }
            }
        return out;
    }
    GLuint base_ = 0;
    std::vector<float> triangles_[std::size(kLevels)];
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
    const double radius = o.VertexDisplaySize / 15.0;
    const ColorTriple& normal = o.VertexRgb;
    const ColorTriple& selected = o.SelectedVertexRgb;
    const int h = height() * devicePixelRatio();
    const ProjectionParams proj = ProjectionFor(o.Perspective, o.Zoom, width(), height());
    // Pixels per unit of clip-space y, for the tessellation each sphere needs on the screen.
    const double yScale = proj.Perspective
                              ? 1.0 / std::tan(std::max(proj.FovY, 1e-6) * std::numbers::pi / 360.0)
                              : 2.0 / std::max(proj.Top - proj.Bottom, 1e-12);
    ColorTriple current = normal;
    GLUquadric* quadric = literal_ ? gluNewQuadric() : nullptr;
    const bool batched = mode == Mode::Render && !literal_;
    Batch batch(GL_TRIANGLES);
    auto sphere = [&](const Vertex& v, double r, std::size_t level) {
        if (batched) {
            const std::vector<float>& unit = spheres_->Triangles(level);
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
        const double r = v.Selected ? radius * 1.5 : radius;
        if (cull && BoxOutsideFrustum(*cull, PointBox(v, pivot ? radius * 3 : r)))
            continue;
        if (mode == Mode::Select)
            glLoadName(VertexPickName(i));
        double clipW = scene(3, 0) * v.X + scene(3, 1) * v.Y + scene(3, 2) * v.Z + scene(3, 3);
        double pixels = clipW > 0 ? r * yScale * h / 2 / clipW : 0;
        current = v.Selected ? selected : normal;
        glColor3f(current.R, current.G, current.B);
        sphere(v, r, SphereCache::LevelFor(pixels));
        if (pivot) {
            current = selected;
            glColor3f(selected.R, selected.G, selected.B);
            sphere(v, radius * 3, SphereCache::LevelFor(pixels * 3 * radius / std::max(r, 1e-12)));
        }
    }
    if (view_.OriginPivot) {
        current = selected;
        glColor3f(selected.R, selected.G, selected.B);
        sphere(Vertex{0, 0, 0, false}, radius * 3, SphereCache::LevelFor(40));
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
    const BoundingBox& b = project_.Box;
    const long long x0 = std::llround(b.MinX), x1 = std::llround(b.MaxX);
    const long long y0 = std::llround(b.MinY), y1 = std::llround(b.MaxY);
    const long long z0 = std::llround(b.MinZ), z1 = std::llround(b.MaxZ);
    const double count = double(x1 - x0 + 1) * double(y1 - y0 + 1) * double(z1 - z0 + 1);
    if (x1 < x0 || y1 < y0 || z1 < z0 || count > kMaxGridPoints)
        return;
    const double g = general_.GridScale;
    ColorTriple c = GridColorTripleOf(general_.GridColor);
    glPointSize(float(general_.GridSize) / 10.0f);
    glColor3f(c.R, c.G, c.B);
    glBegin(GL_POINTS);
    for (long long i = x0; i <= x1; ++i)
        for (long long j = y0; j <= y1; ++j)
            for (long long k = z0; k <= z1; ++k)
                glVertex3d(g * double(i), g * double(j), g * double(k));
    glEnd();
}

} // namespace meshforge::gui
