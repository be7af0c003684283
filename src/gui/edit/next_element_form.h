#pragma once
#include "view/pick_prompts.h"

#include <QDialog>

class QPushButton;

namespace meshforge::gui {

// The small question after each created line or polygon: go on with the same colour, with a
// new one, or stop. It has no title-bar buttons; Esc counts as "Stop".
class NextElementForm : public QDialog {
    Q_OBJECT
  public:
    struct Texts {
        const char* Caption;
        const char* SameHint;
        const char* NewHint;
        const char* StopHint;
    };
    NextElementForm(const Texts& texts, QWidget* parent = nullptr);

    // Shows the dialog modally. Without `offerNewColor` the first button reads "Yes" and
    // "New Color" is hidden (random polygon colours).
    NextElement Run(bool offerNewColor = true);

    QPushButton* SameButton;
    QPushButton* NewButton;
    QPushButton* NoButton;

  private:
    NextElement answer_ = NextElement::Stop;
};

// "Create New Line ?"
class TLineColorForm : public NextElementForm {
    Q_OBJECT
  public:
    explicit TLineColorForm(QWidget* parent = nullptr);
};

// "Create New Polygon ?"
class TPolygonColorForm : public NextElementForm {
    Q_OBJECT
  public:
    explicit TPolygonColorForm(QWidget* parent = nullptr);
};

} // namespace meshforge::gui
