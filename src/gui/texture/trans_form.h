#pragma once
#include "gui/texture/color_pick_dialog.h"
#include "model/project.h"

class QPushButton;

namespace meshforge::gui {

// "Transparency": the mask of a texture entry built from one colour picked on the texture,
// saved as a monochrome bitmap beside it.
class TTransForm : public ColorPickDialog {
    Q_OBJECT
  public:
    TTransForm(Project& project, ImageFiles& images, Ui& ui, QWidget* parent = nullptr);
    // Shows the dialog modally for entry `index`; true if a mask was saved.
    bool Open(std::size_t index);

    PictureLabel* MaskPicture;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  private:
    void ColorChosen(uint32_t rgb) override;
    void SaveButtonClick();

    Project& project_;
    ImageFiles& images_;
    Ui& ui_;
    std::size_t index_ = 0;
    std::optional<MaskImage> mask_;
};

} // namespace meshforge::gui
