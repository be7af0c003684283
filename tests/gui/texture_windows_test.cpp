// A textured object built with the real texture windows: two bitmaps loaded, a mask made by
// picking its colour, a background colour picked, three polygons given textures in three
// mapping styles (the third by picking its corners on the image), and the result checked in
// the Project, in the mask file's bytes and in the view's pixels.
#include "fake_ui.h"
#include "gui/app/main_form.h"
#include "gui/texture/average_form.h"
#include "gui/texture/color_pick_dialog.h"
#include "gui/texture/select_texture_form.h"
#include "gui/texture/tex_man_box.h"
#include "gui/texture/texture_form.h"
#include "gui/texture/texture_images.h"
#include "gui/texture/texture_view_form.h"
#include "gui/texture/trans_form.h"
#include "gui/view/view_form.h"
#include "gui_steps.h"
#include "keep_gl_driver.h"
#include "model/project_file.h"
#include "texture/library.h"
#include "view_point.h"
#include "wait.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace meshforge;
using namespace meshforge::gui;
using meshforge::test::FakeUi;
using namespace meshforge::test;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

// Left half one colour, right half another.
std::string TwoColourBitmap(const QTemporaryDir& dir, const char* name, int side, uint32_t left,
                            uint32_t right) {
    QImage image(side, side, QImage::Format_RGB888);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixelColor(x, y, ColorOf(x < side / 2 ? left : right));
    const QString path = dir.filePath(name);
    image.save(path, "BMP");
    return path.toStdString();
}

// Pick mode on, then a press on the texture's pixel (x, y).
void PickOnOriginal(ColorPickDialog* dialog, QPoint pixel) {
    QTest::mouseClick(dialog->PickButton, Qt::LeftButton);
    QTest::mouseMove(dialog->Original, pixel);
    QTest::mousePress(dialog->Original, Qt::LeftButton, {}, pixel);
    QTest::mouseRelease(dialog->Original, Qt::LeftButton, {}, pixel);
}

bool Near(QRgb a, uint32_t rgb) {
    return std::abs(qRed(a) - int(rgb >> 16)) < 24 &&
           std::abs(qGreen(a) - int((rgb >> 8) & 0xFF)) < 24 &&
           std::abs(qBlue(a) - int(rgb & 0xFF)) < 24;
}

} // namespace

class TextureWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    FakeUi fake_;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<TMainForm> form_;

    QToolButton* ToolButton(const char* action) {
        for (QToolBar* bar : form_->findChildren<QToolBar*>())
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(form_->Action(action))))
                return b;
        return nullptr;
    }
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
        // Two quads and a triangle, seen from the top on a blue background.
        Project& p = P();
        p.Vertices = {{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0},
                      {150, -100, 0},  {350, -100, 0}, {350, 100, 0}, {150, 100, 0},
                      {400, -100, 0},  {600, -100, 0}, {500, 100, 0}};
        p.Polygons = {{{1, 1, 1}, {0, 3, 2, 1, 0}, kUntextured, {}},
                      {{1, 1, 1}, {4, 7, 6, 5, 4}, kUntextured, {}},
                      {{1, 1, 1}, {8, 10, 9, 8}, kUntextured, {}}};
        p.HasGeometry = p.GeometryShown = true;
        UpdateBoundingBox(p);
        BumpRevision(p);
        form_->ViewForm->PresetClick(ViewKind::Top);
        form_->ViewForm->ZoomAllClick();
        p.Options.Perspective = false;
        p.Options.VerticesVisible = p.Options.ShowVertices = false;
        SetBackgroundColor(p.Options, "$00FF0000");
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != form_.get())
                w->hide();
        P().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void buildsATexturedObject() {
        const std::string a = TwoColourBitmap(*dir_, "a.bmp", 32, kRed, kGreen);
        const std::string b = TwoColourBitmap(*dir_, "b.bmp", 16, kBlue, kYellow);

        // The library: two bitmaps loaded.
        QTest::mouseClick(ToolButton("TexturesToolButton"), Qt::LeftButton);
        auto* library = Window<TTextureform>();
        QVERIFY(library->isVisible());
        QVERIFY(!library->ReplaceButton->isEnabled());
        fake_.openAnswers = {a, b};
        QTest::mouseClick(library->LoadTexButton, Qt::LeftButton);
        QTest::mouseClick(library->LoadTexButton, Qt::LeftButton);
        QCOMPARE(P().Textures.size(), std::size_t(2));
        QCOMPARE(P().CurrentTexture, 1);
        QCOMPARE(library->StringGrid1->model()->index(1, 1).data().toString(), QString("b.bmp"));
        QCOMPARE(library->StringGrid1->model()->rowCount(), 12);

        // The mask of a.bmp: its red picked on the image, the proposed name taken.
        ClickRow(library->StringGrid1, 0);
        QCOMPARE(P().CurrentTexture, 0);
        QVERIFY(library->TransButton->isEnabled());
        const std::string mask = dir_->filePath("a_mask.bmp").toStdString();
        fake_.saveAnswers = {mask};
        WhenShown(library->TransForm, [&] {
            PickOnOriginal(library->TransForm, {3, 5});
            QCOMPARE(library->TransForm->ColorLabel->text(), QString("RGB: 255,0,0"));
            QTest::mouseClick(library->TransForm->SaveButton, Qt::LeftButton);
        });
        QTest::mouseClick(library->TransButton, Qt::LeftButton);
        QVERIFY(!library->TransForm->isVisible());
        QCOMPARE(fake_.saveDialogs.back().FileName, mask);
        QCOMPARE(P().Textures[0].MaskFilename, mask);
        QCOMPARE(P().Textures[0].Transparent, 1);
        QCOMPARE(library->StringGrid1->model()->index(0, 2).data().toString(), QString("1"));
        // One bit per pixel, black exactly on the red half.
        QFile file(QString::fromStdString(mask));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 30 && bytes.startsWith("BM"));
        QCOMPARE(int(bytes[28]), 1);
        const QImage written(QString::fromStdString(mask));
        for (QPoint at : {QPoint(0, 0), QPoint(15, 31), QPoint(16, 0), QPoint(31, 31)})
            QCOMPARE(written.pixel(at) & 0xFFFFFFu, at.x() < 16 ? 0u : 0xFFFFFFu);

        // The background colour of b.bmp: its yellow picked.
        ClickRow(library->StringGrid1, 1);
        WhenShown(library->AverageForm, [&] {
            QVERIFY(library->AverageForm->ShowsColor());
            PickOnOriginal(library->AverageForm, {12, 3});
            QTest::mouseClick(library->AverageForm->SaveButton, Qt::LeftButton);
        });
        QTest::mouseClick(library->AverageButton, Qt::LeftButton);
        QCOMPARE(P().Textures[1].BackColor, ColorRefOf(kYellow));
        QTest::mouseClick(library->CancelTexButton, Qt::LeftButton);
        QVERIFY(!library->isVisible());
        QCOMPARE(P().CurrentTexture, kNoTexture);

        // Assign: the first quad takes a.bmp whole.
        QTest::mouseClick(ToolButton("AssignTexToolButton"), Qt::LeftButton);
        auto* assign = Window<TSelectTextureForm>();
        QVERIFY(assign->isVisible());
        ClickRow(assign->SelPolyListBox, 0);
        ChooseInCombo(assign->TextureComboBox, 0);
        QCOMPARE(P().Polygons[0].TextureIndex, 0);
        QCOMPARE(P().Polygons[0].TexCoords,
                 (std::vector<TexCoord>{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
        QCOMPARE(assign->TexFormatLabel->text(), QString("Format: 32x32"));

        // The second quad: b.bmp repeated three times across.
        ClickRow(assign->SelPolyListBox, 1);
        ChooseInCombo(assign->TextureComboBox, 1);
        ChooseInCombo(assign->StyleComboBox, 2);
        QVERIFY(assign->SpinEditX->isEnabled());
        assign->SpinEditX->setFocus();
        QTest::keyClick(assign->SpinEditX, Qt::Key_Up);
        QTest::keyClick(assign->SpinEditX, Qt::Key_Up);
        QCOMPARE(P().Polygons[1].TextureIndex, 1);
        QCOMPARE(P().Polygons[1].TexCoords,
                 (std::vector<TexCoord>{{0, 0}, {0, 1}, {3, 1}, {3, 0}}));

        // The triangle: b.bmp, its corners picked on the image one after the other.
        ClickRow(assign->SelPolyListBox, 2);
        ChooseInCombo(assign->TextureComboBox, 1);
        QCOMPARE(assign->StyleComboBox->currentText(), QString("Texture Area"));
        QVERIFY(assign->CoordinateListBox->isEnabled());
        TTextureViewForm* picker = assign->ViewForm;
        std::vector<TexCoord> expected;
        WhenShown(picker, [&] {
            QCOMPARE(picker->windowTitle(), QString("Pick "));
            QVERIFY(picker->width() % picker->height() == 0);
            const int w = picker->width(), h = picker->height();
            for (QPoint at : {QPoint(w / 2, h / 2), QPoint(1, 0), QPoint(w / 4, h - 1)}) {
                expected.push_back(CoordAt(at.x(), at.y(), w, h));
                QTest::mouseMove(picker, at);
                QTest::mouseClick(picker, Qt::LeftButton, {}, at);
            }
        });
        QListWidget* coords = assign->CoordinateListBox;
        // A double-click as the system sends it: press, release, double-click, release.
        const QPoint first = coords->visualItemRect(coords->item(0)).center();
        QTest::mouseClick(coords->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(coords->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(coords->viewport(), Qt::LeftButton, {}, first);
        QVERIFY(!picker->isVisible());
        QCOMPARE(fake_.messages, std::vector<std::string>{});
        QCOMPARE(expected.size(), std::size_t(3));
        QCOMPARE(expected[0], (TexCoord{0.5f, 0.5f}));
        QCOMPARE(expected[1].V, 1.0f); // the top edge (QTest takes (0, 0) for the centre)
        QCOMPARE(P().Polygons[2].TextureIndex, 1);
        QCOMPARE(P().Polygons[2].TexCoords, expected);
        QCOMPARE(coords->item(0)->text(), QString("Vertex 8: 0.500, 0.500"));

        // Closed with its button: nothing selected, the polygons keep what they were given.
        QTest::mouseClick(assign->OKButton, Qt::LeftButton);
        QVERIFY(!assign->isVisible());
        for (const ObjectData& polygon : P().Polygons)
            QVERIFY(!polygon.Selected);

        // In the view: the masked half of the first quad lets the background through (the
        // image is added to it), the unmasked second quad shows its own colours.
        TViewForm* view = form_->ViewForm;
        auto at = [&](double x, double y) {
            const QPoint p = test::OnScreen(view, P(), Vertex{float(x), float(y), 0});
            return (view->Redraw(), view->grabFramebuffer()).pixel(p);
        };
        // Corner 0 (-100,-100) has (0,0), corner 1 (-100,100) has (0,1), corner 3 (100,-100)
        // has (1,0): U runs along x, V along y.
        QVERIFY(Near(at(-50, 0), kRed));          // the transparent colour: black in the mask
        QVERIFY(Near(at(50, 0), kGreen | kBlue)); // opaque: the background shows under it
        QVERIFY(Near(at(175, 0), kBlue));         // the second quad's first repeat, left half
        QVERIFY(Near(at(150 + 200 / 6.0 + 10, 0), kYellow));
    }

    void otherButtonsAndEveryWayOut() {
        const std::string a = TwoColourBitmap(*dir_, "a.bmp", 32, kRed, kGreen);
        const std::string b = TwoColourBitmap(*dir_, "b.bmp", 16, kBlue, kYellow);
        const std::string c = TwoColourBitmap(*dir_, "c.bmp", 64, kGreen, kRed);
        P().Textures = {{a, 0, "", 0, kDefaultBackColor}, {b, 0, "", 0, ColorRefOf(kYellow)}};
        TexturesChanged(P());
        P().Polygons[0].TextureIndex = 1;
        P().Polygons[0].TexCoords = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
        P().Polygons[1].TextureIndex = 0;
        P().Polygons[1].TexCoords = P().Polygons[0].TexCoords;

        // Check Background Colours: the message names the class; the colours come back.
        fake_.messages.clear();
        form_->Action("CheckBackColorsMenu")->trigger();
        QCOMPARE(fake_.messages.size(), std::size_t(1));
        QVERIFY(fake_.messages[0].find("Display Class is currently set to:") != std::string::npos);
        QCOMPARE(P().Polygons[0].Color, (ColorTriple{1, 1, 1}));

        // Library: replace b.bmp by c.bmp, then remove a.bmp; the polygons follow.
        QTest::mouseClick(ToolButton("TexturesToolButton"), Qt::LeftButton);
        auto* library = Window<TTextureform>();
        ClickRow(library->StringGrid1, 1);
        QVERIFY(P().Polygons[0].Selected && !P().Polygons[1].Selected);
        fake_.openAnswers = {c};
        QTest::mouseClick(library->ReplaceButton, Qt::LeftButton);
        QCOMPARE(P().Textures[1].Filename, c);
        QCOMPARE(P().Textures[1].BackColor, kDefaultBackColor);
        ClickRow(library->StringGrid1, 0);
        QTest::mouseClick(library->RemoveTexButton, Qt::LeftButton);
        QCOMPARE(P().Textures.size(), std::size_t(1));
        QCOMPARE(P().Polygons[0].TextureIndex, 0);
        QCOMPARE(P().Polygons[1].TextureIndex, kUntextured);
        QCOMPARE(library->StringGrid1->model()->index(0, 1).data().toString(), QString("c.bmp"));
        // Transparency and Background Color left by Cancel and Esc change nothing.
        ClickRow(library->StringGrid1, 0);
        WhenShown(library->TransForm,
                  [&] { QTest::mouseClick(library->TransForm->CancelButton, Qt::LeftButton); });
        QTest::mouseClick(library->TransButton, Qt::LeftButton);
        WhenShown(library->AverageForm, [&] {
            QTest::mouseClick(library->AverageForm->AutoToggleCheckBox, Qt::LeftButton);
            QVERIFY(library->AverageForm->ToggleTimer->isActive());
            QTest::keyClick(library->AverageForm, Qt::Key_Escape);
        });
        QTest::mouseClick(library->AverageButton, Qt::LeftButton);
        QVERIFY(!library->AverageForm->ToggleTimer->isActive());
        QVERIFY(P().Textures[0].MaskFilename.empty());
        QCOMPARE(P().Textures[0].BackColor, kDefaultBackColor);
        QTest::keyClick(library, Qt::Key_Escape);
        QVERIFY(!library->isVisible());
        QCOMPARE(P().CurrentTexture, kNoTexture);

        // Assign: a typed coordinate, first refused, then taken; Rotate; "-> Load New Texture"
        // through the library shown modally, closed at once: the last entry is chosen.
        QTest::mouseClick(ToolButton("AssignTexToolButton"), Qt::LeftButton);
        auto* assign = Window<TSelectTextureForm>();
        ClickRow(assign->SelPolyListBox, 2);
        ChooseInCombo(assign->TextureComboBox, 0);
        ChooseInCombo(assign->CoordComboBox, 2); // "Manually"
        QListWidget* coords = assign->CoordinateListBox;
        const QPoint second = coords->visualItemRect(coords->item(1)).center();
        auto* box = assign->TexManBox;
        WhenShown(box, [&] {
            QVERIFY(!box->OkButton->isEnabled());
            box->XEdit->selectAll();
            QTest::keyClicks(box->XEdit, "x1");
            QTest::mouseClick(box->OkButton, Qt::LeftButton);
            QVERIFY(box->isVisible());
            box->XEdit->selectAll();
            QTest::keyClicks(box->XEdit, "0.25");
            QTest::mouseClick(box->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(coords->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(coords->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseRelease(coords->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(fake_.messages.back(), std::string("'x1' is not a valid floating point value"));
        QCOMPARE(P().Polygons[2].TexCoords[1], (TexCoord{0.25f, 1}));
        QCOMPARE(coords->item(1)->text(), QString("Vertex 10: 0.250, 1.000"));
        QVERIFY(P().Vertices[10].Selected && !P().Vertices[8].Selected);
        QTest::mouseClick(assign->RotateButton, Qt::LeftButton);
        QCOMPARE(P().Polygons[2].TexCoords[0], (TexCoord{0.25f, 1}));

        auto* shown = Window<TTextureform>();
        WhenShown(shown, [&] { QTest::mouseClick(shown->CancelTexButton, Qt::LeftButton); });
        ChooseInCombo(assign->TextureComboBox, assign->TextureComboBox->count() - 1);
        QVERIFY(assign->isVisible());
        QCOMPARE(P().Polygons[2].TextureIndex, 0);
        QCOMPARE(assign->TextureComboBox->currentText(), QString("c.bmp"));
        QTest::keyClick(assign, Qt::Key_Escape);
        QVERIFY(!assign->isVisible());
        QCOMPARE(P().CurrentPolygon, kNoElement);
    }
};

QTEST_MAIN(TextureWindowsTest)
#include "texture_windows_test.moc"
