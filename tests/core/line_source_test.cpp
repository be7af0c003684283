#include "util/line_source.h"

#include "model/project_file.h"
#include "temp_dir.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::TempDir;

std::vector<std::string> AllLines(LineSource& source) {
    std::vector<std::string> lines;
    std::string_view line;
    while (source.Next(line))
        lines.emplace_back(line);
    return lines;
}

std::vector<std::string> Expected(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string_view l : SplitLines(text))
        lines.emplace_back(l);
    return lines;
}

TEST(LineSource, SplitsTextAndFilesAsSplitLinesWhereverAChunkEnds) {
    TempDir dir;
    std::mt19937 g(11);
    const char alphabet[] = {'a', 'b', ' ', '\t', '\0', '\r', '\n', '\r', '\n'};
    std::vector<std::string> texts = {"",  "\n",    "\r",       "\r\n",       "\n\r",
                                      "a", "a\r\n", "\r\r\n\n", "x\r\ny\rz\n"};
    for (int n = 0; n < 300; ++n) {
        std::string t(std::uniform_int_distribution<std::size_t>(0, 120)(g), ' ');
        for (char& c : t)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, sizeof alphabet - 1)(g)];
        texts.push_back(t);
    }
    // Lines longer than the chunk make the buffer grow.
    texts.push_back(std::string(100000, 'q') + "\r\n" + std::string(3, 'r') + "\r");
    for (const std::string& text : texts) {
        const std::vector<std::string> expected = Expected(text);
        LineSource inMemory(text);
        ASSERT_EQ(AllLines(inMemory), expected);
        EXPECT_EQ(LineSource::CountTextLines(text), expected.size());
        EXPECT_EQ(inMemory.Position(), text.size());
        const std::string path = dir.Touch("t.txt", text);
        for (std::size_t chunk : {1, 2, 3, 5, 8, 13, 64}) {
            LineSource file = LineSource::File(path, chunk);
            EXPECT_EQ(file.Size(), text.size());
            ASSERT_EQ(AllLines(file), expected) << "chunk " << chunk;
            EXPECT_EQ(LineSource::CountFileLines(path, chunk), expected.size())
                << "chunk " << chunk;
            EXPECT_EQ(file.Position(), text.size());
        }
        // Opened where the second line starts: the lines after the first.
        LineSource first(text);
        std::string_view line;
        if (first.Next(line)) {
            LineSource rest = LineSource::File(path, 3, first.Position());
            ASSERT_EQ(AllLines(rest),
                      std::vector<std::string>(expected.begin() + 1, expected.end()));
            EXPECT_EQ(rest.Position(), text.size());
        }
    }
}

TEST(LineSource, RefusesWhatCannotBeOpenedOrRead) {
    TempDir dir;
    EXPECT_THROW(LineSource::File(dir / "missing.txt"), FileError);
    // A folder opens but cannot be read.
    std::string_view line;
    EXPECT_THROW(
        {
            LineSource folder = LineSource::File(dir.Folder());
            folder.Next(line);
        },
        FileError);
}

} // namespace
} // namespace meshforge
