#pragma once
// Gathers the About box's system information from the running Linux system.
#include "app/system_info.h"

#include <string>

namespace meshforge::gui {

// What the 3D view knows about itself: its client size and the strings of its OpenGL context.
struct ViewProbe {
    int Width = 0, Height = 0;
    std::string Renderer, Vendor, Version, Extensions;
};

// The closest Linux equivalents of the block's values: the distribution's name with the
// kernel's version numbers, the processor model, /proc/meminfo, and the file names and
// versions of the loaded libGL and libGLU. A value that cannot be read stays empty (or 0).
meshforge::SystemInfo GatherSystemInfo(const ViewProbe& view);

} // namespace meshforge::gui
