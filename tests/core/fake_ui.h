#pragma once
#include "app/ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace meshforge::test {

// Records every call and answers questions from scripted queues. An unscripted question
// gets the answer that changes the least (Cancel / No / nullopt), so a test that forgets
// to script one sees nothing happen rather than a surprise.
struct FakeUi : Ui {
    struct Question {
        std::string text, caption;
        Buttons buttons;
    };
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::vector<Question> questions;
    std::deque<Answer> answers;
    int beeps = 0;
    std::vector<FileDialogSpec> openDialogs, saveDialogs;
    std::deque<std::optional<std::string>> openAnswers, saveAnswers, folderAnswers;
    std::vector<std::string> folderTitles;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    std::vector<std::uint32_t> colorInitials;
    std::vector<std::string> bitmapPresets;
    std::deque<std::optional<std::string>> bitmapAnswers;
    std::deque<std::optional<Offset3>> offsetAnswers;
    int offsetDialogs = 0;
    std::deque<NameAnswer> nameAnswers;
    int nameDialogs = 0;
    std::vector<std::string> opened;
    bool openSucceeds = true; // what OpenDocument answers
    int rebuilds = 0;
    std::size_t texturesAtRebuild = 0;
    std::deque<NextElement> newLineAnswers, newPolygonAnswers;
    int newLineDialogs = 0;
    std::vector<bool> newPolygonDialogs; // manualColors of each "Create New Polygon ?"

    template <class T> static T Next(std::deque<T>& q, T fallback) {
        if (q.empty())
            return fallback;
        T a = q.front();
        q.pop_front();
        return a;
    }

    void Log(std::string_view line) override { log.emplace_back(line); }
    void Message(std::string_view text) override { messages.emplace_back(text); }
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override {
        questions.push_back({std::string(text), std::string(caption), buttons});
        return Next(answers, buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No);
    }
    void Beep() override { ++beeps; }
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& request) override {
        openDialogs.push_back(request);
        return Next(openAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& request) override {
        saveDialogs.push_back(request);
        return Next(saveAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> ChooseFolder(std::string_view title) override {
        folderTitles.emplace_back(title);
        return Next(folderAnswers, std::optional<std::string>{});
    }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override {
        colorInitials.push_back(initial);
        return Next(colorAnswers, std::optional<std::uint32_t>{});
    }
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        bitmapPresets.emplace_back(preset);
        return Next(bitmapAnswers, std::optional<std::string>{});
    }
    std::optional<Offset3> AskImportOffset() override {
        ++offsetDialogs;
        return Next(offsetAnswers, std::optional<Offset3>{});
    }
    NameAnswer AskProjectName() override {
        ++nameDialogs;
        return Next(nameAnswers, NameAnswer{NameAnswer::How::Cancelled, {}});
    }
    bool OpenDocument(std::string_view pathOrUrl) override {
        opened.emplace_back(pathOrUrl);
        return openSucceeds;
    }
    void RebuildTextureLibrary(Project& project) override;
    NextElement AskCreateNewLine() override {
        ++newLineDialogs;
        return Next(newLineAnswers, NextElement::Stop);
    }
    NextElement AskCreateNewPolygon(bool manualColors) override {
        newPolygonDialogs.push_back(manualColors);
        return Next(newPolygonAnswers, NextElement::Stop);
    }
};

} // namespace meshforge::test

#include "model/project.h"
inline void meshforge::test::FakeUi::RebuildTextureLibrary(Project& project) {
    ++rebuilds;
    texturesAtRebuild = project.Textures.size();
}
