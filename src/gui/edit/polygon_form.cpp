#include "gui/edit/polygon_form.h"

#include "edit/edit_windows.h"
#include "edit/lines.h"
#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"
#include "gui/edit/man_v_form.h"
#include "settings/settings.h"
#include "ui/ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {
constexpr int kNarrow = 450, kWide = 570;
} // namespace

TPolygonform::TPolygonform(Project& project, Ui& ui, PickState& pick, const GeneralOptions& general,
                           TManVForm& manual, std::function<void()> redraw,
                           std::function<void()> picking, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), pick_(pick), general_(general), manual_(manual),
      redraw_(std::move(redraw)), picking_(std::move(picking)) {
    MakeToolWindow(this, "Polygonform", "Create Polygons");
    setFixedWidth(kNarrow);

    model_ = new FunctionListModel([this] { return int(project_.Polygons.size()); },
                                   [this](int row) {
                                       return QString::fromStdString(PolygonListEntry(
                                           std::size_t(row), project_.Polygons[std::size_t(row)]));
                                   },
                                   this);
    PolyListBox = MakeList(this, "PolyListBox", "List Of All Polygons", model_);
    // Resting on a row shows its whole text, which the list may cut off.
    PolyListBox->setMouseTracking(true);
    connect(PolyListBox, &QListView::entered, this, [this](const QModelIndex& index) {
        PolyListBox->setToolTip(index.isValid() ? index.data().toString()
                                                : QString("List Of All Polygons"));
    });
    connect(PolyListBox, &QListView::clicked, this, [this] { PolyListBoxClick(); });
    PolyListBoxLabel = new QLabel("Index      Texture  Vertices        ", this);
    PolyListBoxLabel->setObjectName("PolyListBoxLabel");

    auto button = [&](QWidget* owner, const char* name, const char* caption, const char* hint,
                      void (TPolygonform::*handler)()) {
        QPushButton* b = MakeButton(owner, name, caption, hint);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto* add = new QGroupBox("Add Polygon", this);
    add->setObjectName("AddPolyGroupBox");
    FlatButton = button(add, "FlatButton", "Flat Shading", "Add Flat Shading Polygon",
                        &TPolygonform::FlatButtonClick);
    GouraudButton =
        button(add, "GouraudButton", "Gouraud Shading",
               "Add Gouraud Shading Polygon (not available yet)", &TPolygonform::NotAvailableClick);
    SpecButton = button(add, "SpecButton", "Specular Shading",
                        "Add Specular Shading Polygon (not available yet)",
                        &TPolygonform::NotAvailableClick);
    auto* addRow = new QHBoxLayout(add);
    addRow->addWidget(FlatButton);
    addRow->addWidget(GouraudButton);
    addRow->addWidget(SpecButton);
    RemovePolygonButton =
        button(this, "RemovePolygonButton", "Remove Selected", "Remove Selected Polygon(s)",
               &TPolygonform::RemovePolygonButtonClick);
    RemoveAllPolyButton = button(this, "RemoveAllPolyButton", "Remove All", "Remove All Polygons",
                                 &TPolygonform::RemoveAllPolyButtonClick);
    EditButton = button(this, "EditButton", "Edit selected", "Edit Selected Polygon(s)",
                        &TPolygonform::EditButtonClick);
    UndoButton = MakeButton(this, "UndoButton", "Undo", "Undo Last Action");
    UndoButton->setEnabled(false); // polygon edits are undone with the vertex window's undo
    ExitPolygonButton = button(this, "ExitPolygonButton", "Close", "Close This Window",
                               &TPolygonform::ExitPolygonButtonClick);

    EditPanel = new QWidget(this);
    EditPanel->setObjectName("EditPanel");
    TexLabel = new QLabel("Texture Index:", EditPanel);
    TexLabel->setObjectName("TexLabel");
    TexIndexComboBox = new QComboBox(EditPanel);
    TexIndexComboBox->setObjectName("TexIndexComboBox");
    TexIndexComboBox->setToolTip("Reassign The Texture Of The Selected Polygon(s)");
    connect(TexIndexComboBox, &QComboBox::activated, this, &TPolygonform::TexIndexComboBoxChange);
    VertButton =
        button(EditPanel, "VertButton", "Re-Pick Vertices",
               "Pick The Vertices Of The Selected Polygon Again", &TPolygonform::VertButtonClick);
    ColorButton =
        button(EditPanel, "ColorButton", "Re-define Color",
               "Redefine The Color Of The Selected Polygon(s)", &TPolygonform::ColorButtonClick);
    ColorPanel = new QLabel("Multiple", EditPanel);
    ColorPanel->setObjectName("ColorPanel");
    ColorPanel->setToolTip("Color Of The Selected Polygon(s)");
    ColorPanel->setAlignment(Qt::AlignCenter);
    ColorPanel->setMinimumHeight(24);
    BackButton = button(EditPanel, "BackButton", "<<", "Back", &TPolygonform::BackButtonClick);
    auto* panel = new QVBoxLayout(EditPanel);
    for (QWidget* w : std::initializer_list<QWidget*>{TexLabel, TexIndexComboBox, VertButton,
                                                      ColorButton, ColorPanel, BackButton})
        panel->addWidget(w);
    panel->addStretch();
    EditPanel->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(PolyListBoxLabel, 0, 0, 1, 2);
    grid->addWidget(PolyListBox, 1, 0, 1, 2);
    grid->addWidget(add, 2, 0, 1, 2);
    grid->addWidget(RemovePolygonButton, 3, 0);
    grid->addWidget(RemoveAllPolyButton, 3, 1);
    grid->addWidget(EditButton, 4, 0);
    grid->addWidget(UndoButton, 4, 1);
    grid->addWidget(ExitPolygonButton, 5, 1);
    grid->addWidget(EditPanel, 0, 2, 6, 1);
    ApplyButtons();
}

void TPolygonform::RefreshPolygonList() {
    model_->Reset();
    ApplyButtons();
}

void TPolygonform::ApplyButtons() {
    const ListWindowButtons b = PolygonWindowButtons(project_, !EditPanel->isHidden());
    for (QPushButton* add : {FlatButton, GouraudButton, SpecButton})
        add->setEnabled(b.Add);
    RemovePolygonButton->setEnabled(b.RemoveSelected);
    EditButton->setEnabled(b.EditSelected);
    RemoveAllPolyButton->setEnabled(b.RemoveAll);
    PolyListBox->setEnabled(b.List);
}

void TPolygonform::AfterChange() {
    RefreshPolygonList();
    redraw_();
}

void TPolygonform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ShowEditPanel(false);
    RefreshPolygonList();
}

void TPolygonform::ShowEditPanel(bool on) {
    setFixedWidth(on ? kWide : kNarrow);
    EditPanel->setVisible(on);
    TexIndexComboBox->setEnabled(true);
    TexLabel->setEnabled(true);
    ApplyButtons();
}

void TPolygonform::PolyListBoxClick() {
    SelectRows(project_.Polygons, SelectedRows(PolyListBox, project_.Polygons.size()));
    ApplyButtons();
    redraw_();
}

void TPolygonform::FlatButtonClick() {
    const std::optional<bool> withMouse = AskPickPolygonWithMouse(ui_);
    if (!withMouse)
        return;
    hide();
    if (*withMouse) {
        pick_.StartPolygonCreation(ui_, general_.RandomPolyColors);
        picking_();
        return;
    }
    manual_.Run(ManualVertexEntry::ForNewPolygon());
    AfterChange();
    show();
}

void TPolygonform::NotAvailableClick() {
    ShadingNotAvailable(ui_);
}

void TPolygonform::RemovePolygonButtonClick() {
    RemoveSelectedPolygons(project_);
    PolyListBox->clearSelection();
    AfterChange();
}

void TPolygonform::RemoveAllPolyButtonClick() {
    if (RemoveAllPolygons(project_, ui_))
        AfterChange();
}

void TPolygonform::EditButtonClick() {
    ShowEditPanel(true);
    TexIndexComboBox->clear();
    for (const std::string& choice : TextureChoices(project_))
        TexIndexComboBox->addItem(QString::fromStdString(choice));
    TextureChoiceState texture = TextureChoiceFor(project_);
    TexIndexComboBox->setCurrentIndex(int(texture.Row));
    TexIndexComboBox->setEnabled(texture.Enabled);
    TexLabel->setEnabled(texture.Enabled);
    EditPanelState state = EditPanelFor(project_.Polygons);
    VertButton->setEnabled(state.RepickEnabled);
    ShowColorPanel(ColorPanel, state.SingleColor);
}

void TPolygonform::BackButtonClick() {
    ShowEditPanel(false);
}

void TPolygonform::TexIndexComboBoxChange(int row) {
    ShowEditPanel(false);
    // The last row is "Multiple".
    std::optional<int32_t> index;
    if (row >= 0 && row + 1 < TexIndexComboBox->count())
        index = row;
    ReassignSelectedTexture(project_, index, ui_);
    AfterChange();
}

void TPolygonform::VertButtonClick() {
    ShowEditPanel(false);
    std::optional<Repick> repick = AskRepick(project_.Polygons, ui_);
    if (!repick)
        return;
    const auto polygon = int32_t(repick->Index);
    if (repick->WithMouse) {
        if (pick_.StartPolygonRedefinition(project_, polygon)) {
            hide();
            picking_();
        }
        return;
    }
    hide();
    manual_.Run(ManualVertexEntry::ForPolygon(project_, polygon));
    AfterChange();
    show();
}

void TPolygonform::ColorButtonClick() {
    RedefineSelectedPolygonColor(project_, pick_.Editor().PolygonColor, ui_);
    ShowEditPanel(false);
    AfterChange();
}

void TPolygonform::ExitPolygonButtonClick() {
    close();
}

void TPolygonform::reject() {
    Deselect(project_.Polygons);
    QDialog::reject();
    redraw_();
}

} // namespace meshforge::gui
