#include "gui/app/desc_form.h"

#include "model/project.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace meshforge::gui {

TDescForm::TDescForm(meshforge::Project& project, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      project_(project) {
    setObjectName("DescForm");
    setWindowTitle("Project Description");

    DescEdit = new QLineEdit(this);
    DescEdit->setObjectName("DescEdit");
    DescEdit->setMaxLength(200);
    DescEdit->setMinimumWidth(400);
    SaveButton = new QPushButton("Save && Close", this);
    SaveButton->setObjectName("SaveButton");
    SaveButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DescEdit);
    layout->addLayout(buttons);

    connect(SaveButton, &QPushButton::clicked, this, &TDescForm::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDescForm::CancelButtonClick);
}

void TDescForm::SaveButtonClick() {
    project_.ProjectDescription = DescEdit->text().toStdString();
    accept();
}

void TDescForm::CancelButtonClick() {
    reject();
}

void TDescForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TDescForm::FormShow() {
    DescEdit->setText(QString::fromStdString(project_.ProjectDescription));
}

} // namespace meshforge::gui
