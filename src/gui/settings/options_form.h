#pragma once
// The Options dialog: "General Options" written to the settings file the moment a control
// changes, and "Project Options" written straight into the open Project.
#include <QDialog>
#include <QString>

#include <cstdint>
#include <string_view>

#include "model/project.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "ui/ui.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QShowEvent;
class QSpinBox;

namespace meshforge::gui {

class TOptionsForm : public QDialog {
    Q_OBJECT
  public:
    // Reads the settings file and fills every control; the window-level start-up steps
    // (maximizing, menu captions, hints) are left to the main window.
    TOptionsForm(meshforge::SettingsFile& settings, meshforge::Project& project, meshforge::Ui& ui,
                 QWidget* parent = nullptr);

    // Live values, kept current with every change.
    const meshforge::GeneralOptions& General() const { return general_; }
    meshforge::ColorTriple GridColorTriple() const { return gridRgb_; }

  signals:
    void RepaintRequested();
    void ViewerCaptionChanged(const QString& caption);
    void UserProgramCaptionChanged(const QString& caption);
    void ToolTipsToggled(bool on);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void ConnectControls();
    void FillFromSettings();
    void FormShow();
    void UpdateTrackFolderControls(const meshforge::TrackFolderControls& enabled);
    void SetGridControlsEnabled(bool on);

    // A failed write keeps the control's new state; the user only gets told.
    template <class Write> void Store(Write&& write);
    void StoreFlag(std::string_view key, bool on);
    void RepaintIfGeometryShown();

    // Control reactions.
    void GPLBrowseButtonClick();
    void ViewerBrowseButtonClick();
    void UserBrowseButtonClick();
    void BMPBrowseButtonClick();
    void MakeSubDirCheckBoxClick(bool on);
    void CopyBmpCheckBoxClick(bool on);
    void MipInfoCheckBoxClick(bool on);
    void MaxOnStartupCheckBoxClick(bool on);
    void PlaySoundCheckBoxClick(bool on);
    void ShowBacksideCheckBoxClick(bool on);
    void RandomPolyColorsCheckBoxClick(bool on);
    void ToolTipsCheckBoxClick(bool on);
    void NoCaptionCheckBoxClick(bool on);
    void GridCheckBoxClick(bool on);
    void GridScaleSpinEditChange(int value);
    void GridSizeSpinEditChange(int value);
    void GridColorButtonClick();
    void VertexSizeScrollBarChange(int value);
    void AxisSizeScrollBarChange(int value);
    void BackColorButtonClick();
    void VertexColorButtonClick();
    void SelVertexColorButtonClick();
    void TrackFolderCheckBoxClick(bool on);
    void TrackFolderBrowseButtonClick();
    void AutoGPLCheckBoxClick(bool on);
    void MinimizeRadioClick(bool on);
    void CloseRadioClick(bool on);
    void OverwriteCheckBoxClick(bool on);
    void GPLParamCheckBoxClick(bool on);
    void OKButtonClick();

    meshforge::SettingsFile& settings_;
    meshforge::Project& project_;
    meshforge::Ui& ui_;
    meshforge::GeneralOptions general_;
    meshforge::ColorTriple gridRgb_;

    QLineEdit* gplPathEdit_ = nullptr;
    QPushButton* gplBrowseButton_ = nullptr;
    QLineEdit* viewerPathEdit_ = nullptr;
    QPushButton* viewerBrowseButton_ = nullptr;
    QLineEdit* userPathEdit_ = nullptr;
    QPushButton* userBrowseButton_ = nullptr;
    QLineEdit* bmpPathEdit_ = nullptr;
    QPushButton* bmpBrowseButton_ = nullptr;
    QCheckBox* makeSubDirCheckBox_ = nullptr;
    QCheckBox* copyBmpCheckBox_ = nullptr;
    QCheckBox* mipInfoCheckBox_ = nullptr;
    QCheckBox* maxOnStartupCheckBox_ = nullptr;
    QCheckBox* playSoundCheckBox_ = nullptr;
    QCheckBox* showBacksideCheckBox_ = nullptr;
    QCheckBox* randomPolyColorsCheckBox_ = nullptr;
    QCheckBox* toolTipsCheckBox_ = nullptr;
    QCheckBox* noCaptionCheckBox_ = nullptr;
    QCheckBox* gridCheckBox_ = nullptr;
    QLabel* gridScaleLabel_ = nullptr;
    QSpinBox* gridScaleSpinEdit_ = nullptr;
    QLabel* gridSizeLabel_ = nullptr;
    QSpinBox* gridSizeSpinEdit_ = nullptr;
    QLabel* gridColorLabel_ = nullptr;
    QPushButton* gridColorButton_ = nullptr;
    QFrame* gridColorShape_ = nullptr;

    QScrollBar* vertexSizeScrollBar_ = nullptr;
    QLabel* vertexSizeLabel_ = nullptr;
    QPushButton* backColorButton_ = nullptr;
    QFrame* backColorShape_ = nullptr;
    QPushButton* vertexColorButton_ = nullptr;
    QFrame* vertexColorShape_ = nullptr;
    QPushButton* selVertexColorButton_ = nullptr;
    QFrame* selVertexColorShape_ = nullptr;
    QScrollBar* axisSizeScrollBar_ = nullptr;
    QLabel* axisSizeLabel_ = nullptr;
    QCheckBox* trackFolderCheckBox_ = nullptr;
    QLineEdit* trackFolderEdit_ = nullptr;
    QPushButton* trackFolderBrowseButton_ = nullptr;
    QCheckBox* autoGPLCheckBox_ = nullptr;
    QRadioButton* minimizeRadio_ = nullptr;
    QRadioButton* closeRadio_ = nullptr;
    QCheckBox* overwriteCheckBox_ = nullptr;
    QCheckBox* gplParamCheckBox_ = nullptr;
    QLineEdit* gplParamEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace meshforge::gui
