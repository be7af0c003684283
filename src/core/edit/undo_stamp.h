#pragma once
#include "model/project.h"

#include <cstdint>
#include <string_view>

namespace meshforge {

inline constexpr std::string_view kUndoStaleMessage =
    "Undo is no longer possible: the object has changed since.";

// The Project revision an undo record may be restored at. It is set when the record is taken
// and moved along by the changes of the command that took it (which may run on later, as Add
// Line's picks do); any other change of a list leaves it behind for good.
class UndoStamp {
  public:
    void Take(const Project& project) { revision_ = project.Revision; }
    bool Matches(const Project& project) const { return revision_ == project.Revision; }
    // After a change that belongs to the record's command and started at revision `before`:
    // a record that was restorable then is restorable now.
    void Follow(const Project& project, uint64_t before) {
        if (revision_ == before)
            revision_ = project.Revision;
    }

  private:
    uint64_t revision_ = 0;
};

} // namespace meshforge
