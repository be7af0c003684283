#include "gui/view/view_form.h"

#include "model/project.h"
#include "settings/settings.h"
#include "ui/ui.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>

#include <GL/gl.h>

namespace meshforge::gui {

namespace {
std::string GlString(GLenum name) {
    const GLubyte* s = glGetString(name);
    return s ? reinterpret_cast<const char*>(s) : std::string();
}
} // namespace

QSurfaceFormat TViewForm::ContextFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    f.setRedBufferSize(8);
    f.setGreenBufferSize(8);
    f.setBlueBufferSize(8);
    f.setAlphaBufferSize(8);
    f.setDepthBufferSize(24);
    f.setStencilBufferSize(0);
    return f;
}

TViewForm::TViewForm(Project& project, EditorState& editor, const GeneralOptions& general, Ui& ui,
                     PickPrompts& prompts, std::string fallbackMask, QWidget* parent)
    : QOpenGLWidget(parent), project_(project), editor_(editor), general_(general), ui_(ui),
      prompts_(prompts), pick_(editor), fallbackMask_(std::move(fallbackMask)) {
    setObjectName("ViewForm");
    setFormat(ContextFormat());
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, &TViewForm::TimerTick);

    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName("PopupMenu1");
    auto entry = [&](const char* name, const char* caption, std::function<void()> handler) {
        QAction* a = popupMenu_->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [handler] { handler(); });
        return a;
    };
    entry("ResetView", "Reset View", [this] { ResetViewClick(); });
    entry("ZoomAll", "Zoom All", [this] { ZoomAllClick(); });
    popupMenu_->addSeparator();
    perspectiveMenu_ =
        entry("PerspectiveMenu", "Perspective View", [this] { PerspectiveMenuClick(); });
    perspectiveMenu_->setCheckable(true);
    perspectiveMenu_->setChecked(true);
    popupMenu_->addSeparator();
    entry("LeftViewMenu", "Left", [this] { PresetClick(ViewKind::Left); });
    entry("RightViewMenu", "Right", [this] { PresetClick(ViewKind::Right); });
    entry("FrontViewMenu", "Front", [this] { PresetClick(ViewKind::Front); });
    entry("BackViewMenu", "Back", [this] { PresetClick(ViewKind::Back); });
    entry("TopViewMenu", "Top", [this] { PresetClick(ViewKind::Top); });
    entry("BottomViewMenu", "Bottom", [this] { PresetClick(ViewKind::Bottom); });
    entry("CustomViewMenu", "Custom", [this] { PresetClick(ViewKind::Custom); });
}

void TViewForm::initializeGL() {
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glClearDepth(1.0);
    glDepthFunc(GL_LESS);
    CreateSpheres();
    glReady_ = true;
}

void TViewForm::resizeGL(int w, int h) {
    glViewport(0, 0, w, h);
}

void TViewForm::ApplyFaceCulling() {
    if (general_.ShowBackside) {
        glDisable(GL_CULL_FACE);
    } else {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
}

void TViewForm::FramePaint() {
    ApplyFaceCulling();
    const ColorTriple& bg = project_.Options.BackgroundRgb;
    glClearColor(bg.R, bg.G, bg.B, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPushMatrix();
    RenderScene(Mode::Render, Mat4{});
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void TViewForm::paintGL() {
    SyncTextureObjects();
    FramePaint();
    if (!painted_) {
        painted_ = true;
        if (firstPaint_)
            QTimer::singleShot(0, this, [this] { firstPaint_(); });
    }
}

void TViewForm::showEvent(QShowEvent* event) {
    QOpenGLWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    ViewOptions& o = project_.Options;
    o.Zoom = 70;
    o.RotationX = o.RotationY = o.RotationZ = 0;
    o.PanX = o.PanY = 0;
    view_.Kind = ViewKind::Custom;
}

void TViewForm::Redraw() {
    if (isVisible())
        repaint();
    else
        update();
}

ViewProbe TViewForm::Probe() {
    ViewProbe probe;
    probe.Width = width();
    probe.Height = height();
    if (!context())
        return probe;
    makeCurrent();
    probe.Renderer = GlString(GL_RENDERER);
    probe.Vendor = GlString(GL_VENDOR);
    probe.Version = GlString(GL_VERSION);
    probe.Extensions = GlString(GL_EXTENSIONS);
    doneCurrent();
    return probe;
}

// ---------------------------------------------------------------------------------------------
// Camera controls

void TViewForm::SetControls(const CameraControls& c) {
    controls_ = c;
    for (QScrollBar* bar : {c.X, c.Y, c.Z, c.Zoom}) {
        connect(bar, &QScrollBar::valueChanged, this, [this, bar](int v) { BarChanged(bar, v); });
        // The end of a scroll brings the vertices back.
        connect(bar, &QScrollBar::sliderReleased, this, [this] { Redraw(); });
    }
    for (QPushButton* button : {c.XRotate, c.YRotate, c.ZRotate})
        connect(button, &QPushButton::clicked, this, [this, button] { RotateButtonClick(button); });
}

void TViewForm::SyncControls() {
    if (!controls_.X)
        return;
    const ViewOptions o = project_.Options;
    for (auto [bar, value] :
         {std::pair{controls_.X, o.RotationX}, std::pair{controls_.Y, o.RotationY},
          std::pair{controls_.Z, o.RotationZ}, std::pair{controls_.Zoom, o.Zoom}}) {
        QSignalBlocker quiet(bar);
        bar->setValue(value);
    }
    perspectiveMenu_->setChecked(o.Perspective);
}

void TViewForm::BarChanged(QScrollBar* bar, int value) {
    ViewOptions& o = project_.Options;
    const bool zoom = bar == controls_.Zoom;
    if (bar == controls_.X) {
        o.RotationX = value;
        bar->setToolTip(QString("X-Rotation: %1").arg(value) + QChar(0xB0));
    } else if (bar == controls_.Y) {
        o.RotationY = value;
        bar->setToolTip(QString("Y-Rotation: %1").arg(value) + QChar(0xB0));
    } else if (bar == controls_.Z) {
        o.RotationZ = value;
        bar->setToolTip(QString("Z-Rotation: %1").arg(value) + QChar(0xB0));
    } else {
        o.Zoom = value;
        bar->setToolTip(QString("Zoom-Ratio: %1").arg(value));
    }
    // Spheres are left out while the camera moves (when there is something else to see).
    o.VerticesVisible = VerticesVisibleWhileMoving(project_, !zoom, o.ShowVertices);
    Redraw();
    o.VerticesVisible = o.ShowVertices;
    if (!bar->isSliderDown())
        Redraw();
}

void TViewForm::RotateButtonClick(QPushButton* button) {
    ViewOptions& o = project_.Options;
    QScrollBar* bar = button == controls_.XRotate   ? controls_.X
                      : button == controls_.YRotate ? controls_.Y
                                                    : controls_.Z;
    int angle = button == controls_.XRotate   ? o.RotationX
                : button == controls_.YRotate ? o.RotationY
                                              : o.RotationZ;
    const bool any = controls_.XRotate->isChecked() || controls_.YRotate->isChecked() ||
                     controls_.ZRotate->isChecked();
    if (any)
        timer_->start();
    else
        timer_->stop();
    {
        QSignalBlocker quiet(bar);
        bar->setValue(angle);
    }
    if (button->isChecked()) {
        bar->setEnabled(false);
        o.VerticesVisible = false;
    } else {
        bar->setEnabled(true);
        o.VerticesVisible = o.ShowVertices;
        Redraw();
    }
}

void TViewForm::TimerTick() {
    ViewOptions& o = project_.Options;
    if (controls_.XRotate->isChecked())
        o.RotationX = NextRotationAngle(o.RotationX);
    if (controls_.YRotate->isChecked())
        o.RotationY = NextRotationAngle(o.RotationY);
    if (controls_.ZRotate->isChecked())
        o.RotationZ = NextRotationAngle(o.RotationZ);
    Redraw();
}

void TViewForm::ResetViewClick() {
    timer_->stop();
    ViewOptions& o = project_.Options;
    for (QPushButton* b : {controls_.XRotate, controls_.YRotate, controls_.ZRotate})
        if (b)
            b->setChecked(false);
    for (QScrollBar* bar : {controls_.X, controls_.Y, controls_.Z})
        if (bar)
            bar->setEnabled(true);
    o.Zoom = 70;
    o.RotationX = o.RotationY = o.RotationZ = 0;
    o.VerticesVisible = o.ShowVertices;
    if (controls_.X) {
        QSignalBlocker a(controls_.X), b(controls_.Y), c(controls_.Z), d(controls_.Zoom);
        controls_.Zoom->setValue(70);
        controls_.X->setValue(0);
        controls_.Y->setValue(0);
        controls_.Z->setValue(0);
    }
    Redraw();
}

void TViewForm::PresetClick(ViewKind kind) {
    view_.Kind = kind;
    ResetViewClick();
    if (kind == ViewKind::Custom) {
        project_.Options.RotationZ = 45;
        // The zoom bar, not the Z bar, takes the 45: Zoom becomes 45, ZScrollBar stays 0.
        if (controls_.Zoom)
            controls_.Zoom->setValue(45);
        else
            project_.Options.Zoom = 45;
        Redraw();
    }
}

void TViewForm::ZoomAllClick() {
    ZoomAllValues z = ZoomAll(project_.Box);
    ViewOptions& o = project_.Options;
    o.Zoom = z.Zoom;
    if (controls_.Zoom) {
        QSignalBlocker quiet(controls_.Zoom);
        controls_.Zoom->setValue(z.Zoom);
        o.Zoom = controls_.Zoom->value(); // clamped to the bar's range
    }
    o.VertexDisplaySize = z.VertexDisplaySize;
    o.PanX = o.PanY = 0;
    Redraw();
}

void TViewForm::PerspectiveMenuClick() {
    project_.Options.Perspective = perspectiveMenu_->isChecked();
    Redraw();
}

void TViewForm::contextMenuEvent(QContextMenuEvent* event) {
    EndDrag();
    perspectiveMenu_->setChecked(project_.Options.Perspective);
    popupMenu_->exec(event->globalPos());
}

void TViewForm::keyPressEvent(QKeyEvent* event) {
    ViewOptions& o = project_.Options;
    auto step = [](QScrollBar* bar, int delta) {
        if (bar)
            bar->setValue(std::clamp(bar->value() + delta, bar->minimum(), bar->maximum()));
    };
    switch (event->key()) {
    case Qt::Key_Left:
        o.PanX -= 2;
        break;
    case Qt::Key_Right:
        o.PanX += 2;
        break;
    case Qt::Key_Up:
        o.PanY -= 2;
        break;
    case Qt::Key_Down:
        o.PanY += 2;
        break;
    case Qt::Key_F1:
        step(controls_.X, 1);
        break;
    case Qt::Key_F2:
        step(controls_.X, -1);
        break;
    case Qt::Key_F3:
        step(controls_.Y, 1);
        break;
    case Qt::Key_F4:
        step(controls_.Y, -1);
        break;
    case Qt::Key_F5:
        step(controls_.Z, 1);
        break;
    case Qt::Key_F6:
        step(controls_.Z, -1);
        break;
    case Qt::Key_F7:
        step(controls_.Zoom, 1);
        break;
    case Qt::Key_F8:
        step(controls_.Zoom, -1);
        break;
    default:
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    Redraw();
}

void TViewForm::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (dy == 0)
        return;
    const int lo = controls_.Zoom ? controls_.Zoom->minimum() : 1;
    const int hi = controls_.Zoom ? controls_.Zoom->maximum() : 450;
    ViewOptions& o = project_.Options;
    const int zoom = WheelZoom(o.Zoom, dy < 0, lo, hi);
    if (zoom != o.Zoom) {
        o.Zoom = zoom;
        Redraw();
    }
}

void TViewForm::mousePressEvent(QMouseEvent* event) {
    ViewOptions& o = project_.Options;
    view_.Dragging = true;
    if (HasLinesOrPolygons())
        o.VerticesVisible = false;
    const QPoint p = event->position().toPoint();
    view_.DragAnchorX = p.x() - o.PanX;
    view_.DragAnchorY = p.y() - o.PanY;
}

void TViewForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (view_.Dragging && event->buttons() == Qt::NoButton)
        EndDrag(); // the release went elsewhere
    if (view_.Dragging) {
        ViewOptions& o = project_.Options;
        o.PanX = p.x() - view_.DragAnchorX;
        o.PanY = p.y() - view_.DragAnchorY;
        Redraw();
        return;
    }
    // Hover picks are coalesced: one pass for the latest position, however many moves came.
    hoverAt_ = p;
    if (!hoverPending_) {
        hoverPending_ = true;
        QTimer::singleShot(0, this, [this] { HoverPick(); });
    }
}

void TViewForm::HoverPick() {
    hoverPending_ = false;
    // The literal path keeps the selection pass, as the reference it is measured against.
    std::vector<uint32_t> names = literal_ ? PickAt(hoverAt_.x(), hoverAt_.y(), false)
                                           : PickOnCpu(hoverAt_.x(), hoverAt_.y());
    std::optional<std::string> text = HoverText(project_, names, toolTip().toStdString());
    setToolTip(text ? QString::fromStdString(*text) : QString());
}

void TViewForm::UpdatePickCursor() {
    setCursor(pick_.AnyModeOn() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TViewForm::EndDrag() {
    ViewOptions& o = project_.Options;
    view_.Dragging = false;
    o.VerticesVisible = o.ShowVertices;
    Redraw();
}

void TViewForm::focusOutEvent(QFocusEvent* event) {
    QOpenGLWidget::focusOutEvent(event);
    if (view_.Dragging)
        EndDrag();
}

void TViewForm::mouseReleaseEvent(QMouseEvent* event) {
    EndDrag();
    if (event->button() != Qt::LeftButton || !pick_.AnyModeOn())
        return;
    const QPoint p = event->position().toPoint();
    ClickResult result =
        pick_.Click(project_, PickAt(p.x(), p.y()), true, general_.PlaySound, ui_, prompts_);
    UpdatePickCursor();
    Redraw();
    if (clickHandler_)
        clickHandler_(result);
}

} // namespace meshforge::gui
