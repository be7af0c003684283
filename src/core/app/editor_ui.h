#pragma once
#include "app/lifecycle_ui.h"
#include "view/pick_prompts.h"

namespace meshforge {

// Every port the editor's subsystems talk through, in one: what the editor's Ui (Qt) and the
// scripted test Ui implement.
struct EditorUi : LifecycleUi, PickPrompts {};

} // namespace meshforge
