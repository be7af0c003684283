#include "gui/app/main_form.h"

#include "gui/app/about_box.h"
#include "gui/app/command_areas.h"
#include "gui/app/desc_form.h"
#include "gui/app/log_panel.h"
#include "gui/app/name_project_form.h"
#include "gui/edit/line_form.h"
#include "gui/edit/man_v_form.h"
#include "gui/edit/next_element_form.h"
#include "gui/edit/polygon_form.h"
#include "gui/edit/vertex_form.h"
#include "gui/io/offset_new_form.h"
#include "gui/io/scan_form.h"
#include "gui/settings/options_form.h"
#include "gui/view/view_form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QToolBar>

#include <cstdlib>

namespace meshforge::gui {

namespace {

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

TMainForm::TMainForm(Editor& editor, std::vector<std::string> args, QWidget* parent)
    : QMainWindow(parent), editor_(editor), ui_(this), args_(std::move(args)) {
    setObjectName("MainForm");
    setWindowTitle(QString(kProgramName) + " " + kProgramVersion);
    setAcceptDrops(true);

    // Windows are created in a fixed order: this one, the Options dialog, the 3D view, then
    // the dialogs; each is created once and reused.
    LogMemo = new LogPanel(this);
    LogMemo->SetUi(&ui_);
    ui_.SetLogPanel(LogMemo);
    StartUp(editor_.Project, editor_.Session, ui_);
    editor_.Session.Recent = editor_.Settings.LoadRecentFiles();
    CreateWindows();

    ToolBar1 = addToolBar("Tools");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    // Menu bar order; each area also adds its group of tool buttons.
    for (void (*area)(TMainForm&) :
         {RegisterFileCommands, RegisterGeometryCommands, RegisterVisualCommands,
          RegisterModifyCommands, RegisterViewOptionsCommands, RegisterMiscCommands,
          RegisterHelpCommands, RegisterOutputCommands, RegisterTextureCommands,
          RegisterCollisionCommands, RegisterReportCommands, RegisterTransformCommands})
        area(*this);
    for (QMenu* top : menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        connect(top, &QMenu::aboutToShow, this, [this, top] { ApplyMenuOpenRules(top); });

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(mdiArea_);
    split->addWidget(CreateBottomPanel());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({600, 170});
    setCentralWidget(split);
    resize(1024, 768);

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
    // The windows use the Ui port, a member: they go while it still exists (the base class
    // would delete them only after the members).
    delete centralWidget();
    for (QDialog* window : findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly))
        delete window;
}

void TMainForm::CreateWindows() {
    OptionsForm = new TOptionsForm(editor_.Settings, editor_.Project, ui_, this);
    CreateView();
    VertexForm = new TVertexform(
        editor_.Project, ui_, editor_.Session.Editor, [this] { ViewForm->Redraw(); }, this);
    VertexForm->SetClosedHandler([this] {
        if (!editor_.Project.Vertices.empty()) {
            editor_.Session.Menus.SaveProject = true;
            editor_.Session.Menus.SaveProjectAs = true;
        }
        ApplySessionState();
    });
    VertexForm->SetEmptiedHandler([this] {
        editor_.Session.Menus.CloseProject = editor_.Session.Menus.SaveProject = false;
        editor_.Session.Menus.WriteAse = false;
        ApplySessionState();
    });
    LineForm = new TLineform(
        editor_.Project, ui_, editor_.Session.Editor, ViewForm->Picking(),
        [this] { ViewForm->Redraw(); }, [this] { ViewForm->UpdatePickCursor(); }, this);
    ManVForm =
        new TManVForm(editor_.Project, ui_, editor_.Session.Editor, OptionsForm->General(), this);
    LineForm->SetManualForm(ManVForm);
    PolygonForm = new TPolygonform(
        editor_.Project, ui_, ViewForm->Picking(), OptionsForm->General(), *ManVForm,
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
    DescForm = new TDescForm(editor_.Project, this);
    OffsetNewForm = new TOffsetNewForm(ui_, this);
    ui_.SetNextElementForms(LineColorForm, PolygonColorForm);
    ui_.SetNameForm(NameProjectForm);
    ui_.SetOffsetForm(OffsetNewForm);
}

bool TMainForm::StartMaximized() const {
    return OptionsForm->General().MaxOnStartup;
}

void TMainForm::CreateView() {
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    ViewForm = new TViewForm(editor_.Project, editor_.Session.Editor, OptionsForm->General(), ui_,
                             ui_, ProgramFile(editor_.Session, "mask.bmp"));
    ViewWindow = mdiArea_->addSubWindow(ViewForm);
    ViewWindow->setObjectName("ViewWindow");
    if (OptionsForm->General().NoCaption)
        ViewWindow->setWindowFlags(Qt::FramelessWindowHint);
    else
        ViewWindow->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ViewWindow->installEventFilter(this);
    ViewWindow->showMaximized();
    ViewForm->SetFirstPaintHandler([this] {
        RunLifecycle([this] { OpenFromCommandLine(editor_.Project, editor_.Session, ui_, args_); });
    });
}

QAction* TMainForm::Action(const QString& name) const {
    auto* action = findChild<QAction*>(name);
    if (!action)
        qFatal("No menu entry or tool button is named %s", qPrintable(name));
    return action;
}

QMenu* TMainForm::Menu(const QString& name) const {
    auto* menu = findChild<QMenu*>(name);
    if (!menu)
        qFatal("No menu is named %s", qPrintable(name));
    return menu;
}

QMenu* TMainForm::AddMenu(const QString& name, const QString& caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
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

QAction* TMainForm::AddToolButton(const char* name, const QIcon& icon, const char* hint,
                                  std::function<void()> handler) {
    QAction* a = ToolBar1->addAction(icon, hint);
    a->setObjectName(name);
    a->setToolTip(hint);
    if (handler)
        connect(a, &QAction::triggered, this, [handler] { handler(); });
    return a;
}

void TMainForm::AddToolSeparator() {
    ToolBar1->addSeparator();
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

} // namespace meshforge::gui
