#include "gui/edit/form_parts.h"

#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace meshforge::gui {

namespace {

// A dialog is centred over its parent whenever it is shown unless it was placed on purpose;
// a window that hides for a pick must come back where the user left it, so hiding counts as
// placing it there.
class PlaceKeeper : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            if (auto* w = qobject_cast<QWidget*>(watched))
                w->setAttribute(Qt::WA_Moved, true);
        return false;
    }
};

} // namespace

void MakeToolWindow(QDialog* window, const char* name, const char* title) {
    window->installEventFilter(new PlaceKeeper(window));
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint);
    window->setModal(false);
}

QPushButton* MakeButton(QWidget* owner, const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(name);
    if (hint)
        b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

QListView* MakeList(QWidget* owner, const char* name, const char* hint, QAbstractItemModel* model) {
    auto* list = new QListView(owner);
    list->setObjectName(name);
    list->setToolTip(hint);
    list->setModel(model);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    // The rows are padded into columns.
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return list;
}

std::vector<bool> SelectedRows(const QListView* list, std::size_t count) {
    std::vector<bool> rows(count, false);
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        if (index.row() >= 0 && std::size_t(index.row()) < count)
            rows[std::size_t(index.row())] = true;
    return rows;
}

void ShowColorPanel(QLabel* panel, const std::optional<ColorTriple>& single) {
    QPalette pal = panel->palette();
    if (single) {
        pal.setColor(QPalette::Window, QColor::fromRgbF(single->R, single->G, single->B));
        panel->setText(QString());
    } else {
        pal.setColor(QPalette::Window, panel->parentWidget()->palette().color(QPalette::Button));
        panel->setText("Multiple");
    }
    panel->setAutoFillBackground(true);
    panel->setPalette(pal);
}

} // namespace meshforge::gui
