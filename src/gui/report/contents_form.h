#pragma once
#include "report/report.h"

#include <QDialog>
#include <QString>

#include <vector>

class QListView;
class QPushButton;

namespace meshforge {
struct Project;
}

namespace meshforge::gui {

class ListingModel;

// "Project Contents": the contents listing, appended at every showing, to read or copy. The
// rows are made from the listings when they are shown, so the listing of a million vertices
// (some 50 MB of text) opens at once.
class TContentsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TContentsForm(const Project& project, QWidget* parent = nullptr);
    // Appends the listing and shows the dialog modally.
    void Open();
    // The listing of the Project now, below the text already there.
    void AppendListing();
    // Everything the box holds, each listing on lines of its own.
    QString Text() const;
    std::size_t LineCount() const;

    QListView* ContentsMemo;
    QPushButton* CopyButton;
    QPushButton* CancelButton;

  private:
    void Clear();

    const Project& project_;
    ListingModel* model_;
};

} // namespace meshforge::gui
