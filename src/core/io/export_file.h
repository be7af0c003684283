#pragma once
#include <string>
#include <string_view>

namespace meshforge {

struct Ui;

// Writes an exported file atomically; a failure is shown as a message. False when nothing
// was written, so the caller writes no log line.
bool WriteExportFile(const std::string& path, std::string_view content, Ui& ui);

} // namespace meshforge
