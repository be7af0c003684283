#pragma once
// The texture windows' pictures: the core's pixels as Qt images and the pictures that show
// them, reporting the mouse in image pixels.
#include "texture/image_files.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPoint>

namespace meshforge::gui {

QImage ToQImage(const RgbImage& image);
QImage ToQImage(const MaskImage& mask);
// A picture of one colour (0x00RRGGBB).
QImage FilledImage(int width, int height, uint32_t rgb);
inline QColor ColorOf(uint32_t rgb) {
    return QColor(QRgb(rgb & 0xFFFFFFu));
}
inline uint32_t RgbOfColor(const QColor& c) {
    return c.rgb() & 0xFFFFFFu;
}
// A swatch label painted in one colour.
void PaintSwatch(QLabel* swatch, const QColor& color);

// A picture shown unscaled from its top-left corner; the mouse is reported in its pixels.
class PictureLabel : public QLabel {
    Q_OBJECT
  public:
    PictureLabel(const char* name, int width, int height, QWidget* parent);
    void SetImage(const QImage& image);

  signals:
    void moved(QPoint pixel);
    void pressed(QPoint pixel);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace meshforge::gui
