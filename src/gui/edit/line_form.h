#pragma once
#include "edit/editor_state.h"
#include "view/pick.h"

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QListView;
class QPushButton;
class QWidget;

namespace meshforge::gui {

class FunctionListModel;
class TManVForm;

// The line window: the list of lines, adding by picking two vertices in the view, removal,
// recolouring and re-picking, and one step of undo of its own. Modeless, on top, no title-bar
// buttons; hidden while the user picks.
class TLineform : public QDialog {
    Q_OBJECT
  public:
    // `redraw` repaints the view; `picking` is called when a pick mode was started (the view
    // shows the hand cursor).
    TLineform(Project& project, Ui& ui, EditorState& editor, PickState& pick,
              std::function<void()> redraw, std::function<void()> picking,
              QWidget* parent = nullptr);

    // Rewrites the list and sets every button from the Project.
    void RefreshLineList();
    // The Project was replaced: the list and the undo button follow.
    void ProjectChanged();
    LineUndoSnapshot& Undo() { return undo_; }
    // The dialog in which a line's vertex numbers are typed ("No" to picking with the mouse).
    void SetManualForm(TManVForm* manual) { manual_ = manual; }

    QListView* LineListBox;
    QLabel* PolyListBoxLabel;
    QPushButton* AddLineButton;
    QPushButton* RemoveLineButton;
    QPushButton* RemoveAllButton;
    QPushButton* EditButton;
    QPushButton* UndoButton;
    QPushButton* CloseLineButton;
    QWidget* EditPanel;
    QPushButton* VertButton;
    QPushButton* ColorButton;
    QLabel* ColorPanel;
    QPushButton* BackButton;

    void LineListBoxClick();
    void AddLineButtonClick();
    void RemoveLineButtonClick();
    void RemoveAllButtonClick();
    void EditButtonClick();
    void BackButtonClick();
    void ColorButtonClick();
    void VertButtonClick();
    void UndoButtonClick();
    void CloseLineButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
    // "Close", Esc and the close box all end here: QDialog::closeEvent calls reject().
    void reject() override;

  private:
    void ApplyButtons();
    void ShowEditPanel(bool on);
    void AfterChange();

    Project& project_;
    Ui& ui_;
    PickState& pick_;
    LineUndoSnapshot& undo_; // the editor state's
    ColorTriple& currentLineColor_;
    std::function<void()> redraw_;
    std::function<void()> picking_;
    TManVForm* manual_ = nullptr;
    FunctionListModel* model_ = nullptr;
};

} // namespace meshforge::gui
