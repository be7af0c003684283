#pragma once

namespace meshforge {

struct Project;
struct Ui;

// "Clear All": empties the Project and logs "All Data Cleared !". Menu states and the view
// caption are the window's part.
void ClearAll(Project& project, Ui& ui);

} // namespace meshforge
