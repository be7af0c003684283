#include "gui/texture/texture_view_form.h"

#include "texture/assign.h"

#include <QMouseEvent>
#include <QPainter>

namespace meshforge::gui {

TTextureViewForm::TTextureViewForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TextureViewForm");
    setMouseTracking(true);
}

void TTextureViewForm::ShowPreview(const QImage& image) {
    picking_ = false;
    caption_ = {};
    press_ = {};
    image_ = image;
    setWindowTitle("Preview");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setModal(false);
    resize(std::max(image.width(), 128), std::max(image.height(), 128));
    show();
    raise();
    update();
}

void TTextureViewForm::Pick(const QImage& image, Caption caption, Press press) {
    image_ = image;
    caption_ = std::move(caption);
    press_ = std::move(press);
    picking_ = true;
    setWindowTitle("Pick ");
    setWindowFlags(Qt::Dialog);
    setModal(true);
    // Large enough to pick on, in the image's proportion.
    const int h = 256;
    const ImageSize s =
        PickWindowSize(image.height() > 0 ? h * image.width() / image.height() : h, h);
    resize(s.Width, s.Height);
    exec();
    picking_ = false;
}

void TTextureViewForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), image_);
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
