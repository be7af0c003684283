#include "gui/app/name_project_form.h"

#include "app/lifecycle.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace meshforge::gui {

TNameProjectForm::TNameProjectForm(meshforge::Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName("NameProjectForm");
    setWindowTitle("Assign Project Name");

    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName("NameEdit");
    NameEdit->setToolTip("Name Of Project (8 Characters max.)");
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setToolTip("Create Own Folder For The Project (Below Meshforge Main Folder)");
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NameEdit);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &TNameProjectForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TNameProjectForm::CancelButtonClick);
}

meshforge::NameAnswer TNameProjectForm::Run() {
    answer_ = {};
    exec();
    return answer_;
}

void TNameProjectForm::OKButtonClick() {
    std::string name = NameEdit->text().toStdString();
    if (!meshforge::IsValidProjectName(name)) {
        ui_.Message(meshforge::kProjectNameRuleMessage);
        NameEdit->clear();
        NameEdit->setFocus();
        return;
    }
    answer_ = {meshforge::NameAnswer::How::Ok, std::move(name)};
    accept();
}

void TNameProjectForm::CancelButtonClick() {
    answer_ = {meshforge::NameAnswer::How::Cancelled, {}};
    reject();
}

} // namespace meshforge::gui
