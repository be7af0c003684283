#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace meshforge {

struct Ui;
class TextSink;

// Writes an exported file atomically; a failure is shown as a message. False when nothing
// was written, so the caller writes no log line.
bool WriteExportFile(const std::string& path, std::string_view content, Ui& ui);
// The same for a text that `write` produces piece by piece straight into the file.
bool WriteExportFile(const std::string& path, const std::function<void(TextSink&)>& write, Ui& ui);

} // namespace meshforge
