#pragma once
#include "ui/quiet_ui.h"

// Answers every question so that reads go as far as they can.
struct FuzzUi : meshforge::QuietUi {
    meshforge::Answer Ask(std::string_view, std::string_view, meshforge::Buttons) override {
        return meshforge::Answer::Yes;
    }
    std::optional<meshforge::Offset3> AskImportOffset() override {
        return meshforge::Offset3{1, 2, 3};
    }
};
