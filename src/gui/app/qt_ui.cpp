#include "gui/app/qt_ui.h"

#include "gui/app/log_panel.h"
#include "gui/app/name_project_form.h"
#include "gui/edit/next_element_form.h"
#include "gui/io/offset_new_form.h"
#include "model/project.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace meshforge::gui {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string S(const QString& s) {
    return s.toUtf8().toStdString();
}

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogSpec& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, Q(request.Title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // The descriptions already name their patterns ("Meshforge Project [*.3dp]").
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList filters;
    for (const std::string& f : request.Filters)
        filters << QtFilter(f);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    if (!request.DefaultExt.empty())
        dialog.setDefaultSuffix(Q(request.DefaultExt));
    if (!request.FileName.empty())
        dialog.selectFile(QDir::fromNativeSeparators(Q(request.FileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return S(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

// Interim form of the "Create New ..." dialogs: no title-bar buttons, so only the three
// answers leave it.
NextElement AskNextElement(QWidget* parent, const char* caption, bool offerNewColor) {
    QMessageBox box(QMessageBox::NoIcon, caption, QString(), QMessageBox::NoButton, parent);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QPushButton* same =
        box.addButton(offerNewColor ? "Same Color" : "Yes", QMessageBox::AcceptRole);
    QPushButton* fresh =
        offerNewColor ? box.addButton("New Color", QMessageBox::AcceptRole) : nullptr;
    box.addButton("Stop", QMessageBox::RejectRole);
    box.setDefaultButton(same);
    box.exec();
    if (box.clickedButton() == same)
        return NextElement::SameColor;
    if (fresh && box.clickedButton() == fresh)
        return NextElement::NewColor;
    return NextElement::Stop;
}

} // namespace

QString BoxText(std::string_view text) {
    QString s = Q(text);
    s.replace('\r', '\n');
    return s;
}

QString QtFilter(const std::string& filter) {
    auto bar = filter.find('|');
    if (bar == std::string::npos)
        return Q(filter);
    QString patterns = Q(filter.substr(bar + 1));
    patterns.replace(';', ' ');
    return Q(filter.substr(0, bar)) + " (" + patterns + ")";
}

void QtUi::Log(std::string_view line) {
    if (log_)
        log_->Append(line);
}

void QtUi::Message(std::string_view text) {
    if (prompts_)
        return prompts_->Message(text);
    QMessageBox box(QMessageBox::NoIcon, kProgramName, BoxText(text), QMessageBox::Ok, Owner());
    box.exec();
}

Answer QtUi::Ask(std::string_view text, std::string_view caption, Buttons buttons) {
    if (prompts_)
        return prompts_->Ask(text, caption, buttons);
    auto set = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        set |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, Q(caption), BoxText(text), set, Owner());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // The close box of a Yes/No box counts as No, of a Yes/No/Cancel box as Cancel.
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

void QtUi::Beep() {
    if (prompts_)
        return prompts_->Beep();
    QApplication::beep();
}

std::optional<std::string> QtUi::ChooseOpenFile(const FileDialogSpec& request) {
    if (prompts_)
        return prompts_->ChooseOpenFile(request);
    return RunFileDialog(Owner(), request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUi::ChooseSaveFile(const FileDialogSpec& request) {
    if (prompts_)
        return prompts_->ChooseSaveFile(request);
    return RunFileDialog(Owner(), request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtUi::ChooseFolder(std::string_view title) {
    if (prompts_)
        return prompts_->ChooseFolder(title);
    QString dir = QFileDialog::getExistingDirectory(Owner(), Q(title));
    if (dir.isEmpty())
        return std::nullopt;
    return S(QDir::toNativeSeparators(dir));
}

std::optional<std::uint32_t> QtUi::ChooseColor(std::uint32_t initial) {
    if (prompts_)
        return prompts_->ChooseColor(initial);
    QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    QColor c = QColorDialog::getColor(start, Owner());
    if (!c.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

std::optional<std::string> QtUi::ChooseBitmap(std::string_view preset) {
    if (prompts_)
        return prompts_->ChooseBitmap(preset);
    QFileDialog dialog(Owner());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter("Bitmaps (*.bmp)");
    QFileInfo info(Q(preset));
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return S(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::optional<Offset3> QtUi::AskImportOffset() {
    if (prompts_)
        return prompts_->AskImportOffset();
    if (!offsetForm_)
        return std::nullopt;
    return offsetForm_->Run();
}

NameAnswer QtUi::AskProjectName() {
    if (prompts_)
        return prompts_->AskProjectName();
    if (!nameForm_)
        return {NameAnswer::How::Cancelled, {}};
    return nameForm_->Run();
}

QWidget* QtUi::Owner() const {
    // A box asked from a tool window that stays on top must belong to it, or the window
    // would cover the box.
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return parent_;
}

bool QtUi::OpenDocument(std::string_view pathOrUrl) {
    if (prompts_)
        return prompts_->OpenDocument(pathOrUrl);
    QString target = Q(pathOrUrl);
    QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

NextElement QtUi::AskCreateNewLine() {
    if (prompts_)
        return prompts_->AskCreateNewLine();
    if (lineColorForm_)
        return lineColorForm_->Run(true);
    return AskNextElement(Owner(), "Create New Line ?", true);
}

NextElement QtUi::AskCreateNewPolygon(bool manualColors) {
    if (prompts_)
        return prompts_->AskCreateNewPolygon(manualColors);
    if (polygonColorForm_)
        return polygonColorForm_->Run(manualColors);
    return AskNextElement(Owner(), "Create New Polygon ?", manualColors);
}

} // namespace meshforge::gui
