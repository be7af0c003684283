#include "settings/recent_files.h"

#include <algorithm>

namespace meshforge {

namespace {
bool Listable(const std::string& path) {
    return !path.empty() && path != "None";
}
} // namespace

void RecentFiles::Add(const std::string& path) {
    if (!Listable(path))
        return;
    auto it = std::find(paths_.begin(), paths_.end(), path);
    if (it != paths_.end())
        paths_.erase(it);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxEntries)
        paths_.resize(kMaxEntries);
}

void RecentFiles::Load(const IniFile& ini) {
    paths_.clear();
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        auto value = ini.Get(kRecentFilesSection, "F" + std::to_string(i));
        if (!value || !Listable(*value))
            continue;
        if (std::find(paths_.begin(), paths_.end(), *value) == paths_.end())
            paths_.push_back(*value);
    }
}

void RecentFiles::Store(IniFile& ini) const {
    ini.EraseSection(kRecentFilesSection);
    for (std::size_t i = 0; i < paths_.size(); ++i)
        ini.WriteString(kRecentFilesSection, "F" + std::to_string(i), paths_[i]);
}

} // namespace meshforge
