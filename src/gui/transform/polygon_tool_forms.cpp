#include "gui/transform/polygon_tool_forms.h"

#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {

QString ZeroText() {
    return QString::fromLatin1(kZeroOffsetText.data(), int(kZeroOffsetText.size()));
}

} // namespace

PolygonToolWindow::PolygonToolWindow(Project& project, meshforge::Ui& ui, RunCommand run,
                                     const char* name, const char* title, const char* listName,
                                     int indexWidth, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), run_(std::move(run)) {
    MakeToolWindow(this, name, title);
    model_ = new FunctionListModel([this] { return int(project_.Polygons.size()); },
                                   [this, indexWidth](int row) {
                                       return QString::fromStdString(PolygonToolLine(
                                           row, project_.Polygons[std::size_t(row)], indexWidth));
                                   },
                                   this);
    List = MakeList(this, listName, "List Of All Polygons", model_);
    heading_ = new QLabel(
        QString::fromLatin1(kPolygonListHeading.data(), int(kPolygonListHeading.size())), this);
    heading_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    UndoButton = MakeButton(this, "UndoButton", "Undo");
    CloseButton = MakeButton(this, "CloseButton", "Close", "Close This Window");
    UndoButton->setEnabled(false);
    connect(List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (rebuilding_)
            return;
        TakeListSelection();
        ListClicked();
        run_([] {});
    });
    connect(CloseButton, &QPushButton::clicked, this, &PolygonToolWindow::reject);
}

QWidget* PolygonToolWindow::OffsetGroup(const char* xHint, const char* yHint, const char* zHint) {
    auto* group = new QWidget(this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel("Offset:", group), 0, 0, 1, 2);
    int row = 1;
    for (auto [name, label, hint, edit] :
         {std::tuple{"XEdit", "X:", xHint, &XEdit}, std::tuple{"YEdit", "Y:", yHint, &YEdit},
          std::tuple{"ZEdit", "Z:", zHint, &ZEdit}}) {
        *edit = new QLineEdit(ZeroText(), group);
        (*edit)->setObjectName(name);
        (*edit)->setToolTip(hint);
        auto* caption = new QLabel(label, group);
        caption->setBuddy(*edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(*edit, row++, 1);
    }
    return group;
}

void PolygonToolWindow::Arrange(QWidget* offset, QLayout* options, QPushButton* action) {
    auto* side = new QVBoxLayout;
    side->addWidget(offset);
    if (options)
        side->addLayout(options);
    side->addStretch();
    side->addWidget(action);
    side->addWidget(UndoButton);
    side->addWidget(CloseButton);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(heading_);
    listColumn->addWidget(List);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(side);
}

void PolygonToolWindow::Open() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    OpenPolygonTool(project_);
    RebuildList();
    FormShow();
    UndoButton->setEnabled(CanUndo());
    show();
    raise();
    run_([] {});
}

void PolygonToolWindow::Refresh() {
    if (!isVisible())
        return;
    // Rows keep naming the same polygons until a list changes shape; until then the user's
    // selection stays.
    if (project_.Revision != listRevision_)
        RebuildList();
    else
        model_->Changed();
    UndoButton->setEnabled(CanUndo());
}

void PolygonToolWindow::reject() {
    ClosePolygonTool(project_);
    hide();
    run_([] {});
}

OffsetTexts PolygonToolWindow::Offset() const {
    return {XEdit->text().toStdString(), YEdit->text().toStdString(), ZEdit->text().toStdString()};
}

void PolygonToolWindow::ResetOffset() {
    for (QLineEdit* e : {XEdit, YEdit, ZEdit})
        e->setText(ZeroText());
}

void PolygonToolWindow::TakeListSelection() {
    std::vector<int32_t> listed;
    for (const QModelIndex& index : List->selectionModel()->selectedRows())
        listed.push_back(index.row());
    SelectListedPolygons(project_, listed);
}

void PolygonToolWindow::RebuildList() {
    // A rebuilt list has nothing selected; that is no click of the user's.
    rebuilding_ = true;
    model_->Reset();
    rebuilding_ = false;
    listRevision_ = project_.Revision;
}

// ---- Copy ----

TPolyCopyForm::TPolyCopyForm(Project& project, PolygonCopyUndo& undo, meshforge::Ui& ui,
                             RunCommand run, QWidget* parent)
    : PolygonToolWindow(project, ui, std::move(run), "PolyCopyForm", "Copy Polygon",
                        "PolyCopyListBox", 4, parent),
      undo_(undo) {
    UndoButton->setToolTip("Undo Last Copy");
    VisComboBox = new QComboBox(this);
    VisComboBox->setObjectName("VisComboBox");
    VisComboBox->addItems({"Opposite Side", "Same Side"});
    VisComboBox->setToolTip("Choose If The Destionation Polygon(s) Are Visible From The Same Or "
                            "Opposite Side Than The Source Polygon(s)");
    TexComboBox = new QComboBox(this);
    TexComboBox->setObjectName("TexComboBox");
    TexComboBox->addItems({"Same Orientation", "Mirrored", "No texture"});
    TexComboBox->setToolTip("Set If Texture(s) Of Destination Polygon(s) Have The Same "
                            "Orientation, Are Mirrored Around The X Axis Or Have No Texture  ");
    TexLabel = new QLabel("Texture Orientation:", this);
    TexLabel->setObjectName("TexLabel");
    CopyButton = MakeButton(this, "CopyButton", "Copy", "Copy Selected Polygon(s)");

    auto* options = new QGridLayout;
    options->addWidget(new QLabel("Visible from:", this), 0, 0);
    options->addWidget(VisComboBox, 0, 1);
    options->addWidget(TexLabel, 1, 0);
    options->addWidget(TexComboBox, 1, 1);
    Arrange(OffsetGroup("Distance In X", "Distance In Y", "Distance In Z"), options, CopyButton);
    resize(560, 360);

    connect(CopyButton, &QPushButton::clicked, this, &TPolyCopyForm::CopyButtonClick);
    connect(UndoButton, &QPushButton::clicked, this, &TPolyCopyForm::UndoButtonClick);
}

void TPolyCopyForm::FormShow() {
    VisComboBox->setCurrentIndex(0);
    TexComboBox->setCurrentIndex(0);
    TexComboBox->setEnabled(true);
    TexLabel->setEnabled(true);
}

void TPolyCopyForm::ListClicked() {
    const CopyTextureChoice choice = CopyTextureChoiceFor(project_);
    TexComboBox->setCurrentIndex(int(choice.Choice));
    TexComboBox->setEnabled(choice.Enabled);
    TexLabel->setEnabled(choice.Enabled);
}

void TPolyCopyForm::CopyButtonClick() {
    bool copied = false;
    run_([&] {
        TakeListSelection();
        copied =
            CopyPolygons(project_, Offset(),
                         VisComboBox->currentIndex() == 0 ? CopySide::Opposite : CopySide::Same,
                         CopyTexture(TexComboBox->currentIndex()), undo_, ui_);
    });
    if (copied) {
        ResetOffset();
        RebuildList();
    }
    UndoButton->setEnabled(CanUndo());
}

void TPolyCopyForm::UndoButtonClick() {
    run_([&] { UndoCopyPolygons(project_, undo_, ui_); });
    UndoButton->setEnabled(CanUndo());
}

// ---- Move ----

TPolymoveForm::TPolymoveForm(Project& project, VertexBackup& undo, meshforge::Ui& ui,
                             RunCommand run, QWidget* parent)
    : PolygonToolWindow(project, ui, std::move(run), "PolymoveForm", "Move Polygon",
                        "PolyMoveListBox", 3, parent),
      undo_(undo) {
    UndoButton->setToolTip("Undo Last Move");
    MoveButton = MakeButton(this, "MoveButton", "Move", "Move Selected Polygon(s)");
    Arrange(OffsetGroup("X Value To Move", "Y  Value To Move", "Z  Value To Move"), nullptr,
            MoveButton);
    resize(520, 340);

    connect(MoveButton, &QPushButton::clicked, this, &TPolymoveForm::MoveButtonClick);
    connect(UndoButton, &QPushButton::clicked, this, &TPolymoveForm::UndoButtonClick);
}

void TPolymoveForm::MoveButtonClick() {
    bool moved = false;
    run_([&] {
        TakeListSelection();
        moved = MovePolygons(project_, Offset(), undo_, ui_);
    });
    if (moved) {
        ResetOffset();
        RebuildList();
    }
    UndoButton->setEnabled(CanUndo());
}

void TPolymoveForm::UndoButtonClick() {
    run_([&] { UndoMovePolygons(project_, undo_, ui_); });
    UndoButton->setEnabled(CanUndo());
}

} // namespace meshforge::gui
