// The small questions that follow a created line or polygon.
#include "gui/edit/next_element_form.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace meshforge;
using meshforge::gui::NextElementForm;
using meshforge::gui::TLineColorForm;
using meshforge::gui::TPolygonColorForm;

class EditDialogsTest : public QObject {
    Q_OBJECT

    // Runs the dialog and clicks `button` (or presses Esc when null) once it is open.
    static NextElement Answer(NextElementForm& form, QPushButton* button, bool offerNew = true) {
        QTimer::singleShot(0, &form, [&form, button] {
            if (button)
                button->click();
            else
                QTest::keyClick(&form, Qt::Key_Escape);
        });
        return form.Run(offerNew);
    }

  private slots:
    void lineQuestionAnswersEachButton() {
        TLineColorForm form;
        QCOMPARE(form.windowTitle(), QString("Create New Line ?"));
        QCOMPARE(form.SameButton->toolTip(),
                 QString("Create New Line With The Same Color As The Last"));
        QCOMPARE(form.NewButton->toolTip(), QString("Create New Line With a New Color"));
        QCOMPARE(form.NoButton->toolTip(), QString("No More lines Now"));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(Answer(form, form.SameButton), NextElement::SameColor);
        QCOMPARE(Answer(form, form.NewButton), NextElement::NewColor);
        QCOMPARE(Answer(form, form.NoButton), NextElement::Stop);
        QCOMPARE(Answer(form, nullptr), NextElement::Stop);
        // An answer does not stick to the next showing.
        QCOMPARE(Answer(form, form.SameButton), NextElement::SameColor);
        QCOMPARE(Answer(form, nullptr), NextElement::Stop);
    }

    void polygonQuestionWithRandomColoursOffersYes() {
        TPolygonColorForm form;
        QCOMPARE(form.windowTitle(), QString("Create New Polygon ?"));
        QCOMPARE(Answer(form, form.SameButton, false), NextElement::SameColor);
        QCOMPARE(form.SameButton->text(), QString("Yes"));
        QVERIFY(form.NewButton->isHidden());
        QCOMPARE(Answer(form, form.NewButton, true), NextElement::NewColor);
        QCOMPARE(form.SameButton->text(), QString("Same Color"));
        QVERIFY(!form.NewButton->isHidden());
        QCOMPARE(form.NoButton->toolTip(), QString("No More Polygons Now"));
    }
};

QTEST_MAIN(EditDialogsTest)
#include "edit_dialogs_test.moc"
