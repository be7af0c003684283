#pragma once

namespace meshforge {

// How a "Create New Line ?" / "Create New Polygon ?" dialog was answered.
enum class NextElement { SameColor, NewColor, Stop };

// The questions picking asks half-way, after each line or polygon it made: whether to go on.
struct PickPrompts {
    virtual ~PickPrompts() = default;
    // "Create New Line ?": "Same Color" (focused), "New Color", "Stop".
    virtual NextElement AskCreateNewLine() = 0;
    // "Create New Polygon ?". With manual polygon colours: "Same Color" (focused), "New Color",
    // "Stop"; with random colours "New Color" is hidden and the first button reads "Yes"
    // (answered as SameColor).
    virtual NextElement AskCreateNewPolygon(bool manualColors) = 0;
};

} // namespace meshforge
