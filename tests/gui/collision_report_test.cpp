// The collision dialog, the display-class dialog and the contents window as a user meets them:
// a volume built from polygons picked in the dialog, a conflict refused, its characteristic
// edited, removed; the display class chosen; the listing shown, appended, copied.
#include "fake_ui.h"
#include "gui/app/main_form.h"
#include "gui/collision/collision_form.h"
#include "gui/collision/display_class_form.h"
#include "gui/report/contents_form.h"
#include "gui_steps.h"
#include "keep_gl_driver.h"
#include "report/report.h"

#include <QClipboard>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace meshforge;
using namespace meshforge::gui;
using namespace meshforge::test;

class CollisionReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    FakeUi fake_;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<TMainForm> form_;

    Project& P() { return form_->CurrentProject(); }
    template <class W> W* Window() {
        W* w = form_->findChild<W*>();
        Q_ASSERT(w);
        return w;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        fake_ = FakeUi{};
        editor_ = std::make_unique<Editor>(dir_->path().toStdString() + "/");
        form_ = std::make_unique<TMainForm>(*editor_, std::vector<std::string>{});
        form_->UiPort().SetPrompts(&fake_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), kGuiWaitMs));
        Project& p = P();
        p.Vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}};
        p.Polygons = {{{1, 1, 1}, {0, 1, 2, 3, 0}, kUntextured, {}},
                      {{1, 1, 1}, {1, 4, 5, 2, 1}, kUntextured, {}},
                      {{1, 1, 1}, {0, 1, 2, 0}, kUntextured, {}}};
        p.HasGeometry = p.GeometryShown = true;
        UpdateBoundingBox(p);
        BumpRevision(p);
        form_->Run([] {});
    }
    void cleanup() {
        P().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void volumesBuiltEditedAndRemoved() {
        form_->Action("CollisionMenu")->trigger();
        auto* dialog = Window<TCollisionForm>();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->width(), kCollisionNarrowWidth);
        QVERIFY(!dialog->RemoveButton->isEnabled() && !dialog->EditReboundButton->isEnabled());

        // Polygons 2 and 0 picked in the panel with TireWall: one volume, in ascending order.
        QTest::mouseClick(dialog->AddVolumeButton, Qt::LeftButton);
        QCOMPARE(dialog->width(), kCollisionWideWidth);
        ClickRow(dialog->PolyListBox, 2);
        ClickRow(dialog->PolyListBox, 0, Qt::ControlModifier);
        QVERIFY(P().Polygons[0].Selected && P().Polygons[2].Selected && !P().Polygons[1].Selected);
        ChooseInCombo(dialog->ReboundComboBox, 10);
        QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        QCOMPARE(P().CollVols.size(), std::size_t(1));
        QCOMPARE(P().CollVols[0].PolygonIndices, (std::vector<int32_t>{0, 2}));
        QCOMPARE(P().CollVols[0].Rebounds, (std::vector<int32_t>{10, 10}));
        QCOMPARE(dialog->VolumesListBox->item(0)->text(), QString("0  : TireWall     0,2"));
        QCOMPARE(dialog->width(), kCollisionNarrowWidth);
        QVERIFY(!P().Polygons[0].Selected);

        // Polygon 2 again: refused with the conflict named, nothing added.
        QTest::mouseClick(dialog->AddVolumeButton, Qt::LeftButton);
        ClickRow(dialog->PolyListBox, 2);
        QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        QCOMPARE(fake_.messages,
                 std::vector<std::string>{"Polygon No. 2 already used by Volume No.0"});
        QCOMPARE(P().CollVols.size(), std::size_t(1));
        QTest::mouseClick(dialog->BackButton, Qt::LeftButton);
        QCOMPARE(dialog->width(), kCollisionNarrowWidth);

        // Selected, its characteristic edited to Grass, then removed.
        ClickRow(dialog->VolumesListBox, 0);
        QVERIFY(dialog->RemoveButton->isEnabled() && dialog->EditReboundButton->isEnabled());
        QVERIFY(P().Polygons[0].Selected && P().Polygons[2].Selected);
        QTest::mouseClick(dialog->EditReboundButton, Qt::LeftButton);
        QCOMPARE(dialog->AddButton->text(), QString("Edit"));
        ChooseInCombo(dialog->ReboundComboBox, 4);
        QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        QCOMPARE(P().CollVols[0].Rebounds, (std::vector<int32_t>{4, 4}));
        QCOMPARE(dialog->AddButton->text(), QString("Add"));
        ClickRow(dialog->VolumesListBox, 0);
        QTest::mouseClick(dialog->RemoveButton, Qt::LeftButton);
        QVERIFY(P().CollVols.empty());
        QVERIFY(!dialog->RemoveButton->isEnabled() && !dialog->EditReboundButton->isEnabled());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(P().CurrentPolygon, kNoElement);
    }

    void displayClassAndContents() {
        auto* classes = Window<TDisplayClassForm>();
        WhenShown(classes, [&] {
            QCOMPARE(classes->DCComboBox->currentIndex(), 3); // the default class
            ChooseInCombo(classes->DCComboBox, 12);
            QTest::mouseClick(classes->OKButton, Qt::LeftButton);
        });
        form_->Action("DisplayClassMenu")->trigger();
        QCOMPARE(P().DisplayClass, 20);
        WhenShown(classes, [&] {
            QCOMPARE(classes->DCComboBox->currentText(),
                     QString("Racing groove      (Entire Object on/off)"));
            QTest::mouseClick(classes->CancelButton, Qt::LeftButton);
        });
        form_->Action("DisplayClassMenu")->trigger();

        // Shown twice (left the first time with Esc, which keeps the text), then copied.
        auto* contents = Window<TContentsForm>();
        WhenShown(contents, [&] { QTest::keyClick(contents, Qt::Key_Escape); });
        form_->Action("ContentsMenu")->trigger();
        WhenShown(contents, [&] {
            const QString text = contents->Text();
            QCOMPARE(text.count("= = = = = = = Project Data = = = = = = ="), 2);
            QVERIFY(text.contains("Racing groove"));
            QTest::mouseClick(contents->CopyButton, Qt::LeftButton);
        });
        form_->Action("ContentsMenu")->trigger();
        const std::string listing = ProjectListing(P(), ListingKind::Contents).Text();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.endsWith(QString::fromStdString(listing.substr(0, listing.size() - 1))));
        QCOMPARE(copied.count("= = = = = = = Project Data = = = = = = ="), 2);
        QCOMPARE(contents->LineCount(), std::size_t(0));

        // Print with nothing to print: the guard's message, no dialog.
        P().Vertices.clear();
        form_->Action("PrintMenu")->trigger();
        QCOMPARE(fake_.messages.back(), std::string("No Vertices, No Print !"));
    }
};

QTEST_MAIN(CollisionReportTest)
#include "collision_report_test.moc"
