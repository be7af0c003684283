#pragma once
#include "model/project.h"
#include "texture/assign.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace meshforge::gui {

class FunctionListModel;
class TTextureform;
class TTextureViewForm;
class TTexManBox;

// "Assign Texture": textures and their coordinates given to the polygons selected in its
// list. Modeless beside the 3D view; every change is written into the polygons at once.
class TSelectTextureForm : public QDialog {
    Q_OBJECT
  public:
    TSelectTextureForm(Project& project, ImageFiles& images, Ui& ui, TTextureform& library,
                       std::function<void(const std::function<void()>&)> run,
                       QWidget* parent = nullptr);

    // Filled anew and shown (the menu's guard has made polygon 0 current); run as a command.
    void Open();
    // The Project may have changed under the window.
    void Refresh();
    const AssignState& State() const { return state_; }

    QListView* SelPolyListBox;
    QComboBox* TextureComboBox;
    QLabel* TexturePanel;
    QLabel* Image1;
    QLabel* TexFormatLabel;
    QComboBox* StyleComboBox;
    QListWidget* CoordinateListBox;
    QComboBox* CoordComboBox;
    QSpinBox* SpinEditX;
    QSpinBox* SpinEditY;
    QGroupBox* ModifyGroup;
    QPushButton* RotateButton;
    QPushButton* FaceButton;
    QPushButton* MirrorHButton;
    QPushButton* MirrorVButton;
    QPushButton* OKButton;
    TTextureViewForm* ViewForm;
    TTexManBox* TexManBox;

  protected:
    void done(int result) override;

  private:
    void SelPolyListBoxClick();
    void TextureComboBoxChange(int row);
    void StyleComboBoxChange(int row);
    void SpinEditChange();
    void CoordinateListBoxDblClick();
    void CoordinateListBoxClick();
    void Modify(void (*change)(Project&, AssignState&));

    // The controls from the state: style, pick mode, repeat counts and what is enabled.
    void ShowControls();
    void FillTextureChoices();
    // The picture, the panel caption and the format label of the current texture.
    void ShowTexture();
    void ClearPicture(const char* caption);
    void SetCoordinateItems(const std::vector<std::string>& items);
    // The polygon list's selection from the state.
    void ShowSelection();

    Project& project_;
    ImageFiles& images_;
    Ui& ui_;
    TTextureform& library_;
    std::function<void(const std::function<void()>&)> run_;
    FunctionListModel* polygons_;
    AssignState state_;
    bool filling_ = false; // the handlers ignore the dialog's own changes
    uint64_t shownRevision_ = 0, shownTextures_ = 0;
};

} // namespace meshforge::gui
