#pragma once
#include <QAbstractListModel>

#include <functional>

namespace meshforge::gui {

// A list whose lines are made from the Project when they are shown, so a list of millions of
// elements costs nothing until it is scrolled.
class FunctionListModel : public QAbstractListModel {
  public:
    FunctionListModel(std::function<int()> count, std::function<QString(int)> line, QObject* parent)
        : QAbstractListModel(parent), count_(std::move(count)), line_(std::move(line)) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : count_();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        // An editable combo box shows and matches the edit role: a row without it would
        // empty the box the moment its text is found in the list.
        if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() ||
            index.row() >= count_())
            return {};
        return line_(index.row());
    }
    // The Project changed under the list.
    void Reset() {
        beginResetModel();
        endResetModel();
    }
    // Lines may read differently, the rows still name the same elements: the selection stays.
    void Changed() {
        if (const int n = count_(); n > 0)
            emit dataChanged(index(0), index(n - 1));
    }

  private:
    std::function<int()> count_;
    std::function<QString(int)> line_;
};

} // namespace meshforge::gui
