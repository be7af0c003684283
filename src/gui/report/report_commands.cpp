// The report commands of the File menu: the contents listing in its dialog, and the print
// listing on a printer chosen in the standard print dialog, with progress and a way to cancel.
#include "app/commands.h"
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/report/contents_form.h"
#include "print/listing_printer.h"
#include "report/report.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace meshforge::gui {

namespace {

void PrintProject(TMainForm& f) {
    const Listing listing = ProjectListing(f.CurrentProject(), ListingKind::Print);
    QPrinter printer;
    QPrintDialog dialog(&printer, &f);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QProgressDialog progress("Printing Project Data...", "Cancel", 0,
                             int(std::min<std::size_t>(listing.LineCount(), INT_MAX)), &f);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    bool cancelled = false;
    const std::optional<int> pages = PaintListing(printer, listing, [&](std::size_t done) {
        progress.setValue(int(std::min<std::size_t>(done, INT_MAX)));
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
    progress.reset();
    if (!pages && !cancelled)
        f.UiPort().Message("The printer could not be used: nothing was printed.");
}

} // namespace

void RegisterReportCommands(TMainForm& f) {
    auto* contents = new TContentsForm(f.CurrentProject(), &f);
    QObject::connect(f.Action("ContentsMenu"), &QAction::triggered, &f,
                     [&f, contents] { f.Run([contents] { contents->Open(); }); });
    QObject::connect(f.Action("PrintMenu"), &QAction::triggered, &f,
                     f.Guarded(GuardedCommand::PrintProjectData, [&f] { PrintProject(f); }));
}

} // namespace meshforge::gui
