#pragma once
#include "gui/app/system_probe.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;

namespace meshforge {
struct Ui;
}

namespace meshforge::gui {

// Program name, links to the web page and the feedback address, and a growing text of system
// information for problem reports. Closed from its title bar only.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    // `viewProbe` reports the 3D view's current size and OpenGL strings each time the box is
    // shown.
    TAboutBox(meshforge::Ui& ui, std::function<ViewProbe()> viewProbe, QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* ProgNameLabel;
    QLabel* CWELabel;
    QLabel* WebsiteLabel;
    QLabel* URLLabel;
    QLabel* CommentsLabel;
    QLabel* MailLabel;
    QLabel* SysLabel;
    QPlainTextEdit* SysMemo;

  public slots:
    void URLLabelClick();
    void MailLabelClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Appends one more copy of the system information block.
    void FormShow();

    meshforge::Ui& ui_;
    std::function<ViewProbe()> viewProbe_;
};

} // namespace meshforge::gui
