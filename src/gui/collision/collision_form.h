#pragma once
#include "collision/collision.h"
#include "model/project.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QWidget;

namespace meshforge::gui {

class FunctionListModel;

// "Set Collision Volumes": the volumes with their characteristics, and the polygon panel that
// builds a volume or changes its characteristic. Modeless beside the 3D view, which highlights
// the polygons of the selected volume or of the panel's selection.
class TCollisionForm : public QDialog {
    Q_OBJECT
  public:
    // `run` runs a command as the main window does (errors shown, windows refreshed).
    TCollisionForm(Project& project, Ui& ui, std::function<void(const std::function<void()>&)> run,
                   QWidget* parent = nullptr);

    // Opened from the menu (run as a command).
    void Open();
    // The Project may have changed under the window.
    void Refresh();
    const CollisionState& State() const { return state_; }

    QLabel* VolumesHeader;
    QListWidget* VolumesListBox;
    QPushButton* AddVolumeButton;
    QPushButton* EditReboundButton;
    QPushButton* RemoveButton;
    QPushButton* RemoveAllButton;
    QPushButton* CloseButton;
    QWidget* PolygonPanel;
    QListView* PolyListBox;
    QComboBox* ReboundComboBox;
    QPushButton* AddButton;
    QPushButton* BackButton;

  protected:
    void done(int result) override;

  private:
    void FillVolumes();
    void ShowControls();
    std::vector<int32_t> SelectedPolygons() const;
    void Command(const std::function<void()>& change);

    Project& project_;
    Ui& ui_;
    std::function<void(const std::function<void()>&)> run_;
    FunctionListModel* polygons_;
    CollisionState state_;
    bool filling_ = false; // the handlers ignore the window's own changes
    uint64_t shownRevision_ = 0;
};

} // namespace meshforge::gui
