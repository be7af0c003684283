#include "gui/io/offset_new_form.h"

#include "model/texts.h"
#include "util/errors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {

QLineEdit* MakeEdit(const char* name, const char* hint, QWidget* parent) {
    auto* edit = new QLineEdit("0", parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

} // namespace

TOffsetNewForm::TOffsetNewForm(meshforge::Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui) {
    setObjectName("OffsetNewForm");
    setWindowTitle("Offset New Vertices ?");

    Edit1 = MakeEdit("Edit1", "X Value to Offset", this);
    Edit2 = MakeEdit("Edit2", "Y Value to Offset", this);
    Edit3 = MakeEdit("Edit3", "Z Value to Offset", this);
    OffsetButton = new QPushButton("Add with Offset", this);
    OffsetButton->setObjectName("OffsetButton");
    OffsetButton->setToolTip("Offset New Vertices");
    OffsetButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setToolTip("Close This Window");

    auto* edits = new QGridLayout;
    int row = 0;
    for (auto [label, edit] : {std::pair{"X", Edit1}, {"Y", Edit2}, {"Z", Edit3}}) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(edit);
        edits->addWidget(caption, row, 0);
        edits->addWidget(edit, row, 1);
        ++row;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OffsetButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(edits);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OffsetButton, &QPushButton::clicked, this, &TOffsetNewForm::OffsetButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TOffsetNewForm::CancelButtonClick);
}

std::optional<meshforge::Offset3> TOffsetNewForm::Run() {
    // Leaving by the close box must not look like an acceptance from an earlier showing.
    accepted_ = false;
    exec();
    if (!accepted_)
        return std::nullopt;
    return offset_;
}

void TOffsetNewForm::OffsetButtonClick() {
    try {
        // In X, Y, Z order: a bad Y leaves the X already taken, as the edits are read one by
        // one; the next showing resets them anyway.
        offset_.X = meshforge::ParseFloat(Edit1->text().toStdString());
        offset_.Y = meshforge::ParseFloat(Edit2->text().toStdString());
        offset_.Z = meshforge::ParseFloat(Edit3->text().toStdString());
    } catch (const meshforge::ParseError& e) {
        ui_.Message(e.what());
        return;
    }
    accepted_ = true;
    accept();
}

void TOffsetNewForm::CancelButtonClick() {
    accepted_ = false;
    reject();
}

void TOffsetNewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TOffsetNewForm::FormShow() {
    offset_ = {};
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        edit->setText("0");
}

} // namespace meshforge::gui
