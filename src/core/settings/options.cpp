#include "settings/options.h"

#include <filesystem>
#include <system_error>

#include "model/texts.h"
#include "util/errors.h"
#include "util/platform_file.h"

namespace meshforge {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

} // namespace

std::string StartMenuCaption(std::string_view programPath) {
    std::size_t sep = LastSeparator(programPath);
    std::string_view name =
        sep == std::string_view::npos ? programPath : programPath.substr(sep + 1);
    std::string_view stem = name.size() > 4 ? name.substr(0, name.size() - 4) : std::string_view{};
    return "Start " + std::string(stem);
}

FileDialogSpec BrowseDialogFor(BrowseTarget target) {
    FileDialogSpec request;
    request.Filters.assign(kBrowseFilters.begin(), kBrowseFilters.end());
    switch (target) {
    case BrowseTarget::GPL:
        request.Title = "Select GPL Executable";
        request.FilterIndex = 1;
        break;
    case BrowseTarget::Viewer:
        request.Title = "Select Executable of 3DO- Viewer Application";
        request.FilterIndex = 3;
        break;
    case BrowseTarget::UserProgram:
        request.Title = "Select Executable of External Program";
        request.FilterIndex = 3;
        break;
    case BrowseTarget::BitmapArchive:
        request.Title = "Select any Bitmap File in Archive Directory";
        request.FilterIndex = 4;
        break;
    }
    return request;
}

std::uint32_t ColorValueOrBlack(std::string_view colorText) {
    try {
        return ParseColor(colorText);
    } catch (const ParseError&) {
        return 0;
    }
}

ColorTriple GridColorTripleOf(std::string_view colorText) {
    Rgb c = ColorToRgb(ColorValueOrBlack(colorText));
    return {c.r, c.g, c.b};
}

std::string FolderOfFile(std::string_view filePath) {
    std::size_t sep = LastSeparator(filePath);
    if (sep == std::string_view::npos)
        return {};
    return std::string(filePath.substr(0, sep + 1));
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || IsSeparator(out.back()))
        return out;
    std::size_t sep = LastSeparator(folder);
    out += sep == std::string_view::npos ? '\\' : folder[sep];
    return out;
}

bool IsExistingFolder(std::string_view path) {
    if (path.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_directory(platform::PathFromUtf8(std::string(path)), ec);
}

TrackFolderControls TrackFolderControlsWhenToggled(bool useTrackFolder, bool autoGPL) {
    return {useTrackFolder, useTrackFolder, useTrackFolder && autoGPL};
}

TrackFolderControls TrackFolderControlsWhenShown(const ViewOptions& options) {
    bool autostart = options.UseTrackFolder && IsExistingFolder(options.TrackFolder);
    return {options.UseTrackFolder, autostart, autostart && options.AutoGPL};
}

bool CheckAutoGPL(bool checked, const ViewOptions& options, Ui& ui) {
    if (checked && !IsExistingFolder(options.TrackFolder)) {
        ui.Message("Invalid Trackfolder !");
        return false;
    }
    return checked;
}

} // namespace meshforge
