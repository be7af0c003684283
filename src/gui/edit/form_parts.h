#pragma once
#include "model/project.h"

#include <QString>

#include "ui/ui.h"

#include <optional>
#include <vector>

class QAbstractItemModel;
class QDialog;
class QLabel;
class QListView;
class QPushButton;
class QWidget;

namespace meshforge::gui {

// What the editor windows share: tool windows that stay on top without title-bar buttons,
// named buttons with hints, multi-select lists and the colour panel of their edit panel.
void MakeToolWindow(QDialog* window, const char* name, const char* title);
QPushButton* MakeButton(QWidget* owner, const char* name, const char* caption,
                        const char* hint = nullptr);
QListView* MakeList(QWidget* owner, const char* name, const char* hint, QAbstractItemModel* model);
// One flag per element: whether its row is selected in the list.
std::vector<bool> SelectedRows(const QListView* list, std::size_t count);
// The colour of the one selected element, or the button face with the caption "Multiple".
void ShowColorPanel(QLabel* panel, const std::optional<ColorTriple>& single);

} // namespace meshforge::gui
