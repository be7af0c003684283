#include "gui/io/scan_form.h"

#include "ui/ui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace meshforge::gui {

TScanForm::TScanForm(Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName("ScanForm");
    setWindowTitle("Scan DXF");
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const char* name, const char* caption) {
        auto* g = new QGroupBox(caption, this);
        g->setObjectName(name);
        new QVBoxLayout(g);
        layout->addWidget(g);
        return g;
    };
    auto radio = [&](QGroupBox* g, const char* name, const char* caption) {
        auto* r = new QRadioButton(caption, g);
        r->setObjectName(name);
        // One choice over three groups: the buttons uncheck each other themselves.
        r->setAutoExclusive(false);
        connect(r, &QRadioButton::clicked, this, [this, r] { Choose(r); });
        g->layout()->addWidget(r);
        return r;
    };
    QGroupBox* vertices = group("VerticesGroupBox", "Import Vertices:");
    PRadioButton = radio(vertices, "PRadioButton", "0 POINT objects in DXF");
    VRadioButton = radio(vertices, "VRadioButton", "0 VERTEX objects in DXF");
    LRadioButton = radio(group("LinesGroupBox", "Import Vertices and Lines:"), "LRadioButton",
                         "0 LINE objects in DXF");
    FRadioButton = radio(group("PolygonsGroupBox", "Import Vertices and Polygons:"), "FRadioButton",
                         "0 3DFACE objects in DXF");
    auto* buttons = new QHBoxLayout;
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    connect(OKButton, &QPushButton::clicked, this, &TScanForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TScanForm::CancelButtonClick);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

void TScanForm::Choose(QRadioButton* chosen) {
    for (QRadioButton* r : {PRadioButton, VRadioButton, LRadioButton, FRadioButton})
        r->setChecked(r == chosen);
}

void TScanForm::ShowScan(const std::string& caption, const Counts& counts) {
    setWindowTitle(QString::fromStdString(caption));
    auto show = [](QRadioButton* r, int count, const char* text) {
        r->setText(QString::number(count > 0 ? count : 0) + text);
        r->setEnabled(count > 0);
        if (count <= 0)
            r->setChecked(false);
    };
    show(PRadioButton, counts.Point, " POINT objects in DXF");
    show(VRadioButton, counts.Vertex, " VERTEX objects in DXF");
    show(LRadioButton, counts.Line, " LINE objects in DXF");
    show(FRadioButton, counts.Face, " 3DFACE objects in DXF");
}

void TScanForm::OKButtonClick() {
    const std::pair<QRadioButton*, Kind> kinds[] = {{PRadioButton, Kind::Point},
                                                    {VRadioButton, Kind::Vertex},
                                                    {LRadioButton, Kind::Line},
                                                    {FRadioButton, Kind::Face}};
    bool any = false;
    for (auto [r, kind] : kinds) {
        if (!r->isEnabled() || !r->isChecked())
            continue;
        any = true;
        if (importer_ && !importer_(kind))
            return; // the error was shown; the dialog stays open
    }
    if (!any) {
        ui_.Message("Select objects to import!");
        return;
    }
    accept();
}

void TScanForm::CancelButtonClick() {
    reject();
}

} // namespace meshforge::gui
