#include "gui/edit/line_form.h"

#include "edit/edit_windows.h"
#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"
#include "gui/edit/man_v_form.h"
#include "ui/ui.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {
constexpr int kNarrow = 330, kWide = 450;
} // namespace

TLineform::TLineform(Project& project, Ui& ui, EditorState& editor, PickState& pick,
                     std::function<void()> redraw, std::function<void()> picking, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), pick_(pick), undo_(editor.UndoLines),
      currentLineColor_(editor.LineColor), redraw_(std::move(redraw)),
      picking_(std::move(picking)) {
    MakeToolWindow(this, "Lineform", "Create Lines");
    setFixedWidth(kNarrow);

    model_ = new FunctionListModel([this] { return int(project_.Lines.size()); },
                                   [this](int row) {
                                       return QString::fromStdString(LineListEntry(
                                           std::size_t(row), project_.Lines[std::size_t(row)]));
                                   },
                                   this);
    LineListBox = MakeList(this, "LineListBox", "List Of Defined Lines", model_);
    connect(LineListBox, &QListView::clicked, this, [this] { LineListBoxClick(); });
    PolyListBoxLabel = new QLabel("Index    Vertices        ", this);
    PolyListBoxLabel->setObjectName("PolyListBoxLabel");

    auto button = [&](QWidget* owner, const char* name, const char* caption, const char* hint,
                      void (TLineform::*handler)()) {
        QPushButton* b = MakeButton(owner, name, caption, hint);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    AddLineButton = button(this, "AddLineButton", "Add Line ($815)", "Add A Line Object",
                           &TLineform::AddLineButtonClick);
    RemoveLineButton = button(this, "RemoveLineButton", "Remove Line(s)", "Remove Selected Line(s)",
                              &TLineform::RemoveLineButtonClick);
    RemoveAllButton = button(this, "RemoveAllButton", "Remove All Lines", "Remove All Lines",
                             &TLineform::RemoveAllButtonClick);
    EditButton = button(this, "EditButton", "Edit Selected", "Edit Selected Line",
                        &TLineform::EditButtonClick);
    UndoButton =
        button(this, "UndoButton", "Undo", "Undo Last Change", &TLineform::UndoButtonClick);
    CloseLineButton = button(this, "CloseLineButton", "Close", "Close This Window",
                             &TLineform::CloseLineButtonClick);

    EditPanel = new QWidget(this);
    EditPanel->setObjectName("EditPanel");
    VertButton = button(EditPanel, "VertButton", "Re-Pick Vertices", "Pick The Two Vertices Again",
                        &TLineform::VertButtonClick);
    ColorButton = button(EditPanel, "ColorButton", "Re-define Color",
                         "Redefine The Color Of The Line", &TLineform::ColorButtonClick);
    ColorPanel = new QLabel("Multiple", EditPanel);
    ColorPanel->setObjectName("ColorPanel");
    ColorPanel->setToolTip("Color Of The Line");
    ColorPanel->setAlignment(Qt::AlignCenter);
    ColorPanel->setMinimumHeight(24);
    BackButton = button(EditPanel, "BackButton", "<<", "Back", &TLineform::BackButtonClick);
    auto* panel = new QVBoxLayout(EditPanel);
    panel->addWidget(VertButton);
    panel->addWidget(ColorButton);
    panel->addWidget(ColorPanel);
    panel->addWidget(BackButton);
    panel->addStretch();
    EditPanel->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(PolyListBoxLabel, 0, 0, 1, 2);
    grid->addWidget(LineListBox, 1, 0, 1, 2);
    grid->addWidget(AddLineButton, 2, 0);
    grid->addWidget(RemoveLineButton, 2, 1);
    grid->addWidget(EditButton, 3, 0);
    grid->addWidget(RemoveAllButton, 3, 1);
    grid->addWidget(UndoButton, 4, 0);
    grid->addWidget(CloseLineButton, 4, 1);
    grid->addWidget(EditPanel, 0, 2, 5, 1);
    ApplyButtons();
}

void TLineform::RefreshLineList() {
    model_->Reset();
    ApplyButtons();
}

void TLineform::ApplyButtons() {
    const ListWindowButtons b = LineWindowButtons(project_, !EditPanel->isHidden());
    AddLineButton->setEnabled(b.Add);
    RemoveLineButton->setEnabled(b.RemoveSelected);
    EditButton->setEnabled(b.EditSelected);
    RemoveAllButton->setEnabled(b.RemoveAll);
    LineListBox->setEnabled(b.List);
    UndoButton->setEnabled(undo_.Available(project_));
}

void TLineform::ProjectChanged() {
    RefreshLineList();
}

void TLineform::AfterChange() {
    RefreshLineList();
    redraw_();
}

void TLineform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ShowEditPanel(false);
    RefreshLineList();
}

void TLineform::ShowEditPanel(bool on) {
    setFixedWidth(on ? kWide : kNarrow);
    EditPanel->setVisible(on);
    ApplyButtons();
}

void TLineform::LineListBoxClick() {
    SelectRows(project_.Lines, SelectedRows(LineListBox, project_.Lines.size()));
    ApplyButtons();
    redraw_();
}

void TLineform::AddLineButtonClick() {
    undo_.Take(project_);
    ApplyButtons();
    hide();
    pick_.StartLineCreation(ui_);
    picking_();
}

void TLineform::RemoveLineButtonClick() {
    RemoveSelectedLines(project_, undo_);
    LineListBox->clearSelection();
    AfterChange();
}

void TLineform::RemoveAllButtonClick() {
    if (RemoveAllLines(project_, undo_, ui_))
        AfterChange();
}

void TLineform::EditButtonClick() {
    ShowEditPanel(true);
    EditPanelState state = EditPanelFor(project_.Lines);
    VertButton->setEnabled(state.RepickEnabled);
    ShowColorPanel(ColorPanel, state.SingleColor);
}

void TLineform::BackButtonClick() {
    ShowEditPanel(false);
}

void TLineform::ColorButtonClick() {
    RedefineSelectedLineColor(project_, currentLineColor_, undo_, ui_);
    ShowEditPanel(false);
    AfterChange();
}

void TLineform::VertButtonClick() {
    ShowEditPanel(false);
    std::optional<Repick> repick = AskRepick(project_.Lines, ui_);
    if (!repick)
        return;
    const auto line = int32_t(repick->Index);
    if (repick->WithMouse) {
        undo_.Take(project_);
        ApplyButtons();
        if (pick_.StartLineRedefinition(project_, line)) {
            hide();
            picking_();
        }
        return;
    }
    if (!manual_)
        return;
    undo_.Take(project_);
    ApplyButtons();
    hide();
    manual_->Run(ManualVertexEntry::ForLine(project_, line));
    show();
    AfterChange();
}

void TLineform::UndoButtonClick() {
    undo_.Restore(project_, ui_);
    AfterChange();
}

void TLineform::CloseLineButtonClick() {
    close();
}

void TLineform::reject() {
    Deselect(project_.Lines);
    QDialog::reject();
    redraw_();
}

} // namespace meshforge::gui
