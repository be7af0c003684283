#pragma once
#include "app/editor_ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

#if defined(QT_TESTLIB_LIB)
#include <QtTest>
#else
#include <gtest/gtest.h>
#endif

namespace meshforge::test {

// Records every call and answers questions from scripted queues. A question without a
// scripted answer fails the test, unless the test set `defaultAnswers`: then it gets the
// answer that changes the least (Cancel / No / nullopt). An answer still queued when the fake
// is checked (Verify, or its destruction) fails the test too: the question it was meant for
// never came.
struct FakeUi : EditorUi {
    struct Question {
        std::string text, caption;
        Buttons buttons;
    };
    bool defaultAnswers = false;
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
    std::deque<NextElement> newLineAnswers, newPolygonAnswers;
    int newLineDialogs = 0;
    std::vector<bool> newPolygonDialogs; // manualColors of each "Create New Polygon ?"

    FakeUi() = default;
    FakeUi(const FakeUi&) = default;
    FakeUi& operator=(const FakeUi&) = default;
    ~FakeUi() override { Verify(); }

    static void Fail(const std::string& what) {
#if defined(QT_TESTLIB_LIB)
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
#else
        ADD_FAILURE() << what;
#endif
    }

    // Fails the test for every answer left over, then forgets them.
    void Verify() {
        auto left = [](const auto& queue, const char* name) {
            if (!queue.empty())
                Fail(std::to_string(queue.size()) + " scripted " + name + " never asked for");
        };
        left(answers, "answer(s) to Ask");
        left(openAnswers, "open-file answer(s)");
        left(saveAnswers, "save-file answer(s)");
        left(folderAnswers, "folder answer(s)");
        left(colorAnswers, "colour answer(s)");
        left(bitmapAnswers, "bitmap answer(s)");
        left(offsetAnswers, "import-offset answer(s)");
        left(nameAnswers, "project-name answer(s)");
        left(newLineAnswers, "\"Create New Line ?\" answer(s)");
        left(newPolygonAnswers, "\"Create New Polygon ?\" answer(s)");
        answers.clear();
        openAnswers.clear();
        saveAnswers.clear();
        folderAnswers.clear();
        colorAnswers.clear();
        bitmapAnswers.clear();
        offsetAnswers.clear();
        nameAnswers.clear();
        newLineAnswers.clear();
        newPolygonAnswers.clear();
    }

    template <class T> T Next(std::deque<T>& q, T fallback, const std::string& question) {
        if (q.empty()) {
            if (!defaultAnswers)
                Fail("unscripted question: " + question);
            return fallback;
        }
        T a = q.front();
        q.pop_front();
        return a;
    }

    void Log(std::string_view line) override {
        log.emplace_back(line);
    }
    void Message(std::string_view text) override {
        messages.emplace_back(text);
    }
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override {
        questions.push_back({std::string(text), std::string(caption), buttons});
        return Next(answers, buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No,
                    "Ask \"" + std::string(text) + "\"");
    }
    void Beep() override {
        ++beeps;
    }
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec& request) override {
        openDialogs.push_back(request);
        return Next(openAnswers, std::optional<std::string>{},
                    "open file \"" + request.Title + "\"");
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec& request) override {
        saveDialogs.push_back(request);
        return Next(saveAnswers, std::optional<std::string>{},
                    "save file \"" + request.Title + "\"");
    }
    std::optional<std::string> ChooseFolder(std::string_view title) override {
        folderTitles.emplace_back(title);
        return Next(folderAnswers, std::optional<std::string>{},
                    "folder \"" + std::string(title) + "\"");
    }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override {
        colorInitials.push_back(initial);
        return Next(colorAnswers, std::optional<std::uint32_t>{}, "colour");
    }
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        bitmapPresets.emplace_back(preset);
        return Next(bitmapAnswers, std::optional<std::string>{},
                    "bitmap \"" + std::string(preset) + "\"");
    }
    std::optional<Offset3> AskImportOffset() override {
        ++offsetDialogs;
        return Next(offsetAnswers, std::optional<Offset3>{}, "import offset");
    }
    NameAnswer AskProjectName() override {
        ++nameDialogs;
        return Next(nameAnswers, NameAnswer{NameAnswer::How::Cancelled, {}}, "project name");
    }
    bool OpenDocument(std::string_view pathOrUrl) override {
        opened.emplace_back(pathOrUrl);
        return openSucceeds;
    }
    NextElement AskCreateNewLine() override {
        ++newLineDialogs;
        return Next(newLineAnswers, NextElement::Stop, "\"Create New Line ?\"");
    }
    NextElement AskCreateNewPolygon(bool manualColors) override {
        newPolygonDialogs.push_back(manualColors);
        return Next(newPolygonAnswers, NextElement::Stop, "\"Create New Polygon ?\"");
    }
};

} // namespace meshforge::test
