#include "gui/texture/texture_view_form.h"

#include "texture/assign.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace meshforge::gui {

TTextureViewForm::TTextureViewForm(Use use, QWidget* parent) : QDialog(parent) {
    setObjectName("TextureViewForm");
    // The preview stays beside the library; picking is modal.
    if (use == Use::Preview) {
        setWindowTitle("Preview");
        setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    } else {
        setWindowTitle("Set Texture Coordinates");
        setModal(true);
    }
    setMouseTracking(true);
    // The picture fills the client area; the mouse events it ignores reach the window in the
    // same coordinates.
    picture_ = new QLabel(this);
    picture_->setObjectName("Picture");
    picture_->setScaledContents(true);
    picture_->setMouseTracking(true);
    picture_->setMinimumSize(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
}

void TTextureViewForm::SetImage(const QImage& image) {
    image_ = image;
    picture_->setPixmap(QPixmap::fromImage(image));
}

void TTextureViewForm::ShowPreview(const QImage& image) {
    picking_ = false;
    caption_ = {};
    press_ = {};
    SetImage(image);
    resize(std::max(image.width(), 256), std::max(image.height(), 256));
    show();
    raise();
    activateWindow();
}

void TTextureViewForm::Pick(const QImage& image, Caption caption, Press press) {
    SetImage(image);
    caption_ = std::move(caption);
    press_ = std::move(press);
    picking_ = true;
    setWindowTitle("Pick ");
    // Large enough to pick on, in the image's proportion.
    const int h = 256;
    const ImageSize s =
        PickWindowSize(image.height() > 0 ? h * image.width() / image.height() : h, h);
    resize(s.Width, s.Height);
    exec();
    picking_ = false;
}

void TTextureViewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!picking_)
        return;
    const ImageSize s = PickWindowSize(width(), height());
    if (s.Width != width() || s.Height != height())
        resize(s.Width, s.Height);
}

void TTextureViewForm::mouseMoveEvent(QMouseEvent* event) {
    if (!picking_ || !caption_)
        return;
    const QPoint p = event->position().toPoint();
    setWindowTitle(QString::fromStdString(caption_(p.x(), p.y(), width(), height())));
}

void TTextureViewForm::mousePressEvent(QMouseEvent* event) {
    if (!picking_ || !press_)
        return;
    const QPoint p = event->position().toPoint();
    if (press_(p.x(), p.y(), width(), height()))
        accept();
}

} // namespace meshforge::gui
