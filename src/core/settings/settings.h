#pragma once
#include <string>
#include <string_view>

#include "settings/ini_file.h"
#include "settings/recent_files.h"

namespace meshforge {

inline constexpr const char* kGeneralOptionsSection = "General Options";

// Key names of the "General Options" section.
namespace general_keys {
inline constexpr std::string_view kGPLPath = "GPLPath";
inline constexpr std::string_view kViewerPath = "ViewerPath";
inline constexpr std::string_view kUserPath = "UserPath";
inline constexpr std::string_view kBMPPath = "BMPPath";
inline constexpr std::string_view kMakeSubDir = "MakeSubDir";
inline constexpr std::string_view kCopyBmp = "CopyBmp";
inline constexpr std::string_view kMipInfo = "MipInfo";
inline constexpr std::string_view kMaxOnStartup = "MaxOnStartup";
inline constexpr std::string_view kPlaySound = "PlaySound";
inline constexpr std::string_view kShowBackside = "ShowBackside";
inline constexpr std::string_view kRandomPolyColors = "RandomPolyColors";
inline constexpr std::string_view kToolTips = "ToolTips";
inline constexpr std::string_view kNoCaption = "NoCaption";
inline constexpr std::string_view kShowGrid = "ShowGrid";
inline constexpr std::string_view kGridScale = "GridScale";
inline constexpr std::string_view kGridSize = "GridSize";
inline constexpr std::string_view kGridColor = "GridColor";
} // namespace general_keys

// All "General Options", each holding its default until read from a file.
struct GeneralOptions {
    std::string GPLPath;
    std::string ViewerPath;
    std::string UserPath;
    std::string BMPPath;
    bool MakeSubDir = false;
    bool CopyBmp = false;
    bool MipInfo = false;
    bool MaxOnStartup = true;
    bool PlaySound = true;
    bool ShowBackside = true;
    bool RandomPolyColors = false;
    bool ToolTips = false;
    bool NoCaption = false;
    bool ShowGrid = false;
    int GridScale = 1; // 1..20
    int GridSize = 1;  // 1..100
    std::string GridColor = "clBlack";
};

// The installation's settings file. Reads come from the copy loaded at construction
// (kept current by this object's writes); every write goes to disk at once.
class SettingsFile {
  public:
    // Loads the file when it exists. A missing, unreadable or malformed file gives defaults.
    explicit SettingsFile(std::string path);

    // appFolder ends in a path separator.
    static std::string PathFor(const std::string& appFolder);

    const std::string& Path() const { return path_; }
    const IniFile& Ini() const { return ini_; }

    GeneralOptions ReadGeneralOptions() const;

    // Stored value of a "General Options" key or its default. Numbers are clamped into
    // their range (GridScale 1..20, GridSize 1..100). Unknown keys default to "", false, 0.
    std::string ReadText(std::string_view key) const;
    bool ReadFlag(std::string_view key) const;
    int ReadNumber(std::string_view key) const;

    // Store a "General Options" key and rewrite the file. Throw FileError when it cannot be
    // written.
    void WriteText(std::string_view key, std::string_view value);
    void WriteFlag(std::string_view key, bool value);
    void WriteNumber(std::string_view key, int value);

    RecentFiles LoadRecentFiles() const;
    // Replaces the recent-files section and rewrites the file. Throws FileError on failure.
    void StoreRecentFiles(const RecentFiles& files);

  private:
    void Flush() const;

    std::string path_;
    IniFile ini_;
};

} // namespace meshforge
