#include "gui/transform/vertex_transform_forms.h"

#include "gui/edit/form_parts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {

void MakeDialog(QDialog* d, const char* name, const char* title) {
    d->setObjectName(name);
    d->setWindowTitle(title);
    d->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                      Qt::MSWindowsFixedSizeDialogHint);
    d->setModal(true);
}

QLineEdit* MakeEdit(QWidget* owner, const char* name, const char* hint) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(name);
    e->setToolTip(hint);
    return e;
}

QRadioButton* MakeRadio(QWidget* owner, const char* name, const char* caption, const char* hint) {
    auto* r = new QRadioButton(caption, owner);
    r->setObjectName(name);
    r->setToolTip(hint);
    return r;
}

// Qt keeps one button of an exclusive group checked; a dialog that starts with none checked
// lifts the rule for the moment of clearing.
void UncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

OffsetTexts TextsOf(QLineEdit* x, QLineEdit* y, QLineEdit* z) {
    return {x->text().toStdString(), y->text().toStdString(), z->text().toStdString()};
}

} // namespace

// ---- Move ----

TMoveBox::TMoveBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
                   QWidget* parent)
    : QDialog(parent), project_(project), undo_(undo), ui_(ui), run_(std::move(run)) {
    MakeDialog(this, "MoveBox", "Move");
    Edit1 = MakeEdit(this, "Edit1", "Value To Move Vertices On X Axis");
    Edit2 = MakeEdit(this, "Edit2", "Value To Move Vertices On Y Axis");
    Edit3 = MakeEdit(this, "Edit3", "Value To Move Vertices On Z Axis");
    OKButton = MakeButton(this, "OKButton", "Move All", "Move All Vertices");
    SelButton = MakeButton(this, "SelButton", "Move Selected", "Move Only Selected Vertices");
    UndoButton = MakeButton(this, "UndoButton", "Undo", "Undo Last Move");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");
    OKButton->setEnabled(false);
    SelButton->setEnabled(false);

    auto* edits = new QGridLayout;
    int row = 0;
    for (auto [label, edit] : {std::pair{"X", Edit1}, {"Y", Edit2}, {"Z", Edit3}}) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(edit);
        edits->addWidget(caption, row, 0);
        edits->addWidget(edit, row++, 1);
        connect(edit, &QLineEdit::textEdited, this, &TMoveBox::EditChanged);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(edits);
    layout->addLayout(ButtonRow({OKButton, SelButton}));
    layout->addLayout(ButtonRow({UndoButton, CancelButton}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, [this] { MoveClick(Scope::All); });
    connect(SelButton, &QPushButton::clicked, this, [this] { MoveClick(Scope::Selected); });
    connect(UndoButton, &QPushButton::clicked, this, &TMoveBox::UndoClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMoveBox::CancelClick);
}

void TMoveBox::Open() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3})
        e->setText(QString::fromLatin1(kZeroOffsetText.data(), int(kZeroOffsetText.size())));
    UndoButton->setEnabled(undo_.CanRestore(project_));
    Edit1->setFocus();
    exec();
}

void TMoveBox::EditChanged() {
    OKButton->setEnabled(true);
    SelButton->setEnabled(AnyVertexSelected(project_));
}

void TMoveBox::MoveClick(Scope scope) {
    bool moved = false;
    run_([&] { moved = MoveVertices(project_, TextsOf(Edit1, Edit2, Edit3), scope, undo_, ui_); });
    if (moved)
        accept();
}

void TMoveBox::UndoClick() {
    run_([&] { UndoTransform(project_, UndoKind::Move, undo_, ui_); });
    UndoButton->setEnabled(undo_.CanRestore(project_));
}

void TMoveBox::CancelClick() {
    OKButton->setEnabled(false);
    SelButton->setEnabled(false);
    reject();
}

// ---- Mirror ----

TMirrorBox::TMirrorBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
                       QWidget* parent)
    : QDialog(parent), project_(project), undo_(undo), ui_(ui), run_(std::move(run)) {
    MakeDialog(this, "MirrorBox", "Mirror");
    XRadio = MakeRadio(this, "XRadio", "X Values", "Mirrors All X Values");
    YRadio = MakeRadio(this, "YRadio", "Y Values", "Mirrors All Y Values");
    ZRadio = MakeRadio(this, "ZRadio", "Z Values", "Mirrors All Z Values");
    KeepCheckBox = new QCheckBox("Keep Original", this);
    KeepCheckBox->setObjectName("KeepCheckBox");
    KeepCheckBox->setToolTip("Keep The Original Vertices");
    OKButton = MakeButton(this, "OKButton", "Mirror All", "Mirror All Vertices");
    MirSelButton =
        MakeButton(this, "MirSelButton", "Mirror Selected", "Mirror Only Selected Vertices");
    UndoButton = MakeButton(this, "UndoButton", "Undo", "Undo Last Mirror");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");

    auto* group = new QButtonGroup(this);
    auto* axes = new QVBoxLayout;
    for (QRadioButton* r : {XRadio, YRadio, ZRadio}) {
        group->addButton(r);
        axes->addWidget(r);
        connect(r, &QRadioButton::clicked, this, &TMirrorBox::AxisChosen);
    }
    axes->addWidget(KeepCheckBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(axes);
    layout->addLayout(ButtonRow({OKButton, MirSelButton}));
    layout->addLayout(ButtonRow({UndoButton, CancelButton}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, [this] { MirrorClick(Scope::All); });
    connect(MirSelButton, &QPushButton::clicked, this, [this] { MirrorClick(Scope::Selected); });
    connect(UndoButton, &QPushButton::clicked, this, &TMirrorBox::UndoClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMirrorBox::CancelClick);
}

void TMirrorBox::Open() {
    UncheckAll(XRadio->group());
    OKButton->setEnabled(false);
    MirSelButton->setEnabled(false);
    UndoButton->setEnabled(undo_.CanRestore(project_));
    exec();
}

void TMirrorBox::AxisChosen() {
    OKButton->setEnabled(true);
    MirSelButton->setEnabled(AnyVertexSelected(project_));
}

void TMirrorBox::MirrorClick(Scope scope) {
    const Axis axis = XRadio->isChecked() ? Axis::X : YRadio->isChecked() ? Axis::Y : Axis::Z;
    run_([&] { MirrorVertices(project_, axis, KeepCheckBox->isChecked(), scope, undo_, ui_); });
    accept();
}

void TMirrorBox::UndoClick() {
    bool undone = false;
    run_([&] { undone = UndoTransform(project_, UndoKind::Mirror, undo_, ui_); });
    UndoButton->setEnabled(undo_.CanRestore(project_));
    if (undone)
        accept();
}

void TMirrorBox::CancelClick() {
    OKButton->setEnabled(false);
    MirSelButton->setEnabled(false);
    reject();
}

// ---- Scale ----

TScaleBox::TScaleBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
                     QWidget* parent)
    : QDialog(parent), project_(project), undo_(undo), ui_(ui), run_(std::move(run)) {
    MakeDialog(this, "ScaleBox", "Scale");
    Edit1 = MakeEdit(this, "Edit1", "Scale Value");
    XScaleRadio = MakeRadio(this, "XScaleRadio", "X", "Scale All X Values");
    YScaleRadio = MakeRadio(this, "YScaleRadio", "Y", "Scale All Y Values");
    ZScaleRadio = MakeRadio(this, "ZScaleRadio", "Z", "Scale All Z Values");
    AllScaleRadio = MakeRadio(this, "AllScaleRadio", "All Directions", "Scale In All Directions");
    OKButton = MakeButton(this, "OKButton", "Scale All", "Scale All Vertices");
    ScSelButton = MakeButton(this, "ScSelButton", "Scale Selected", "Scale Only Selected Vertices");
    UndoButton = MakeButton(this, "UndoButton", "Undo", "Undo Last Scale");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");

    auto* value = new QHBoxLayout;
    auto* caption = new QLabel("Value: ", this);
    caption->setBuddy(Edit1);
    value->addWidget(caption);
    value->addWidget(Edit1);
    auto* group = new QButtonGroup(this);
    auto* axes = new QHBoxLayout;
    for (QRadioButton* r : {XScaleRadio, YScaleRadio, ZScaleRadio, AllScaleRadio}) {
        group->addButton(r);
        axes->addWidget(r);
        connect(r, &QRadioButton::clicked, this, &TScaleBox::AxisChosen);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(value);
    layout->addLayout(axes);
    layout->addLayout(ButtonRow({OKButton, ScSelButton}));
    layout->addLayout(ButtonRow({UndoButton, CancelButton}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Edit1, &QLineEdit::textEdited, this, [this] { OKButton->setEnabled(true); });
    connect(OKButton, &QPushButton::clicked, this, [this] { ScaleClick(Scope::All); });
    connect(ScSelButton, &QPushButton::clicked, this, [this] { ScaleClick(Scope::Selected); });
    connect(UndoButton, &QPushButton::clicked, this, &TScaleBox::UndoClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TScaleBox::Open() {
    Edit1->setText("1.0");
    AllScaleRadio->setChecked(true);
    OKButton->setEnabled(false);
    ScSelButton->setEnabled(AnyVertexSelected(project_));
    UndoButton->setEnabled(undo_.CanRestore(project_));
    Edit1->setFocus();
    exec();
}

void TScaleBox::AxisChosen() {
    OKButton->setEnabled(true);
    ScSelButton->setEnabled(AnyVertexSelected(project_));
}

void TScaleBox::ScaleClick(Scope scope) {
    const ScaleAxis axis = XScaleRadio->isChecked()   ? ScaleAxis::X
                           : YScaleRadio->isChecked() ? ScaleAxis::Y
                           : ZScaleRadio->isChecked() ? ScaleAxis::Z
                                                      : ScaleAxis::All;
    bool scaled = false;
    run_([&] {
        scaled = ScaleVertices(project_, Edit1->text().toStdString(), axis, scope, undo_, ui_);
    });
    if (scaled)
        accept();
}

void TScaleBox::UndoClick() {
    bool undone = false;
    run_([&] { undone = UndoTransform(project_, UndoKind::Scale, undo_, ui_); });
    UndoButton->setEnabled(undo_.CanRestore(project_));
    if (undone)
        accept();
}

// ---- Centre ----

TCenterBox::TCenterBox(Project& project, VertexBackup& undo, meshforge::Ui& ui, RunCommand run,
                       std::function<void(bool)> showAxis, QWidget* parent)
    : QDialog(parent), project_(project), undo_(undo), ui_(ui), run_(std::move(run)),
      showAxis_(std::move(showAxis)) {
    MakeDialog(this, "CenterBox", "Center All Vertices");
    OKButton = MakeButton(this, "OKButton", "Ok", "Center All Vertices around 0,0,0");
    OKButton->setDefault(true);
    UndoButton = MakeButton(this, "UndoButton", "Undo", "Undo Last Center");
    CancelButton = MakeButton(this, "CancelButton", "Close", "Close This Window");
    UndoButton->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ButtonRow({OKButton, UndoButton, CancelButton}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKButton, &QPushButton::clicked, this, &TCenterBox::CenterClick);
    connect(UndoButton, &QPushButton::clicked, this, &TCenterBox::UndoClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TCenterBox::Open() {
    // The axes are drawn while the dialog is open, so the user sees the origin they centre on.
    axisBefore_ = project_.Options.ShowAxis;
    showAxis_(true);
    UndoButton->setEnabled(undo_.CanRestore(project_));
    exec();
}

// Close, Esc and the close box all end here: the "Show Axis" mark is put back each way.
void TCenterBox::done(int result) {
    showAxis_(axisBefore_);
    UndoButton->setEnabled(false);
    QDialog::done(result);
}

void TCenterBox::CenterClick() {
    run_([&] { CentreVertices(project_, undo_, ui_); });
    UndoButton->setEnabled(undo_.CanRestore(project_));
}

void TCenterBox::UndoClick() {
    run_([&] { UndoTransform(project_, UndoKind::Centre, undo_, ui_); });
    UndoButton->setEnabled(undo_.CanRestore(project_));
}

} // namespace meshforge::gui
