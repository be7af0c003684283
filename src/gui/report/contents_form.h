#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace meshforge {
struct Project;
}

namespace meshforge::gui {

// "Project Contents": the contents listing, appended at every showing, to read or copy.
class TContentsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TContentsForm(const Project& project, QWidget* parent = nullptr);
    // Appends the listing and shows the dialog modally.
    void Open();

    QPlainTextEdit* ContentsMemo;
    QPushButton* CopyButton;
    QPushButton* CancelButton;

  private:
    const Project& project_;
};

} // namespace meshforge::gui
