#include "app/lifecycle.h"

#include "app/ui.h"
#include "model/project.h"

namespace meshforge {

void ClearAll(Project& project, Ui& ui) {
    ResetProject(project);
    ui.Log("All Data Cleared !");
}

} // namespace meshforge
