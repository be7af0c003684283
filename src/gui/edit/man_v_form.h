#pragma once
#include "edit/manual_vertex.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace meshforge {
struct EditorState;
struct GeneralOptions;
} // namespace meshforge

namespace meshforge::gui {

class FunctionListModel;

// "Manual Vertex selection": vertex numbers typed (or chosen from the list of all indices)
// instead of picked, for a new polygon, a polygon's or a line's corners.
class TManVForm : public QDialog {
    Q_OBJECT
  public:
    TManVForm(Project& project, Ui& ui, EditorState& editor, const GeneralOptions& general,
              QWidget* parent = nullptr);

    // Shows the dialog modally for `entry` (ManualVertexEntry::ForNewPolygon() and so on).
    void Run(ManualVertexEntry entry);

    QLabel* Label1;
    QComboBox* VertexComboBox;
    QPushButton* AddButton;
    QPushButton* CloseButton;
    QPushButton* CancelButton;

    void AddButtonClick();
    void CloseButtonClick();
    void CancelButtonClick();

  private:
    void After(ManualVertexEntry::Outcome outcome);

    Project& project_;
    Ui& ui_;
    EditorState& editor_;
    const GeneralOptions& general_;
    FunctionListModel* model_ = nullptr;
    std::optional<ManualVertexEntry> entry_;
};

} // namespace meshforge::gui
