#include "gui/transform/rotate_box.h"

#include "gui/edit/form_parts.h"
#include "gui/view/view_form.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {

QRadioButton* MakeRadio(QWidget* owner, const char* name, const char* caption, const char* hint) {
    auto* r = new QRadioButton(caption, owner);
    r->setObjectName(name);
    r->setToolTip(hint);
    return r;
}

// A titled group whose radio buttons exclude each other.
QGroupBox* RadioGroup(QWidget* owner, const char* title, std::initializer_list<QWidget*> items,
                      bool horizontal = false) {
    auto* box = new QGroupBox(title, owner);
    QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                    : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    auto* group = new QButtonGroup(box);
    for (QWidget* w : items) {
        layout->addWidget(w);
        if (auto* r = qobject_cast<QRadioButton*>(w))
            group->addButton(r);
    }
    return box;
}

void UncheckGroup(QRadioButton* member) {
    QButtonGroup* group = member->group();
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

} // namespace

TRotateBox::TRotateBox(Project& project, EditorState& editor, RotateSession& session,
                       TViewForm& view, meshforge::Ui& ui, RunCommand run, QWidget* parent)
    : QDialog(parent), project_(project), editor_(editor), session_(session), view_(view), ui_(ui),
      run_(std::move(run)) {
    setObjectName("RotateBox");
    setWindowTitle("Rotate");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);

    FixedRadio = MakeRadio(this, "FixedRadio", "Fixed:", "Rotate With Fixed Values");
    FreeRadio = MakeRadio(this, "FreeRadio", "Free:", "Rotate With User-Defined Values");
    FixedComboBox = new QComboBox(this);
    FixedComboBox->setObjectName("FixedComboBox");
    for (int i = 0; i < kFixedAngleCount; ++i)
        FixedComboBox->addItem(QString::fromUtf8(FixedAngleItem(i)));
    FreeSpinEdit = new QSpinBox(this);
    FreeSpinEdit->setObjectName("FreeSpinEdit");
    FreeSpinEdit->setRange(-180, 180);
    // Arrows only: each change is one degree, whatever was typed.
    FreeSpinEdit->findChild<QLineEdit*>()->setReadOnly(true);
    XRadio = MakeRadio(this, "XRadio", "X", "Rotate Vertices Around X Axis");
    YRadio = MakeRadio(this, "YRadio", "Y", "Rotate Vertices Around Y Axis");
    ZRadio = MakeRadio(this, "ZRadio", "Z", "Rotate Vertices Around Z Axis");
    OriginRadio = MakeRadio(this, "OriginRadio", "Origin (0,0,0)",
                            "Rotate Around The Point Of Origin (0,0,0)");
    VertexRadio = MakeRadio(this, "VertexRadio", "Specific Vertex",
                            "Rotate Around A Vertex Which Is Not On The Point Of Origin");
    AllRadio = MakeRadio(this, "AllRadio", "All vertices", "Rotate All Vertices");
    SelectedRadio =
        MakeRadio(this, "SelectedRadio", "Only selected vertices", "Rotate Only Selected Vertices");
    OKButton = MakeButton(this, "OKButton", "OK", "Save & Close This Window");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");

    auto* angle = new QGroupBox("Angle:", this);
    auto* angleGrid = new QGridLayout(angle);
    angleGrid->addWidget(FixedRadio, 0, 0);
    angleGrid->addWidget(FixedComboBox, 0, 1);
    angleGrid->addWidget(FreeRadio, 1, 0);
    angleGrid->addWidget(FreeSpinEdit, 1, 1);
    auto* angleGroup = new QButtonGroup(angle);
    angleGroup->addButton(FixedRadio);
    angleGroup->addButton(FreeRadio);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(angle);
    layout->addWidget(RadioGroup(this, "Axis to rotate around:", {XRadio, YRadio, ZRadio}, true));
    layout->addWidget(RadioGroup(this, "Pivot point on Axis:", {OriginRadio, VertexRadio}));
    layout->addWidget(RadioGroup(this, "Vertices to rotate:", {AllRadio, SelectedRadio}));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(FixedRadio, &QRadioButton::clicked, this, [this] {
        FixedComboBox->setEnabled(true);
        FreeSpinEdit->setEnabled(false);
    });
    connect(FreeRadio, &QRadioButton::clicked, this, [this] {
        FixedComboBox->setEnabled(false);
        FreeSpinEdit->setEnabled(true);
    });
    connect(FixedComboBox, &QComboBox::activated, this, &TRotateBox::FixedComboBoxChange);
    connect(FreeSpinEdit, &QSpinBox::valueChanged, this, &TRotateBox::FreeSpinEditChange);
    connect(OriginRadio, &QRadioButton::clicked, this, &TRotateBox::OriginRadioClick);
    connect(VertexRadio, &QRadioButton::clicked, this, &TRotateBox::VertexRadioClick);
    connect(SelectedRadio, &QRadioButton::clicked, this, &TRotateBox::SelectedRadioClick);
    connect(OKButton, &QPushButton::clicked, this, &TRotateBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TRotateBox::CancelButtonClick);
}

void TRotateBox::Open() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    FormShow();
    show();
    raise();
}

void TRotateBox::FormShow() {
    session_.Begin(project_, editor_);
    ZRadio->setChecked(true);
    (AnyVertexSelected(project_) ? SelectedRadio : AllRadio)->setChecked(true);
    OriginRadio->setChecked(true);
    view_.Camera().OriginPivot = true;
    FixedRadio->setChecked(true);
    FixedComboBox->setEnabled(true);
    FixedComboBox->setCurrentIndex(kSelectAngleIndex);
    {
        // Setting the start value is no step.
        const QSignalBlocker quiet(FreeSpinEdit);
        FreeSpinEdit->setValue(0);
    }
    FreeSpinEdit->setEnabled(false);
    view_.Redraw();
}

void TRotateBox::Refresh() {
    if (!isVisible())
        return;
    if (session_.FollowProject(project_, editor_) && !OriginRadio->isChecked()) {
        OriginRadio->setChecked(true);
        view_.Camera().OriginPivot = true;
        view_.Picking().StopPivotPick();
        view_.UpdatePickCursor();
    }
}

void TRotateBox::Step(StepFactors step) {
    const Axis axis = XRadio->isChecked() ? Axis::X : YRadio->isChecked() ? Axis::Y : Axis::Z;
    const Scope scope = SelectedRadio->isChecked() ? Scope::Selected : Scope::All;
    run_([&] {
        session_.FollowProject(project_, editor_);
        RotateStep(project_, editor_, axis, step, scope, ui_);
    });
}

void TRotateBox::FixedComboBoxChange(int index) {
    if (const std::optional<StepFactors> step = FixedStep(index))
        Step(*step);
    // Back to "Select Angle!", so the same angle can be chosen again.
    FixedComboBox->setCurrentIndex(kSelectAngleIndex);
}

void TRotateBox::FreeSpinEditChange(int value) {
    if (const std::optional<StepFactors> step = session_.FreeStep(value))
        Step(*step);
}

void TRotateBox::OriginRadioClick() {
    editor_.PivotVertex = kNoElement;
    view_.Picking().StopPivotPick();
    view_.UpdatePickCursor();
    view_.Camera().OriginPivot = true;
    view_.Redraw();
}

void TRotateBox::VertexRadioClick() {
    view_.Camera().OriginPivot = false;
    view_.Picking().StartPivotPick(ui_);
    view_.UpdatePickCursor();
    view_.Redraw();
}

void TRotateBox::SelectedRadioClick() {
    if (AnyVertexSelected(project_))
        return;
    ui_.Message(kNoVerticesSelectedMessage);
    AllRadio->setChecked(true);
}

void TRotateBox::EndUse() {
    view_.Picking().StopPivotPick();
    view_.UpdatePickCursor();
    view_.Camera().OriginPivot = false;
    UncheckGroup(OriginRadio);
    hide();
}

void TRotateBox::OKButtonClick() {
    session_.Accept(editor_);
    EndUse();
    run_([] {});
}

void TRotateBox::CancelButtonClick() {
    run_([&] { session_.Cancel(project_, editor_, ui_); });
    EndUse();
    view_.Redraw();
}

void TRotateBox::reject() {
    if (isVisible())
        CancelButtonClick();
}

} // namespace meshforge::gui
