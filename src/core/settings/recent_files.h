#pragma once
#include <string>
#include <vector>

#include "settings/ini_file.h"

namespace meshforge {

inline constexpr const char* kRecentFilesSection = "Recent Used Files";

// The recently used project paths, most recent first, at most kMaxEntries.
class RecentFiles {
  public:
    static constexpr std::size_t kMaxEntries = 10;

    // Moves an already listed path to the top, or inserts a new one there and drops
    // entries beyond kMaxEntries. Empty paths and the literal "None" are ignored.
    void Add(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

    // Replaces the list with keys F0..F9 of the recent-files section, in key order,
    // skipping empty values, "None" and duplicates.
    void Load(const IniFile& ini);
    // Erases the recent-files section, then writes F0, F1, ... in list order.
    void Store(IniFile& ini) const;

  private:
    std::vector<std::string> paths_;
};

} // namespace meshforge
