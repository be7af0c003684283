#pragma once
#include "ui/quiet_ui.h"

#include <iosfwd>

namespace meshforge::cli {

// The command line cannot ask: log lines go to stdout, messages and warnings to stderr, and
// questions get fixed answers (keep a missing bitmap's stored path, add merged data unshifted).
class CliUi : public QuietUi {
  public:
    CliUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void Log(std::string_view line) override;
    void Message(std::string_view text) override;
    std::optional<std::string> ChooseBitmap(std::string_view preset) override;
    // Questions get the answer that changes the least: No, or Cancel where offered.
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override;
    std::optional<Offset3> AskImportOffset() override { return Offset3{}; }

  private:
    std::ostream& out_;
    std::ostream& err_;
};

} // namespace meshforge::cli
