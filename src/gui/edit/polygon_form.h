#pragma once
#include "edit/polygons.h"
#include "view/pick.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QWidget;

namespace meshforge {
struct GeneralOptions;
}

namespace meshforge::gui {

class FunctionListModel;
class TManVForm;

// The polygon window: the list of polygons, creating one by picking or typing its corners,
// removal, recolouring, texture reassignment and re-picking. Modeless, on top, no title-bar
// buttons; hidden while the user picks or types.
class TPolygonform : public QDialog {
    Q_OBJECT
  public:
    TPolygonform(Project& project, Ui& ui, PickState& pick, const GeneralOptions& general,
                 TManVForm& manual, std::function<void()> redraw, std::function<void()> picking,
                 QWidget* parent = nullptr);

    void RefreshPolygonList();

    QListView* PolyListBox;
    QLabel* PolyListBoxLabel;
    QPushButton* FlatButton;
    QPushButton* GouraudButton;
    QPushButton* SpecButton;
    QPushButton* RemovePolygonButton;
    QPushButton* RemoveAllPolyButton;
    QPushButton* EditButton;
    QPushButton* UndoButton;
    QPushButton* ExitPolygonButton;
    QWidget* EditPanel;
    QLabel* TexLabel;
    QComboBox* TexIndexComboBox;
    QPushButton* VertButton;
    QPushButton* ColorButton;
    QLabel* ColorPanel;
    QPushButton* BackButton;

    void PolyListBoxClick();
    void FlatButtonClick();
    void NotAvailableClick();
    void RemovePolygonButtonClick();
    void RemoveAllPolyButtonClick();
    void EditButtonClick();
    void BackButtonClick();
    void TexIndexComboBoxChange(int row);
    void VertButtonClick();
    void ColorButtonClick();
    void ExitPolygonButtonClick();

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
    const GeneralOptions& general_;
    TManVForm& manual_;
    std::function<void()> redraw_;
    std::function<void()> picking_;
    FunctionListModel* model_ = nullptr;
};

} // namespace meshforge::gui
