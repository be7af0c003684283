#pragma once
#include "gui/app/system_probe.h"
#include "view/camera.h"
#include "view/pick.h"
#include "view/pick_prompts.h"

#include <QOpenGLWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTimer;

namespace meshforge {
struct Project;
struct GeneralOptions;
struct Ui;
} // namespace meshforge

namespace meshforge::gui {

class SphereCache;

// The view's texture objects of one texture entry: image and mask.
struct TextureObject {
    unsigned Image = 0, Mask = 0;
};

// The main window's controls that steer the camera.
struct CameraControls {
    QScrollBar* X = nullptr;
    QScrollBar* Y = nullptr;
    QScrollBar* Z = nullptr;
    QScrollBar* Zoom = nullptr;
    QPushButton* XRotate = nullptr;
    QPushButton* YRotate = nullptr;
    QPushButton* ZRotate = nullptr;
    QSpinBox* PanScale = nullptr;
};

// The 3D view: an OpenGL window on a compatibility-profile context that draws the Project with
// the fixed-function pipeline, steered by the camera bars, its context menu, keys, wheel and
// drag, and picked through OpenGL's selection mode.
class TViewForm : public QOpenGLWidget {
    Q_OBJECT
  public:
    enum class Mode { Render, Select };

    // fallbackMask is the mask ("mask.bmp") of every texture without its own. The editor state
    // gives the pick state its colours and the pivot.
    TViewForm(Project& project, EditorState& editor, const GeneralOptions& general, Ui& ui,
              PickPrompts& prompts, std::string fallbackMask, QWidget* parent = nullptr);
    ~TViewForm() override;

    // Connects the main window's bars and buttons (once, at start-up).
    void SetControls(const CameraControls& controls);
    // Puts the bars where the Project's view options are (after a project was read).
    void SyncControls();

    // The context's own strings and the client size, for the About box.
    ViewProbe Probe();
    // Draws the frame now.
    void Redraw();
    // Called once, after the first frame has been drawn (outside the paint itself, so that it
    // may show dialogs).
    void SetFirstPaintHandler(std::function<void()> handler) { firstPaint_ = std::move(handler); }
    // After a click has been handled: the window a finished pick workflow shows again.
    void SetClickHandler(std::function<void(const ClickResult&)> handler) {
        clickHandler_ = std::move(handler);
    }

    // Recreates the texture objects of every texture entry now (the next frame does it by
    // itself when the texture list changed).
    void RebuildTextureLibrary();
    std::size_t TextureObjectCount() const { return textureObjects_.size(); }

    // The names under window point (x, y) (y from the top), in selection-buffer order. With
    // `skipUnreachable` objects that cannot touch the pick pixel are not drawn in the pass.
    std::vector<uint32_t> PickAt(int x, int y, bool skipUnreachable = true);
    // The same names as PickAt's full pass, found on the CPU without a selection pass: the
    // hover pick, which runs on every mouse move.
    std::vector<uint32_t> PickOnCpu(int x, int y);
    // The raw selection buffer of the last PickAt (records of count, zmin, zmax, names).
    const std::vector<uint32_t>& LastSelectionRecords() const { return lastRecords_; }

    // The literal drawing (a GLU sphere per vertex, a full selection pass), kept for measuring
    // the fast path against it.
    void SetLiteralPath(bool literal) { literal_ = literal; }

    PickState& Picking() { return pick_; }
    // The hand cursor while a pick mode is on, the arrow otherwise.
    void UpdatePickCursor();
    ViewState& Camera() { return view_; }

    // Context-menu commands.
    void ResetViewClick();
    void ZoomAllClick();
    void PerspectiveMenuClick();
    void PresetClick(ViewKind kind);

    // The format every view context is created with.
    static QSurfaceFormat ContextFormat();

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // A drag lasts from a button press in the view to the next release there; a context menu
    // or a lost focus takes that release, so they end it too.
    void EndDrag();
    void FramePaint();
    // Back faces are dropped unless "Show Backside" is on, in frames and picks alike.
    void ApplyFaceCulling();
    void RenderScene(Mode mode, const Mat4& pickMatrix);
    void DrawVertices(Mode mode, const Mat4& scene, const Mat4* cull);
    void DrawLines(Mode mode, const Mat4* cull);
    void DrawVisLines();
    void DrawPolygons(Mode mode, const Mat4* cull);
    void DrawPolygonShape(const ObjectData& polygon, bool textured);
    void DrawAxis();
    void DrawGrid();
    void DeleteTextures();
    // Makes the texture objects again when the Project's texture list changed since; the
    // context must be current.
    void SyncTextureObjects();
    void BuildTextureObjects();
    // How many leading texture entries still name the files their objects were made from.
    std::size_t UsableTextureObjects() const;
    void CreateSpheres();

    void BarChanged(QScrollBar* bar, int value);
    void RotateButtonClick(QPushButton* button);
    void TimerTick();
    void HoverPick();
    bool HasLinesOrPolygons() const;

    Project& project_;
    EditorState& editor_;
    const GeneralOptions& general_;
    Ui& ui_;
    PickPrompts& prompts_;
    ViewState view_;
    PickState pick_;
    CameraControls controls_;
    QTimer* timer_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* perspectiveMenu_ = nullptr;
    std::shared_ptr<SphereCache> spheres_; // shared: its type is complete only where it is drawn
    std::function<void()> firstPaint_;
    std::function<void(const ClickResult&)> clickHandler_;
    std::vector<uint32_t> lastRecords_;
    std::vector<unsigned> textureNames_; // texture objects this view created, to delete
    // One pair per texture entry of the last rebuild, with the image and mask files it was made
    // from: the texture list may change before the next rebuild.
    std::vector<TextureObject> textureObjects_;
    std::vector<std::pair<std::string, std::string>> textureSources_;
    std::optional<uint64_t> builtTextures_; // the Project's TexturesRevision they were made at
    bool painted_ = false;
    bool shownOnce_ = false;
    bool literal_ = false;
    bool skipInPick_ = false;
    std::string fallbackMask_;
    bool glReady_ = false;
    bool hoverPending_ = false;
    QPoint hoverAt_;
};

} // namespace meshforge::gui
