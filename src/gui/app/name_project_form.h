#pragma once
#include "app/lifecycle_ui.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace meshforge::gui {

// Asks for the name of a new project, which becomes its folder: only names the project rules
// allow leave the dialog with OK.
class TNameProjectForm : public QDialog {
    Q_OBJECT
  public:
    explicit TNameProjectForm(meshforge::Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog modally and tells how it was left.
    meshforge::NameAnswer Run();
    const meshforge::NameAnswer& Answer() const { return answer_; }

    QLineEdit* NameEdit;
    QPushButton* OKButton;
    QPushButton* CancelButton;

  public slots:
    void OKButtonClick();
    void CancelButtonClick();

  private:
    meshforge::Ui& ui_;
    // Stays Closed unless a button sets it, so the close box and Esc need no handler.
    meshforge::NameAnswer answer_;
};

} // namespace meshforge::gui
