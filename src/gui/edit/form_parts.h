#pragma once
#include "model/project.h"

#include <QString>

#include "app/ui.h"

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

// "Re-Pick Vertices": the first selected element and whether its vertices are picked with the
// mouse (Yes) or typed (No); nullopt when nothing is selected or the user cancels.
struct Repick {
    std::size_t Index;
    bool WithMouse;
};
std::optional<Repick> AskRepick(const std::vector<ObjectData>& elements, Ui& ui);

// Closing an editor window: nothing of its list stays selected.
void Deselect(std::vector<ObjectData>& elements);

} // namespace meshforge::gui
