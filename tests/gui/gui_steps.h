#pragma once
// Steps the GUI tests take as a user would: waiting for a window, clicking a list row, choosing
// in a combo box through its popup.
#include "wait.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace meshforge::test {

// Runs `step` once the window is shown (a modal one blocks the test until it closes).
inline void WhenShown(QWidget* window, std::function<void()> step) {
    QTimer::singleShot(20, [window, step] {
        if (!window->isVisible())
            return WhenShown(window, step);
        step();
    });
}

inline void ClickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers keys = {}) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, view->visualRect(index).center());
}

// Opens the combo box's list with a click and clicks the row.
inline void ChooseInCombo(QComboBox* combo, int row) {
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), kGuiWaitMs);
    // The list takes no click within a double-click's time of opening.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    ClickRow(list, row);
    QTRY_VERIFY_WITH_TIMEOUT(!list->isVisible(), kGuiWaitMs);
}

} // namespace meshforge::test
