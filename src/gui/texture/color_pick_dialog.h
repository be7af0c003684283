#pragma once
// What the Transparency and Background Color dialogs share: the texture on the left, a speed
// button that turns pick mode on, a swatch and a label for the colour under the cursor. A
// press on the left picture ends pick mode and hands the swatch's colour on.
#include "texture/image_files.h"

#include <QDialog>

#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QToolButton;

namespace meshforge {
struct Ui;
}

namespace meshforge::gui {

class PictureLabel;

class ColorPickDialog : public QDialog {
    Q_OBJECT
  public:
    PictureLabel* Original;
    QToolButton* PickButton;
    QLabel* Swatch;
    QLabel* ColorLabel;

  protected:
    ColorPickDialog(const char* name, const char* title, const char* pickCaption, QWidget* parent);
    // Reads the texture and shows it on the left, pick mode off; false (and why) if it cannot
    // be read.
    bool OpenOn(const std::string& path, ImageFiles& images, Ui& ui);
    const RgbImage& Texture() const { return texture_; }
    // The colour the user picked from the texture, if any.
    std::optional<uint32_t> Picked() const { return picked_; }
    uint32_t SwatchColor() const { return swatch_; }
    virtual void ColorChosen(uint32_t rgb) = 0;
    // Rows 0 and 1 hold the captions and the pictures, row 2 the pick controls.
    QGridLayout* Grid;

  private:
    void SetPickMode(bool on);
    void ShowColor(uint32_t rgb);
    bool Inside(QPoint p) const;

    RgbImage texture_;
    std::optional<uint32_t> picked_;
    uint32_t swatch_ = 0;
    bool picking_ = false;
};

} // namespace meshforge::gui
