// The transform windows as a user meets them: the example turned about a vertex picked in the
// view, by a fixed angle and by free steps, then cancelled; selected vertices moved and scaled
// through the tool buttons and their dialogs; two polygons copied with an offset and the copy
// undone.
#include "fake_ui.h"
#include "gui/app/log_panel.h"
#include "gui/app/main_form.h"
#include "gui/transform/polygon_tool_forms.h"
#include "gui/transform/rotate_box.h"
#include "gui/transform/vertex_transform_forms.h"
#include "gui/view/view_form.h"
#include "gui_steps.h"
#include "keep_gl_driver.h"
#include "view_point.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <numbers>

using namespace meshforge;
using namespace meshforge::gui;
using namespace meshforge::test;

class TransformWindowsTest : public QObject {
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
    // The tool bar's button of an entry, clicked as the user clicks it.
    void ClickToolButton(const char* name) {
        QWidget* button = form_->ToolBar1->widgetForAction(form_->Action(name));
        QVERIFY(button && button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool Logged(const std::string& line) {
        const auto& log = form_->LogMemo->Lines();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    static void Type(QLineEdit* edit, const char* text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
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
    }
    void cleanup() {
        P().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void exampleRotatedAboutAPickedPivotAndCancelled() {
        form_->OpenRecentFile(std::string(MESHFORGE_EXAMPLES) + "/pavilion.3dp");
        Project& p = P();
        QVERIFY(p.Vertices.size() > 20);
        const std::vector<Vertex> before = p.Vertices;
        form_->ViewForm->PresetClick(ViewKind::Top);
        p.Options.Perspective = false;
        form_->Run([] {});

        form_->Action("RotateMenu")->trigger();
        auto* box = Window<TRotateBox>();
        QVERIFY(box->isVisible());
        QVERIFY(box->ZRadio->isChecked() && box->OriginRadio->isChecked() &&
                box->AllRadio->isChecked() && box->FixedRadio->isChecked());
        QVERIFY(!box->FreeSpinEdit->isEnabled());

        // The pivot picked in the view: a floor vertex of the example.
        const Vertex target = before[5];
        QTest::mouseClick(box->VertexRadio, Qt::LeftButton);
        QCOMPARE(fake_.messages, std::vector<std::string>{"Pick vertex as pivot point !"});
        QCOMPARE(form_->ViewForm->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {},
                          OnScreen(form_->ViewForm, p, target));
        const int32_t pivot = form_->State().PivotVertex;
        QVERIFY(pivot >= 0 && std::size_t(pivot) < p.Vertices.size());
        QCOMPARE(p.Vertices[std::size_t(pivot)].X, target.X);
        QCOMPARE(p.Vertices[std::size_t(pivot)].Y, target.Y);
        QVERIFY(Logged("Picked vertex " + std::to_string(pivot) + " as pivot point."));
        QCOMPARE(form_->ViewForm->cursor().shape(), Qt::ArrowCursor);
        const Vertex centre = before[std::size_t(pivot)];

        // "90°" from the list: every vertex a quarter turn about the pivot; the list goes back.
        ChooseInCombo(box->FixedComboBox, 3);
        QCOMPARE(box->FixedComboBox->currentIndex(), 6);
        for (std::size_t i = 0; i < before.size(); ++i) {
            QCOMPARE(p.Vertices[i].X, centre.X - (before[i].Y - centre.Y));
            QCOMPARE(p.Vertices[i].Y, centre.Y + (before[i].X - centre.X));
            QCOMPARE(p.Vertices[i].Z, before[i].Z);
        }
        const std::vector<Vertex> quarter = p.Vertices;

        // Three free steps up turn three degrees more; the pivot stays where it is.
        QTest::mouseClick(box->FreeRadio, Qt::LeftButton);
        QVERIFY(box->FreeSpinEdit->isEnabled() && !box->FixedComboBox->isEnabled());
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(box->FreeSpinEdit, Qt::Key_Up);
        QCOMPARE(box->FreeSpinEdit->value(), 3);
        const double a = 3 * std::numbers::pi / 180;
        for (std::size_t i = 0; i < before.size(); ++i) {
            const double dx = quarter[i].X - centre.X, dy = quarter[i].Y - centre.Y;
            QVERIFY(std::abs(p.Vertices[i].X - (centre.X + dx * std::cos(a) - dy * std::sin(a))) <
                    1e-4);
            QVERIFY(std::abs(p.Vertices[i].Y - (centre.Y + dx * std::sin(a) + dy * std::cos(a))) <
                    1e-4);
        }
        QCOMPARE(p.Vertices[std::size_t(pivot)].X, centre.X);

        // Cancel: every vertex exactly where it was when the dialog opened, no pivot.
        QTest::mouseClick(box->CancelButton, Qt::LeftButton);
        QVERIFY(!box->isVisible());
        QCOMPARE(form_->State().PivotVertex, kNoElement);
        for (std::size_t i = 0; i < before.size(); ++i)
            QVERIFY(p.Vertices[i].X == before[i].X && p.Vertices[i].Y == before[i].Y &&
                    p.Vertices[i].Z == before[i].Z);

        // Esc cancels too, after a step; the close box the same way.
        form_->Action("RotateMenu")->trigger();
        ChooseInCombo(box->FixedComboBox, 4);
        QVERIFY(p.Vertices[0].X != before[0].X);
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(p.Vertices[0].X, before[0].X);
    }

    void selectedVerticesMovedScaledAndPolygonsCopied() {
        Project& p = P();
        p.Vertices = {{0, 0, 0, true}, {1, 0, 0, true}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}};
        p.Polygons = {{{1, 0, 0}, {0, 1, 2, 3, 0}, kUntextured, {}},
                      {{0, 1, 0}, {1, 4, 5, 2, 1}, kUntextured, {}}};
        p.HasGeometry = p.GeometryShown = true;
        UpdateBoundingBox(p);
        BumpRevision(p);
        form_->Run([] {});
        form_->ApplyIdleRules(); // as the idle handler does

        // Move Selected by X = 10: the two selected vertices only, one log line.
        auto* move = Window<TMoveBox>();
        WhenShown(move, [&] {
            QCOMPARE(move->Edit1->text(), QString("0.0"));
            QVERIFY(!move->OKButton->isEnabled() && !move->SelButton->isEnabled());
            Type(move->Edit1, "10");
            QVERIFY(move->OKButton->isEnabled() && move->SelButton->isEnabled());
            QTest::mouseClick(move->SelButton, Qt::LeftButton);
        });
        ClickToolButton("MoveAllToolButton");
        QVERIFY(!move->isVisible());
        QCOMPARE(p.Vertices[0].X, 10.f);
        QCOMPARE(p.Vertices[1].X, 11.f);
        QCOMPARE(p.Vertices[2].X, 1.f);
        QVERIFY(Logged("Selected Vertice(s) moved 10 units along X-Axis"));

        // Scale Selected by 2 along Y, then undone from the reopened dialog.
        p.Vertices[2].Selected = true;
        auto* scale = Window<TScaleBox>();
        WhenShown(scale, [&] {
            QVERIFY(scale->AllScaleRadio->isChecked() && scale->ScSelButton->isEnabled());
            Type(scale->Edit1, "2");
            QTest::mouseClick(scale->YScaleRadio, Qt::LeftButton);
            QTest::mouseClick(scale->ScSelButton, Qt::LeftButton);
        });
        ClickToolButton("ScaleAllToolButton");
        QCOMPARE(p.Vertices[2].Y, 2.f);
        QCOMPARE(p.Vertices[3].Y, 1.f);
        QCOMPARE(p.Vertices[2].X, 1.f);
        QVERIFY(Logged("Selected Vertices scaled by 2"));
        WhenShown(scale, [&] {
            QVERIFY(scale->UndoButton->isEnabled());
            QTest::mouseClick(scale->UndoButton, Qt::LeftButton);
        });
        ClickToolButton("ScaleAllToolButton");
        QVERIFY(!scale->isVisible());
        QCOMPARE(p.Vertices[2].Y, 1.f);
        QVERIFY(p.Vertices[2].Selected); // the selection from before the scale

        // Both polygons copied 5 up, seen from the same side; then the copy undone.
        ClickToolButton("CopyPolyToolButton");
        auto* copy = Window<TPolyCopyForm>();
        QVERIFY(copy->isVisible());
        QCOMPARE(p.CurrentPolygon, 0);
        QVERIFY(!copy->UndoButton->isEnabled());
        ClickRow(copy->List, 0);
        ClickRow(copy->List, 1, Qt::ControlModifier);
        QVERIFY(p.Polygons[0].Selected && p.Polygons[1].Selected);
        QVERIFY(!copy->TexComboBox->isEnabled()); // untextured sources: "No texture"
        QCOMPARE(copy->TexComboBox->currentText(), QString("No texture"));
        ChooseInCombo(copy->VisComboBox, 1);
        Type(copy->ZEdit, "5");
        QTest::mouseClick(copy->CopyButton, Qt::LeftButton);
        QCOMPARE(p.Polygons.size(), std::size_t(4));
        QCOMPARE(p.Vertices.size(), std::size_t(14));
        QCOMPARE(p.Polygons[2].VertexIndices, (std::vector<int32_t>{6, 7, 8, 9, 6}));
        for (int j = 0; j < 4; ++j) {
            const Vertex& source = p.Vertices[std::size_t(p.Polygons[0].VertexIndices[j])];
            const Vertex& copied = p.Vertices[std::size_t(6 + j)];
            QVERIFY(copied.X == source.X && copied.Y == source.Y && copied.Z == source.Z + 5);
        }
        QCOMPARE(copy->ZEdit->text(), QString("0.0"));
        QCOMPARE(copy->List->model()->rowCount(), 4);
        QVERIFY(copy->List->selectionModel()->selectedRows().isEmpty());
        QVERIFY(copy->UndoButton->isEnabled());
        QTest::mouseClick(copy->UndoButton, Qt::LeftButton);
        QCOMPARE(p.Polygons.size(), std::size_t(2));
        QCOMPARE(p.Vertices.size(), std::size_t(6));
        QVERIFY(!copy->UndoButton->isEnabled());
        QTest::mouseClick(copy->CloseButton, Qt::LeftButton);
        QVERIFY(!copy->isVisible());
        QCOMPARE(p.CurrentPolygon, kNoElement);
        QVERIFY(!p.Polygons[0].Selected && !p.Polygons[1].Selected);
    }
};

QTEST_MAIN(TransformWindowsTest)
#include "transform_windows_test.moc"
