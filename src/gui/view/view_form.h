#pragma once
#include "app/system_probe.h"

#include <QOpenGLWidget>

#include <functional>

namespace meshforge {
struct Project;
struct GeneralOptions;
} // namespace meshforge

namespace meshforge::gui {

// The 3D view: an OpenGL window on a compatibility-profile context that draws with the
// fixed-function pipeline. This first form clears to the background colour; the scene, the
// camera and picking are drawn by later additions through the same frame routine.
class TViewForm : public QOpenGLWidget {
    Q_OBJECT
  public:
    TViewForm(Project& project, const GeneralOptions& general, QWidget* parent = nullptr);

    // The context's own strings and the client size, for the About box.
    ViewProbe Probe();
    // Draws the frame now.
    void Redraw();
    // Called once, after the first frame has been drawn (outside the paint itself, so that it
    // may show dialogs).
    void SetFirstPaintHandler(std::function<void()> handler) { firstPaint_ = std::move(handler); }

    // The format every view context is created with.
    static QSurfaceFormat ContextFormat();

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

  private:
    void FramePaint();

    Project& project_;
    const GeneralOptions& general_;
    std::function<void()> firstPaint_;
    bool painted_ = false;
};

} // namespace meshforge::gui
