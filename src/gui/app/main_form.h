#pragma once
#include "app/commands.h"
#include "app/lifecycle.h"
#include "app/qt_ui.h"
#include "io/dxf_export.h"
#include "io/text_geometry.h"
#include "model/project.h"
#include "settings/settings.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QToolBar;

namespace meshforge::gui {

class LogPanel;
class TAboutBox;
class TDescForm;
class TNameProjectForm;
class TOffsetNewForm;
class TScanForm;
class TLineColorForm;
class TPolygonColorForm;
class TOptionsForm;
class TViewForm;
class TVertexform;
class TLineform;
class TManVForm;
class TPolygonform;

// The application frame: menus, tool bar, the 3D view in a multiple-document area, the camera
// bars and the log. It owns the one Project and the session; every command runs a core
// operation and then shows the session's state (captions, recent files, menu states).
class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // appFolder ends with a separator; args are the command-line arguments after the program.
    TMainForm(std::string appFolder, std::vector<std::string> args, QWidget* parent = nullptr);
    ~TMainForm() override;

    Project& CurrentProject() { return project_; }
    Session& CurrentSession() { return session_; }
    QtUi& UiPort() { return ui_; }
    SettingsFile& Settings() { return settings_; }
    // Whether the window starts maximized ("Maximize on Startup").
    bool StartMaximized() const;

    // Menu entries and tool buttons by their names ("OpenMenu", "OpenToolButton").
    QAction* Action(const QString& name) const;
    QMenu* Menu(const QString& name) const;

    // The idle handler: enables commands from the Project's state.
    void ApplyIdleRules();
    // Shows the session after a command: captions, recent entries, event-set menu states.
    void ApplySessionState();
    // Sets the entries of a top-level menu that is about to open.
    void ApplyMenuOpenRules(QMenu* menu);

    SaveOptions CurrentSaveOptions() const;

    // Commands (menu entries and tool buttons).
    void OpenMenuClick();
    void SaveMenuClick();
    void CloseMenuClick();
    void ClearAllMenuClick();
    void SaveAsMenuClick();
    void PrintMenuClick();
    void OptionsMenuClick();
    void RecentFileClick(const std::string& path);
    void ExitMenuClick();
    void AddDataMenuClick();
    void VertexMenuClick();
    void ImportDXFMenuClick();
    void ImportVtxMenuClick();
    void Import3DOTextMenuClick();
    // The open dialog, then the import, for the vertex text and 3DOText commands.
    void ImportTextGeometry(const char* title, int filterIndex,
                            TextImportResult (*import)(Project&, const std::string&, Ui&));
    void ExportDxfClick(DxfMode mode);
    void ExportTextClick(bool threeDOText);
    void LinesMenuClick();
    void PolygonsMenuClick();
    void InterpolVertexMenuClick();
    void AddInterpolMenuClick();
    void RemDoubleMenuClick();
    void DescMenuClick();
    void OnlineHelpMenuClick();
    void LocalHelpMenuClick();
    void AboutMenuClick();
    void ShowSwitchClick(QAction* action, bool& option);
    // Opens a project file dropped on the window, as a recent entry would.
    void OpenDroppedFile(const QString& path);

    LogPanel* LogMemo = nullptr;
    TOptionsForm* OptionsForm = nullptr;
    TViewForm* ViewForm = nullptr;
    QMdiSubWindow* ViewWindow = nullptr;
    TVertexform* VertexForm = nullptr;
    TLineform* LineForm = nullptr;
    TManVForm* ManVForm = nullptr;
    TPolygonform* PolygonForm = nullptr;
    TAboutBox* AboutBox = nullptr;
    TNameProjectForm* NameProjectForm = nullptr;
    TDescForm* DescForm = nullptr;
    TOffsetNewForm* OffsetNewForm = nullptr;
    TScanForm* ScanForm = nullptr;
    TLineColorForm* LineColorForm = nullptr;
    TPolygonColorForm* PolygonColorForm = nullptr;
    QScrollBar* XScrollBar = nullptr;
    QScrollBar* YScrollBar = nullptr;
    QScrollBar* ZScrollBar = nullptr;
    QScrollBar* ZoomScrollBar = nullptr;
    QPushButton* XRotateButton = nullptr;
    QPushButton* YRotateButton = nullptr;
    QPushButton* ZRotateButton = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QToolBar* ToolBar1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateMenus();
    void CreateFileMenu();
    void CreateGeometryMenu();
    void CreateVisualMenu();
    void CreateModifyMenu();
    void CreateViewOptionsMenu();
    void CreateMiscMenu();
    void CreateHelpMenu();
    void CreateToolBar();
    QWidget* CreateBottomPanel();
    void CreateView();
    void RebuildRecentEntries();
    void SetProgramEntryCaption(const QString& action, const std::string& path);

    QAction* AddEntry(QMenu* menu, const QString& name, const QString& caption,
                      std::function<void()> handler = {});
    QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& caption);
    // Runs a command: errors of file access and parsing end it with their message; then the
    // session is shown and the view redrawn.
    void Run(const std::function<void()>& command);
    // A lifecycle command: the Project may be another one afterwards, so the windows show the
    // reset editor state and the new lists.
    void RunLifecycle(const std::function<void()>& command);
    // Refuses input while a long vertex command runs; `pump` keeps the window painting.
    std::function<void()> Pump(std::size_t steps);
    // After a command that renumbers vertices with visualization lines rebuilt around it.
    void AfterVisLinesRebuilt();
    // A command with a guard: the guard's message, or the action.
    std::function<void()> Guarded(GuardedCommand command, std::function<void()> action = {});
    void StoreRecentFiles();

    Project project_;
    Session session_;
    QtUi ui_;
    SettingsFile settings_;
    std::vector<std::string> args_;
    QMdiArea* mdiArea_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    std::vector<QAction*> recentEntries_;
    bool hintsOn_ = true;
    std::mt19937 polygonColors_{std::random_device{}()}; // 3DFACE and 3DOText imports
    bool shownOnce_ = false;
};

} // namespace meshforge::gui
