#pragma once
// Printing a report listing through Qt: plain text lines in a fixed-pitch font ("Courier New"
// where it is installed, else the system's fixed font), top to bottom, a new page whenever one
// is full, no header, footer or page number. The editor paints on a QPrinter, the command line
// on a PDF file.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QPagedPaintDevice;

namespace meshforge {

class Listing;

// Called before each page with the lines printed so far; false cancels the print.
using PrintProgress = std::function<bool(std::size_t linesDone)>;

// Paints every line on the device's pages; returns the number of pages, or nullopt when the
// device could not be painted on or the print was cancelled.
std::optional<int> PaintListing(QPagedPaintDevice& device, const Listing& listing,
                                const PrintProgress& progress = {});

// Writes the listing as a PDF file (A4) atomically and returns its number of pages; throws
// FileError when it cannot. Needs a QGuiApplication (the fonts).
int WriteListingPdf(const Listing& listing, const std::string& path);

} // namespace meshforge
