#pragma once
#include "app/commands.h"
#include "app/editor.h"
#include "gui/app/qt_ui.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QIcon;
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
// bars and the log. It works on the Editor that main() owns. Each menu area registers its own
// entries, tool buttons and commands (app/command_areas.h); the frame gives them the means to
// run a command (errors shown, the session applied, the windows refreshed) and applies the
// rules that enable the entries.
class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // args are the projects named on the command line (made absolute).
    TMainForm(Editor& editor, std::vector<std::string> args, QWidget* parent = nullptr);
    ~TMainForm() override;

    Project& CurrentProject() { return editor_.Project; }
    Session& CurrentSession() { return editor_.Session; }
    EditorState& State() { return editor_.Session.Editor; }
    QtUi& UiPort() { return ui_; }
    SettingsFile& Settings() { return editor_.Settings; }
    // Whether the window starts maximized ("Maximize on Startup").
    bool StartMaximized() const;
    SaveOptions CurrentSaveOptions() const;

    // Menu entries and tool buttons by their names ("OpenMenu", "OpenToolButton"); an unknown
    // name is a programming error and ends the program with its name.
    QAction* Action(const QString& name) const;
    QMenu* Menu(const QString& name) const;

    // What the menu areas build with.
    QMenu* AddMenu(const QString& name, const QString& caption);
    QAction* AddEntry(QMenu* menu, const QString& name, const QString& caption,
                      std::function<void()> handler = {});
    QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& caption);
    QAction* AddToolButton(const char* name, const QIcon& icon, const char* hint,
                           std::function<void()> handler = {});
    void AddToolSeparator();
    // The separator before which the recent-files entries stand in the File menu.
    void SetRecentFilesPlace(QAction* separator) { recentSeparator_ = separator; }

    // Runs a command: errors of file access and parsing end it with their message; then the
    // session is shown, every editor window refreshed and the view redrawn.
    void Run(const std::function<void()>& command);
    // A lifecycle command: the Project may be another one afterwards.
    void RunLifecycle(const std::function<void()>& command);
    // A command with a guard: the guard's message, or the action.
    std::function<void()> Guarded(GuardedCommand command, std::function<void()> action = {});
    // Keeps the window painting during a long vertex command of `steps` steps, with a progress
    // dialog on large Projects; input is refused meanwhile.
    std::function<void()> Pump(std::size_t steps);
    // After a command that renumbers vertices with visualization lines rebuilt around it.
    void AfterVisLinesRebuilt();
    // Shows a modeless editor window and brings it to the front.
    void ShowToolWindow(QWidget* window);
    // A project from the recent-files list or dropped on the window.
    void OpenRecentFile(const std::string& path);
    void SetHintsOn(bool on) { hintsOn_ = on; }

    // The idle handler: enables commands from the Project's state.
    void ApplyIdleRules();
    // Shows the session after a command: captions, recent entries, event-set menu states.
    void ApplySessionState();
    // Sets the entries of a top-level menu that is about to open.
    void ApplyMenuOpenRules(QMenu* menu);
    // A feature's own enable rule, applied after the idle rules and the session state (it may
    // only narrow what they enabled).
    void AddEnableRule(std::function<void()> rule) { enableRules_.push_back(std::move(rule)); }
    // A feature's windows refreshed after every command, as the editor windows are.
    void AddRefreshHandler(std::function<void()> refresh) {
        refreshHandlers_.push_back(std::move(refresh));
    }
    // Ends the program without the closing question (the Project was just saved).
    void EndProgram();

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
    void CreateWindows();
    void CreateView();
    QWidget* CreateBottomPanel();
    void RebuildRecentEntries();
    void StoreRecentFiles();
    void ApplyEnableRules();
    std::vector<std::function<void()>> enableRules_, refreshHandlers_;
    // Enables the named entry; the name must exist.
    void Enable(const char* name, bool on);

    Editor& editor_;
    QtUi ui_;
    std::vector<std::string> args_;
    QMdiArea* mdiArea_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    std::vector<QAction*> recentEntries_;
    bool hintsOn_ = true;
    bool shownOnce_ = false;
};

} // namespace meshforge::gui
