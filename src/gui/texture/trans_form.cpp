#include "gui/texture/trans_form.h"

#include "gui/edit/form_parts.h"
#include "gui/texture/texture_images.h"
#include "texture/library.h"
#include "ui/ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace meshforge::gui {

TTransForm::TTransForm(Project& project, ImageFiles& images, Ui& ui, QWidget* parent)
    : ColorPickDialog("TransForm", "Transparency", "Pick Transparent Color", parent),
      project_(project), images_(images), ui_(ui) {
    MaskPicture = new PictureLabel("MaskImage", 256, 256, this);
    SaveButton = MakeButton(this, "SaveButton", "Save Mask File && Close");
    CancelButton = MakeButton(this, "CancelButton", "Cancel");
    Grid->addWidget(new QLabel("Mask Image", this), 0, 1);
    Grid->addWidget(MaskPicture, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    Grid->addLayout(buttons, 3, 0, 1, 2);
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool TTransForm::Open(std::size_t index) {
    if (index >= project_.Textures.size())
        return false;
    index_ = index;
    if (!OpenOn(project_.Textures[index].Filename, images_, ui_))
        return false;
    mask_.reset();
    MaskPicture->SetImage(ToQImage(Texture()));
    return exec() == QDialog::Accepted;
}

void TTransForm::ColorChosen(uint32_t rgb) {
    mask_ = BuildMask(Texture(), rgb);
    MaskPicture->SetImage(ToQImage(*mask_));
}

void TTransForm::SaveButtonClick() {
    // Another window may have removed the entry while this one was open.
    if (index_ >= project_.Textures.size()) {
        reject();
        return;
    }
    FileDialogSpec request;
    request.Filters = {"Mask Bitmap File [*.bmp]|*.bmp"};
    request.DefaultExt = "bmp";
    request.FileName = ProposedMaskPath(project_.Textures[index_].Filename);
    std::optional<std::string> path = ui_.ChooseSaveFile(request);
    if (!path)
        return; // the dialog stays open
    if (SaveMaskFile(project_, index_, *path, mask_, Texture(), images_, ui_))
        accept();
}

} // namespace meshforge::gui
