#include "cli_ui.h"

#include <ostream>
#include <string>

namespace meshforge::cli {

namespace {
// Message texts break lines with "\r"; a terminal wants "\n".
std::string Printable(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == '\r')
            c = '\n';
    return s;
}
} // namespace

void CliUi::Log(std::string_view line) {
    out_ << line << '\n';
}

void CliUi::Message(std::string_view text) {
    err_ << Printable(text) << '\n';
}

std::optional<std::string> CliUi::ChooseBitmap(std::string_view preset) {
    err_ << "warning: keeping the stored path " << preset << '\n';
    return std::string(preset);
}

Answer CliUi::Ask(std::string_view text, std::string_view caption, Buttons buttons) {
    Answer a = buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    err_ << caption << ": " << Printable(text) << (a == Answer::Cancel ? " Cancel" : " No") << '\n';
    return a;
}

} // namespace meshforge::cli
