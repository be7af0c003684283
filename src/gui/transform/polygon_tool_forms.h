#pragma once
// Copy Polygon and Move Polygon: modeless tool windows over a list of every polygon; the chosen
// ones show highlighted in the view. Each keeps its one-step undo in the session.
#include "gui/transform/vertex_transform_forms.h"
#include "model/project.h"
#include "transform/polygon_tools.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListView;
class QPushButton;

namespace meshforge::gui {

class FunctionListModel;

// What both windows share: the list with its heading, the three offset fields, the close rules.
class PolygonToolWindow : public QDialog {
    Q_OBJECT
  public:
    // Shows the window, or raises it when it is open (its undo and its fields stay).
    void Open();
    // After every command: the list follows the Project.
    void Refresh();

    QListView* List = nullptr;
    QLineEdit *XEdit = nullptr, *YEdit = nullptr, *ZEdit = nullptr;
    QPushButton *UndoButton = nullptr, *CloseButton = nullptr;

  public slots:
    void reject() override; // Close and Esc

  protected:
    PolygonToolWindow(Project& project, meshforge::Ui& ui, RunCommand run, const char* name,
                      const char* title, const char* listName, int indexWidth, QWidget* parent);
    // The offset group with its three hints; the window's layout adds it where it wants.
    QWidget* OffsetGroup(const char* xHint, const char* yHint, const char* zHint);
    // The list with its heading on the left; beside it the offset, the window's own options
    // (may be null), its command button, Undo and Close.
    void Arrange(QWidget* offset, QLayout* options, QPushButton* action);
    OffsetTexts Offset() const;
    void ResetOffset();
    // The list's selection made the polygons' Selected flags; the command acts on them.
    void TakeListSelection();
    void RebuildList();
    virtual void FormShow() {}
    virtual void ListClicked() {}
    virtual bool CanUndo() const = 0;

    Project& project_;
    meshforge::Ui& ui_;
    RunCommand run_;
    QLabel* heading_ = nullptr;

  private:
    FunctionListModel* model_ = nullptr;
    bool rebuilding_ = false;
    uint64_t listRevision_ = 0;
};

class TPolyCopyForm : public PolygonToolWindow {
    Q_OBJECT
  public:
    TPolyCopyForm(Project& project, PolygonCopyUndo& undo, meshforge::Ui& ui, RunCommand run,
                  QWidget* parent = nullptr);

    QComboBox *VisComboBox, *TexComboBox;
    QLabel* TexLabel;
    QPushButton* CopyButton;

  private:
    void FormShow() override;
    void ListClicked() override;
    bool CanUndo() const override { return undo_.CanRestore(project_); }
    void CopyButtonClick();
    void UndoButtonClick();

    PolygonCopyUndo& undo_;
};

class TPolymoveForm : public PolygonToolWindow {
    Q_OBJECT
  public:
    TPolymoveForm(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
                  QWidget* parent = nullptr);

    QPushButton* MoveButton;

  private:
    bool CanUndo() const override { return undo_.CanRestore(project_); }
    void MoveButtonClick();
    void UndoButtonClick();

    VertexBackup& undo_;
};

} // namespace meshforge::gui
