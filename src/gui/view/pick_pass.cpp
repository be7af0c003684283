// The selection pass: the scene drawn once more in GL_SELECT mode around the clicked pixel.
#include "gui/view/view_form.h"

#include "model/project.h"
#include "settings/settings.h"
#include "view/cpu_pick.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>

namespace meshforge::gui {

namespace {

// The culling region around the pick pixel, in pixels: wide lines (up to 5 pixels) and large
// points may be hit by the selection pass a little off their geometry, so the region that
// decides what is skipped is far wider than the one-pixel pick region itself.
constexpr double kCullRegion = 33;

} // namespace

std::vector<uint32_t> TViewForm::PickAt(int x, int y, bool skipUnreachable) {
    std::vector<uint32_t> names;
    lastRecords_.clear();
    if (!glReady_)
        return names;
    makeCurrent();
    SyncTextureObjects();
    ApplyFaceCulling(); // the setting may have changed since the last frame
    const double dpr = devicePixelRatio();
    const int w = int(width() * dpr), h = int(height() * dpr);
    glViewport(0, 0, w, h);
    const std::array<int, 4> viewport{0, 0, w, h};
    const double px = x * dpr, py = h - y * dpr;
    skipInPick_ = skipUnreachable && !literal_;
    const Mat4 cullPick = PickMatrix(px, py, kCullRegion, kCullRegion, viewport);
    std::vector<GLuint> buffer(512);
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), 0);
        glSelectBuffer(GLsizei(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glPushMatrix();
        const Mat4 pick = PickMatrix(px, py, 1, 1, viewport);
        glMultMatrixd(pick.M.data());
        RenderScene(Mode::Select, cullPick);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glPopName();
        glFlush();
        GLint hits = glRenderMode(GL_RENDER);
        if (hits >= 0) {
            std::size_t at = 0;
            for (GLint k = 0; k < hits && at + 3 <= buffer.size(); ++k) {
                GLuint count = buffer[at];
                if (at + 3 + count > buffer.size())
                    break;
                for (GLuint n = 0; n < count; ++n)
                    names.push_back(buffer[at + 3 + n]);
                at += 3 + count;
            }
            lastRecords_.assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(at));
            break;
        }
        // More hits than the buffer holds: the pass is repeated with a larger one.
        if (buffer.size() >= (std::size_t(1) << 26))
            break;
        buffer.resize(buffer.size() * 8);
    }
    skipInPick_ = false;
    doneCurrent();
    return names;
}

std::vector<uint32_t> TViewForm::PickOnCpu(int x, int y) {
    const double dpr = devicePixelRatio();
    const int w = int(width() * dpr), h = int(height() * dpr);
    PickView view;
    view.Scene = SceneMatrix(project_.Options, view_, project_.Box, w, h);
    view.Region = PickMatrix(x * dpr, h - y * dpr, 1, 1, {0, 0, w, h});
    view.Spheres = SphereSizing::For(project_.Options, width(), height(), h);
    view.PivotVertex = editor_.PivotVertex;
    view.OriginPivot = view_.OriginPivot;
    view.CullBackFaces = !general_.ShowBackside;
    view.ShowGrid = general_.ShowGrid;
    view.GridScale = general_.GridScale;
    return PickNamesOnCpu(project_, view);
}

} // namespace meshforge::gui
