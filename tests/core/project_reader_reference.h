#pragma once
// The project reader as it was before it read files a chunk at a time, kept as the reference
// the chunked reader is compared with: the whole text split into lines, every line looked at
// in order by the same section readers. Used by the core tests and the fuzz targets.
#include "model/located_lines.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/project_file_ui.h"
#include "model/project_sections.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge::reference {

inline ReadOutcome ReadProjectText(Project& p, std::string_view text, ProjectFileUi& ui) {
    using namespace project_sections;
    return ReadProjectWith(p, ui, [text](ReadContext& c) {
        LocatedLines src(c.path, text);
        for (std::size_t i = 0; i < src.Size(); ++i)
            if (IsKeywordStart(src[i]))
                ReadSection(c, src, i, src[i]);
    });
}

inline ReadOutcome MergeProjectText(Project& p, const std::string& path, std::string_view text,
                                    ProjectFileUi& ui) {
    using namespace project_sections;
    return MergeProjectWith(p, path, ui, [text](ReadContext& c) {
        LocatedLines src(c.path, text);
        for (std::size_t i = 0; i < src.Size(); ++i)
            if (IsKeywordStart(src[i]))
                MergeSection(c, src, i, src[i]);
    });
}

// Writes down everything a read tells and asks; its answers vary with the question, so that a
// re-selected bitmap may be cancelled, refused or taken, and a merge's offset given or not.
struct RecordingUi : ProjectFileUi {
    std::vector<std::string> events;
    void Log(std::string_view line) override { events.push_back("log " + std::string(line)); }
    void Message(std::string_view text) override {
        events.push_back("message " + std::string(text));
    }
    std::optional<std::string> ChooseBitmap(std::string_view preset) override {
        events.push_back("bitmap " + std::string(preset));
        switch (preset.size() % 3) {
        case 0:
            return std::nullopt;
        case 1:
            return std::string(preset);
        default:
            return "/no/such/folder/a_name_too_long.bmp";
        }
    }
    std::optional<Offset3> AskImportOffset() override {
        events.push_back("offset");
        if (events.size() % 2 == 0)
            return std::nullopt;
        return Offset3{1.5f, -2, 0.25f};
    }
};

// One read, told as a text: what the user saw and was asked, how the read ended (outcome or
// the error's message) and the Project it left, so that two readers compare as two strings.
inline std::string Transcript(Project p,
                              const std::function<ReadOutcome(Project&, ProjectFileUi&)>& read) {
    RecordingUi ui;
    std::string ending;
    try {
        ending = "outcome " + std::to_string(static_cast<int>(read(p, ui)));
    } catch (const std::exception& e) {
        ending = std::string("error ") + e.what();
    }
    RecordingUi quiet;
    std::string text;
    for (const std::string& e : ui.events)
        text += e + "\n";
    text += ending + "\nname " + p.ProjectName + "\ngeometry " + std::to_string(p.HasGeometry) +
            "\nvis lines";
    for (const ObjectData& l : p.VisLines)
        for (int32_t v : l.VertexIndices)
            text += " " + std::to_string(v);
    return text + "\n" + SerializeProject(p, {}, quiet);
}

} // namespace meshforge::reference
