#include "model/game_codes.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace meshforge {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string ReboundName(int32_t code) {
    if (code >= 0 && static_cast<std::size_t>(code) < kReboundNames.size())
        return std::string(kReboundNames[static_cast<std::size_t>(code)]);
    return std::to_string(code);
}

std::optional<int32_t> ReboundCodeOf(std::string_view text) {
    for (std::size_t i = 0; i < kReboundNames.size(); ++i)
        if (SameLetters(text, kReboundNames[i]))
            return static_cast<int32_t>(i);
    int32_t code = -1;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, code);
    if (text.empty() || ec != std::errc() || ptr != end || code < 0 ||
        static_cast<std::size_t>(code) >= kReboundNames.size())
        return std::nullopt;
    return code;
}

std::optional<std::size_t> DisplayClassEntryOf(int32_t code) {
    for (std::size_t i = 0; i < kDisplayClasses.size(); ++i)
        if (kDisplayClasses[i].Code == code)
            return i;
    return std::nullopt;
}

std::string DisplayClassText(int32_t code) {
    const std::optional<std::size_t> entry = DisplayClassEntryOf(code);
    return entry ? std::string(kDisplayClasses[*entry].Text) : std::to_string(code);
}

} // namespace meshforge
