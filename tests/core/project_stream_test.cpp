// The project reader reads files a chunk at a time; it must tell, ask and leave exactly what
// the whole-text reader did, on the stored files and on damaged copies of them.
#include "model/project.h"
#include "model/project_file.h"
#include "project_reader_reference.h"
#include "temp_dir.h"
#include "util/atomic_file.h"
#include "util/line_source.h"

#include <gtest/gtest.h>

#include <random>

namespace meshforge {
namespace {

std::vector<std::string> SplitKeepingBreaks(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(text))
        lines.emplace_back(line);
    return lines;
}

// One to three line-level damages: a line replaced by a keyword or an odd number, removed,
// doubled, the breaks changed, the text cut anywhere.
std::string Damaged(const std::string& text, std::mt19937& rng) {
    static const char* const kWords[] = {"Vertices",
                                         "Textures",
                                         "TextureBackColors",
                                         "Lines",
                                         "VisLines",
                                         "Polygons",
                                         "Collision",
                                         "Options",
                                         "ProjectDescription",
                                         "DisplayClass",
                                         "1",
                                         "0",
                                         "-1",
                                         "99999999",
                                         "2147483648",
                                         "abc",
                                         "",
                                         "$00FF00FF",
                                         "C:\\GPL\\x.bmp"};
    std::vector<std::string> lines = SplitKeepingBreaks(text);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(rng);
    };
    const std::size_t damages = 1 + pick(2);
    std::string eol = "\r\n";
    std::size_t cut = SIZE_MAX;
    for (std::size_t d = 0; d < damages && !lines.empty(); ++d) {
        const std::size_t at = pick(lines.size() - 1);
        switch (pick(6)) {
        case 0:
        case 1:
        case 2:
            lines[at] = kWords[pick(std::size(kWords) - 1)];
            break;
        case 3:
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 4:
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]);
            break;
        case 5:
            eol = pick(1) ? "\n" : "\r";
            break;
        default:
            cut = pick(text.size());
        }
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + eol;
    return out.substr(0, cut);
}

std::vector<std::string> StoredTexts() {
    const std::string data = MESHFORGE_TEST_DATA;
    std::vector<std::string> texts;
    for (const char* file : {"/every_section.3dp", "/report/small.3dp", "/../../examples/fence.3dp",
                             "/../../examples/pavilion.3dp"})
        texts.push_back(ReadWholeFile(data + file));
    // Keywords where text and flags stand, which the scan of the whole file still visits.
    texts.push_back("ProjectDescription\r\nVertices\r\n1\r\n1\r\n2\r\n3\r\nOptions\r\n1\r\n2\r\n3"
                    "\r\n4\r\n5\r\n6\r\nLines\r\n0\r\nVertices\r\n1\r\n7\r\n8\r\n9\r\n");
    return texts;
}

Project Target(bool withGeometry) {
    Project p;
    if (withGeometry) {
        p.Vertices = {{0, 0, 0, false}, {1, 1, 1, false}, {2, 0, 1, false}};
        p.Polygons.push_back({{1, 1, 1}, {0, 1, 2, 0}, kUntextured, {}});
        p.HasGeometry = true;
    }
    return p;
}

TEST(ChunkedProjectRead, TellsAsksAndLeavesWhatTheWholeTextReaderDid) {
    test::TempDir dir;
    const std::string path = dir / "object.3dp";
    std::mt19937 rng(20261209);
    constexpr int kVariants = 80;
    int compared = 0;
    for (const std::string& stored : StoredTexts()) {
        for (int variant = 0; variant < kVariants; ++variant) {
            const std::string text = variant == 0 ? stored : Damaged(stored, rng);
            WriteFileAtomically(path, text);
            for (bool merge : {false, true}) {
                Project start = Target(merge);
                start.ProjectFileName = path;
                const std::string expected =
                    reference::Transcript(start, [&](Project& p, ProjectFileUi& ui) {
                        return merge ? reference::MergeProjectText(p, path, text, ui)
                                     : reference::ReadProjectText(p, text, ui);
                    });
                for (std::size_t chunk :
                     {std::size_t{0}, std::size_t{1}, std::size_t{7}, LineSource::kDefaultChunk}) {
                    // chunk 0: the reader of a text in memory; a byte at a time is slow
                    if (chunk == 1 && variant % 8 != 0)
                        continue;
                    const std::string got =
                        reference::Transcript(start, [&](Project& p, ProjectFileUi& ui) {
                            if (chunk == 0)
                                return merge ? MergeProjectText(p, path, text, ui)
                                             : ReadProjectText(p, text, ui);
                            return merge ? MergeProject(p, path, ui, chunk)
                                         : ReadProject(p, ui, chunk);
                        });
                    ++compared;
                    if (got != expected) {
                        ADD_FAILURE()
                            << (merge ? "merge" : "read") << ", chunk " << chunk << ", text:\n"
                            << text.substr(0, 4000) << "\nexpected:\n"
                            << expected.substr(0, 4000) << "\ngot:\n"
                            << got.substr(0, 4000);
                        return;
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 5 * 2 * (kVariants * 3 + kVariants / 8));
}

} // namespace
} // namespace meshforge
