#include "gui/texture/select_texture_form.h"

#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"
#include "gui/texture/tex_man_box.h"
#include "gui/texture/texture_form.h"
#include "gui/texture/texture_images.h"
#include "gui/texture/texture_view_form.h"
#include "texture/library.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace meshforge::gui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TSelectTextureForm::TSelectTextureForm(Project& project, ImageFiles& images, Ui& ui,
                                       TTextureform& library,
                                       std::function<void(const std::function<void()>&)> run,
                                       QWidget* parent)
    : QDialog(parent), project_(project), images_(images), ui_(ui), library_(library),
      run_(std::move(run)) {
    setObjectName("SelectTextureForm");
    setWindowTitle("Assign Texture");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setModal(false);

    polygons_ = new FunctionListModel([this] { return int(project_.Polygons.size()); },
                                      [](int row) { return Q(PolygonItem(row)); }, this);
    SelPolyListBox = new QListView(this);
    SelPolyListBox->setObjectName("SelPolyListBox");
    SelPolyListBox->setModel(polygons_);
    SelPolyListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SelPolyListBox->setUniformItemSizes(true);
    connect(SelPolyListBox->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!filling_)
            SelPolyListBoxClick();
    });

    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        return c;
    };
    TextureComboBox = combo("TextureComboBox");
    connect(TextureComboBox, &QComboBox::activated, this,
            [this](int row) { TextureComboBoxChange(row); });
    TexturePanel = new QLabel(this);
    TexturePanel->setObjectName("TexturePanel");
    TexturePanel->setFixedSize(130, 130);
    TexturePanel->setFrameShape(QFrame::Panel);
    TexturePanel->setFrameShadow(QFrame::Sunken);
    TexturePanel->setAlignment(Qt::AlignCenter);
    Image1 = new QLabel(TexturePanel);
    Image1->setObjectName("Image1");
    Image1->setGeometry(1, 1, 128, 128);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TexFormatLabel = new QLabel(this);
    TexFormatLabel->setObjectName("TexFormatLabel");
    StyleComboBox = combo("StyleComboBox");
    for (const char* style : kMappingStyleNames)
        StyleComboBox->addItem(style);
    connect(StyleComboBox, &QComboBox::activated, this,
            [this](int row) { StyleComboBoxChange(row); });
    CoordinateListBox = new QListWidget(this);
    CoordinateListBox->setObjectName("CoordinateListBox");
    CoordinateListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(CoordinateListBox, &QListWidget::itemClicked, this,
            [this] { CoordinateListBoxClick(); });
    connect(CoordinateListBox, &QListWidget::itemDoubleClicked, this,
            [this] { CoordinateListBoxDblClick(); });
    CoordComboBox = combo("CoordComboBox");
    for (const char* mode : kCoordPickModeNames)
        CoordComboBox->addItem(mode);
    connect(CoordComboBox, &QComboBox::activated, this,
            [this](int row) { state_.PickMode = static_cast<CoordPickMode>(row); });
    auto spin = [this](const char* name) {
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(1, kMaxRepeat);
        s->findChild<QLineEdit*>()->setReadOnly(true); // the arrows only
        connect(s, &QSpinBox::valueChanged, this, [this] {
            if (!filling_)
                SpinEditChange();
        });
        return s;
    };
    SpinEditX = spin("SpinEditX");
    SpinEditY = spin("SpinEditY");

    ModifyGroup = new QGroupBox("Modify Mapping:", this);
    ModifyGroup->setObjectName("ModifyGroup");
    auto modify = [this](const char* name, const char* caption,
                         void (*change)(Project&, AssignState&)) {
        QPushButton* b = MakeButton(ModifyGroup, name, caption);
        connect(b, &QPushButton::clicked, this, [this, change] { Modify(change); });
        return b;
    };
    RotateButton = modify("RotateButton", "Rotate", &RotateMapping);
    FaceButton = modify("FaceButton", "Face Opposite", &FaceOpposite);
    MirrorHButton = modify("MirrorHButton", "Mirror Horizontal", &MirrorHorizontal);
    MirrorVButton = modify("MirrorVButton", "Mirror Vertical", &MirrorVertical);
    auto* modifyGrid = new QGridLayout(ModifyGroup);
    modifyGrid->addWidget(RotateButton, 0, 0);
    modifyGrid->addWidget(FaceButton, 0, 1);
    modifyGrid->addWidget(MirrorHButton, 1, 0);
    modifyGrid->addWidget(MirrorVButton, 1, 1);
    OKButton = MakeButton(this, "OKButton", "Close");
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Available Polygons:", this), 0, 0);
    grid->addWidget(SelPolyListBox, 1, 0, 9, 1);
    grid->addWidget(new QLabel("Texture:", this), 0, 1);
    grid->addWidget(TextureComboBox, 1, 1);
    grid->addWidget(TexturePanel, 2, 1);
    grid->addWidget(TexFormatLabel, 3, 1);
    grid->addWidget(new QLabel("Mapping:", this), 4, 1);
    grid->addWidget(StyleComboBox, 5, 1);
    grid->addWidget(new QLabel("Repeat Texture Left/Right:", this), 6, 1);
    grid->addWidget(SpinEditX, 7, 1);
    grid->addWidget(new QLabel("Repeat Texture Up/Down:", this), 8, 1);
    grid->addWidget(SpinEditY, 9, 1);
    grid->addWidget(new QLabel("Coordinates:", this), 0, 2);
    grid->addWidget(CoordinateListBox, 1, 2, 4, 1);
    grid->addWidget(new QLabel("Pick Mode:", this), 5, 2);
    grid->addWidget(CoordComboBox, 6, 2);
    grid->addWidget(ModifyGroup, 7, 2, 2, 1);
    grid->addWidget(OKButton, 9, 2);

    ViewForm = new TTextureViewForm(TTextureViewForm::Use::Picking, this);
    TexManBox = new TTexManBox(project_, ui_, this);
}

void TSelectTextureForm::Open() {
    StartAssignTextures(project_, state_);
    filling_ = true;
    polygons_->Reset();
    filling_ = false;
    shownRevision_ = project_.Revision;
    FillTextureChoices();
    ShowSelection();
    SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
    ShowControls();
    for (QPushButton* b : {RotateButton, FaceButton, MirrorHButton, MirrorVButton})
        b->setEnabled(false);
    ShowTexture();
    show();
    raise();
    activateWindow();
}

void TSelectTextureForm::Refresh() {
    if (!isVisible())
        return;
    if (project_.TexturesRevision != shownTextures_)
        FillTextureChoices();
    if (project_.Revision != shownRevision_) {
        // Another window changed the lists: the selection keeps what is still there.
        shownRevision_ = project_.Revision;
        std::erase_if(state_.Selection, [this](int32_t i) {
            return i < 0 || std::size_t(i) >= project_.Polygons.size();
        });
        filling_ = true;
        polygons_->Reset();
        filling_ = false;
        ShowSelection();
        SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
        ShowTexture();
    }
    ShowControls();
}

void TSelectTextureForm::done(int result) {
    // "Close", Esc and the close box.
    run_([this] {
        CloseAssignTextures(project_, state_);
        CoordinateListBox->clear();
        TextureComboBox->clear();
        filling_ = true;
        SelPolyListBox->selectionModel()->clearSelection();
        filling_ = false;
    });
    QDialog::done(result);
}

void TSelectTextureForm::ShowSelection() {
    filling_ = true;
    QItemSelection selection;
    for (int32_t i : state_.Selection) {
        const QModelIndex index = polygons_->index(i, 0);
        selection.select(index, index);
    }
    SelPolyListBox->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!state_.Selection.empty())
        SelPolyListBox->scrollTo(polygons_->index(state_.Selection.back(), 0));
    filling_ = false;
}

void TSelectTextureForm::FillTextureChoices() {
    shownTextures_ = project_.TexturesRevision;
    TextureComboBox->clear();
    for (const std::string& item : AssignTextureChoices(project_))
        TextureComboBox->addItem(Q(item));
    TextureComboBox->setCurrentIndex(AssignChoiceRow(project_));
}

void TSelectTextureForm::ShowControls() {
    filling_ = true;
    const AssignView v = AssignControls(project_, state_);
    StyleComboBox->setCurrentIndex(static_cast<int>(state_.Style));
    CoordComboBox->setCurrentIndex(static_cast<int>(state_.PickMode));
    SpinEditX->setValue(state_.RepeatU);
    SpinEditY->setValue(state_.RepeatV);
    SpinEditX->setEnabled(v.RepeatEnabled);
    SpinEditY->setEnabled(v.RepeatEnabled);
    CoordinateListBox->setEnabled(v.CoordListEnabled);
    CoordComboBox->setEnabled(v.PickModeEnabled);
    RotateButton->setEnabled(v.RotateFaceEnabled);
    FaceButton->setEnabled(v.RotateFaceEnabled);
    MirrorHButton->setEnabled(v.MirrorsEnabled);
    MirrorVButton->setEnabled(v.MirrorsEnabled);
    filling_ = false;
}

void TSelectTextureForm::ClearPicture(const char* caption) {
    Image1->clear();
    Image1->hide();
    TexturePanel->setText(caption);
}

void TSelectTextureForm::ShowTexture() {
    const int32_t t = project_.CurrentTexture;
    TextureComboBox->setCurrentIndex(AssignChoiceRow(project_));
    if (t < 0 || std::size_t(t) >= project_.Textures.size()) {
        ClearPicture("No Texture Selected");
        TexFormatLabel->clear();
        return;
    }
    std::optional<RgbImage> image = images_.ReadRgb(project_.Textures[std::size_t(t)].Filename);
    if (!image) {
        ClearPicture("No Texture Selected");
        TexFormatLabel->clear();
        return;
    }
    const ImageSize size = PictureSize({image->Width, image->Height});
    Image1->setPixmap(QPixmap::fromImage(ToQImage(*image).scaled(
        size.Width, size.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Image1->show();
    TexturePanel->setText(QString());
    TexFormatLabel->setText(QString("Format: %1x%2").arg(image->Width).arg(image->Height));
}

void TSelectTextureForm::SetCoordinateItems(const std::vector<std::string>& items) {
    CoordinateListBox->clear();
    for (const std::string& item : items)
        CoordinateListBox->addItem(Q(item));
}

void TSelectTextureForm::SelPolyListBoxClick() {
    std::vector<int32_t> rows;
    for (const QModelIndex& index : SelPolyListBox->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    run_([this, rows] {
        SelectPolygons(project_, state_, rows);
        if (state_.Selection.size() == 1) {
            SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
            ShowTexture();
        } else if (state_.Selection.size() > 1) {
            SetCoordinateItems({"Multiple"});
            ClearPicture("Multiple");
        }
    });
}

void TSelectTextureForm::TextureComboBoxChange(int row) {
    const AssignChoice choice = AssignChoiceAt(project_, row);
    if (choice.What == AssignChoice::LoadNew) {
        hide();
        library_.ExecModal();
        show(); // first: the refresh after the command shows the controls of a visible window
        run_([this] {
            // With the library still empty there is nothing to choose: the choice stays.
            ChooseLastTexture(project_, state_);
            FillTextureChoices();
            ShowTexture();
        });
        return;
    }
    run_([this, choice] {
        ChooseTexture(project_, state_,
                      choice.What == AssignChoice::Texture ? choice.Index : kUntextured);
        ShowTexture();
        if (state_.Selection.size() == 1)
            SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
    });
}

void TSelectTextureForm::StyleComboBoxChange(int row) {
    run_([this, row] {
        SetMappingStyle(project_, state_, static_cast<MappingStyle>(row), ui_);
        if (state_.Selection.size() == 1)
            SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
        else
            SetCoordinateItems(WorkingCoordinateItems(project_, state_));
    });
}

void TSelectTextureForm::SpinEditChange() {
    run_([this] {
        SetRepeat(project_, state_, SpinEditX->value(), SpinEditY->value());
        if (state_.Selection.size() == 1)
            SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
        else
            SetCoordinateItems(WorkingCoordinateItems(project_, state_));
    });
}

void TSelectTextureForm::CoordinateListBoxClick() {
    const int row = CoordinateListBox->currentRow();
    if (state_.Selection.size() != 1)
        return; // the list shows "Multiple" or the corners being picked
    run_([this, row] { SelectCornerVertex(project_, row); });
}

void TSelectTextureForm::CoordinateListBoxDblClick() {
    std::vector<int> items;
    for (QListWidgetItem* item : CoordinateListBox->selectedItems())
        items.push_back(CoordinateListBox->row(item));
    std::sort(items.begin(), items.end());
    const int current = std::max(CoordinateListBox->currentRow(), 0);
    run_([this, items, current] {
        if (!MayEditCoordinates(project_, state_, ui_)) {
            ShowControls();
            return;
        }
        const int32_t t = project_.CurrentTexture;
        std::optional<RgbImage> image = images_.ReadRgb(project_.Textures[std::size_t(t)].Filename);
        if (!image) {
            ui_.Message(UnreadableBitmapMessage(project_.Textures[std::size_t(t)].Filename));
            return;
        }
        const int n = Corners(project_, project_.CurrentPolygon);
        if (state_.PickMode == CoordPickMode::AllAtOnce && state_.Selection.size() != 1)
            SetCoordinateItems(std::vector<std::string>(std::size_t(n), "Vertex"));
        auto setItem = [this](int k) {
            const std::vector<std::string> texts = WorkingCoordinateItems(project_, state_);
            if (k >= 0 && k < CoordinateListBox->count() && std::size_t(k) < texts.size())
                CoordinateListBox->item(k)->setText(Q(texts[std::size_t(k)]));
        };
        if (state_.PickMode == CoordPickMode::Manually) {
            if (TexManBox->Open(state_, current))
                setItem(current);
        } else {
            auto caption = [this](int x, int y, int w, int h) {
                return PickCaption(project_, state_, x, y, w, h);
            };
            auto press = [this, items, setItem](int x, int y, int w, int h) {
                const TexCoord c = CoordAt(x, y, w, h);
                if (state_.PickMode == CoordPickMode::Single) {
                    PickCorners(project_, state_, items, c);
                    for (int k : items)
                        setItem(k);
                    return true;
                }
                const int k = state_.PickCounter - 1;
                const bool last = PickNextCorner(project_, state_, c);
                setItem(k);
                return last;
            };
            ViewForm->Pick(ToQImage(*image), caption, press);
        }
        ApplyTextureToSelection(project_, state_);
    });
}

void TSelectTextureForm::Modify(void (*change)(Project&, AssignState&)) {
    run_([this, change] {
        change(project_, state_);
        SetCoordinateItems(CoordinateItems(project_, project_.CurrentPolygon));
    });
}

} // namespace meshforge::gui
