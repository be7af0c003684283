#pragma once
#include "app/editor_ui.h"

#include <QString>

class QWidget;

namespace meshforge::gui {

class LogPanel;
class TNameProjectForm;
class TOffsetNewForm;
class TLineColorForm;
class TPolygonColorForm;

// The Ui port on Qt: log lines go to the log panel, messages and questions to message boxes,
// choices to the standard dialogs and the program's own dialogs. Everything that waits for
// the user can be handed to another Ui instead (`SetPrompts`), which is how the GUI tests
// script answers without a modal box blocking them; the log always reaches the panel.
class QtUi : public EditorUi {
  public:
    explicit QtUi(QWidget* parent) : parent_(parent) {}

    void SetLogPanel(LogPanel* log) { log_ = log; }
    void SetNameForm(TNameProjectForm* form) { nameForm_ = form; }
    void SetOffsetForm(TOffsetNewForm* form) { offsetForm_ = form; }
    void SetNextElementForms(TLineColorForm* line, TPolygonColorForm* polygon) {
        lineColorForm_ = line;
        polygonColorForm_ = polygon;
    }
    void SetPrompts(EditorUi* prompts) { prompts_ = prompts; }
    EditorUi* Prompts() const { return prompts_; }

    void Log(std::string_view line) override;
    void Message(std::string_view text) override;
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override;
    void Beep() override;
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& request) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& request) override;
    std::optional<std::string> ChooseFolder(std::string_view title) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    std::optional<std::string> ChooseBitmap(std::string_view preset) override;
    std::optional<Offset3> AskImportOffset() override;
    NameAnswer AskProjectName() override;
    bool OpenDocument(std::string_view pathOrUrl) override;
    NextElement AskCreateNewLine() override;
    NextElement AskCreateNewPolygon(bool manualColors) override;

  private:
    // The window the boxes and dialogs belong to: the active one, else the main window.
    QWidget* Owner() const;

    QWidget* parent_;
    LogPanel* log_ = nullptr;
    TNameProjectForm* nameForm_ = nullptr;
    TOffsetNewForm* offsetForm_ = nullptr;
    TLineColorForm* lineColorForm_ = nullptr;
    TPolygonColorForm* polygonColorForm_ = nullptr;
    EditorUi* prompts_ = nullptr;
};

// "\r" breaks of the system's texts as line breaks, and "Desc|*.ext" filters as Qt's.
QString BoxText(std::string_view text);
QString QtFilter(const std::string& filter);

} // namespace meshforge::gui
