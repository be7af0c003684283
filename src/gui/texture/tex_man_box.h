#pragma once
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace meshforge {
struct Project;
struct AssignState;
struct Ui;
} // namespace meshforge

namespace meshforge::gui {

// "Texture Coordinates": one corner's pair typed in.
class TTexManBox : public QDialog {
    Q_OBJECT
  public:
    TTexManBox(Project& project, Ui& ui, QWidget* parent = nullptr);
    // Modal, for corner `item` of the current polygon; true if a pair was stored.
    bool Open(AssignState& state, int item);

    QLineEdit* XEdit;
    QLineEdit* YEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  private:
    void OkButtonClick();

    Project& project_;
    Ui& ui_;
    AssignState* state_ = nullptr;
    int item_ = 0;
};

} // namespace meshforge::gui
