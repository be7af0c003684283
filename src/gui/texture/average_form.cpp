#include "gui/texture/average_form.h"

#include "gui/edit/form_parts.h"
#include "gui/texture/texture_images.h"
#include "texture/library.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace meshforge::gui {

TAverageForm::TAverageForm(Project& project, ImageFiles& images, Ui& ui, QWidget* parent)
    : ColorPickDialog("AverageForm", "Texture Background Color", "Pick Background Color", parent),
      project_(project), images_(images), ui_(ui) {
    ColorPicture = new PictureLabel("BackgroundImage", 256, 256, this);
    Swatch->setToolTip("Picked Color");
    ToggleButton = MakeButton(this, "ToggleButton", "Toggle Texture / Color");
    AutoToggleCheckBox = new QCheckBox(this);
    AutoToggleCheckBox->setObjectName("AutoToggleCheckBox");
    SpeedBar = new QScrollBar(Qt::Horizontal, this);
    SpeedBar->setObjectName("SpeedBar");
    SpeedBar->setRange(1, 30);
    SpeedBar->setMinimumWidth(120);
    ToggleTimer = new QTimer(this);
    SaveButton = MakeButton(this, "SaveButton", "Save && Close");
    CancelButton = MakeButton(this, "CancelButton", "Cancel");

    Grid->addWidget(new QLabel("Background Color", this), 0, 1);
    Grid->addWidget(ColorPicture, 1, 1);
    auto* toggle = new QHBoxLayout;
    toggle->addWidget(ToggleButton);
    toggle->addWidget(AutoToggleCheckBox);
    toggle->addWidget(SpeedBar);
    toggle->addStretch();
    Grid->addLayout(toggle, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    Grid->addLayout(buttons, 4, 0, 1, 2);

    connect(ToggleButton, &QPushButton::clicked, this, [this] {
        AutoToggleCheckBox->setChecked(false);
        ShowRight(!showsColor_);
    });
    connect(AutoToggleCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        SpeedBar->setEnabled(on);
        if (on) {
            ToggleTimer->start();
        } else {
            ToggleTimer->stop();
            ShowRight(false);
        }
    });
    connect(ToggleTimer, &QTimer::timeout, this, [this] { ShowRight(!showsColor_); });
    connect(SpeedBar, &QScrollBar::valueChanged, this, [this](int n) { SetSpeed(n); });
    connect(SaveButton, &QPushButton::clicked, this, [this] {
        SetTextureBackColor(project_, index_, Picked());
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool TAverageForm::Open(std::size_t index) {
    if (index >= project_.Textures.size())
        return false;
    index_ = index;
    if (!OpenOn(project_.Textures[index].Filename, images_, ui_))
        return false;
    fill_ = RgbOf(project_.Textures[index].BackColor);
    {
        const QSignalBlocker block(AutoToggleCheckBox);
        AutoToggleCheckBox->setChecked(false);
    }
    SpeedBar->setEnabled(false);
    {
        const QSignalBlocker block(SpeedBar);
        SpeedBar->setValue(2);
    }
    SetSpeed(2);
    ShowRight(true);
    return exec() == QDialog::Accepted;
}

void TAverageForm::done(int result) {
    // Save, Cancel, Esc and the close box all stop the toggling.
    ToggleTimer->stop();
    ColorPickDialog::done(result);
}

void TAverageForm::ColorChosen(uint32_t rgb) {
    fill_ = rgb;
    ShowRight(true);
}

void TAverageForm::ShowRight(bool color) {
    showsColor_ = color;
    const RgbImage& t = Texture();
    ColorPicture->SetImage(color ? FilledImage(t.Width, t.Height, fill_) : ToQImage(t));
}

void TAverageForm::SetSpeed(int perSecond) {
    AutoToggleCheckBox->setText(QString::fromStdString(ToggleCaption(perSecond)));
    ToggleTimer->setInterval(ToggleIntervalMs(perSecond));
}

} // namespace meshforge::gui
