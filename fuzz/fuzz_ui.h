#pragma once
#include "app/ui.h"

// Answers every question so that reads go as far as they can.
struct FuzzUi : meshforge::Ui {
    void Log(std::string_view) override {}
    void Message(std::string_view) override {}
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        return std::string(preset);
    }
    std::optional<meshforge::Offset3> AskImportOffset() override {
        return meshforge::Offset3{1, 2, 3};
    }
    void RebuildTextureLibrary(meshforge::Project&) override {}
};
