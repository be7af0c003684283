#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Project;
struct ProjectFileUi;
class TextSink;

// The settings that change what a save does beyond writing the project file.
struct SaveOptions {
    std::string AppFolder; // with trailing separator
    bool MakeSubDir = false;
    bool CopyBmp = false;
    bool MipInfo = false;
};

enum class ReadOutcome {
    Completed, // the whole file was read; final log lines written
    Stopped,   // the user abandoned the read; what was read stays
    Cleared,   // a missing bitmap was not re-selected: the Project was cleared
};

// Writes the project file text (and, with the options, copies bitmaps and writes ".mci"
// files, which may change texture paths). Does not touch ProjectFileName.
std::string SerializeProject(Project& project, const SaveOptions& options, ProjectFileUi& ui);
void SerializeProject(Project& project, const SaveOptions& options, ProjectFileUi& ui,
                      TextSink& out);

// Writes the Project to ProjectFileName atomically and logs "Project ... saved !".
void WriteProject(Project& project, const SaveOptions& options, ProjectFileUi& ui);

// Reads ProjectFileName into the (emptied) Project. Throws ParseError or FileError naming the
// file and line; what was read before the error stays.
// The file is read a chunk of `chunkBytes` at a time.
ReadOutcome ReadProject(Project& project, ProjectFileUi& ui, std::size_t chunkBytes = 1 << 18);
ReadOutcome ReadProjectText(Project& project, std::string_view text, ProjectFileUi& ui);

// Adds vertices, textures, lines and polygons of another project file.
ReadOutcome MergeProject(Project& project, const std::string& path, ProjectFileUi& ui,
                         std::size_t chunkBytes = 1 << 18);
ReadOutcome MergeProjectText(Project& project, const std::string& path, std::string_view text,
                             ProjectFileUi& ui);

// What "Clear All" does to the Project: ResetProject and the log line "All Data Cleared !".
// The reader runs it when a missing bitmap is not re-selected.
void ClearAllData(Project& project, ProjectFileUi& ui);

// The ".mci" conversion-info text for one texture.
std::string ConversionInfoText(const std::string& filename, int transparent,
                               const std::string& maskFilename, int repeatValue);

// File name part of a path, accepting both "\" and "/" as separators.
std::string_view FileNamePart(std::string_view path);
std::string_view FolderPart(std::string_view path); // with trailing separator, or empty

// Splits text into lines ended by CR LF, LF or CR.
std::vector<std::string_view> SplitLines(std::string_view text);

} // namespace meshforge
