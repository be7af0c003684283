#include "gui/report/contents_form.h"

#include "gui/edit/form_parts.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace meshforge::gui {

// The lines of the listings shown so far, one row each, made when a row is shown.
class ListingModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(std::min<std::size_t>(Lines(), INT_MAX));
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || std::size_t(index.row()) >= Lines())
            return {};
        // The listing holding the row: the first whose end lies past it.
        const std::size_t row = std::size_t(index.row());
        const auto at = std::upper_bound(ends_.begin(), ends_.end(), row);
        const std::size_t k = std::size_t(at - ends_.begin());
        const std::size_t first = k == 0 ? 0 : ends_[k - 1];
        const std::string_view line = listings_[k].Line(row - first);
        return QString::fromUtf8(line.data(), qsizetype(line.size()));
    }
    void Append(Listing listing) {
        if (listing.LineCount() == 0)
            return;
        const int first = rowCount({});
        beginInsertRows({}, first, first + int(listing.LineCount()) - 1);
        ends_.push_back(Lines() + listing.LineCount());
        listings_.push_back(std::move(listing));
        endInsertRows();
    }
    void Clear() {
        beginResetModel();
        listings_.clear();
        ends_.clear();
        endResetModel();
    }
    std::size_t Lines() const { return ends_.empty() ? 0 : ends_.back(); }
    QString Text() const {
        std::string all;
        for (const Listing& l : listings_)
            all += l.Text();
        if (!all.empty() && all.back() == '\n')
            all.pop_back();
        return QString::fromStdString(all);
    }

  private:
    std::vector<Listing> listings_;
    std::vector<std::size_t> ends_; // rows up to the end of each listing
};

TContentsForm::TContentsForm(const Project& project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setObjectName("ContentsForm");
    setWindowTitle("Project Contents");
    setModal(true);
    resize(560, 520);
    model_ = new ListingModel(this);
    ContentsMemo = new QListView(this);
    ContentsMemo->setObjectName("ContentsMemo");
    ContentsMemo->setModel(model_);
    ContentsMemo->setUniformItemSizes(true);
    ContentsMemo->setSelectionMode(QAbstractItemView::NoSelection);
    ContentsMemo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ContentsMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ContentsMemo->setToolTip("Shows All Currently Defined Vertices, Lines, Polygons etc.");
    ContentsMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CopyButton = MakeButton(this, "CopyButton", "Copy To Clipboard",
                            "Copy All To Clipboard and Close Window");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");
    connect(CopyButton, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(Text());
        Clear();
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        Clear();
        reject();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ContentsMemo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CopyButton);
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

void TContentsForm::Open() {
    AppendListing();
    exec();
}

void TContentsForm::AppendListing() {
    const std::size_t first = model_->Lines();
    model_->Append(ProjectListing(project_, ListingKind::Contents));
    // The new listing from its top.
    ContentsMemo->scrollTo(model_->index(int(first), 0), QAbstractItemView::PositionAtTop);
}

QString TContentsForm::Text() const {
    return model_->Text();
}

std::size_t TContentsForm::LineCount() const {
    return model_->Lines();
}

void TContentsForm::Clear() {
    model_->Clear();
}

} // namespace meshforge::gui
