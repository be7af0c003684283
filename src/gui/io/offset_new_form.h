#pragma once
#include "ui/ui.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace meshforge::gui {

// Asks for the offset added to imported vertices; every showing starts from (0, 0, 0).
class TOffsetNewForm : public QDialog {
    Q_OBJECT
  public:
    explicit TOffsetNewForm(meshforge::Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog modally; the offset if it was left with "Add with Offset".
    std::optional<meshforge::Offset3> Run();
    bool OffsetAccepted() const { return accepted_; }
    meshforge::Offset3 ImportOffset() const { return offset_; }

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QPushButton* OffsetButton;
    QPushButton* CancelButton;

  public slots:
    void OffsetButtonClick();
    void CancelButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();

    meshforge::Ui& ui_;
    bool accepted_ = false;
    meshforge::Offset3 offset_;
};

} // namespace meshforge::gui
