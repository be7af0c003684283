#pragma once
#include <QPlainTextEdit>

#include <string>
#include <string_view>
#include <vector>

namespace meshforge {
struct Ui;
}

namespace meshforge::gui {

// The main window's log: a read-only text box that only ever grows, except through
// "Clear All" of its pop-up menu. The lines are kept as written so that a log file holds
// exactly what was appended.
class LogPanel : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit LogPanel(QWidget* parent = nullptr);

    void SetUi(Ui* ui) { ui_ = ui; }
    void Append(std::string_view line);
    const std::vector<std::string>& Lines() const { return lines_; }

    void CopyLogToClipboardClick();
    void SaveAsLogFileClick();
    void ClearAllClick();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ScrollToEnd();

    bool scrollPending_ = false;
    std::vector<std::string> lines_;
    Ui* ui_ = nullptr;
};

} // namespace meshforge::gui
