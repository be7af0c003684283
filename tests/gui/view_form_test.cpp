// The 3D view on Mesa's software renderer: what a frame shows and what a pick finds.
#include "fake_ui.h"
#include "gui/view/view_form.h"
#include "keep_gl_driver.h"
#include "model/project.h"
#include "settings/settings.h"
#include "wait.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace meshforge;
using meshforge::gui::TViewForm;
using meshforge::test::FakeUi;

namespace {

ObjectData Polygon(std::vector<int32_t> ring, ColorTriple color, int32_t texture = kUntextured) {
    ObjectData p;
    p.Color = color;
    p.VertexIndices = std::move(ring);
    p.TextureIndex = texture;
    return p;
}

QRgb Rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}

// Channels within one step of 255 of each other: the renderer rounds colours.
bool Near(QRgb a, QRgb b) { // alpha is not compared: the background is cleared with alpha 0
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
}

} // namespace

class ViewFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_; // each case has its own bitmaps
    Project project_;
    EditorState editor_;
    GeneralOptions general_;
    FakeUi ui_;
    std::unique_ptr<TViewForm> view_;

    QRgb Pixel(int x, int y) {
        view_->Redraw();
        QImage frame = view_->grabFramebuffer();
        return frame.pixel(x, y);
    }
    QRgb Centre() { return Pixel(view_->width() / 2, view_->height() / 2); }

    // A 200 x 200 square in the plane z = 0 around the origin, seen from the top.
    void Square(ColorTriple color, int32_t texture = kUntextured) {
        project_.Vertices = {{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0}};
        project_.Polygons = {Polygon({0, 1, 2, 3, 0}, color, texture)};
        if (texture != kUntextured)
            project_.Polygons[0].TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
        project_.HasGeometry = project_.GeometryShown = true;
        UpdateBoundingBox(project_);
    }

    std::string Bitmap(const char* name, QColor color) {
        QImage image(4, 4, QImage::Format_RGB888);
        image.fill(color);
        QString path = dir_->filePath(name);
        image.save(path, "BMP");
        return path.toStdString();
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        project_ = Project{};
        general_ = GeneralOptions{};
        ui_ = FakeUi{};
        view_ = std::make_unique<TViewForm>(project_, editor_, general_, ui_, ui_,
                                            dir_->path().toStdString() + "/");
        view_->resize(200, 160);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get(), kGuiWaitMs));
        // Seen straight from the top, orthographic, 60 units left and right of the centre.
        view_->PresetClick(ViewKind::Top);
        project_.Options.Perspective = false;
        project_.Options.Zoom = 10;
        project_.Options.VerticesVisible = project_.Options.ShowVertices = false;
    }
    void cleanup() {
        view_.reset();
        ui_.Verify();
        dir_.reset();
    }

    void emptyProjectShowsOnlyTheBackground() {
        project_.Options.ShowAxis = true;
        general_.ShowGrid = true;
        SetBackgroundColor(project_.Options, "$00FF0000");
        QImage frame = (view_->Redraw(), view_->grabFramebuffer());
        for (int y = 0; y < frame.height(); y += 7)
            for (int x = 0; x < frame.width(); x += 7)
                QCOMPARE(frame.pixel(x, y) & 0xFFFFFFu, Rgb(0, 0, 255) & 0xFFFFFFu);
    }

    void flatPolygonInBothProjections() {
        Square({1, 0, 0});
        QVERIFY(Near(Centre(), Rgb(255, 0, 0)));
        project_.Options.Perspective = true;
        project_.Options.Zoom = 70;
        QVERIFY(Near(Centre(), Rgb(255, 0, 0)));
        project_.Options.ShowPolygons = false;
        QVERIFY(Near(Centre(), Rgb(255, 255, 255)));
    }

    void texturedPolygonAndAnUnreadableBitmap() {
        Square({1, 0, 0}, 0);
        project_.Textures.push_back({Bitmap("green.bmp", Qt::green), 0, "", 1, 0});
        // A changed texture list is the view's to follow: its next frame makes the objects.
        TexturesChanged(project_);
        QVERIFY2(Near(Centre(), Rgb(255, 0, 0)), "Show Textures is off");
        QCOMPARE(view_->TextureObjectCount(), std::size_t(1));
        project_.Options.ShowTextures = true;
        QVERIFY(Near(Centre(), Rgb(0, 255, 0)));
        // Another texture list (a reset and a read) before the rebuild: the objects made for
        // the old one are not used for it.
        const std::string green = project_.Textures[0].Filename;
        project_.Textures[0].Filename = Bitmap("blue.bmp", Qt::blue);
        QVERIFY(Near(Centre(), Rgb(255, 0, 0)));
        project_.Textures[0].Filename = green;
        QVERIFY(Near(Centre(), Rgb(0, 255, 0)));

        project_.Textures[0].Filename = dir_->filePath("missing.bmp").toStdString();
        view_->RebuildTextureLibrary();
        QCOMPARE(ui_.log.back(), "Bitmap " + project_.Textures[0].Filename +
                                     " could not be read: shown as a checkerboard");
        // Magenta and black squares, filtered: no green, as much blue as red.
        QRgb c = Centre();
        QVERIFY2(qGreen(c) < 3 && std::abs(qRed(c) - qBlue(c)) < 3 && qRed(c) > 50,
                 qPrintable(QColor(c).name()));
    }

    void maskPassMultipliesWithTheMask() {
        // Mask pass: destination x mask; then the image is added. A black mask leaves the
        // texture alone on top of black, a white one adds the texture to the background.
        Square({1, 0, 0}, 0);
        project_.Options.ShowTextures = true;
        SetBackgroundColor(project_.Options, "$00000080"); // dark red background
        project_.Textures.push_back(
            {Bitmap("blue.bmp", QColor(0, 0, 255)), 1, Bitmap("black.bmp", Qt::black), 1, 0});
        view_->RebuildTextureLibrary();
        QVERIFY(Near(Centre(), Rgb(0, 0, 255)));
        project_.Textures[0].MaskFilename = Bitmap("white.bmp", Qt::white);
        view_->RebuildTextureLibrary();
        QVERIFY(Near(Centre(), Rgb(128, 0, 255)));
    }

    void maskPassRunsWithTexturesOff() {
        // Flat colour c over background b: the mask pass leaves b x c, the main pass adds c.
        Square({0.4f, 0.4f, 0.4f}, 0);
        SetBackgroundColor(project_.Options, "$00000080");
        project_.Textures.push_back(
            {Bitmap("t.bmp", Qt::blue), 1, Bitmap("k.bmp", Qt::black), 1, 0});
        view_->RebuildTextureLibrary();
        QVERIFY2(Near(Centre(), Rgb(153, 102, 102)), qPrintable(QColor(Centre()).name()));
        project_.Textures[0].MaskFilename.clear();
        QVERIFY(Near(Centre(), Rgb(102, 102, 102)));
    }

    void selectedPolygonOutlineInTheInverseColour() {
        Square({0.2f, 0.4f, 1});
        project_.Polygons[0].Selected = true;
        // Zoomed out to a half-width of 120 units, the edge x = -100 is 16.7 pixels from the
        // left; the 5-pixel outline reaches 2 pixels beyond the fill there.
        project_.Options.Zoom = 20;
        const int x = int(std::lround(view_->width() / 2.0 * (1 - 100.0 / 120.0))) - 2;
        QRgb edge = Pixel(x, view_->height() / 2);
        QVERIFY2(Near(edge, Rgb(204, 153, 0)), qPrintable(QColor(edge).name()));
    }

    void picksNameVerticesLinesAndPolygons() {
        Square({1, 0, 0});
        project_.Vertices.push_back({0, 0, 0});
        project_.Vertices.push_back({0, 0, 0});
        project_.Lines.push_back({{0, 0, 0}, {4, 2}, 0, {}});
        project_.Options.VerticesVisible = true;
        const int cx = view_->width() / 2, cy = view_->height() / 2;
        std::vector<uint32_t> names = view_->PickAt(cx, cy);
        QCOMPARE(names, (std::vector<uint32_t>{VertexPickName(4), VertexPickName(5),
                                               LinePickName(0), PolygonPickName(0)}));
        QCOMPARE(HoverText(project_, names).value_or("off"),
                 std::string("Polygon No. 0\r\nTexture Name: Untextured"));
        // A corner of the view far outside the square hits nothing.
        project_.Options.Zoom = 100;
        QVERIFY(view_->PickAt(1, 1).empty());
    }

    void namesStayApartBeyondTenThousand() {
        for (int i = 0; i < 10001; ++i)
            project_.Vertices.push_back({float(1000 + i), 1000, 0});
        project_.Vertices.push_back({0, 0, 0}); // vertex 10001 at the centre
        for (int i = 0; i < 10001; ++i)
            project_.Polygons.push_back(Polygon({0, 1, 2, 0}, {0, 0, 1}));
        project_.Polygons.push_back(Polygon({10001, 10001, 10001, 10001}, {0, 0, 1}));
        project_.HasGeometry = project_.GeometryShown = true;
        UpdateBoundingBox(project_);
        view_->PresetClick(ViewKind::Top);
        project_.Options.VerticesVisible = true;
        project_.Options.Perspective = false;
        project_.Options.Zoom = 10;
        project_.Box.CenterX = project_.Box.CenterY = project_.Box.CenterZ = 0;
        std::vector<uint32_t> names = view_->PickAt(view_->width() / 2, view_->height() / 2);
        QVERIFY(!names.empty());
        QCOMPARE(names, (std::vector<uint32_t>{VertexPickName(10001), PolygonPickName(10001)}));
        QCOMPARE(DecodePickName(names[0]), (PickHit{PickHit::Kind::Vertex, 10001}));
        QCOMPARE(DecodePickName(names[1]), (PickHit{PickHit::Kind::Polygon, 10001}));
    }

    void overflowingHitsAreAllReported() {
        project_.Vertices.assign(300, Vertex{0, 0, 0, false});
        project_.HasGeometry = project_.GeometryShown = true;
        project_.Options.VerticesVisible = true;
        UpdateBoundingBox(project_);
        std::vector<uint32_t> names = view_->PickAt(view_->width() / 2, view_->height() / 2);
        QCOMPARE(names.size(), std::size_t(300));
        QCOMPARE(names.back(), VertexPickName(299));
    }

    void skippingUnreachableObjectsChangesNoPick() {
        std::mt19937 random(20261208);
        std::uniform_real_distribution<float> coord(-150, 150);
        std::uniform_int_distribution<int> pixelX(0, view_->width() - 1),
            pixelY(0, view_->height() - 1);
        for (int scene = 0; scene < 6; ++scene) {
            project_ = Project{};
            const int n = 60 + scene * 40;
            for (int i = 0; i < n; ++i)
                project_.Vertices.push_back({coord(random), coord(random), coord(random)});
            std::uniform_int_distribution<int> vertex(0, n - 1);
            for (int i = 0; i < n / 2; ++i) {
                int a = vertex(random), b = vertex(random), c = vertex(random);
                project_.Lines.push_back({{0.1f, 0.2f, 0.3f}, {a, b}, 0, {}, i % 7 == 0});
                project_.Polygons.push_back(Polygon({a, b, c, a}, {0.5f, 0.5f, 0.5f}));
            }
            project_.VisLines.push_back({{0, 0, 0}, {0, 1}, 0, {}});
            project_.HasGeometry = project_.GeometryShown = true;
            project_.Options.VerticesVisible = true;
            project_.Options.ShowAxis = scene % 2 == 0;
            project_.Options.VertexDisplaySize = 10 + scene * 5;
            project_.Options.Perspective = scene % 3 != 0;
            project_.Options.Zoom = 40 + scene * 15;
            project_.Options.RotationX = scene * 37;
            project_.Options.RotationY = scene * 11;
            UpdateBoundingBox(project_);
            view_->Camera().Kind = static_cast<ViewKind>(1 + scene % 7);
            int hits = 0;
            for (int k = 0; k < 40; ++k) {
                int x = pixelX(random), y = pixelY(random);
                std::vector<uint32_t> fast = view_->PickAt(x, y, true);
                std::vector<uint32_t> fastRecords = view_->LastSelectionRecords();
                std::vector<uint32_t> full = view_->PickAt(x, y, false);
                QCOMPARE(fast, full);
                QCOMPARE(fastRecords, view_->LastSelectionRecords());
                hits += !full.empty();
            }
            QVERIFY2(hits > 0, "the scenes must be hit at all");
        }
    }

    void cpuPickNamesWhatTheSelectionPassNames() {
        // Random scenes with every kind of primitive the view draws, in both projections, with
        // and without back faces; polygons of up to six corners, not all flat or convex, some
        // of no area. Picks near the objects more often than the plain random pixel would.
        std::mt19937 random(20261209);
        std::uniform_real_distribution<float> coord(-120, 120);
        std::uniform_int_distribution<int> pixelX(0, view_->width() - 1),
            pixelY(0, view_->height() - 1), corners(3, 6), percent(0, 99);
        int hits = 0, picks = 0;
        for (int scene = 0; scene < 24; ++scene) {
            project_ = Project{};
            const int n = 30 + scene * 7;
            general_.ShowGrid = scene % 4 == 1;
            // A grid over the whole box would be left out: its scenes are smaller. Others reach
            // behind the eye, 1,000 units from the centre, and across the near plane.
            const float shrink = general_.ShowGrid ? 0.1f : scene % 6 == 4 ? 12 : 1;
            for (int i = 0; i < n; ++i)
                project_.Vertices.push_back({shrink * coord(random), shrink * coord(random),
                                             shrink * coord(random), percent(random) < 10});
            std::uniform_int_distribution<int> vertex(0, n - 1);
            for (int i = 0; i < n / 2; ++i) {
                project_.Lines.push_back(
                    {{0.1f, 0.2f, 0.3f}, {vertex(random), vertex(random)}, 0, {}, i % 7 == 0});
                std::vector<int32_t> ring;
                const int k = corners(random);
                for (int c = 0; c < k; ++c)
                    ring.push_back(percent(random) < 5 && c ? ring.back() : vertex(random));
                ring.push_back(ring.front());
                ObjectData polygon = Polygon(ring, {0.5f, 0.5f, 0.5f});
                polygon.Selected = i % 9 == 0;
                project_.Polygons.push_back(polygon);
            }
            project_.VisLines.push_back({{0, 0, 0}, {0, 1}, 0, {}});
            project_.HasGeometry = project_.GeometryShown = true;
            ViewOptions& o = project_.Options;
            o.VerticesVisible = scene % 4 != 3;
            o.ShowLines = scene % 5 != 4;
            o.ShowPolygons = scene % 6 != 5;
            o.ShowAxis = scene % 2 == 0;
            o.AxisSize = 60;
            o.VertexDisplaySize = 5 + scene % 4 * 10;
            o.Perspective = scene % 3 != 0;
            o.Zoom = 30 + scene * 5;
            o.RotationX = scene * 37;
            o.RotationY = scene * 11;
            o.RotationZ = scene * 23;
            UpdateBoundingBox(project_);
            general_.ShowBackside = scene % 2 == 1;
            general_.GridScale = 1 + scene % 3 * 20;
            editor_.PivotVertex = scene % 3 == 1 ? vertex(random) : -1;
            view_->Camera().OriginPivot = scene % 5 == 2;
            view_->Camera().Kind = static_cast<ViewKind>(1 + scene % 7);
            view_->Redraw(); // the back-face state of the pass comes from the last frame
            const int w = view_->width(), h = view_->height();
            const Mat4 m = SceneMatrix(o, view_->Camera(), project_.Box, w, h);
            // The pixel whose pick region holds the point (the region is centred on the corner
            // of the pixel).
            auto seenAt = [&](double px, double py, double pz, int& x, int& y) {
                const double cw = m(3, 0) * px + m(3, 1) * py + m(3, 2) * pz + m(3, 3);
                const double cx = m(0, 0) * px + m(0, 1) * py + m(0, 2) * pz + m(0, 3);
                const double cy = m(1, 0) * px + m(1, 1) * py + m(1, 2) * pz + m(1, 3);
                x = std::clamp(int(std::lround((cx / cw + 1) / 2 * w)), 0, w - 1);
                y = std::clamp(int(std::lround((1 - cy / cw) / 2 * h)), 0, h - 1);
            };
            std::uniform_int_distribution<int> near(-4, 4), lattice(-4, 4);
            for (int k = 0; k < 60; ++k) {
                int x = pixelX(random), y = pixelY(random);
                if (general_.ShowGrid && k % 4 == 3) { // on a grid point
                    const double g = general_.GridScale;
                    seenAt(g * lattice(random), g * lattice(random), g * lattice(random), x, y);
                } else if (k % 2) { // near a vertex (or a corner of its objects)
                    const Vertex& v = project_.Vertices[vertex(random)];
                    seenAt(v.X, v.Y, v.Z, x, y);
                    x = std::clamp(x + near(random), 0, w - 1);
                    y = std::clamp(y + near(random), 0, h - 1);
                }
                std::vector<uint32_t> cpu = view_->PickOnCpu(x, y);
                std::vector<uint32_t> pass = view_->PickAt(x, y, false);
                QVERIFY2(cpu == pass, qPrintable(QString("scene %1, pixel %2, %3: %4 names, "
                                                         "selection pass %5")
                                                     .arg(scene)
                                                     .arg(x)
                                                     .arg(y)
                                                     .arg(cpu.size())
                                                     .arg(pass.size())));
                hits += !pass.empty();
                ++picks;
            }
        }
        QVERIFY2(hits > picks / 4 && hits < picks, qPrintable(QString::number(hits)));
    }

    void hoverShowsTheObjectUnderTheMouse() {
        Square({1, 0, 0});
        view_->Redraw();
        QTest::mouseMove(view_.get(), QPoint(view_->width() / 2, view_->height() / 2));
        QTRY_COMPARE_WITH_TIMEOUT(view_->toolTip(),
                                  QString("Polygon No. 0\r\nTexture Name: Untextured"), kGuiWaitMs);
        project_.Options.Zoom = 100; // the square now leaves the view's corner empty
        QTest::mouseMove(view_.get(), QPoint(2, 2));
        QTRY_COMPARE_WITH_TIMEOUT(view_->toolTip(), QString(), kGuiWaitMs);
    }

    void fastDrawingLeavesEveryPixelAsTheLiteralOne() {
        // Everything but the spheres (whose tessellation may differ): runs of one colour and
        // texture, colour changes, selected lines and polygons, masks, untextured polygons
        // between textured ones.
        project_.Textures.push_back({Bitmap("a.bmp", QColor(200, 30, 30)), 0, "", 1, 0});
        project_.Textures.push_back({Bitmap("b.bmp", QColor(30, 200, 30)), 1,
                                     Bitmap("m.bmp", QColor(128, 128, 128)), 1, 0});
        view_->RebuildTextureLibrary();
        std::mt19937 random(7);
        std::uniform_real_distribution<float> coord(-60, 60);
        std::uniform_int_distribution<int> pick(0, 9);
        for (int i = 0; i < 120; ++i)
            project_.Vertices.push_back({coord(random), coord(random), coord(random)});
        for (int i = 0; i + 3 < 120; i += 2) {
            int kind = pick(random);
            ObjectData p =
                Polygon({i, i + 1, i + 2, i + 3, i}, {kind < 5 ? 0.3f : 0.7f, 0.5f, 0.2f},
                        kind < 4   ? 0
                        : kind < 6 ? 1
                                   : kUntextured);
            p.TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
            p.Selected = kind == 9;
            project_.Polygons.push_back(p);
            project_.Lines.push_back({{kind < 5 ? 0.f : 1.f, 0, 0}, {i, i + 3}, 0, {}, kind == 8});
        }
        project_.HasGeometry = project_.GeometryShown = true;
        UpdateBoundingBox(project_);
        project_.Options.Perspective = true;
        project_.Options.Zoom = 30;
        project_.Options.RotationX = 40;
        for (bool textures : {false, true}) {
            project_.Options.ShowTextures = textures;
            view_->SetLiteralPath(true);
            QImage literal = (view_->Redraw(), view_->grabFramebuffer());
            view_->SetLiteralPath(false);
            QImage fast = (view_->Redraw(), view_->grabFramebuffer());
            QCOMPARE(fast.size(), literal.size());
            // The same pixels are covered, each channel at most one rounding step apart.
            int worst = 0;
            for (int y = 0; y < fast.height(); ++y)
                for (int x = 0; x < fast.width(); ++x) {
                    QRgb f = fast.pixel(x, y), l = literal.pixel(x, y);
                    worst =
                        std::max({worst, std::abs(qRed(f) - qRed(l)),
                                  std::abs(qGreen(f) - qGreen(l)), std::abs(qBlue(f) - qBlue(l))});
                }
            QVERIFY2(worst <= 1, qPrintable(QString("channel difference %1").arg(worst)));
            QVERIFY(literal != (project_.Options.ShowPolygons = false, view_->Redraw(),
                                view_->grabFramebuffer()));
            project_.Options.ShowPolygons = true;
        }
    }

    void zoomAtZeroOrBelowStillDraws() {
        Square({1, 0, 0});
        project_.Options.Perspective = true;
        project_.Options.Zoom = 1;
        QWheelEvent down(QPointF(10, 10), view_->mapToGlobal(QPointF(10, 10)), QPoint(),
                         QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view_.get(), &down);
        QCOMPARE(project_.Options.Zoom, -2);
        QCoreApplication::sendEvent(view_.get(), &down);
        QCOMPARE(project_.Options.Zoom, -2); // the bound is tested before the step
        QVERIFY(Near(Centre(), Rgb(255, 0, 0)));
        QVERIFY(!view_->PickAt(view_->width() / 2, view_->height() / 2).empty());
    }
};

QTEST_MAIN(ViewFormTest)
#include "view_form_test.moc"
