#include "app/lifecycle.h"
#include "fake_ui.h"
#include "gui/app/desc_form.h"
#include "gui/app/name_project_form.h"
#include "gui/io/offset_new_form.h"
#include "model/project.h"
#include "model/texts.h"
#include "util/errors.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>

using meshforge::NameAnswer;
using namespace meshforge::gui;

namespace {

// Runs `steps` once the modal dialog's loop is running; a dialog the steps leave open is
// rejected after a while so that a faulty dialog fails the test instead of hanging it. The
// guard ends with this showing: left running, it would reject a later showing of the same
// dialog on a slow machine.
template <class F> void WhileModal(QDialog& dialog, F steps) {
    QTimer::singleShot(0, &dialog, steps);
    auto* guard = new QTimer(&dialog);
    guard->setSingleShot(true);
    QObject::connect(guard, &QTimer::timeout, &dialog, &QDialog::reject);
    QObject::connect(&dialog, &QDialog::finished, guard, [guard] {
        guard->stop();
        guard->deleteLater();
    });
    guard->start(60000);
}

// Types like a user; QTest types Latin-1 only, so other text is pasted in.
void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->del();
    bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
    if (latin1)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

std::string ParserMessage(const char* text) {
    try {
        meshforge::ParseFloat(text);
    } catch (const meshforge::ParseError& e) {
        return e.what();
    }
    return {};
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void descriptionFilledOnEveryShowAndSavedOnlyBySave() {
        meshforge::Project project;
        project.ProjectDescription = "First";
        TDescForm form(project);
        QCOMPARE(form.windowTitle(), QString("Project Description"));
        QCOMPARE(form.SaveButton->text(), QString("Save && Close"));

        form.show();
        QCOMPARE(form.DescEdit->text(), QString("First"));
        Type(form.DescEdit, "Changed but cancelled");
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(project.ProjectDescription, std::string("First"));

        form.show(); // the cancelled text is gone
        QCOMPARE(form.DescEdit->text(), QString("First"));
        Type(form.DescEdit, "Bridge, north side");
        QTest::mouseClick(form.SaveButton, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(project.ProjectDescription, std::string("Bridge, north side"));

        project.ProjectDescription = "Set elsewhere";
        form.show();
        QCOMPARE(form.DescEdit->text(), QString("Set elsewhere"));
        form.hide();
    }

    void descriptionIsLimitedTo200Characters() {
        meshforge::Project project;
        TDescForm form(project);
        form.show();
        Type(form.DescEdit, QString(250, QChar('d')));
        QCOMPARE(form.DescEdit->text().size(), 200);
        QTest::mouseClick(form.SaveButton, Qt::LeftButton);
        QCOMPARE(project.ProjectDescription, std::string(200, 'd'));
    }

    void nameOfEightCharactersIsAccepted() {
        meshforge::test::FakeUi ui;
        TNameProjectForm form(ui);
        QCOMPARE(form.windowTitle(), QString("Assign Project Name"));
        QCOMPARE(form.NameEdit->toolTip(), QString("Name Of Project (8 Characters max.)"));
        QCOMPARE(form.OKButton->toolTip(),
                 QString("Create Own Folder For The Project (Below Meshforge Main Folder)"));
        WhileModal(form, [&] {
            Type(form.NameEdit, "Monza_71");
            QTest::mouseClick(form.OKButton, Qt::LeftButton);
        });
        NameAnswer a = form.Run();
        QCOMPARE(a.Result, NameAnswer::How::Ok);
        QCOMPARE(a.Name, std::string("Monza_71"));
        QCOMPARE(form.Answer().Name, std::string("Monza_71"));
        QVERIFY(ui.messages.empty());

        // Eight characters that take more than eight bytes are still eight characters.
        WhileModal(form, [&] {
            Type(form.NameEdit, QString::fromUtf8("Nürbürgä"));
            QTest::mouseClick(form.OKButton, Qt::LeftButton);
        });
        a = form.Run();
        QCOMPARE(a.Result, NameAnswer::How::Ok);
        QCOMPARE(a.Name, std::string("Nürbürgä"));
    }

    void refusedNamesKeepTheDialogOpen() {
        meshforge::test::FakeUi ui;
        TNameProjectForm form(ui);
        QStringList editAfter;
        bool stayedOpen = true;
        WhileModal(form, [&] {
            for (QString bad : {"NineChars", "", "ab/cd", "..", "a\\b"}) {
                Type(form.NameEdit, bad);
                QTest::mouseClick(form.OKButton, Qt::LeftButton);
                editAfter << form.NameEdit->text();
                stayedOpen = stayedOpen && form.isVisible();
            }
            Type(form.NameEdit, "Spa");
            QTest::mouseClick(form.OKButton, Qt::LeftButton);
        });
        NameAnswer a = form.Run();
        QVERIFY(stayedOpen);
        QCOMPARE(editAfter, QStringList(5, QString()));
        QCOMPARE(ui.messages,
                 std::vector<std::string>(5, std::string(meshforge::kProjectNameRuleMessage)));
        QCOMPARE(a.Result, NameAnswer::How::Ok);
        QCOMPARE(a.Name, std::string("Spa"));
    }

    void cancelAndCloseBoxAreTold() {
        meshforge::test::FakeUi ui;
        TNameProjectForm form(ui);
        WhileModal(form, [&] { QTest::mouseClick(form.CancelButton, Qt::LeftButton); });
        QCOMPARE(form.Run().Result, NameAnswer::How::Cancelled);

        WhileModal(form, [&] {
            Type(form.NameEdit, "Imola");
            QTest::mouseClick(form.OKButton, Qt::LeftButton);
        });
        QCOMPARE(form.Run().Result, NameAnswer::How::Ok);

        // The earlier answers must not leak into a showing left by the close box.
        WhileModal(form, [&] { form.close(); });
        NameAnswer a = form.Run();
        QCOMPARE(a.Result, NameAnswer::How::Closed);
        QVERIFY(a.Name.empty());

        WhileModal(form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
        QCOMPARE(form.Run().Result, NameAnswer::How::Closed);
        QVERIFY(ui.messages.empty());
    }

    void offsetIsParsedInOrderAndAccepted() {
        meshforge::test::FakeUi ui;
        TOffsetNewForm form(ui);
        QCOMPARE(form.windowTitle(), QString("Offset New Vertices ?"));
        QCOMPARE(form.OffsetButton->toolTip(), QString("Offset New Vertices"));
        QCOMPARE(form.CancelButton->toolTip(), QString("Close This Window"));
        QCOMPARE(form.Edit2->toolTip(), QString("Y Value to Offset"));
        WhileModal(form, [&] {
            Type(form.Edit1, "1.5");
            Type(form.Edit2, "-2");
            Type(form.Edit3, " 3e1 ");
            QTest::mouseClick(form.OffsetButton, Qt::LeftButton);
        });
        std::optional<meshforge::Offset3> o = form.Run();
        QVERIFY(o.has_value());
        QCOMPARE(o->X, 1.5f);
        QCOMPARE(o->Y, -2.0f);
        QCOMPARE(o->Z, 30.0f);
        QVERIFY(form.OffsetAccepted());
        QCOMPARE(form.ImportOffset().Z, 30.0f);
        QVERIFY(form.minimumSize() == form.maximumSize()); // fixed border
    }

    void offsetThatIsNotANumberKeepsTheDialogOpen() {
        meshforge::test::FakeUi ui;
        TOffsetNewForm form(ui);
        bool openAfterError = false;
        float xAfterError = 0;
        WhileModal(form, [&] {
            Type(form.Edit1, "4");
            Type(form.Edit2, "1,5");
            QTest::mouseClick(form.OffsetButton, Qt::LeftButton);
            openAfterError = form.isVisible();
            xAfterError = form.ImportOffset().X;
            Type(form.Edit2, "1.5");
            QTest::mouseClick(form.OffsetButton, Qt::LeftButton);
        });
        std::optional<meshforge::Offset3> o = form.Run();
        QVERIFY(openAfterError);
        QCOMPARE(xAfterError, 4.0f); // X was read before the faulty Y
        QCOMPARE(ui.messages, std::vector<std::string>{ParserMessage("1,5")});
        QVERIFY(!ui.messages[0].empty());
        QVERIFY(o.has_value());
        QCOMPARE(o->Y, 1.5f);
    }

    void everyShowingStartsFromZero() {
        meshforge::test::FakeUi ui;
        TOffsetNewForm form(ui);
        WhileModal(form, [&] {
            Type(form.Edit1, "7");
            Type(form.Edit3, "9");
            QTest::mouseClick(form.OffsetButton, Qt::LeftButton);
        });
        QVERIFY(form.Run().has_value());

        QStringList shown;
        float xShown = -1;
        WhileModal(form, [&] {
            shown << form.Edit1->text() << form.Edit2->text() << form.Edit3->text();
            xShown = form.ImportOffset().X;
            Type(form.Edit1, "5");
            form.close();
        });
        QVERIFY(!form.Run().has_value());
        QCOMPARE(shown, (QStringList{"0", "0", "0"}));
        QCOMPARE(xShown, 0.0f);
        QVERIFY(!form.OffsetAccepted());

        form.show();
        QCOMPARE(form.Edit1->text(), QString("0"));
        QTest::mouseClick(form.OffsetButton, Qt::LeftButton); // "0" three times is an offset
        QVERIFY(form.OffsetAccepted());
        form.show();
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QVERIFY(!form.OffsetAccepted());
        QVERIFY(!form.isVisible());
        QVERIFY(ui.messages.empty());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
