#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace meshforge {
struct Project;
}

namespace meshforge::gui {

// Edits the Project's one-line description.
class TDescForm : public QDialog {
    Q_OBJECT
  public:
    explicit TDescForm(meshforge::Project& project, QWidget* parent = nullptr);

    QLineEdit* DescEdit;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  public slots:
    void SaveButtonClick();
    void CancelButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();

    meshforge::Project& project_;
};

} // namespace meshforge::gui
