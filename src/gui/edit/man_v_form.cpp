#include "gui/edit/man_v_form.h"

#include "gui/edit/list_model.h"
#include "settings/settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace meshforge::gui {

TManVForm::TManVForm(Project& project, Ui& ui, EditorState& editor, const GeneralOptions& general,
                     QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), editor_(editor), general_(general) {
    setObjectName("ManVForm");
    setWindowTitle("Manual Vertex selection");
    Label1 = new QLabel("Vertex No. 1 = ", this);
    Label1->setObjectName("Label1");
    VertexComboBox = new QComboBox(this);
    VertexComboBox->setObjectName("VertexComboBox");
    VertexComboBox->setToolTip("List Of All Vertices");
    VertexComboBox->setEditable(true);
    VertexComboBox->setInsertPolicy(QComboBox::NoInsert);
    // The list is made on demand: a Project may hold millions of vertices.
    VertexComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    VertexComboBox->setMinimumContentsLength(8);
    model_ = new FunctionListModel([this] { return int(project_.Vertices.size()); },
                                   [](int row) { return QString::number(row); }, this);
    VertexComboBox->setModel(model_);
    auto button = [&](const char* name, const char* caption, const char* hint,
                      void (TManVForm::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    AddButton =
        button("AddButton", "Add Vertex", "Add Vertex From The List", &TManVForm::AddButtonClick);
    AddButton->setDefault(true);
    CloseButton =
        button("CloseButton", "Close Polygon", "Close The Polygon", &TManVForm::CloseButtonClick);
    CancelButton =
        button("CancelButton", "Cancel", "Close This Window", &TManVForm::CancelButtonClick);
    CloseButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(VertexComboBox, 0, 1, 1, 2);
    grid->addWidget(AddButton, 1, 0);
    grid->addWidget(CloseButton, 1, 1);
    grid->addWidget(CancelButton, 1, 2);
}

void TManVForm::Run(ManualVertexEntry entry) {
    entry_ = std::move(entry);
    model_->Reset();
    CloseButton->setEnabled(entry_->CloseEnabled());
    Label1->setText(QString::fromStdString(entry_->Label()));
    VertexComboBox->setCurrentIndex(-1);
    VertexComboBox->clearEditText();
    VertexComboBox->setFocus();
    exec();
    entry_.reset();
}

void TManVForm::After(ManualVertexEntry::Outcome outcome) {
    if (outcome == ManualVertexEntry::Outcome::Closed) {
        accept();
        return;
    }
    Label1->setText(QString::fromStdString(entry_->Label()));
    VertexComboBox->clearEditText();
    VertexComboBox->setFocus();
}

void TManVForm::AddButtonClick() {
    if (!entry_)
        return;
    After(entry_->Add(project_, VertexComboBox->currentText().toStdString(), editor_,
                      general_.RandomPolyColors, ui_));
}

void TManVForm::CloseButtonClick() {
    if (!entry_)
        return;
    After(entry_->ClosePolygon(project_, editor_, general_.RandomPolyColors, ui_));
}

void TManVForm::CancelButtonClick() {
    if (entry_)
        entry_->Cancel();
    reject();
}

} // namespace meshforge::gui
