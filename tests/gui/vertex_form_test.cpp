// The vertex window driven like a user: typing, clicking the list, the buttons.
#include "fake_ui.h"
#include "gui/edit/vertex_form.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

using namespace meshforge;
using meshforge::gui::TVertexform;
using meshforge::test::FakeUi;

class VertexFormTest : public QObject {
    Q_OBJECT

    Project project_;
    FakeUi ui_;
    EditorState editor_;
    int redraws_ = 0;
    std::unique_ptr<TVertexform> form_;

    QStringList ListTexts() const {
        QStringList out;
        auto* model = form_->VertexListBox->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString();
        return out;
    }
    void Type(const char* x, const char* y, const char* z) {
        for (auto [edit, text] :
             {std::pair{form_->VertexEdit_X, x}, std::pair{form_->VertexEdit_Y, y},
              std::pair{form_->VertexEdit_Z, z}}) {
            edit->clear();
            QTest::keyClicks(edit, text);
            emit edit->editingFinished();
        }
    }
    void Select(std::initializer_list<int> rows) {
        auto* selection = form_->VertexListBox->selectionModel();
        selection->clearSelection();
        for (int r : rows)
            selection->select(form_->VertexListBox->model()->index(r, 0),
                              QItemSelectionModel::Select);
        form_->VertexListBoxClick();
    }

  private slots:
    void init() {
        project_ = Project{};
        ui_ = FakeUi{};
        redraws_ = 0;
        editor_ = EditorState{};
        form_ = std::make_unique<TVertexform>(project_, ui_, editor_, [this] { ++redraws_; });
        form_->show();
    }
    void cleanup() {
        form_.reset();
        ui_.Verify();
    }

    void windowHasItsControls() {
        QCOMPARE(form_->windowTitle(), QString("Create/Add vertices manually"));
        QCOMPARE(form_->width(), 393);
        QCOMPARE(form_->VertexListBox->toolTip(), QString("List Of All Vertices"));
        QCOMPARE(form_->VertexEdit_Y->toolTip(), QString("Y Value Of Selected"));
        QCOMPARE(form_->UndoButton->toolTip(), QString("Undo Last Action"));
        QVERIFY(!form_->RemoveVertexButton->isEnabled());
        QVERIFY(!form_->RemoveAllButton->isEnabled());
        QVERIFY(!form_->UndoButton->isEnabled());
        QVERIFY(form_->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void addModifyRemoveAndUndo() {
        Type("1", "2", "3");
        QCOMPARE(form_->VertexEdit_X->text(), QString("1.000"));
        QTest::mouseClick(form_->AddModVertexButton, Qt::LeftButton);
        Type("-4.5", "0", "123456.7"); // ten characters: the list cuts it to nine
        QTest::mouseClick(form_->AddModVertexButton, Qt::LeftButton);
        Type("7", "", "9");
        QTest::mouseClick(form_->AddModVertexButton, Qt::LeftButton);
        QCOMPARE(ui_.messages.back(), std::string("Every coordinate needs to be assigned !"));
        QCOMPARE(ListTexts(), (QStringList{"0   :    1.000    2.000    3.000",
                                           "1   :   -4.500    0.000123456.70"}));
        QCOMPARE(form_->Label4->text(), QString("No. of Vertices: 2"));
        QVERIFY(project_.HasGeometry && project_.GeometryShown);

        // Both selected: the fields keep only what all share; Modify with Z alone.
        Select({0, 1});
        QCOMPARE(form_->AddModVertexButton->text(), QString("Modify"));
        QCOMPARE(form_->VertexEdit_X->text(), QString());
        QVERIFY(!form_->AddModVertexButton->isEnabled()); // all three fields alike
        QTest::keyClicks(form_->VertexEdit_Z, "5");
        QVERIFY(form_->AddModVertexButton->isEnabled());
        QTest::mouseClick(form_->AddModVertexButton, Qt::LeftButton);
        QCOMPARE(project_.Vertices[0].Z, 5.0f);
        QCOMPARE(project_.Vertices[1].Z, 5.0f);
        QCOMPARE(project_.Vertices[1].X, -4.5f);
        QCOMPARE(form_->AddModVertexButton->text(), QString("Add Vertex"));
        QVERIFY(form_->UndoButton->isEnabled());

        project_.Lines.push_back({{0, 0, 0}, {0, 1}, 0, {}});
        Select({0});
        QCOMPARE(form_->VertexEdit_X->text(), QString("1.000"));
        QTest::mouseClick(form_->RemoveVertexButton, Qt::LeftButton);
        QCOMPARE(project_.Vertices.size(), std::size_t(1));
        QVERIFY(project_.Lines.empty());
        QCOMPARE(ListTexts(), QStringList{"0   :   -4.500    0.000    5.000"});

        QTest::mouseClick(form_->UndoButton, Qt::LeftButton);
        QCOMPARE(project_.Vertices.size(), std::size_t(2));
        QCOMPARE(project_.Lines.size(), std::size_t(1));
        QVERIFY(!form_->UndoButton->isEnabled());
    }

    void removeAllAsksAndUndoBringsNothingBack() {
        project_.Vertices = {{1, 1, 1}, {2, 2, 2}};
        project_.HasGeometry = true;
        form_->RefreshVertexList();
        ui_.answers = {Answer::No, Answer::Yes};
        QVERIFY(form_->RemoveAllButton->isEnabled()); // a refresh follows the list
        QTest::mouseClick(form_->RemoveAllButton, Qt::LeftButton);
        QCOMPARE(project_.Vertices.size(), std::size_t(2));
        QTest::mouseClick(form_->RemoveAllButton, Qt::LeftButton);
        QVERIFY(project_.Vertices.empty());
        QCOMPARE(ui_.questions.back().caption, std::string("Remove all Vertices"));
        QCOMPARE(ui_.log.back(), std::string("All Vertices removed !"));
        QVERIFY(!form_->UndoButton->isEnabled());
        QVERIFY(ListTexts().isEmpty());
    }

    void aFiveDigitIndexIsCutToFour() {
        project_.Vertices.assign(12346, Vertex{});
        form_->RefreshVertexList();
        QCOMPARE(ListTexts().last(), QString("1234:    0.000    0.000    0.000"));
    }

    void undoIsDroppedWithTheProject() {
        project_.Vertices = {{1, 1, 1}};
        form_->RefreshVertexList();
        Select({0});
        form_->VertexEdit_X->setText("9");
        QTest::mouseClick(form_->AddModVertexButton, Qt::LeftButton);
        QVERIFY(form_->UndoButton->isEnabled());
        ResetEditorState(editor_); // what every lifecycle command does
        form_->ProjectChanged();
        QVERIFY(!form_->UndoButton->isEnabled());
    }
};

QTEST_MAIN(VertexFormTest)
#include "vertex_form_test.moc"
