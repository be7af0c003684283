#pragma once
#include "app/ui.h"

#include <iosfwd>

namespace meshforge::cli {

// The command line cannot ask: log lines go to stdout, messages and warnings to stderr, and
// questions get fixed answers (keep a missing bitmap's stored path, add merged data unshifted).
class CliUi : public Ui {
  public:
    CliUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void Log(std::string_view line) override;
    void Message(std::string_view text) override;
    std::optional<std::string> ChooseBitmap(std::string_view preset) override;
    std::optional<Offset3> AskImportOffset() override { return Offset3{}; }
    void RebuildTextureLibrary(Project&) override {}

  private:
    std::ostream& out_;
    std::ostream& err_;
};

} // namespace meshforge::cli
