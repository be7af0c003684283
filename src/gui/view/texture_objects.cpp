// The view's texture objects: one image and one mask per texture entry of the Project, made
// again whenever the Project's texture list changes.
#include "gui/view/view_form.h"

#include "model/project.h"
#include "ui/ui.h"

#include <QImage>

#include <GL/gl.h>

#include <algorithm>

namespace meshforge::gui {

namespace {

// A bitmap as the texture wants it: 24-bit RGB, bottom row first (as a device-independent
// bitmap is stored). An unreadable file gives a small magenta and black checkerboard, so that
// a missing texture is plain to see instead of silently white.
QImage TextureImage(const std::string& path, bool* failed) {
    QImage image;
    if (!path.empty())
        image.load(QString::fromStdString(path));
    *failed = image.isNull();
    if (image.isNull()) {
        image = QImage(8, 8, QImage::Format_RGB888);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                image.setPixelColor(x, y, (x + y) % 2 ? QColor(255, 0, 255) : QColor(0, 0, 0));
    }
    return image.convertToFormat(QImage::Format_RGB888).mirrored();
}

GLuint UploadTexture(const QImage& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // QImage lines are padded to 4 bytes
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width(), image.height(), 0, GL_RGB,
                 GL_UNSIGNED_BYTE, image.constBits());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return name;
}

} // namespace

void TViewForm::DeleteTextures() {
    // The view's own record of what it created: the Project's list may have been emptied
    // (a reset) or be gone (the window closing) by now.
    if (!textureNames_.empty())
        glDeleteTextures(GLsizei(textureNames_.size()), textureNames_.data());
    textureNames_.clear();
}

std::size_t TViewForm::UsableTextureObjects() const {
    const std::size_t n = std::min(textureSources_.size(), project_.Textures.size());
    std::size_t i = 0;
    while (i < n && textureSources_[i].first == project_.Textures[i].Filename &&
           textureSources_[i].second == project_.Textures[i].MaskFilename)
        ++i;
    return i;
}

void TViewForm::RebuildTextureLibrary() {
    if (!glReady_) {
        // The context comes with the first showing; the first frame builds them.
        builtTextures_.reset();
        return;
    }
    makeCurrent();
    BuildTextureObjects();
    doneCurrent();
}

void TViewForm::SyncTextureObjects() {
    if (builtTextures_ != project_.TexturesRevision)
        BuildTextureObjects();
}

void TViewForm::BuildTextureObjects() {
    textureObjects_.assign(project_.Textures.size(), {});
    textureSources_.clear();
    for (const TextureData& t : project_.Textures)
        textureSources_.emplace_back(t.Filename, t.MaskFilename);
    DeleteTextures();
    for (std::size_t i = 0; i < project_.Textures.size(); ++i) {
        const TextureData& t = project_.Textures[i];
        bool imageFailed = false, maskFailed = false;
        QImage image = TextureImage(t.Filename, &imageFailed);
        const std::string& maskPath = t.MaskFilename.empty() ? fallbackMask_ : t.MaskFilename;
        QImage mask = TextureImage(maskPath, &maskFailed);
        if (imageFailed)
            ui_.Log("Bitmap " + t.Filename + " could not be read: shown as a checkerboard");
        if (maskFailed && !t.MaskFilename.empty())
            ui_.Log("Mask " + t.MaskFilename + " could not be read: shown as a checkerboard");
        textureObjects_[i].Image = UploadTexture(image);
        textureObjects_[i].Mask = UploadTexture(mask);
        textureNames_.push_back(textureObjects_[i].Image);
        textureNames_.push_back(textureObjects_[i].Mask);
    }
    builtTextures_ = project_.TexturesRevision;
}

} // namespace meshforge::gui
