#pragma once
#include "edit/editor_state.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace meshforge::gui {

class FunctionListModel;

// The vertex window: the list of all vertices, three fields to add a vertex or modify the
// selected ones, removal of the selected or of all vertices with the lines and polygons that
// use them, and one step of undo. Modeless, on top, no title-bar buttons.
class TVertexform : public QDialog {
    Q_OBJECT
  public:
    // `redraw` repaints the 3D view; `closed` tells the main window the window was closed
    // (it then enables saving when vertices exist).
    TVertexform(Project& project, Ui& ui, EditorState& editor, std::function<void()> redraw,
                QWidget* parent = nullptr);
    ~TVertexform() override;

    // Rewrites the list and the count; the line and polygon lists follow.
    void RefreshVertexList();
    // The Project was replaced (open, close, clear): the list and the undo button follow.
    void ProjectChanged();
    VertexUndo& Undo() { return undo_; }
    void SetClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }
    // "Remove All Vertices" emptied the Project: the main window disables its commands.
    void SetEmptiedHandler(std::function<void()> handler) { emptied_ = std::move(handler); }
    // The line and polygon lists follow every refresh of the vertex list.
    void SetRefreshHandler(std::function<void()> handler) { refreshed_ = std::move(handler); }

    QListView* VertexListBox;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* VertexEdit_X;
    QLineEdit* VertexEdit_Y;
    QLineEdit* VertexEdit_Z;
    QPushButton* AddModVertexButton;
    QPushButton* RemoveVertexButton;
    QPushButton* RemoveAllButton;
    QPushButton* UndoButton;
    QPushButton* CloseVertexButton;

    void VertexListBoxClick();
    void VertexListBoxDblClick();
    void AddModVertexButtonClick();
    void RemoveVertexButtonClick();
    void RemoveAllButtonClick();
    void UndoButtonClick();
    void CloseVertexButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
    // "Close", Esc and the close box all end here: QDialog::closeEvent calls reject().
    void reject() override;

  private:
    VertexFields Fields() const;
    void SetFields(const VertexFields& fields);
    void ClearFields();
    void SetModifyMode(bool on);
    void FieldEditingFinished(QLineEdit* edit);
    void ApplyButtons();

    Project& project_;
    Ui& ui_;
    VertexUndo& undo_; // the editor state's
    ColorTriple& currentLineColor_;
    std::function<void()> redraw_;
    std::function<void()> closed_;
    std::function<void()> emptied_;
    std::function<void()> refreshed_;
    FunctionListModel* model_ = nullptr;
    bool modifyMode_ = false;
    bool placed_ = false;
};

} // namespace meshforge::gui
