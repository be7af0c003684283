#include "edit/lines.h"

#include "app/ui.h"

#include <algorithm>
#include <cmath>

namespace meshforge {

namespace {
std::uint32_t ByteOf(float channel) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}
} // namespace

std::uint32_t ColorRefOf(const ColorTriple& color) {
    return ByteOf(color.R) | ByteOf(color.G) << 8 | ByteOf(color.B) << 16;
}

ColorTriple ColorTripleOf(std::uint32_t colorRef) {
    return {static_cast<float>(colorRef & 0xFF) / 255.0f,
            static_cast<float>((colorRef >> 8) & 0xFF) / 255.0f,
            static_cast<float>((colorRef >> 16) & 0xFF) / 255.0f};
}

bool ChooseColorTriple(Ui& ui, ColorTriple& color) {
    std::optional<std::uint32_t> chosen = ui.ChooseColor(ColorRefOf(color));
    if (!chosen)
        return false;
    color = ColorTripleOf(*chosen);
    return true;
}

void CreateLine(Project& project, int32_t first, int32_t second, ColorTriple color) {
    ObjectData line;
    line.Color = color;
    line.VertexIndices = {first, second};
    project.Lines.push_back(std::move(line));
    for (Vertex& v : project.Vertices)
        v.Selected = false;
}

} // namespace meshforge
