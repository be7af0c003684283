#include "gui/texture/color_pick_dialog.h"

#include "gui/texture/texture_images.h"
#include "texture/library.h"
#include "ui/ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>

namespace meshforge::gui {

ColorPickDialog::ColorPickDialog(const char* name, const char* title, const char* pickCaption,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
    Original = new PictureLabel("OriginalImage", 256, 256, this);
    PickButton = new QToolButton(this);
    PickButton->setObjectName("PickButton");
    PickButton->setText(pickCaption);
    PickButton->setCheckable(true);
    Swatch = new QLabel(this);
    Swatch->setObjectName("Swatch");
    Swatch->setFixedSize(40, 24);
    Swatch->setFrameShape(QFrame::Box);
    ColorLabel = new QLabel(this);
    ColorLabel->setObjectName("ColorLabel");
    ColorLabel->setMinimumWidth(120);
    Grid = new QGridLayout(this);
    Grid->addWidget(new QLabel("Original Image", this), 0, 0);
    Grid->addWidget(Original, 1, 0);
    auto* pick = new QHBoxLayout;
    pick->addWidget(PickButton);
    pick->addWidget(Swatch);
    pick->addWidget(ColorLabel);
    pick->addStretch();
    Grid->addLayout(pick, 2, 0, 1, 2);

    connect(PickButton, &QToolButton::toggled, this, [this](bool on) { SetPickMode(on); });
    connect(Original, &PictureLabel::moved, this, [this](QPoint p) {
        if (picking_ && Inside(p))
            ShowColor(texture_.At(p.x(), p.y()));
    });
    connect(Original, &PictureLabel::pressed, this, [this](QPoint p) {
        // The pixel pressed on is the one meant, even without a move over it before.
        if (picking_ && Inside(p))
            ShowColor(texture_.At(p.x(), p.y()));
        SetPickMode(false);
        ColorChosen(swatch_);
    });
}

bool ColorPickDialog::OpenOn(const std::string& path, ImageFiles& images, Ui& ui) {
    std::optional<RgbImage> image = images.ReadRgb(path);
    if (!image) {
        ui.Message(UnreadableBitmapMessage(path));
        return false;
    }
    texture_ = std::move(*image);
    Original->SetImage(ToQImage(texture_));
    picked_.reset();
    swatch_ = RgbOfColor(palette().color(QPalette::Button));
    PaintSwatch(Swatch, ColorOf(swatch_));
    ColorLabel->clear();
    SetPickMode(false);
    return true;
}

void ColorPickDialog::SetPickMode(bool on) {
    picking_ = on;
    if (PickButton->isChecked() != on) {
        const QSignalBlocker block(PickButton);
        PickButton->setChecked(on);
    }
    if (on)
        Original->setCursor(Qt::CrossCursor);
    else
        Original->unsetCursor();
}

void ColorPickDialog::ShowColor(uint32_t rgb) {
    swatch_ = rgb;
    picked_ = rgb;
    PaintSwatch(Swatch, ColorOf(rgb));
    ColorLabel->setText(QString::fromStdString(RgbLabel(rgb)));
}

bool ColorPickDialog::Inside(QPoint p) const {
    return p.x() >= 0 && p.y() >= 0 && p.x() < texture_.Width && p.y() < texture_.Height;
}

} // namespace meshforge::gui
