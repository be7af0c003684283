#pragma once
// The Rotate dialog: steps that take effect at once, about an axis through the origin or a
// vertex picked in the view; modeless, so the view stays usable for the pick. Cancel puts the
// vertices back as they were when it opened.
#include "edit/editor_state.h"
#include "gui/transform/vertex_transform_forms.h"
#include "model/project.h"
#include "transform/transform.h"

#include <QDialog>

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace meshforge::gui {

class TViewForm;

class TRotateBox : public QDialog {
    Q_OBJECT
  public:
    TRotateBox(Project& project, EditorState& editor, RotateSession& session, TViewForm& view,
               meshforge::Ui& ui, RunCommand run, QWidget* parent = nullptr);
    // Shows the dialog, or raises it when it is open (its opening backup stays).
    void Open();
    // After every command: a pivot the Project changed under goes back to the origin.
    void Refresh();

    QRadioButton *FixedRadio, *FreeRadio;
    QComboBox* FixedComboBox;
    QSpinBox* FreeSpinEdit;
    QRadioButton *XRadio, *YRadio, *ZRadio;
    QRadioButton *OriginRadio, *VertexRadio;
    QRadioButton *AllRadio, *SelectedRadio;
    QPushButton *OKButton, *CancelButton;

  public slots:
    void reject() override; // Esc and the close box cancel

  private:
    void FormShow();
    void Step(StepFactors step);
    void FixedComboBoxChange(int index);
    void FreeSpinEditChange(int value);
    void OriginRadioClick();
    void VertexRadioClick();
    void SelectedRadioClick();
    void OKButtonClick();
    void CancelButtonClick();
    // OK and Cancel: no pivot, no pick waiting, no origin marker.
    void EndUse();

    Project& project_;
    EditorState& editor_;
    RotateSession& session_;
    TViewForm& view_;
    meshforge::Ui& ui_;
    RunCommand run_;
};

} // namespace meshforge::gui
