#pragma once
#include "ui/ui.h"

namespace meshforge {

// A Ui that shows nothing and answers every question with what changes the least: No or
// Cancel, no file, no colour. A missing bitmap keeps its stored path and merged data come in
// unshifted, so that unattended reads go as far as they can. Derive to change one answer.
struct QuietUi : Ui {
    void Log(std::string_view) override {}
    void Message(std::string_view) override {}
    Answer Ask(std::string_view, std::string_view, Buttons buttons) override {
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    void Beep() override {}
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        return std::string(preset);
    }
    std::optional<Offset3> AskImportOffset() override { return Offset3{}; }
    bool OpenDocument(std::string_view) override { return true; }
};

} // namespace meshforge
