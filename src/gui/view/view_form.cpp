#include "view/view_form.h"

#include "model/project.h"
#include "settings/settings.h"

#include <QOpenGLContext>
#include <QTimer>

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

TViewForm::TViewForm(Project& project, const GeneralOptions& general, QWidget* parent)
    : QOpenGLWidget(parent), project_(project), general_(general) {
    setObjectName("ViewForm");
    setFormat(ContextFormat());
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
}

void TViewForm::initializeGL() {
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glClearDepth(1.0);
    glDepthFunc(GL_LESS);
}

void TViewForm::resizeGL(int w, int h) {
    glViewport(0, 0, w, h);
}

void TViewForm::FramePaint() {
    if (general_.ShowBackside) {
        glDisable(GL_CULL_FACE);
    } else {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    const ColorTriple& bg = project_.Options.BackgroundRgb;
    glClearColor(bg.R, bg.G, bg.B, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void TViewForm::paintGL() {
    FramePaint();
    if (!painted_) {
        painted_ = true;
        if (firstPaint_)
            QTimer::singleShot(0, this, [this] { firstPaint_(); });
    }
}

void TViewForm::Redraw() {
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

} // namespace meshforge::gui
