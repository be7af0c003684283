#include "gui/settings/options_form.h"
#include "gui/settings/options_form_parts.h"

#include <QCheckBox>
#include <QColor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "model/texts.h"
#include "util/errors.h"

namespace meshforge::gui {

namespace keys = meshforge::general_keys;
using options_form::Q;
using options_form::S;
using options_form::ShowColor;

namespace {

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFrame* MakeSwatch(const char* name) {
    auto* frame = Named(new QFrame, name);
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    frame->setMinimumSize(40, 20);
    return frame;
}

QScrollBar* MakeScrollBar(const char* name, int min, int max) {
    auto* bar = Named(new QScrollBar(Qt::Horizontal), name);
    bar->setRange(min, max);
    bar->setMinimumWidth(160);
    return bar;
}

// Keeps every child quiet while the form sets controls itself, so only the user's changes
// reach the handlers.
class SilenceChildren {
  public:
    explicit SilenceChildren(QObject* parent) {
        for (QObject* child : parent->findChildren<QObject*>())
            blockers_.emplace_back(child);
    }

  private:
    std::vector<QSignalBlocker> blockers_;
};

} // namespace

TOptionsForm::TOptionsForm(SettingsFile& settings, Project& project, Ui& ui, QWidget* parent)
    : QDialog(parent), settings_(settings), project_(project), ui_(ui) {
    setWindowTitle(QStringLiteral("Options"));
    BuildControls();
    ConnectControls();
    FillFromSettings();
    FormShow();
}

void TOptionsForm::BuildControls() {
    auto* general = Named(new QGroupBox(QStringLiteral("General Options")), "GeneralGroupBox");
    auto* g = new QGridLayout(general);
    int row = 0;
    auto addPath = [&](QLabel* label, QLineEdit*& edit, const char* editName, QPushButton*& button,
                       const char* buttonName) {
        if (label != nullptr)
            g->addWidget(label, row++, 0, 1, 3);
        edit = Named(new QLineEdit, editName);
        button = Named(new QPushButton(QStringLiteral("Browse")), buttonName);
        g->addWidget(edit, row, 0, 1, 2);
        g->addWidget(button, row++, 2);
    };
    addPath(new QLabel(QStringLiteral("Path to GPL:")), gplPathEdit_, "GPLPathEdit",
            gplBrowseButton_, "GPLBrowseButton");
    addPath(nullptr, viewerPathEdit_, "ViewerPathEdit", viewerBrowseButton_, "ViewerBrowseButton");
    viewerPathEdit_->setToolTip(QStringLiteral("Path To 3DO-Viewer"));
    addPath(new QLabel(QStringLiteral("Path to User Defined External Program:")), userPathEdit_,
            "UserPathEdit", userBrowseButton_, "UserBrowseButton");
    addPath(new QLabel(QStringLiteral("Path to Bitmap archive (not required)")), bmpPathEdit_,
            "BMPPathEdit", bmpBrowseButton_, "BMPBrowseButton");

    auto addCheck = [&](QCheckBox*& box, const char* name, const char* caption) {
        box = Named(new QCheckBox(QString::fromLatin1(caption)), name);
        g->addWidget(box, row++, 0, 1, 3);
    };
    addCheck(makeSubDirCheckBox_, "MakeSubDirCheckBox",
             "Create Individual Subfolders for Projects (when saved)");
    addCheck(copyBmpCheckBox_, "CopyBmpCheckBox", "Copy referenced Bitmaps to Project folder");
    addCheck(mipInfoCheckBox_, "MipInfoCheckBox",
             "Create Mip-conversion Info in Project folder (for Bitmaps)");
    addCheck(maxOnStartupCheckBox_, "MaxOnStartupCheckBox", "Maximize on Startup");
    addCheck(playSoundCheckBox_, "PlaySoundCheckBox", "Play Sound on Errors");
    playSoundCheckBox_->setToolTip(
        QStringLiteral("Plays A Sound Additionally To The Message In The Log Window (When "
                       "Missing A Vertex During Picking etc.)"));
    addCheck(showBacksideCheckBox_, "ShowBacksideCheckBox", "Show Polygon Backfaces");
    addCheck(randomPolyColorsCheckBox_, "RandomPolyColorsCheckBox",
             "Pick Polygon colors manually  (Use random if un-checked)");
    addCheck(toolTipsCheckBox_, "ToolTipsCheckBox", "Show ToolTips");
    toolTipsCheckBox_->setToolTip(QStringLiteral(";-)"));
    addCheck(noCaptionCheckBox_, "NoCaptionCheckBox", "No Title Bar for View Window");
    addCheck(gridCheckBox_, "GridCheckBox", "Show 3D Grid");

    gridScaleLabel_ = Named(new QLabel(QStringLiteral("Grid Scale:")), "GridScaleLabel");
    gridScaleSpinEdit_ = Named(new QSpinBox, "GridScaleSpinEdit");
    gridScaleSpinEdit_->setRange(1, 20);
    g->addWidget(gridScaleLabel_, row, 0);
    g->addWidget(gridScaleSpinEdit_, row++, 1);
    gridSizeLabel_ = Named(new QLabel(QStringLiteral("Grid Points Size:")), "GridSizeLabel");
    gridSizeSpinEdit_ = Named(new QSpinBox, "GridSizeSpinEdit");
    gridSizeSpinEdit_->setRange(1, 100);
    g->addWidget(gridSizeLabel_, row, 0);
    g->addWidget(gridSizeSpinEdit_, row++, 1);
    gridColorLabel_ = Named(new QLabel(QStringLiteral("Grid Color:")), "GridColorLabel");
    gridColorShape_ = MakeSwatch("GridColorShape");
    gridColorButton_ = Named(new QPushButton(QStringLiteral("Change")), "GridColorButton");
    g->addWidget(gridColorLabel_, row, 0);
    g->addWidget(gridColorShape_, row, 1);
    g->addWidget(gridColorButton_, row++, 2);

    auto* projectBox = Named(new QGroupBox(QStringLiteral("Project Options")), "ProjectGroupBox");
    auto* p = new QGridLayout(projectBox);
    row = 0;
    vertexSizeLabel_ = Named(new QLabel, "VertexSizeLabel");
    vertexSizeScrollBar_ = MakeScrollBar("VertexSizeScrollBar", 1, 30);
    p->addWidget(vertexSizeLabel_, row++, 0, 1, 3);
    p->addWidget(vertexSizeScrollBar_, row++, 0, 1, 3);
    auto addColor = [&](const char* caption, QFrame*& shape, const char* shapeName,
                        QPushButton*& button, const char* buttonName) {
        shape = MakeSwatch(shapeName);
        button = Named(new QPushButton(QStringLiteral("Change")), buttonName);
        p->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
        p->addWidget(shape, row, 1);
        p->addWidget(button, row++, 2);
    };
    addColor("Background Color:", backColorShape_, "BackColorShape", backColorButton_,
             "BackColorButton");
    addColor("Standard Vertex Color:", vertexColorShape_, "VertexColorShape", vertexColorButton_,
             "VertexColorButton");
    addColor("Selected Vertex Color:", selVertexColorShape_, "SelVertexColorShape",
             selVertexColorButton_, "SelVertexColorButton");
    axisSizeLabel_ = Named(new QLabel, "AxisSizeLabel");
    axisSizeScrollBar_ = MakeScrollBar("AxisSizeScrollBar", 1, 1000);
    p->addWidget(axisSizeLabel_, row++, 0, 1, 3);
    p->addWidget(axisSizeScrollBar_, row++, 0, 1, 3);

    trackFolderCheckBox_ =
        Named(new QCheckBox(QStringLiteral("Save 3DO to track-folder:")), "TrackFolderCheckBox");
    p->addWidget(trackFolderCheckBox_, row++, 0, 1, 3);
    trackFolderEdit_ = Named(new QLineEdit, "TrackFolderEdit");
    trackFolderEdit_->setReadOnly(true);
    trackFolderEdit_->setToolTip(QStringLiteral("GPL Track Folder"));
    trackFolderBrowseButton_ =
        Named(new QPushButton(QStringLiteral("Browse")), "TrackFolderBrowseButton");
    p->addWidget(trackFolderEdit_, row, 0, 1, 2);
    p->addWidget(trackFolderBrowseButton_, row++, 2);
    autoGPLCheckBox_ = Named(new QCheckBox(QStringLiteral("Autostart GPL when 3DO is written")),
                             "AutoGPLCheckBox");
    p->addWidget(autoGPLCheckBox_, row++, 0, 1, 3);
    // Both radios share one parent, so they exclude each other.
    auto* radios = Named(new QWidget, "LaunchRadioPanel");
    auto* r = new QVBoxLayout(radios);
    r->setContentsMargins(20, 0, 0, 0);
    minimizeRadio_ = Named(new QRadioButton, "MinimizeRadio");
    closeRadio_ = Named(new QRadioButton, "CloseRadio");
    r->addWidget(minimizeRadio_);
    r->addWidget(closeRadio_);
    p->addWidget(radios, row++, 0, 1, 3);
    overwriteCheckBox_ =
        Named(new QCheckBox(QStringLiteral("Auto-Overwrite 3DO (No repeating prompt)")),
              "OverwriteCheckBox");
    p->addWidget(overwriteCheckBox_, row++, 0, 1, 3);
    gplParamCheckBox_ =
        Named(new QCheckBox(QStringLiteral("Use additional GPL command-line Parameters")),
              "GPLParamCheckBox");
    p->addWidget(gplParamCheckBox_, row++, 0, 1, 3);
    gplParamEdit_ = Named(new QLineEdit, "GPLParamEdit");
    gplParamEdit_->setToolTip(QStringLiteral(
        "One parameter can be used, without '-ko' and the douboe quotes. Example: 20:Personal "
        "Information:lastTrackSelection:monza  See GPL's readme11.txt for details"));
    p->addWidget(gplParamEdit_, row++, 0, 1, 3);
    p->setRowStretch(row, 1);

    okButton_ = Named(new QPushButton(QStringLiteral("OK")), "OKButton");
    okButton_->setToolTip(QStringLiteral("Close This Window"));
    okButton_->setDefault(true);

    auto* groups = new QHBoxLayout;
    groups->addWidget(general, 1);
    groups->addWidget(projectBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    auto* top = new QVBoxLayout(this);
    top->addLayout(groups);
    top->addLayout(buttons);
}

void TOptionsForm::ConnectControls() {
    auto onClick = [this](QPushButton* button, void (TOptionsForm::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    auto onToggle = [this](QAbstractButton* box, void (TOptionsForm::*handler)(bool)) {
        connect(box, &QAbstractButton::toggled, this, handler);
    };
    onClick(gplBrowseButton_, &TOptionsForm::GPLBrowseButtonClick);
    onClick(viewerBrowseButton_, &TOptionsForm::ViewerBrowseButtonClick);
    onClick(userBrowseButton_, &TOptionsForm::UserBrowseButtonClick);
    onClick(bmpBrowseButton_, &TOptionsForm::BMPBrowseButtonClick);
    onToggle(makeSubDirCheckBox_, &TOptionsForm::MakeSubDirCheckBoxClick);
    onToggle(copyBmpCheckBox_, &TOptionsForm::CopyBmpCheckBoxClick);
    onToggle(mipInfoCheckBox_, &TOptionsForm::MipInfoCheckBoxClick);
    onToggle(maxOnStartupCheckBox_, &TOptionsForm::MaxOnStartupCheckBoxClick);
    onToggle(playSoundCheckBox_, &TOptionsForm::PlaySoundCheckBoxClick);
    onToggle(showBacksideCheckBox_, &TOptionsForm::ShowBacksideCheckBoxClick);
    onToggle(randomPolyColorsCheckBox_, &TOptionsForm::RandomPolyColorsCheckBoxClick);
    onToggle(toolTipsCheckBox_, &TOptionsForm::ToolTipsCheckBoxClick);
    onToggle(noCaptionCheckBox_, &TOptionsForm::NoCaptionCheckBoxClick);
    onToggle(gridCheckBox_, &TOptionsForm::GridCheckBoxClick);
    connect(gridScaleSpinEdit_, &QSpinBox::valueChanged, this,
            &TOptionsForm::GridScaleSpinEditChange);
    connect(gridSizeSpinEdit_, &QSpinBox::valueChanged, this,
            &TOptionsForm::GridSizeSpinEditChange);
    onClick(gridColorButton_, &TOptionsForm::GridColorButtonClick);
    connect(vertexSizeScrollBar_, &QScrollBar::valueChanged, this,
            &TOptionsForm::VertexSizeScrollBarChange);
    connect(axisSizeScrollBar_, &QScrollBar::valueChanged, this,
            &TOptionsForm::AxisSizeScrollBarChange);
    onClick(backColorButton_, &TOptionsForm::BackColorButtonClick);
    onClick(vertexColorButton_, &TOptionsForm::VertexColorButtonClick);
    onClick(selVertexColorButton_, &TOptionsForm::SelVertexColorButtonClick);
    onToggle(trackFolderCheckBox_, &TOptionsForm::TrackFolderCheckBoxClick);
    onClick(trackFolderBrowseButton_, &TOptionsForm::TrackFolderBrowseButtonClick);
    onToggle(autoGPLCheckBox_, &TOptionsForm::AutoGPLCheckBoxClick);
    onToggle(minimizeRadio_, &TOptionsForm::MinimizeRadioClick);
    onToggle(closeRadio_, &TOptionsForm::CloseRadioClick);
    onToggle(overwriteCheckBox_, &TOptionsForm::OverwriteCheckBoxClick);
    onToggle(gplParamCheckBox_, &TOptionsForm::GPLParamCheckBoxClick);
    onClick(okButton_, &TOptionsForm::OKButtonClick);
}

void TOptionsForm::FillFromSettings() {
    general_ = settings_.ReadGeneralOptions();
    gridRgb_ = GridColorTripleOf(general_.GridColor);

    SilenceChildren quiet(this);
    gplPathEdit_->setText(Q(general_.GPLPath));
    viewerPathEdit_->setText(Q(general_.ViewerPath));
    userPathEdit_->setText(Q(general_.UserPath));
    bmpPathEdit_->setText(Q(general_.BMPPath));
    makeSubDirCheckBox_->setChecked(general_.MakeSubDir);
    gridCheckBox_->setChecked(general_.ShowGrid);
    gridScaleSpinEdit_->setValue(general_.GridScale);
    gridSizeSpinEdit_->setValue(general_.GridSize);
    copyBmpCheckBox_->setChecked(general_.CopyBmp);
    mipInfoCheckBox_->setChecked(general_.MipInfo);
    maxOnStartupCheckBox_->setChecked(general_.MaxOnStartup);
    playSoundCheckBox_->setChecked(general_.PlaySound);
    showBacksideCheckBox_->setChecked(general_.ShowBackside);
    randomPolyColorsCheckBox_->setChecked(general_.RandomPolyColors);
    toolTipsCheckBox_->setChecked(general_.ToolTips);
    noCaptionCheckBox_->setChecked(general_.NoCaption);
    ShowColor(gridColorShape_, ColorValueOrBlack(general_.GridColor));

    copyBmpCheckBox_->setEnabled(general_.MakeSubDir);
    mipInfoCheckBox_->setEnabled(general_.MakeSubDir);
    SetGridControlsEnabled(general_.ShowGrid);
}

void TOptionsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TOptionsForm::FormShow() {
    const ViewOptions& o = project_.Options;
    SilenceChildren quiet(this);

    minimizeRadio_->setText(QStringLiteral("Minimize ") + Q(kProgramName));
    closeRadio_->setText(QStringLiteral("Close ") + Q(kProgramName) +
                         QStringLiteral(" and Restart after GPL"));

    // A project file may hold values outside the bars' ranges: the bar clamps its position,
    // the label and the Project keep the value itself.
    vertexSizeLabel_->setText(QStringLiteral("Vertex Display Size: ") +
                              QString::number(o.VertexDisplaySize));
    axisSizeLabel_->setText(QStringLiteral("Size of Axis symbol: ") + QString::number(o.AxisSize));
    vertexSizeScrollBar_->setValue(o.VertexDisplaySize);
    axisSizeScrollBar_->setValue(o.AxisSize);

    ShowColor(backColorShape_, ColorValueOrBlack(o.BackgroundColor));
    ShowColor(vertexColorShape_, ColorValueOrBlack(o.VertexColor));
    ShowColor(selVertexColorShape_, ColorValueOrBlack(o.SelectedVertexColor));

    // The Project holds these states (a project file may have changed them since the last
    // showing), the boxes only mirror them.
    trackFolderCheckBox_->setChecked(o.UseTrackFolder);
    autoGPLCheckBox_->setChecked(o.AutoGPL);
    (o.CloseOnGPL ? closeRadio_ : minimizeRadio_)->setChecked(true);
    overwriteCheckBox_->setChecked(o.Overwrite);
    gplParamCheckBox_->setChecked(o.GPLParam);

    gplParamEdit_->setEnabled(o.GPLParam);
    gplParamEdit_->setText(Q(o.AdditionalGPLParams));
    trackFolderEdit_->setText(Q(o.TrackFolder));
    UpdateTrackFolderControls(TrackFolderControlsWhenShown(o));

    okButton_->setFocus();
}

void TOptionsForm::UpdateTrackFolderControls(const TrackFolderControls& enabled) {
    trackFolderEdit_->setEnabled(enabled.Folder);
    trackFolderBrowseButton_->setEnabled(enabled.Folder);
    autoGPLCheckBox_->setEnabled(enabled.Autostart);
    minimizeRadio_->setEnabled(enabled.Radios);
    closeRadio_->setEnabled(enabled.Radios);
}

void TOptionsForm::SetGridControlsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             gridScaleLabel_, gridScaleSpinEdit_, gridSizeLabel_, gridSizeSpinEdit_,
             gridColorLabel_, gridColorShape_, gridColorButton_})
        w->setEnabled(on);
}

} // namespace meshforge::gui
