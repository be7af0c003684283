#pragma once
#include <QDialog>

class QComboBox;
class QPushButton;

namespace meshforge {
struct Project;
}

namespace meshforge::gui {

// "Set Visibility within GPL": the display class, chosen from the game's list.
class TDisplayClassForm : public QDialog {
    Q_OBJECT
  public:
    explicit TDisplayClassForm(Project& project, QWidget* parent = nullptr);
    // Modal; true if "OK" stored a class.
    bool Open();

    QComboBox* DCComboBox;
    QPushButton* OKButton;
    QPushButton* CancelButton;

  private:
    Project& project_;
};

} // namespace meshforge::gui
