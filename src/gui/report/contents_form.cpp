#include "gui/report/contents_form.h"

#include "gui/edit/form_parts.h"
#include "report/report.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace meshforge::gui {

TContentsForm::TContentsForm(const Project& project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setObjectName("ContentsForm");
    setWindowTitle("Project Contents");
    setModal(true);
    resize(560, 520);
    ContentsMemo = new QPlainTextEdit(this);
    ContentsMemo->setObjectName("ContentsMemo");
    ContentsMemo->setReadOnly(true);
    ContentsMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ContentsMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ContentsMemo->setToolTip("Shows All Currently Defined Vertices, Lines, Polygons etc.");
    ContentsMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CopyButton = MakeButton(this, "CopyButton", "Copy To Clipboard",
                            "Copy All To Clipboard and Close Window");
    CancelButton = MakeButton(this, "CancelButton", "Cancel", "Close This Window");
    connect(CopyButton, &QPushButton::clicked, this, [this] {
        ContentsMemo->selectAll();
        ContentsMemo->copy();
        ContentsMemo->clear();
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        ContentsMemo->clear();
        reject();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ContentsMemo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CopyButton);
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

void TContentsForm::Open() {
    const Listing listing = ProjectListing(project_, ListingKind::Contents);
    std::string_view text = listing.Text();
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1); // appendPlainText starts a line of its own
    // One block of text in one go: a listing of a million vertices fills the box at once.
    ContentsMemo->appendPlainText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    exec();
}

} // namespace meshforge::gui
