#include "gui/collision/collision_form.h"

#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"
#include "model/game_codes.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace meshforge::gui {

TCollisionForm::TCollisionForm(Project& project, Ui& ui,
                               std::function<void(const std::function<void()>&)> run,
                               QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), run_(std::move(run)) {
    setObjectName("CollisionForm");
    setWindowTitle("Set Collision Volumes");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setModal(false);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    VolumesHeader = new QLabel(
        QString::fromUtf8(kVolumeListHeader.data(), qsizetype(kVolumeListHeader.size())), this);
    VolumesHeader->setFont(fixed);
    VolumesListBox = new QListWidget(this);
    VolumesListBox->setObjectName("VolumesListBox");
    VolumesListBox->setFont(fixed);
    VolumesListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    VolumesListBox->setMouseTracking(true);
    connect(VolumesListBox, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { VolumesListBox->setToolTip(item->text()); });
    // Focus from opening the window would make the first row current, and select a volume,
    // unasked: the list takes focus from a click only and follows the user's rows.
    VolumesListBox->setFocusPolicy(Qt::ClickFocus);
    auto select = [this](int row) {
        Command([this, row] { SelectVolume(project_, state_, row < 0 ? kNoVolume : row); });
    };
    connect(VolumesListBox, &QListWidget::itemClicked, this,
            [this, select](QListWidgetItem* item) { select(VolumesListBox->row(item)); });
    connect(VolumesListBox, &QListWidget::currentRowChanged, this, [this, select](int row) {
        if (!filling_ && VolumesListBox->hasFocus()) // the arrow keys
            select(row);
    });

    auto button = [this](QWidget* owner, const char* name, const char* caption,
                         std::function<void()> change) {
        QPushButton* b = MakeButton(owner, name, caption);
        connect(b, &QPushButton::clicked, this, [this, change] { Command(change); });
        return b;
    };
    AddVolumeButton = button(this, "AddVolumeButton", "Add Volume", [this] {
        StartAddVolume(project_, state_);
        polygons_->Reset();
    });
    EditReboundButton = button(this, "EditReboundButton", "Edit Rebound", [this] {
        if (StartEditRebound(project_, state_))
            polygons_->Reset();
    });
    RemoveButton =
        button(this, "RemoveButton", "Remove", [this] { RemoveSelectedVolume(project_, state_); });
    RemoveAllButton = button(this, "RemoveAllButton", "Remove All",
                             [this] { RemoveAllVolumes(project_, state_); });
    CloseButton = MakeButton(this, "CloseButton", "Close");
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    PolygonPanel = new QWidget(this);
    PolygonPanel->setObjectName("PolygonPanel");
    polygons_ =
        new FunctionListModel([this] { return int(project_.Polygons.size()); },
                              [this](int row) {
                                  return QString::fromStdString(PolygonItem(
                                      project_.Polygons[std::size_t(row)], std::size_t(row)));
                              },
                              this);
    PolyListBox = MakeList(PolygonPanel, "PolyListBox", "Polygons", polygons_);
    connect(PolyListBox->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!filling_)
            Command([this] { HighlightPolygons(project_, SelectedPolygons()); });
    });
    ReboundComboBox = new QComboBox(PolygonPanel);
    ReboundComboBox->setObjectName("ReboundComboBox");
    for (std::string_view name : kReboundNames)
        ReboundComboBox->addItem(QString::fromUtf8(name.data(), qsizetype(name.size())));
    connect(ReboundComboBox, &QComboBox::activated, this,
            [this](int row) { state_.Rebound = row; });
    AddButton = button(PolygonPanel, "AddButton", "Add", [this] {
        if (ApplyPolygonPanel(project_, state_, SelectedPolygons(), ui_))
            FillVolumes();
    });
    BackButton =
        button(PolygonPanel, "BackButton", "<<", [this] { LeavePolygonPanel(project_, state_); });
    auto* panel = new QGridLayout(PolygonPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(new QLabel("Polygons:", PolygonPanel), 0, 0, 1, 2);
    panel->addWidget(PolyListBox, 1, 0, 1, 2);
    panel->addWidget(new QLabel("Rebound characteritics:", PolygonPanel), 2, 0, 1, 2);
    panel->addWidget(ReboundComboBox, 3, 0, 1, 2);
    panel->addWidget(AddButton, 4, 0);
    panel->addWidget(BackButton, 4, 1);

    auto* grid = new QGridLayout(this);
    grid->addWidget(VolumesHeader, 0, 0, 1, 3);
    grid->addWidget(VolumesListBox, 1, 0, 1, 3);
    grid->addWidget(AddVolumeButton, 2, 0);
    grid->addWidget(EditReboundButton, 2, 1);
    grid->addWidget(RemoveButton, 2, 2);
    grid->addWidget(RemoveAllButton, 3, 0);
    grid->addWidget(CloseButton, 3, 2);
    grid->addWidget(PolygonPanel, 0, 3, 4, 1);
    resize(kCollisionNarrowWidth, 360);
}

void TCollisionForm::Open() {
    OpenCollisionDialog(state_);
    shownRevision_ = project_.Revision;
    FillVolumes();
    ShowControls();
    show();
    raise();
    activateWindow();
}

void TCollisionForm::Refresh() {
    if (!isVisible())
        return;
    RefreshCollisionDialog(project_, state_);
    FillVolumes();
    if (project_.Revision != shownRevision_) {
        shownRevision_ = project_.Revision;
        filling_ = true;
        polygons_->Reset();
        filling_ = false;
    }
    ShowControls();
}

void TCollisionForm::done(int result) {
    // "Close", Esc and the close box.
    run_([this] { CloseCollisionDialog(project_, state_); });
    QDialog::done(result);
}

void TCollisionForm::Command(const std::function<void()>& change) {
    run_([&] {
        change();
        ShowControls();
    });
}

void TCollisionForm::FillVolumes() {
    filling_ = true;
    VolumesListBox->clear();
    for (std::size_t v = 0; v < project_.CollVols.size(); ++v)
        VolumesListBox->addItem(QString::fromStdString(VolumeItem(project_, v)));
    if (state_.SelectedVolume != kNoVolume)
        VolumesListBox->setCurrentRow(state_.SelectedVolume);
    filling_ = false;
}

void TCollisionForm::ShowControls() {
    const CollisionControls c = CollisionControlsOf(state_, project_);
    setFixedWidth(c.Width);
    PolygonPanel->setVisible(c.PolygonPanel);
    VolumesListBox->setEnabled(c.VolumeList);
    PolyListBox->setEnabled(c.PolyList);
    AddVolumeButton->setEnabled(c.AddVolume);
    EditReboundButton->setEnabled(c.EditRebound);
    RemoveButton->setEnabled(c.Remove);
    RemoveAllButton->setEnabled(c.RemoveAll);
    AddButton->setText(
        QString::fromUtf8(c.AddButtonCaption.data(), qsizetype(c.AddButtonCaption.size())));
    ReboundComboBox->setCurrentIndex(state_.Rebound);
    if (!c.PolygonPanel) {
        filling_ = true;
        PolyListBox->clearSelection();
        filling_ = false;
    }
}

std::vector<int32_t> TCollisionForm::SelectedPolygons() const {
    std::vector<int32_t> rows;
    for (const QModelIndex& index : PolyListBox->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace meshforge::gui
