#pragma once
#include "app/ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace meshforge::test {

// Records every call and answers questions from scripted queues.
struct FakeUi : Ui {
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::vector<std::string> bitmapPresets;
    std::deque<std::optional<std::string>> bitmapAnswers;
    std::deque<std::optional<Offset3>> offsetAnswers;
    int rebuilds = 0;
    std::size_t texturesAtRebuild = 0;

    void Log(std::string_view line) override { log.emplace_back(line); }
    void Message(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        bitmapPresets.emplace_back(preset);
        if (bitmapAnswers.empty())
            return std::nullopt;
        auto a = bitmapAnswers.front();
        bitmapAnswers.pop_front();
        return a;
    }
    std::optional<Offset3> AskImportOffset() override {
        if (offsetAnswers.empty())
            return std::nullopt;
        auto a = offsetAnswers.front();
        offsetAnswers.pop_front();
        return a;
    }
    void RebuildTextureLibrary(Project& project) override;
};

} // namespace meshforge::test

#include "model/project.h"
inline void meshforge::test::FakeUi::RebuildTextureLibrary(Project& project) {
    ++rebuilds;
    texturesAtRebuild = project.Textures.size();
}
