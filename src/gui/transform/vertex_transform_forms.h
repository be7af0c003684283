#pragma once
// The four modal vertex transforms of the Modify menu. Each works on the Project through the
// core and keeps its own one-step undo record; the buttons' rules are the dialogs' own.
#include "model/project.h"
#include "transform/transform.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace meshforge::gui {

// Runs a command the main window's way: errors shown, every window refreshed, the view redrawn.
using RunCommand = std::function<void(const std::function<void()>&)>;

class TMoveBox : public QDialog {
    Q_OBJECT
  public:
    TMoveBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
             QWidget* parent = nullptr);
    void Open();

    QLineEdit *Edit1, *Edit2, *Edit3;
    QPushButton *OKButton, *SelButton, *UndoButton, *CancelButton;

  private:
    void EditChanged();
    void MoveClick(Scope scope);
    void UndoClick();
    void CancelClick();

    Project& project_;
    VertexBackup& undo_;
    meshforge::Ui& ui_;
    RunCommand run_;
};

class TMirrorBox : public QDialog {
    Q_OBJECT
  public:
    TMirrorBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
               QWidget* parent = nullptr);
    void Open();

    QRadioButton *XRadio, *YRadio, *ZRadio;
    QCheckBox* KeepCheckBox;
    QPushButton *OKButton, *MirSelButton, *UndoButton, *CancelButton;

  private:
    void AxisChosen();
    void MirrorClick(Scope scope);
    void UndoClick();
    void CancelClick();

    Project& project_;
    VertexBackup& undo_;
    meshforge::Ui& ui_;
    RunCommand run_;
};

class TScaleBox : public QDialog {
    Q_OBJECT
  public:
    TScaleBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
              QWidget* parent = nullptr);
    void Open();

    QLineEdit* Edit1;
    QRadioButton *XScaleRadio, *YScaleRadio, *ZScaleRadio, *AllScaleRadio;
    QPushButton *OKButton, *ScSelButton, *UndoButton, *CancelButton;

  private:
    void AxisChosen();
    void ScaleClick(Scope scope);
    void UndoClick();

    Project& project_;
    VertexBackup& undo_;
    meshforge::Ui& ui_;
    RunCommand run_;
};

class TCenterBox : public QDialog {
    Q_OBJECT
  public:
    // `showAxis` sets the main window's "Show Axis" mark (and the view's axes) to a value.
    TCenterBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
               std::function<void(bool)> showAxis, QWidget* parent = nullptr);
    void Open();

    QPushButton *OKButton, *UndoButton, *CancelButton;

  protected:
    void done(int result) override;

  private:
    void CenterClick();
    void UndoClick();

    Project& project_;
    VertexBackup& undo_;
    meshforge::Ui& ui_;
    RunCommand run_;
    std::function<void(bool)> showAxis_;
    bool axisBefore_ = false;
};

} // namespace meshforge::gui
