#include "gui/app/log_panel.h"

#include "app/lifecycle.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

namespace meshforge::gui {

LogPanel::LogPanel(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName("LogMemo");
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
}

void LogPanel::Append(std::string_view line) {
    lines_.emplace_back(line);
    QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    // Appending to an empty document fills its one (empty) line instead of adding one, so
    // leading empty lines are written out together with the first text.
    if (document()->isEmpty()) {
        QStringList all;
        for (const std::string& l : lines_)
            all << QString::fromStdString(l);
        setPlainText(all.join('\n'));
    } else {
        appendPlainText(text);
    }
    ScrollToEnd();
}

void LogPanel::ScrollToEnd() {
    // Once, after the appends of this event and the layout they cause.
    if (scrollPending_)
        return;
    scrollPending_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollPending_ = false;
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    });
}

void LogPanel::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    ScrollToEnd();
}

void LogPanel::CopyLogToClipboardClick() {
    selectAll();
    QApplication::clipboard()->setText(toPlainText());
}

void LogPanel::SaveAsLogFileClick() {
    if (ui_)
        SaveLogFile(lines_, *ui_);
}

void LogPanel::ClearAllClick() {
    lines_.clear();
    clear();
}

void LogPanel::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("Copy Log To Clipboard", this, &LogPanel::CopyLogToClipboardClick);
    menu.addAction("Save As Log File", this, &LogPanel::SaveAsLogFileClick);
    menu.addAction("Clear All", this, &LogPanel::ClearAllClick);
    menu.exec(event->globalPos());
}

} // namespace meshforge::gui
