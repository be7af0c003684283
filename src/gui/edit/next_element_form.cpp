#include "gui/edit/next_element_form.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace meshforge::gui {

NextElementForm::NextElementForm(const Texts& texts, QWidget* parent) : QDialog(parent) {
    setWindowTitle(texts.Caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* row = new QHBoxLayout(this);
    auto button = [&](const char* name, const char* caption, const char* hint, NextElement answer) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            accept();
        });
        row->addWidget(b);
        return b;
    };
    SameButton = button("SameButton", "Same Color", texts.SameHint, NextElement::SameColor);
    NewButton = button("NewButton", "New Color", texts.NewHint, NextElement::NewColor);
    NoButton = button("NoButton", "Stop", texts.StopHint, NextElement::Stop);
}

NextElement NextElementForm::Run(bool offerNewColor) {
    answer_ = NextElement::Stop;
    SameButton->setText(offerNewColor ? "Same Color" : "Yes");
    NewButton->setVisible(offerNewColor);
    SameButton->setDefault(true);
    SameButton->setFocus();
    exec();
    return answer_;
}

TLineColorForm::TLineColorForm(QWidget* parent)
    : NextElementForm({"Create New Line ?", "Create New Line With The Same Color As The Last",
                       "Create New Line With a New Color", "No More lines Now"},
                      parent) {
    setObjectName("LineColorForm");
}

TPolygonColorForm::TPolygonColorForm(QWidget* parent)
    : NextElementForm({"Create New Polygon ?",
                       "Create A New Polygon With The Same Color As The Last",
                       "Create A New Polygon With A New Color", "No More Polygons Now"},
                      parent) {
    setObjectName("PolygonColorForm");
}

} // namespace meshforge::gui
