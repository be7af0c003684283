#pragma once
#include "gui/texture/color_pick_dialog.h"
#include "model/project.h"

class QCheckBox;
class QPushButton;
class QScrollBar;
class QTimer;

namespace meshforge::gui {

// "Texture Background Color": the colour GPL shows for a texture's polygons when textures
// are off, picked on the texture and compared with it by toggling.
class TAverageForm : public ColorPickDialog {
    Q_OBJECT
  public:
    TAverageForm(Project& project, ImageFiles& images, Ui& ui, QWidget* parent = nullptr);
    // Shows the dialog modally for entry `index`; true if saved.
    bool Open(std::size_t index);

    PictureLabel* ColorPicture;
    QPushButton* ToggleButton;
    QCheckBox* AutoToggleCheckBox;
    QScrollBar* SpeedBar;
    QTimer* ToggleTimer;
    QPushButton* SaveButton;
    QPushButton* CancelButton;
    // Whether the right picture shows the colour (else the texture).
    bool ShowsColor() const { return showsColor_; }

  protected:
    void done(int result) override;

  private:
    void ColorChosen(uint32_t rgb) override;
    void ShowRight(bool color);
    void SetSpeed(int perSecond);

    Project& project_;
    ImageFiles& images_;
    Ui& ui_;
    std::size_t index_ = 0;
    uint32_t fill_ = 0;
    bool showsColor_ = true;
};

} // namespace meshforge::gui
