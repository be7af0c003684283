#include "listing_printer.h"

#include "report/report.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace meshforge {

namespace {

// The vertex editor's list font: "Courier New", 12 pixels on a 96 dpi screen (9 points).
QFont ListingFont() {
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                     ? QFont(QStringLiteral("Courier New"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(9.0);
    return font;
}

} // namespace

std::optional<int> PaintListing(QPagedPaintDevice& device, const Listing& listing,
                                const PrintProgress& progress) {
    if (progress && !progress(0))
        return std::nullopt;
    QPainter painter;
    if (!painter.begin(&device))
        return std::nullopt;
    painter.setFont(QFont(ListingFont(), &device));
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int pages = 1, y = 0;
    for (std::size_t i = 0; i < listing.LineCount(); ++i) {
        if (y > 0 && y + lineHeight > pageHeight) {
            if ((progress && !progress(i)) || !device.newPage()) {
                painter.end();
                return std::nullopt;
            }
            ++pages;
            y = 0;
        }
        const std::string_view line = listing.Line(i);
        painter.drawText(0, y + metrics.ascent(),
                         QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
        y += lineHeight;
    }
    if (!painter.end())
        return std::nullopt;
    return pages;
}

int WriteListingPdf(const Listing& listing, const std::string& path) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    std::optional<int> pages;
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setCreator(QStringLiteral("Meshforge"));
        pages = PaintListing(writer, listing);
        if (!pages)
            throw FileError("Cannot write file " + path + ": the listing could not be printed");
    }
    const QByteArray& bytes = pdf.data();
    WriteFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return *pages;
}

} // namespace meshforge
