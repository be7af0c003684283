#include "app/main_form.h"

#include "app/about_box.h"
#include "app/desc_form.h"
#include "app/log_panel.h"
#include "app/name_project_form.h"
#include "edit/line_form.h"
#include "edit/lines.h"
#include "edit/man_v_form.h"
#include "edit/next_element_form.h"
#include "edit/polygon_form.h"
#include "edit/vertex_form.h"
#include "io/offset_new_form.h"
#include "io/scan_form.h"
#include "settings/options.h"
#include "settings/options_form.h"
#include "view/view_form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>

#include <filesystem>

namespace meshforge::gui {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Tool buttons without a standard picture get a small lettered one.
QIcon LetterIcon(const QString& letters, const QColor& color) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(color.darker(150));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    painter.setPen(Qt::white);
    QFont font("Arial");
    font.setPixelSize(letters.size() > 2 ? 8 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pm.rect(), Qt::AlignCenter, letters);
    return QIcon(pm);
}

QScrollBar* CameraBar(QWidget* parent, const char* name, int min, int max, int page, int value,
                      const char* hint) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setPageStep(page);
    bar->setValue(value);
    bar->setToolTip(hint);
    return bar;
}

QPushButton* RotateButton(QWidget* parent, const char* name, const char* hint) {
    auto* button = new QPushButton("Rotate", parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setToolTip(hint);
    return button;
}

} // namespace

TMainForm::TMainForm(std::string appFolder, std::vector<std::string> args, QWidget* parent)
    : QMainWindow(parent), ui_(this), settings_(SettingsFile::PathFor(appFolder)),
      args_(std::move(args)) {
    setObjectName("MainForm");
    session_.AppFolder = std::move(appFolder);
    setWindowTitle(QString(kProgramName) + " " + kProgramVersion);
    setAcceptDrops(true);

    // Windows are created in a fixed order: this one, the Options dialog, the 3D view, then
    // the dialogs; each is created once and reused.
    LogMemo = new LogPanel(this);
    LogMemo->SetUi(&ui_);
    ui_.SetLogPanel(LogMemo);
    StartUp(project_, session_, ui_);
    session_.Recent = settings_.LoadRecentFiles();

    OptionsForm = new TOptionsForm(settings_, project_, ui_, this);
    CreateView();
    VertexForm = new TVertexform(
        project_, ui_, session_.Editor, [this] { ViewForm->Redraw(); }, this);
    VertexForm->SetClosedHandler([this] {
        if (!project_.Vertices.empty()) {
            session_.Menus.SaveProject = true;
            session_.Menus.SaveProjectAs = true;
        }
        ApplySessionState();
    });
    VertexForm->SetEmptiedHandler([this] {
        session_.Menus.CloseProject = session_.Menus.SaveProject = false;
        session_.Menus.WriteAse = false;
        ApplySessionState();
    });
    LineForm = new TLineform(
        project_, ui_, session_.Editor, ViewForm->Picking(), [this] { ViewForm->Redraw(); },
        [this] { ViewForm->UpdatePickCursor(); }, this);
    ManVForm = new TManVForm(project_, ui_, session_.Editor, OptionsForm->General(), this);
    LineForm->SetManualForm(ManVForm);
    PolygonForm = new TPolygonform(
        project_, ui_, ViewForm->Picking(), OptionsForm->General(), *ManVForm,
        [this] { ViewForm->Redraw(); }, [this] { ViewForm->UpdatePickCursor(); }, this);
    VertexForm->SetRefreshHandler([this] {
        LineForm->RefreshLineList();
        PolygonForm->RefreshPolygonList();
    });
    ViewForm->SetClickHandler([this](const ClickResult& result) {
        if (result.LinesChanged)
            LineForm->RefreshLineList();
        if (result.PolygonsChanged)
            PolygonForm->RefreshPolygonList();
        if (result.Show == WindowToShow::LineWindow)
            LineForm->show();
        if (result.Show == WindowToShow::PolygonWindow)
            PolygonForm->show();
    });
    AboutBox = new TAboutBox(
        ui_, [this] { return ViewForm->Probe(); }, this);
    NameProjectForm = new TNameProjectForm(ui_, this);
    ScanForm = new TScanForm(ui_, this);
    LineColorForm = new TLineColorForm(this);
    PolygonColorForm = new TPolygonColorForm(this);
    DescForm = new TDescForm(project_, this);
    OffsetNewForm = new TOffsetNewForm(ui_, this);
    ui_.SetNextElementForms(LineColorForm, PolygonColorForm);
    ui_.SetNameForm(NameProjectForm);
    ui_.SetOffsetForm(OffsetNewForm);

    CreateMenus();
    CreateToolBar();
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(mdiArea_);
    split->addWidget(CreateBottomPanel());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({600, 170});
    setCentralWidget(split);
    resize(1024, 768);

    const GeneralOptions& general = OptionsForm->General();
    SetProgramEntryCaption("ViewerStartMenu", general.ViewerPath);
    SetProgramEntryCaption("UserStartMenu", general.UserPath);
    connect(OptionsForm, &TOptionsForm::ViewerCaptionChanged, this,
            [this](const QString& c) { Action("ViewerStartMenu")->setText(c); });
    connect(OptionsForm, &TOptionsForm::UserProgramCaptionChanged, this,
            [this](const QString& c) { Action("UserStartMenu")->setText(c); });
    connect(OptionsForm, &TOptionsForm::ToolTipsToggled, this, [this](bool on) { hintsOn_ = on; });
    connect(OptionsForm, &TOptionsForm::RepaintRequested, this, [this] { ViewForm->Redraw(); });
    // Hints are on at start-up whatever the stored choice; the box only switches them later.
    qApp->installEventFilter(this);

    ApplySessionState();
    ApplyIdleRules();
    // The idle handler: whenever the event loop runs out of work.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TMainForm::ApplyIdleRules);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    // The windows refer to the Project and the Ui, which are members: they go first, while
    // those still exist (the base class would delete them only after the members).
    delete centralWidget();
    for (QWidget* w : std::initializer_list<QWidget*>{
             VertexForm, LineForm, PolygonForm, ManVForm, ScanForm, OptionsForm, AboutBox,
             NameProjectForm, DescForm, OffsetNewForm, LineColorForm, PolygonColorForm})
        delete w;
}

bool TMainForm::StartMaximized() const {
    return OptionsForm->General().MaxOnStartup;
}

void TMainForm::CreateView() {
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    ViewForm =
        new TViewForm(project_, session_.Editor, OptionsForm->General(), ui_, session_.AppFolder);
    ui_.SetTextureRebuilder([this](Project&) { ViewForm->RebuildTextureLibrary(); });
    ViewWindow = mdiArea_->addSubWindow(ViewForm);
    ViewWindow->setObjectName("ViewWindow");
    if (OptionsForm->General().NoCaption)
        ViewWindow->setWindowFlags(Qt::FramelessWindowHint);
    else
        ViewWindow->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ViewWindow->installEventFilter(this);
    ViewWindow->showMaximized();
    ViewForm->SetFirstPaintHandler(
        [this] { RunLifecycle([this] { OpenFromCommandLine(project_, session_, ui_, args_); }); });
}

QAction* TMainForm::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

QMenu* TMainForm::Menu(const QString& name) const {
    return findChild<QMenu*>(name);
}

QAction* TMainForm::AddEntry(QMenu* menu, const QString& name, const QString& caption,
                             std::function<void()> handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (handler)
        connect(action, &QAction::triggered, this, [handler] { handler(); });
    return action;
}

QMenu* TMainForm::AddSubmenu(QMenu* menu, const QString& name, const QString& caption) {
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name + "Entry");
    return sub;
}

void TMainForm::CreateMenus() {
    CreateFileMenu();
    CreateGeometryMenu();
    CreateVisualMenu();
    CreateModifyMenu();
    CreateViewOptionsMenu();
    CreateMiscMenu();
    CreateHelpMenu();
    for (QMenu* top : menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        connect(top, &QMenu::aboutToShow, this, [this, top] { ApplyMenuOpenRules(top); });
}

void TMainForm::CreateFileMenu() {
    QMenu* m = menuBar()->addMenu("&File");
    m->setObjectName("FileMenu");
    AddEntry(m, "OpenMenu", "&Open existing project", [this] {
        OpenMenuClick();
    })->setShortcut(QKeySequence::Open);
    AddEntry(m, "SaveMenu", "S&ave Project", [this] {
        SaveMenuClick();
    })->setShortcut(QKeySequence::Save);
    AddEntry(m, "CloseMenu", "&Close Project", [this] { CloseMenuClick(); });
    AddEntry(m, "ClearAllMenu", "Clear All", [this] { ClearAllMenuClick(); });
    AddEntry(m, "SaveAsMenu", "&Save project as...", [this] {
        SaveAsMenuClick();
    })->setShortcut(QKeySequence::SaveAs);
    m->addSeparator();
    QMenu* ase = AddSubmenu(m, "WriteASEMenu", "Write ASE file");
    AddEntry(ase, "WriteASEOnlyMenu", "Just write ASE");
    AddEntry(ase, "WriteASEandStartMenu", "Write ASE and convert to 3DO");
    AddEntry(ase, "WriteASEConvertGPLMenu", "Write ASE, Convert and start GPL");
    AddEntry(ase, "WriteASEViewerMenu", "Write ASE, Convert and start Viewer")->setEnabled(false);
    AddEntry(m, "Write3DOMenu", "&Write 3DO file")->setEnabled(false);
    m->addSeparator();
    AddEntry(m, "ContentsMenu", "Display All Project Contents");
    AddEntry(m, "PrintMenu", "&Print Project Data", [this] { PrintMenuClick(); });
    m->addSeparator();
    AddEntry(m, "OptionsMenu", "Options", [this] { OptionsMenuClick(); });
    recentSeparator_ = m->addSeparator();
    m->addSeparator();
    AddEntry(m, "ExitMenu", "E&xit", [this] { ExitMenuClick(); })->setShortcut(QKeySequence::Quit);
}

void TMainForm::CreateGeometryMenu() {
    QMenu* m = menuBar()->addMenu("&Geometry");
    m->setObjectName("GeometryMenu");
    AddEntry(m, "VertexMenu", "&Create/Add/Delete vertices manually",
             [this] { VertexMenuClick(); });
    AddEntry(m, "InterpolVertexMenu", "Create Interpolated Vertex",
             [this] { InterpolVertexMenuClick(); });
    m->addSeparator();
    QMenu* import = AddSubmenu(m, "ImportMenu", "&Import Geometry from....");
    AddEntry(import, "ImportVtxMenu", "Vertex Text file", [this] { ImportVtxMenuClick(); });
    AddEntry(import, "ImportDXFMenu", "DXF file", [this] { ImportDXFMenuClick(); });
    AddEntry(import, "Import3DOTextMenu", "3DOText (Vertices && Polygons)",
             [this] { Import3DOTextMenuClick(); });
    QMenu* exportMenu = AddSubmenu(m, "ExportMenu", "Export Geometry to....");
    AddEntry(exportMenu, "ExportVtxMenu", "Vertex Text file",
             Guarded(GuardedCommand::ExportVertexText, [this] { ExportTextClick(false); }));
    QMenu* dxf = AddSubmenu(exportMenu, "ExportDXFMenu", "DXF R12 file");
    AddEntry(
        dxf, "ExportDXFVerticesMenu", "Vertices only",
        Guarded(GuardedCommand::ExportDxfVertices, [this] { ExportDxfClick(DxfMode::Vertices); }));
    AddEntry(dxf, "ExportDXFLinesMenu", "Vertices && Lines",
             Guarded(GuardedCommand::ExportDxfLines,
                     [this] { ExportDxfClick(DxfMode::VerticesLines); }));
    AddEntry(dxf, "ExportDXFPolygonsMenu", "Vertices && Lines && Polygons",
             Guarded(GuardedCommand::ExportDxfPolygons,
                     [this] { ExportDxfClick(DxfMode::VerticesLinesPolygons); }));
    AddEntry(exportMenu, "Export3DOTextMenu", "3DOText (Vertices && Polygons)",
             Guarded(GuardedCommand::Export3DOText, [this] { ExportTextClick(true); }));
    m->addSeparator();
    AddEntry(m, "AddDataMenu", "Add Data From Another Project", [this] { AddDataMenuClick(); });
    AddEntry(m, "RemDoubleMenu", "Remove Double Vertices", [this] { RemDoubleMenuClick(); });
}

void TMainForm::CreateVisualMenu() {
    QMenu* m = menuBar()->addMenu("&Visual Elements");
    m->setObjectName("VisualMenu");
    AddEntry(m, "LinesMenu", "Lines", Guarded(GuardedCommand::Lines, [this] { LinesMenuClick(); }));
    AddEntry(m, "PolygonsMenu", "Polygons",
             Guarded(GuardedCommand::Polygons, [this] { PolygonsMenuClick(); }));
    m->addSeparator();
    AddEntry(m, "AssignTexMenu", "Assign Textures to Polygons",
             Guarded(GuardedCommand::AssignTextures, [this] { project_.CurrentPolygon = 0; }));
    AddEntry(m, "TexturesMenu", "Load && Remove Textures",
             Guarded(GuardedCommand::LoadRemoveTextures));
    AddEntry(m, "CheckBackColorsMenu", "Check Texture-specific Background Colors on Polygons");
}

void TMainForm::CreateModifyMenu() {
    QMenu* m = menuBar()->addMenu("&Modify");
    m->setObjectName("ModifyMenu");
    AddEntry(m, "RotateMenu", "Rotate Vertices", Guarded(GuardedCommand::RotateVertices));
    AddEntry(m, "MoveMenu", "Move Vertices", Guarded(GuardedCommand::MoveVertices));
    AddEntry(m, "MirrorMenu", "Mirror Vertices", Guarded(GuardedCommand::MirrorVertices));
    AddEntry(m, "ScaleMenu", "Scale Vertices", Guarded(GuardedCommand::ScaleVertices));
    AddEntry(m, "CenterMenu", "Center All Vertices", Guarded(GuardedCommand::CenterAllVertices));
    m->addSeparator();
    AddEntry(m, "CopyPolyMenu", "Copy Polygon", Guarded(GuardedCommand::CopyPolygon));
    AddEntry(m, "MovePolyMenu", "Move Polygon", Guarded(GuardedCommand::MovePolygon));
}

void TMainForm::CreateViewOptionsMenu() {
    QMenu* m = menuBar()->addMenu("View Options");
    m->setObjectName("ViewOptionsMenu");
    ViewOptions& o = project_.Options;
    auto toggle = [&](const char* name, const char* caption, bool& option) {
        QAction* a = AddEntry(m, name, caption);
        a->setCheckable(true);
        a->setChecked(option);
        connect(a, &QAction::triggered, this, [this, a, &option] { ShowSwitchClick(a, option); });
    };
    toggle("ShowAxisMenu", "Show Axis", o.ShowAxis);
    toggle("ShowVerticesMenu", "Show Vertices", o.ShowVertices);
    toggle("ShowLinesMenu", "Show Lines", o.ShowLines);
    toggle("ShowPolygonsMenu", "Show Polygons", o.ShowPolygons);
    toggle("ShowTexturesMenu", "Show Textures", o.ShowTextures);
    AddEntry(m, "ShowPlanesMenu", "Show Planes")->setVisible(false);
    AddEntry(m, "ShowNormalsMenu", "Show Normals")->setVisible(false);
}

void TMainForm::CreateMiscMenu() {
    QMenu* m = menuBar()->addMenu("Misc.");
    m->setObjectName("MiscMenu");
    AddEntry(m, "DescMenu", "Project Description", [this] { DescMenuClick(); });
    AddEntry(m, "DisplayClassMenu", "Set Object Visibility within GPL");
    AddEntry(m, "CollisionMenu", "Set Collision Type");
    m->addSeparator();
    AddEntry(m, "CreateVisLinesMenu", "Create Subsequent Visualization Lines", [this] {
        Run([this] {
            CreateVisLinesCommand(project_, session_.Editor.LineColor, session_.Menus, ui_);
        });
    });
    AddEntry(m, "RemoveVisLinesMenu", "Remove Visualization Lines",
             [this] { Run([this] { RemoveVisLinesCommand(project_, session_.Menus, ui_); }); });
    AddEntry(m, "ConvertVisLinesMenu", "Convert Visualization Lines to 3DO Line Objects", [this] {
        Run([this] { ConvertVisLinesCommand(project_, session_.Menus, ui_); });
        LinesMenuClick();
    });
    AddEntry(m, "AddInterpolMenu", "Add Interpolated Vertices", [this] { AddInterpolMenuClick(); });
    m->addSeparator();
    AddEntry(m, "GPLStartMenu", "Start GPL");
    AddEntry(m, "ViewerStartMenu", "Start 3DO- Viewer Application");
    AddEntry(m, "UserStartMenu", "Start User-Defined Program");
}

void TMainForm::CreateHelpMenu() {
    QMenu* m = menuBar()->addMenu("&Help");
    m->setObjectName("HelpMenu");
    AddEntry(m, "OnlineHelpMenu", "&Online Help", [this] { OnlineHelpMenuClick(); });
    AddEntry(m, "LocalHelpMenu", "Local Help", [this] { LocalHelpMenuClick(); });
    m->addSeparator();
    AddEntry(m, "AboutMenu", "&About...", [this] { AboutMenuClick(); });
}

void TMainForm::CreateToolBar() {
    ToolBar1 = addToolBar("Tools");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    QStyle* st = style();
    auto button = [&](const char* name, const QIcon& icon, const char* hint,
                      std::function<void()> handler) {
        QAction* a = ToolBar1->addAction(icon, hint);
        a->setObjectName(name);
        a->setToolTip(hint);
        if (handler)
            connect(a, &QAction::triggered, this, [handler] { handler(); });
        return a;
    };
    const QColor file(70, 110, 170), geometry(60, 140, 80), texture(170, 110, 40),
        modify(120, 80, 160), launch(150, 60, 60);
    button("OpenToolButton", st->standardIcon(QStyle::SP_DialogOpenButton), "Open existing project",
           [this] { OpenMenuClick(); });
    button("SaveToolButton", st->standardIcon(QStyle::SP_DialogSaveButton), "Save Project",
           [this] { SaveMenuClick(); });
    button("CloseToolButton", st->standardIcon(QStyle::SP_DialogCloseButton), "Close Project",
           [this] { CloseMenuClick(); });
    button("SaveAsToolButton", LetterIcon("As", file), "Save project as...",
           [this] { SaveAsMenuClick(); });
    ToolBar1->addSeparator();
    button("WriteASEToolButton", LetterIcon("ASE", file), "Write ASE file", {});
    button("Write3DOToolButton", LetterIcon("3DO", file), "Write 3DO file", {})->setEnabled(false);
    ToolBar1->addSeparator();
    button("VertexToolButton", LetterIcon("V", geometry), "Create/Add/Delete vertices manually",
           [this] { VertexMenuClick(); });
    button("CreateLineToolButton", LetterIcon("L", geometry), "Create Line(s)",
           Guarded(GuardedCommand::Lines, [this] { LinesMenuClick(); }));
    button("CreatePolygonToolButton", LetterIcon("P", geometry), "Create Polygon(s)",
           Guarded(GuardedCommand::Polygons, [this] { PolygonsMenuClick(); }));
    ToolBar1->addSeparator();
    button("TexturesToolButton", LetterIcon("T", texture), "Load & Remove Texture(s)",
           Guarded(GuardedCommand::LoadRemoveTextures));
    button("AssignTexToolButton", LetterIcon("AT", texture), "Assign Texture(s) To Polygon(s)",
           Guarded(GuardedCommand::AssignTextures, [this] { project_.CurrentPolygon = 0; }));
    ToolBar1->addSeparator();
    button("MoveAllToolButton", LetterIcon("Mv", modify), "Move Vertices",
           Guarded(GuardedCommand::MoveVertices));
    button("MirrorAllToolButton", LetterIcon("Mi", modify), "Mirror Vertices",
           Guarded(GuardedCommand::MirrorVertices));
    button("ScaleAllToolButton", LetterIcon("Sc", modify), "Scale Vertices",
           Guarded(GuardedCommand::ScaleVertices));
    button("CenterAllToolButton", LetterIcon("Ce", modify), "Center Vertices",
           Guarded(GuardedCommand::CenterAllVertices));
    button("CopyPolyToolButton", LetterIcon("CP", modify), "Copy Polygon(s)",
           Guarded(GuardedCommand::CopyPolygon));
    button("MovePolyToolButton", LetterIcon("MP", modify), "Move Polygon(s)",
           Guarded(GuardedCommand::MovePolygon));
    ToolBar1->addSeparator();
    button("GPLStartToolButton", LetterIcon("GPL", launch), "Start GPL", {});
    button("ViewerStartToolButton", LetterIcon("3V", launch), "Start 3DO- Viewer Application", {});
    button("UserStartToolButton", LetterIcon("U", launch), "Start User-Defined Program", {});
}

QWidget* TMainForm::CreateBottomPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("BottomPanel");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 2, 4, 2);
    XScrollBar = CameraBar(panel, "XScrollBar", -360, 360, 2, 0, "Rotate Camera Around X");
    YScrollBar = CameraBar(panel, "YScrollBar", -360, 360, 2, 0, "Rotate Camera Around Y");
    ZScrollBar = CameraBar(panel, "ZScrollBar", -360, 360, 2, 0, "Rotate Camera Around Z");
    ZoomScrollBar = CameraBar(panel, "ZoomScrollBar", 1, 450, 10, 70, "Zoom Camera In/Out");
    XRotateButton = RotateButton(panel, "XRotateButton", "Automatically Rotate Camera Around X");
    YRotateButton = RotateButton(panel, "YRotateButton", "Automatically Rotate Camera Around Y");
    ZRotateButton = RotateButton(panel, "ZRotateButton", "Automatically Rotate Camera Around Z");
    // The pan scale of the Custom camera preset: kept, never shown.
    SpinEdit1 = new QSpinBox(panel);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setRange(1, 20);
    SpinEdit1->setValue(10);
    SpinEdit1->hide();

    int row = 0;
    for (auto [label, bar, rotate] :
         {std::tuple{"X", XScrollBar, XRotateButton}, std::tuple{"Y", YScrollBar, YRotateButton},
          std::tuple{"Z", ZScrollBar, ZRotateButton}}) {
        grid->addWidget(new QLabel(label, panel), row, 0);
        grid->addWidget(bar, row, 1);
        grid->addWidget(rotate, row, 2);
        ++row;
    }
    grid->addWidget(new QLabel("Zoom", panel), row, 0);
    grid->addWidget(ZoomScrollBar, row, 1, 1, 2);
    grid->addWidget(LogMemo, 0, 3, row + 1, 1);
    grid->setColumnMinimumWidth(1, 260);
    grid->setColumnStretch(3, 1);

    ViewForm->SetControls({XScrollBar, YScrollBar, ZScrollBar, ZoomScrollBar, XRotateButton,
                           YRotateButton, ZRotateButton, SpinEdit1});
    connect(SpinEdit1, &QSpinBox::valueChanged, this,
            [this](int v) { ViewForm->Camera().PanScale = v; });
    return panel;
}

void TMainForm::SetProgramEntryCaption(const QString& action, const std::string& path) {
    // Without a program the entry keeps its own caption rather than a bare "Start ".
    if (!path.empty())
        Action(action)->setText(Q(StartMenuCaption(path)));
}

} // namespace meshforge::gui
