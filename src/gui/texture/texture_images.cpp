#include "gui/texture/texture_images.h"

#include <QMouseEvent>

namespace meshforge::gui {

QImage ToQImage(const RgbImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB32);
    for (int y = 0; y < image.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width; ++x)
            line[x] = 0xFF000000u | image.At(x, y);
    }
    return out;
}

QImage ToQImage(const MaskImage& mask) {
    QImage out(mask.Width, mask.Height, QImage::Format_RGB32);
    std::size_t i = 0;
    for (int y = 0; y < mask.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < mask.Width; ++x)
            line[x] = mask.White[i++] ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return out;
}

QImage FilledImage(int width, int height, uint32_t rgb) {
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(ColorOf(rgb));
    return out;
}

void PaintSwatch(QLabel* swatch, const QColor& color) {
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, color);
    swatch->setAutoFillBackground(true);
    swatch->setPalette(pal);
}

PictureLabel::PictureLabel(const char* name, int width, int height, QWidget* parent)
    : QLabel(parent) {
    setObjectName(name);
    setFixedSize(width, height);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
}

void PictureLabel::SetImage(const QImage& image) {
    setPixmap(QPixmap::fromImage(image));
}

void PictureLabel::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

void PictureLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint());
}

} // namespace meshforge::gui
