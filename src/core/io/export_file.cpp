#include "io/export_file.h"

#include "ui/ui.h"
#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/text_sink.h"

namespace meshforge {

bool WriteExportFile(const std::string& path, std::string_view content, Ui& ui) {
    return WriteExportFile(
        path, [content](TextSink& out) { out += content; }, ui);
}

bool WriteExportFile(const std::string& path, const std::function<void(TextSink&)>& write, Ui& ui) {
    try {
        AtomicFileWriter out(path);
        write(out);
        out.Commit();
    } catch (const FileError& e) {
        ui.Message(e.what());
        return false;
    }
    return true;
}

} // namespace meshforge
