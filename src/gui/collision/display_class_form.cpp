#include "gui/collision/display_class_form.h"

#include "collision/display_class_choice.h"
#include "gui/edit/form_parts.h"
#include "model/project.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace meshforge::gui {

TDisplayClassForm::TDisplayClassForm(Project& project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setObjectName("DisplayClassForm");
    setWindowTitle("Set Visibility within GPL");
    setModal(true);
    DCComboBox = new QComboBox(this);
    DCComboBox->setObjectName("DCComboBox");
    OKButton = MakeButton(this, "OKButton", "OK");
    CancelButton = MakeButton(this, "CancelButton", "Cancel");
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Object Type (as set in GPL Graphic Options):", this));
    layout->addWidget(DCComboBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

bool TDisplayClassForm::Open() {
    const int32_t before = project_.DisplayClass;
    const DisplayClassChoice choice = DisplayClassChoiceOf(before);
    DCComboBox->clear();
    for (const std::string& item : choice.Items)
        DCComboBox->addItem(QString::fromStdString(item));
    DCComboBox->setCurrentIndex(int(choice.Current));
    OKButton->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    // A code the list does not hold (a hand-edited file) stays when its own item is kept.
    const int32_t code = DisplayClassOfItem(before, std::size_t(DCComboBox->currentIndex()));
    return code == before || SetDisplayClass(project_, code);
}

} // namespace meshforge::gui
