#include "collision/display_class_choice.h"

#include "model/game_codes.h"
#include "model/project.h"

namespace meshforge {

DisplayClassChoice DisplayClassChoiceOf(int32_t displayClass) {
    DisplayClassChoice choice;
    for (const DisplayClassEntry& e : kDisplayClasses)
        choice.Items.emplace_back(e.Text);
    if (std::optional<std::size_t> entry = DisplayClassEntryOf(displayClass)) {
        choice.Current = *entry;
    } else {
        choice.Current = choice.Items.size();
        choice.Items.push_back(DisplayClassText(displayClass));
    }
    return choice;
}

int32_t DisplayClassOfItem(int32_t displayClass, std::size_t item) {
    return item < kDisplayClasses.size() ? kDisplayClasses[item].Code : displayClass;
}

bool SetDisplayClass(Project& project, int32_t code) {
    if (!DisplayClassEntryOf(code))
        return false;
    project.DisplayClass = code;
    return true;
}

} // namespace meshforge
