#include "gui/edit/vertex_form.h"

#include "model/texts.h"
#include "ui/ui.h"

#include "edit/edit_windows.h"
#include "gui/edit/form_parts.h"
#include "gui/edit/list_model.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <exception>

namespace meshforge::gui {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

TVertexform::TVertexform(Project& project, Ui& ui, EditorState& editor,
                         std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), undo_(editor.UndoVertices),
      currentLineColor_(editor.LineColor), redraw_(std::move(redraw)) {
    MakeToolWindow(this, "Vertexform", "Create/Add vertices manually");
    setFixedWidth(393);
    setMinimumHeight(330);

    model_ = new FunctionListModel(
        [this] { return int(project_.Vertices.size()); },
        [this](int row) { return Q(VertexListLine(row, project_.Vertices[row])); }, this);
    VertexListBox = new QListView(this);
    VertexListBox->setObjectName("VertexListBox");
    VertexListBox->setToolTip("List Of All Vertices");
    VertexListBox->setModel(model_);
    VertexListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    VertexListBox->setUniformItemSizes(true);
    VertexListBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Label5 = new QLabel("Index           X-Value        Y-Value         Z-Value", this);
    Label5->setObjectName("Label5");
    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    auto field = [&](const char* name, const char* hint) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setToolTip(hint);
        connect(e, &QLineEdit::editingFinished, this, [this, e] { FieldEditingFinished(e); });
        // Typing a value for several selected vertices makes "Modify" possible again.
        connect(e, &QLineEdit::textEdited, this, [this] {
            if (modifyMode_)
                AddModVertexButton->setEnabled(ModifyEnabled(project_, Fields()));
        });
        return e;
    };
    VertexEdit_X = field("VertexEdit_X", "X Value Of Selected");
    VertexEdit_Y = field("VertexEdit_Y", "Y Value Of Selected");
    VertexEdit_Z = field("VertexEdit_Z", "Z Value Of Selected");
    auto button = [&](const char* name, const char* caption, void (TVertexform::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    AddModVertexButton =
        button("AddModVertexButton", "Add Vertex", &TVertexform::AddModVertexButtonClick);
    RemoveVertexButton =
        button("RemoveVertexButton", "Remove Selected", &TVertexform::RemoveVertexButtonClick);
    RemoveAllButton =
        button("RemoveAllButton", "Remove All Vertices", &TVertexform::RemoveAllButtonClick);
    UndoButton = button("UndoButton", "Undo", &TVertexform::UndoButtonClick);
    UndoButton->setToolTip("Undo Last Action");
    CloseVertexButton = button("CloseVertexButton", "Close", &TVertexform::CloseVertexButtonClick);

    connect(VertexListBox, &QListView::clicked, this, [this] { VertexListBoxClick(); });
    connect(VertexListBox, &QListView::doubleClicked, this, [this] { VertexListBoxDblClick(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label5, 0, 0, 1, 3);
    grid->addWidget(VertexListBox, 1, 0, 1, 3);
    grid->addWidget(Label4, 2, 0, 1, 3);
    grid->addWidget(VertexEdit_X, 3, 0);
    grid->addWidget(VertexEdit_Y, 3, 1);
    grid->addWidget(VertexEdit_Z, 3, 2);
    grid->addWidget(AddModVertexButton, 4, 0);
    grid->addWidget(RemoveVertexButton, 4, 1);
    grid->addWidget(RemoveAllButton, 4, 2);
    grid->addWidget(UndoButton, 5, 0);
    grid->addWidget(CloseVertexButton, 5, 2);
}

TVertexform::~TVertexform() = default;

VertexFields TVertexform::Fields() const {
    return {VertexEdit_X->text().toStdString(), VertexEdit_Y->text().toStdString(),
            VertexEdit_Z->text().toStdString()};
}

void TVertexform::SetFields(const VertexFields& f) {
    VertexEdit_X->setText(Q(f.X));
    VertexEdit_Y->setText(Q(f.Y));
    VertexEdit_Z->setText(Q(f.Z));
}

void TVertexform::ClearFields() {
    SetFields({});
}

void TVertexform::SetModifyMode(bool on) {
    modifyMode_ = on;
    AddModVertexButton->setText(on ? "Modify" : "Add Vertex");
}

void TVertexform::FieldEditingFinished(QLineEdit* edit) {
    // A number is shown as the list shows it; anything else stays for Add to refuse.
    if (edit->text().isEmpty())
        return;
    try {
        edit->setText(Q(FormatFixed3(ParseFloat(edit->text().toStdString()))));
    } catch (const std::exception&) {
    }
}

void TVertexform::ApplyButtons() {
    const VertexWindowButtons b = VertexButtons(project_);
    RemoveVertexButton->setEnabled(b.RemoveSelected);
    RemoveAllButton->setEnabled(b.RemoveAll);
    UndoButton->setEnabled(undo_.CanRestore(project_));
}

void TVertexform::RefreshVertexList() {
    model_->Reset();
    Label4->setText(QString("No. of Vertices: %1").arg(project_.Vertices.size()));
    ApplyButtons();
    if (refreshed_)
        refreshed_();
}

void TVertexform::ProjectChanged() {
    RefreshVertexList();
}

void TVertexform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The first showing is centred on the screen; later ones keep the place the user chose.
    if (!placed_) {
        placed_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    ClearVertexSelection(project_);
    RefreshVertexList();
}

void TVertexform::VertexListBoxClick() {
    SetModifyMode(true);
    ClearVertexSelection(project_);
    for (const QModelIndex& index : VertexListBox->selectionModel()->selectedRows())
        if (std::size_t(index.row()) < project_.Vertices.size())
            project_.Vertices[std::size_t(index.row())].Selected = true;
    VertexFields fields = FieldsForSelection(project_, Fields());
    SetFields(fields);
    AddModVertexButton->setEnabled(ModifyEnabled(project_, fields));
    ApplyButtons();
    redraw_();
}

void TVertexform::VertexListBoxDblClick() {
    ClearFields();
    SetModifyMode(false);
    AddModVertexButton->setEnabled(true);
    RefreshVertexList();
    const bool vertices = !project_.Vertices.empty();
    RemoveVertexButton->setEnabled(vertices && project_.Lines.empty() && project_.Polygons.empty());
}

void TVertexform::AddModVertexButtonClick() {
    if (!modifyMode_ || project_.Vertices.empty()) {
        if (!AddVertex(project_, Fields(), ui_))
            return;
        ClearFields();
        ClearVertexSelection(project_);
        RefreshVertexList();
        SetModifyMode(false);
        redraw_();
        return;
    }
    ModifyResult result = ModifySelectedVertices(project_, Fields(), undo_, ui_);
    if (!result.Done)
        return;
    ClearFields();
    SetModifyMode(false);
    AddModVertexButton->setEnabled(true);
    RefreshVertexList();
    if (result.LastModified >= 0)
        VertexListBox->setCurrentIndex(model_->index(result.LastModified));
    redraw_();
    VertexEdit_X->setFocus();
}

void TVertexform::RemoveVertexButtonClick() {
    RemoveSelectedVertices(project_, undo_, currentLineColor_, ui_);
    ClearVertexSelection(project_);
    RefreshVertexList();
    redraw_();
}

void TVertexform::RemoveAllButtonClick() {
    if (!RemoveAllVertices(project_, undo_, ui_))
        return;
    redraw_();
    ClearVertexSelection(project_);
    RefreshVertexList();
    if (emptied_)
        emptied_();
}

void TVertexform::UndoButtonClick() {
    undo_.Restore(project_, currentLineColor_, ui_);
    ClearVertexSelection(project_);
    RefreshVertexList();
    redraw_();
}

void TVertexform::CloseVertexButtonClick() {
    close();
}

void TVertexform::reject() {
    ClearVertexSelection(project_);
    if (!project_.Vertices.empty())
        UpdateBoundingBox(project_);
    QDialog::reject();
    redraw_();
    if (closed_)
        closed_();
}

} // namespace meshforge::gui
