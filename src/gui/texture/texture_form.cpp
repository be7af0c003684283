#include "gui/texture/texture_form.h"

#include "gui/edit/form_parts.h"
#include "gui/texture/average_form.h"
#include "gui/texture/texture_images.h"
#include "gui/texture/texture_view_form.h"
#include "gui/texture/trans_form.h"
#include "texture/library.h"
#include "ui/ui.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

namespace meshforge::gui {

class TextureGridModel : public QAbstractTableModel {
  public:
    TextureGridModel(const Project& project, QObject* parent)
        : QAbstractTableModel(parent), project_(project) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(TextureGridRows(project_));
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(kTextureGridColumns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() ||
            std::size_t(index.row()) >= project_.Textures.size())
            return {};
        return QString::fromStdString(
            TextureGridRow(project_, std::size_t(index.row()))[std::size_t(index.column())]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
            std::size_t(section) >= kTextureGridColumns.size())
            return {};
        return QString(kTextureGridColumns[std::size_t(section)]);
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    const Project& project_;
};

TTextureform::TTextureform(Project& project, ImageFiles& images, Ui& ui,
                           std::function<void(const std::function<void()>&)> run,
                           std::function<void()> rebuild, QWidget* parent)
    : QDialog(parent), project_(project), images_(images), ui_(ui), run_(std::move(run)),
      rebuild_(std::move(rebuild)) {
    setObjectName("Textureform");
    setWindowTitle("Load / Remove Texture Files");
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setFixedWidth(629);
    setMinimumHeight(244);
    setMaximumHeight(550);
    resize(629, 320);

    model_ = new TextureGridModel(project_, this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setModel(model_);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    // Focus from opening the window would make the first row current, and select polygons,
    // unasked: the grid takes focus from a click only.
    StringGrid1->setFocusPolicy(Qt::ClickFocus);
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // The arrow keys move the selection; Qt's own choice of a current row on
                // showing the window is no selection by the user.
                if (StringGrid1->hasFocus())
                    SelectRow(current.row());
            });
    connect(StringGrid1, &QTableView::clicked, this,
            [this](const QModelIndex& index) { SelectRow(index.row()); });

    auto button = [this](const char* name, const char* caption, void (TTextureform::*handler)()) {
        QPushButton* b = MakeButton(this, name, caption);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    LoadTexButton = button("LoadTexButton", "Load Texture", &TTextureform::LoadTexButtonClick);
    ReplaceButton = button("ReplaceButton", "Replace Texture", &TTextureform::ReplaceButtonClick);
    TransButton = button("TransButton", "Transparency", &TTextureform::TransButtonClick);
    AverageButton = button("AverageButton", "Background Color", &TTextureform::AverageButtonClick);
    RemoveTexButton =
        button("RemoveTexButton", "Remove Selected", &TTextureform::RemoveTexButtonClick);
    ViewTexButton = button("ViewTexButton", "Preview Texture", &TTextureform::ViewTexButtonClick);
    CancelTexButton = MakeButton(this, "CancelTexButton", "Close");
    connect(CancelTexButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(StringGrid1, 0, 0, 1, 4);
    grid->addWidget(LoadTexButton, 1, 0);
    grid->addWidget(ReplaceButton, 1, 1);
    grid->addWidget(TransButton, 1, 2);
    grid->addWidget(AverageButton, 1, 3);
    grid->addWidget(RemoveTexButton, 2, 0);
    grid->addWidget(ViewTexButton, 2, 1);
    grid->addWidget(CancelTexButton, 2, 3);

    TransForm = new TTransForm(project_, images_, ui_, this);
    AverageForm = new TAverageForm(project_, images_, ui_, this);
    PreviewForm = new TTextureViewForm(TTextureViewForm::Use::Preview, this);
    Refresh();
}

void TTextureform::ShowModeless() {
    setModal(false);
    Refresh();
    show();
    raise();
    activateWindow();
}

void TTextureform::ExecModal() {
    if (isVisible())
        hide(); // shown beside the editor before: exec() makes it modal
    Refresh();
    exec();
}

void TTextureform::Refresh() {
    // Rows are made when shown: a changed list resets the grid, anything else repaints it.
    if (project_.TexturesRevision != shownTextures_) {
        shownTextures_ = project_.TexturesRevision;
        model_->Reset();
    } else {
        StringGrid1->viewport()->update();
    }
    const bool current = HasCurrent();
    for (QPushButton* b : {ReplaceButton, TransButton, AverageButton, RemoveTexButton})
        b->setEnabled(current);
    if (current) {
        // The grid shows the current entry without selecting polygons a second time.
        const QSignalBlocker block(StringGrid1->selectionModel());
        StringGrid1->selectRow(project_.CurrentTexture);
    }
}

bool TTextureform::HasCurrent() const {
    return project_.CurrentTexture >= 0 &&
           std::size_t(project_.CurrentTexture) < project_.Textures.size();
}

void TTextureform::done(int result) {
    // "Close", Esc and the close box: nothing current, no polygon highlighted.
    run_([this] { CloseTextureLibrary(project_); });
    QDialog::done(result);
}

void TTextureform::SelectRow(int row) {
    if (row < 0)
        return;
    run_([this, row] { SelectTextureRow(project_, row); });
}

std::optional<std::string> TTextureform::ChooseBitmapFile() {
    FileDialogSpec request;
    request.Filters = {"Bitmaps (*.bmp)|*.bmp"};
    return ui_.ChooseOpenFile(request);
}

void TTextureform::Rebuild() {
    setEnabled(false);
    rebuild_();
    setEnabled(true);
}

void TTextureform::LoadTexButtonClick() {
    std::optional<std::string> path = ChooseBitmapFile();
    if (!path)
        return;
    run_([&] {
        if (LoadTexture(project_, *path, images_, ui_))
            Rebuild();
    });
}

void TTextureform::ReplaceButtonClick() {
    if (!HasCurrent())
        return;
    std::optional<std::string> path = ChooseBitmapFile();
    if (!path)
        return;
    run_([&] {
        if (ReplaceTexture(project_, std::size_t(project_.CurrentTexture), *path, images_, ui_))
            Rebuild();
    });
}

void TTextureform::TransButtonClick() {
    if (!HasCurrent())
        return;
    run_([this] {
        // Saved or not, the library is rebuilt when the dialog has closed.
        if (!TransForm->Open(std::size_t(project_.CurrentTexture)))
            LogTextureRebuild(ui_);
        Rebuild();
    });
}

void TTextureform::AverageButtonClick() {
    if (!HasCurrent())
        return;
    run_([this] { AverageForm->Open(std::size_t(project_.CurrentTexture)); });
}

void TTextureform::RemoveTexButtonClick() {
    if (!HasCurrent())
        return;
    run_([this] {
        if (RemoveTexture(project_, std::size_t(project_.CurrentTexture), ui_))
            Rebuild();
    });
}

void TTextureform::ViewTexButtonClick() {
    std::optional<std::string> path = ChooseBitmapFile();
    if (!path)
        return;
    std::optional<RgbImage> image = images_.ReadRgb(*path);
    if (!image) {
        ui_.Message(UnreadableBitmapMessage(*path));
        return;
    }
    PreviewForm->ShowPreview(ToQImage(*image));
}

} // namespace meshforge::gui
