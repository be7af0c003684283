// The Options dialog's handlers: each control writes its value to the settings file or the
// Project's options as the user changes it.
#include "gui/settings/options_form.h"
#include "gui/settings/options_form_parts.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>

#include <optional>
#include <string>

#include "model/texts.h"
#include "util/errors.h"

namespace meshforge::gui {

namespace keys = meshforge::general_keys;
using options_form::Q;
using options_form::S;
using options_form::ShowColor;

template <class Write> void TOptionsForm::Store(Write&& write) {
    try {
        write();
    } catch (const FileError& e) {
        ui_.Message(e.what());
    }
}

void TOptionsForm::StoreFlag(std::string_view key, bool on) {
    Store([&] { settings_.WriteFlag(key, on); });
}

void TOptionsForm::RepaintIfGeometryShown() {
    if (project_.GeometryShown)
        emit RepaintRequested();
}

void TOptionsForm::GPLBrowseButtonClick() {
    std::optional<std::string> path = ui_.ChooseOpenFile(BrowseDialogFor(BrowseTarget::GPL));
    if (!path)
        return;
    gplPathEdit_->setText(Q(*path));
    general_.GPLPath = *path;
    Store([&] { settings_.WriteText(keys::kGPLPath, *path); });
}

void TOptionsForm::ViewerBrowseButtonClick() {
    std::optional<std::string> path = ui_.ChooseOpenFile(BrowseDialogFor(BrowseTarget::Viewer));
    if (!path)
        return;
    viewerPathEdit_->setText(Q(*path));
    general_.ViewerPath = *path;
    Store([&] { settings_.WriteText(keys::kViewerPath, *path); });
    emit ViewerCaptionChanged(Q(StartMenuCaption(*path)));
}

void TOptionsForm::UserBrowseButtonClick() {
    std::optional<std::string> path =
        ui_.ChooseOpenFile(BrowseDialogFor(BrowseTarget::UserProgram));
    if (!path)
        return;
    userPathEdit_->setText(Q(*path));
    general_.UserPath = *path;
    Store([&] { settings_.WriteText(keys::kUserPath, *path); });
    emit UserProgramCaptionChanged(Q(StartMenuCaption(*path)));
}

void TOptionsForm::BMPBrowseButtonClick() {
    std::optional<std::string> path =
        ui_.ChooseOpenFile(BrowseDialogFor(BrowseTarget::BitmapArchive));
    if (!path)
        return;
    std::string folder = FolderOfFile(*path);
    bmpPathEdit_->setText(Q(folder));
    general_.BMPPath = folder;
    Store([&] { settings_.WriteText(keys::kBMPPath, folder); });
}

void TOptionsForm::MakeSubDirCheckBoxClick(bool on) {
    general_.MakeSubDir = on;
    StoreFlag(keys::kMakeSubDir, on);
    // Disabled, not cleared: the dependent choices come back when subfolders are on again.
    copyBmpCheckBox_->setEnabled(on);
    mipInfoCheckBox_->setEnabled(on);
}

void TOptionsForm::CopyBmpCheckBoxClick(bool on) {
    general_.CopyBmp = on;
    StoreFlag(keys::kCopyBmp, on);
}

void TOptionsForm::MipInfoCheckBoxClick(bool on) {
    general_.MipInfo = on;
    StoreFlag(keys::kMipInfo, on);
}

void TOptionsForm::MaxOnStartupCheckBoxClick(bool on) {
    general_.MaxOnStartup = on;
    StoreFlag(keys::kMaxOnStartup, on);
}

void TOptionsForm::PlaySoundCheckBoxClick(bool on) {
    general_.PlaySound = on;
    StoreFlag(keys::kPlaySound, on);
}

void TOptionsForm::ShowBacksideCheckBoxClick(bool on) {
    general_.ShowBackside = on;
    StoreFlag(keys::kShowBackside, on);
    RepaintIfGeometryShown();
}

void TOptionsForm::RandomPolyColorsCheckBoxClick(bool on) {
    general_.RandomPolyColors = on;
    StoreFlag(keys::kRandomPolyColors, on);
}

void TOptionsForm::ToolTipsCheckBoxClick(bool on) {
    general_.ToolTips = on;
    StoreFlag(keys::kToolTips, on);
    emit ToolTipsToggled(on);
}

void TOptionsForm::NoCaptionCheckBoxClick(bool on) {
    general_.NoCaption = on;
    StoreFlag(keys::kNoCaption, on);
}

void TOptionsForm::GridCheckBoxClick(bool on) {
    general_.ShowGrid = on;
    StoreFlag(keys::kShowGrid, on);
    SetGridControlsEnabled(on);
    RepaintIfGeometryShown();
}

void TOptionsForm::GridScaleSpinEditChange(int value) {
    general_.GridScale = value;
    Store([&] { settings_.WriteNumber(keys::kGridScale, value); });
    RepaintIfGeometryShown();
}

void TOptionsForm::GridSizeSpinEditChange(int value) {
    general_.GridSize = value;
    Store([&] { settings_.WriteNumber(keys::kGridSize, value); });
    RepaintIfGeometryShown();
}

void TOptionsForm::GridColorButtonClick() {
    std::optional<std::uint32_t> colour = ui_.ChooseColor(ColorValueOrBlack(general_.GridColor));
    if (!colour)
        return;
    general_.GridColor = FormatColor(*colour);
    gridRgb_ = GridColorTripleOf(general_.GridColor);
    ShowColor(gridColorShape_, *colour);
    Store([&] { settings_.WriteText(keys::kGridColor, general_.GridColor); });
    RepaintIfGeometryShown();
}

void TOptionsForm::VertexSizeScrollBarChange(int value) {
    project_.Options.VertexDisplaySize = value;
    vertexSizeLabel_->setText(QStringLiteral("Vertex Display Size: ") + QString::number(value));
    emit RepaintRequested();
}

void TOptionsForm::AxisSizeScrollBarChange(int value) {
    project_.Options.AxisSize = value;
    axisSizeLabel_->setText(QStringLiteral("Size of Axis symbol: ") + QString::number(value));
    emit RepaintRequested();
}

namespace {
// One colour "Change" button of the Project Options: the dialog starts on the current colour;
// the text and its triple are set together through the Project's setter.
bool ChangeProjectColor(Ui& ui, ViewOptions& options, const std::string& current,
                        void (*set)(ViewOptions&, const std::string&), QFrame* swatch) {
    std::optional<std::uint32_t> colour = ui.ChooseColor(ColorValueOrBlack(current));
    if (!colour)
        return false;
    set(options, FormatColor(*colour));
    ShowColor(swatch, *colour);
    return true;
}
} // namespace

void TOptionsForm::BackColorButtonClick() {
    if (ChangeProjectColor(ui_, project_.Options, project_.Options.BackgroundColor,
                           &SetBackgroundColor, backColorShape_))
        emit RepaintRequested();
}

void TOptionsForm::VertexColorButtonClick() {
    if (ChangeProjectColor(ui_, project_.Options, project_.Options.VertexColor, &SetVertexColor,
                           vertexColorShape_))
        emit RepaintRequested();
}

void TOptionsForm::SelVertexColorButtonClick() {
    if (ChangeProjectColor(ui_, project_.Options, project_.Options.SelectedVertexColor,
                           &SetSelectedVertexColor, selVertexColorShape_))
        emit RepaintRequested();
}

void TOptionsForm::TrackFolderCheckBoxClick(bool on) {
    project_.Options.UseTrackFolder = on;
    UpdateTrackFolderControls(TrackFolderControlsWhenToggled(on, autoGPLCheckBox_->isChecked()));
}

void TOptionsForm::TrackFolderBrowseButtonClick() {
    std::optional<std::string> folder = ui_.ChooseFolder("Select GPL Track Folder");
    if (!folder)
        return;
    project_.Options.TrackFolder = WithTrailingSeparator(*folder);
    trackFolderEdit_->setText(Q(project_.Options.TrackFolder));
}

void TOptionsForm::AutoGPLCheckBoxClick(bool on) {
    if (!CheckAutoGPL(on, project_.Options, ui_)) {
        QSignalBlocker quiet(autoGPLCheckBox_);
        autoGPLCheckBox_->setChecked(false);
        on = false;
    }
    project_.Options.AutoGPL = on;
    minimizeRadio_->setEnabled(on);
    closeRadio_->setEnabled(on);
}

void TOptionsForm::MinimizeRadioClick(bool on) {
    project_.Options.MinimizeOnGPL = on;
}

void TOptionsForm::CloseRadioClick(bool on) {
    project_.Options.CloseOnGPL = on;
}

void TOptionsForm::OverwriteCheckBoxClick(bool on) {
    project_.Options.Overwrite = on;
}

void TOptionsForm::GPLParamCheckBoxClick(bool on) {
    project_.Options.GPLParam = on;
    gplParamEdit_->setEnabled(on);
}

void TOptionsForm::OKButtonClick() {
    project_.Options.AdditionalGPLParams = S(gplParamEdit_->text());
    accept();
}

} // namespace meshforge::gui
