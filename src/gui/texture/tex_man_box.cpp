#include "gui/texture/tex_man_box.h"

#include "gui/edit/form_parts.h"
#include "model/texts.h"
#include "texture/assign.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace meshforge::gui {

TTexManBox::TTexManBox(Project& project, Ui& ui, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui) {
    setObjectName("TexManBox");
    setWindowTitle("Texture Coordinates");
    setModal(true);
    XEdit = new QLineEdit(this);
    XEdit->setObjectName("XEdit");
    YEdit = new QLineEdit(this);
    YEdit->setObjectName("YEdit");
    OkButton = MakeButton(this, "OkButton", "Ok");
    CancelButton = MakeButton(this, "CancelButton", "Cancel");
    auto* form = new QFormLayout(this);
    form->addRow("X:", XEdit);
    form->addRow("Y:", YEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    form->addRow(buttons);
    for (QLineEdit* edit : {XEdit, YEdit})
        connect(edit, &QLineEdit::textEdited, this, [this] { OkButton->setEnabled(true); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool TTexManBox::Open(AssignState& state, int item) {
    state_ = &state;
    item_ = item;
    const TexCoord c = StoredCoord(project_, item);
    XEdit->setText(QString::fromStdString(FormatFixed(double(c.U), 3)));
    YEdit->setText(QString::fromStdString(FormatFixed(double(c.V), 3)));
    OkButton->setEnabled(false);
    XEdit->setFocus();
    return exec() == QDialog::Accepted;
}

void TTexManBox::OkButtonClick() {
    // A text that is no number leaves the box open with the coordinate unchanged.
    if (SetTypedCoordinate(project_, *state_, item_, XEdit->text().trimmed().toStdString(),
                           YEdit->text().trimmed().toStdString(), ui_))
        accept();
}

} // namespace meshforge::gui
