#pragma once
// The display-class dialog's combo box (DCComboBox): the thirteen entries, and for a code
// without an entry one item more that shows its number, so that the dialog shows what the
// Project holds and "OK" without another choice keeps it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct Project;

struct DisplayClassChoice {
    std::vector<std::string> Items;
    std::size_t Current = 0; // the item shown on opening
};
DisplayClassChoice DisplayClassChoiceOf(int32_t displayClass);

// "OK" on `item` of the choice made for `displayClass`: the code it stands for.
int32_t DisplayClassOfItem(int32_t displayClass, std::size_t item);

// Sets the display class to a code of the list; false (and nothing changed) for another code.
bool SetDisplayClass(Project& project, int32_t code);

} // namespace meshforge
