#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/platform_file.h"

namespace meshforge {

namespace {

enum class Kind { Text, Flag, Number };

struct KeyInfo {
    std::string_view key;
    Kind kind;
    std::string_view text; // default for texts
    int number;            // default for flags (0/1) and numbers
    int min;
    int max;
};

namespace k = general_keys;

constexpr std::array<KeyInfo, 17> kTable{{
    {k::kGPLPath, Kind::Text, "", 0, 0, 0},
    {k::kViewerPath, Kind::Text, "", 0, 0, 0},
    {k::kUserPath, Kind::Text, "", 0, 0, 0},
    {k::kBMPPath, Kind::Text, "", 0, 0, 0},
    {k::kMakeSubDir, Kind::Flag, "", 0, 0, 0},
    {k::kCopyBmp, Kind::Flag, "", 0, 0, 0},
    {k::kMipInfo, Kind::Flag, "", 0, 0, 0},
    {k::kMaxOnStartup, Kind::Flag, "", 1, 0, 0},
    {k::kPlaySound, Kind::Flag, "", 1, 0, 0},
    {k::kShowBackside, Kind::Flag, "", 1, 0, 0},
    {k::kRandomPolyColors, Kind::Flag, "", 0, 0, 0},
    {k::kToolTips, Kind::Flag, "", 0, 0, 0},
    {k::kNoCaption, Kind::Flag, "", 0, 0, 0},
    {k::kShowGrid, Kind::Flag, "", 0, 0, 0},
    {k::kGridScale, Kind::Number, "", 1, 1, 20},
    {k::kGridSize, Kind::Number, "", 1, 1, 100},
    {k::kGridColor, Kind::Text, "clBlack", 0, 0, 0},
}};

const KeyInfo* Find(std::string_view key) {
    for (const KeyInfo& info : kTable) {
        if (info.key.size() != key.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < key.size() && same; ++i) {
            auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
            same = lower(info.key[i]) == lower(key[i]);
        }
        if (same)
            return &info;
    }
    return nullptr;
}

std::string DefaultText(const KeyInfo* info) {
    if (info == nullptr)
        return {};
    return info->kind == Kind::Text ? std::string(info->text) : std::to_string(info->number);
}

} // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(platform::PathFromUtf8(path_), ec))
        return;
    try {
        ini_ = IniFile::Parse(ReadWholeFile(path_));
    } catch (const FileError&) {
        ini_ = IniFile();
    }
}

std::string SettingsFile::PathFor(const std::string& appFolder) {
    return appFolder + "Meshforge.ini";
}

std::string SettingsFile::ReadText(std::string_view key) const {
    return ini_.ReadString(kGeneralOptionsSection, key, DefaultText(Find(key)));
}

bool SettingsFile::ReadFlag(std::string_view key) const {
    const KeyInfo* info = Find(key);
    return ini_.ReadBool(kGeneralOptionsSection, key, info != nullptr && info->number != 0);
}

int SettingsFile::ReadNumber(std::string_view key) const {
    const KeyInfo* info = Find(key);
    int value = ini_.ReadInteger(kGeneralOptionsSection, key, info ? info->number : 0);
    if (info != nullptr && info->kind == Kind::Number)
        value = std::clamp(value, info->min, info->max);
    return value;
}

void SettingsFile::WriteText(std::string_view key, std::string_view value) {
    ini_.WriteString(kGeneralOptionsSection, key, value);
    Flush();
}

void SettingsFile::WriteFlag(std::string_view key, bool value) {
    ini_.WriteBool(kGeneralOptionsSection, key, value);
    Flush();
}

void SettingsFile::WriteNumber(std::string_view key, int value) {
    ini_.WriteInteger(kGeneralOptionsSection, key, value);
    Flush();
}

GeneralOptions SettingsFile::ReadGeneralOptions() const {
    GeneralOptions o;
    o.GPLPath = ReadText(k::kGPLPath);
    o.ViewerPath = ReadText(k::kViewerPath);
    o.UserPath = ReadText(k::kUserPath);
    o.BMPPath = ReadText(k::kBMPPath);
    o.MakeSubDir = ReadFlag(k::kMakeSubDir);
    o.CopyBmp = ReadFlag(k::kCopyBmp);
    o.MipInfo = ReadFlag(k::kMipInfo);
    o.MaxOnStartup = ReadFlag(k::kMaxOnStartup);
    o.PlaySound = ReadFlag(k::kPlaySound);
    o.ShowBackside = ReadFlag(k::kShowBackside);
    o.RandomPolyColors = ReadFlag(k::kRandomPolyColors);
    o.ToolTips = ReadFlag(k::kToolTips);
    o.NoCaption = ReadFlag(k::kNoCaption);
    o.ShowGrid = ReadFlag(k::kShowGrid);
    o.GridScale = ReadNumber(k::kGridScale);
    o.GridSize = ReadNumber(k::kGridSize);
    o.GridColor = ReadText(k::kGridColor);
    return o;
}

RecentFiles SettingsFile::LoadRecentFiles() const {
    RecentFiles files;
    files.Load(ini_);
    return files;
}

void SettingsFile::StoreRecentFiles(const RecentFiles& files) {
    files.Store(ini_);
    Flush();
}

void SettingsFile::Flush() const {
    WriteFileAtomically(path_, ini_.Serialize());
}

} // namespace meshforge
