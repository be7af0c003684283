#include "io/export_file.h"

#include "ui/ui.h"
#include "util/atomic_file.h"
#include "util/errors.h"

namespace meshforge {

bool WriteExportFile(const std::string& path, std::string_view content, Ui& ui) {
    try {
        WriteFileAtomically(path, content);
    } catch (const FileError& e) {
        ui.Message(e.what());
        return false;
    }
    return true;
}

} // namespace meshforge
