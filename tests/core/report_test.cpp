#include "report/report.h"

#include "model/project.h"
#include "model/project_file.h"
#include "ui/quiet_ui.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace meshforge {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(FileText(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Both listings of a small project with every section, against listings written by hand.
TEST(Report, ListingsMatchTheHandWrittenOnes) {
    const std::string dir = MESHFORGE_TEST_DATA "/report/";
    Project p;
    QuietUi ui; // the bitmaps are not there: their stored paths are kept
    ASSERT_EQ(ReadProjectText(p, FileText(dir + "small.3dp"), ui), ReadOutcome::Completed);
    p.ProjectFileName = "small.3dp";
    for (auto [kind, golden] :
         {std::pair{ListingKind::Contents, "contents.txt"}, {ListingKind::Print, "print.txt"}}) {
        SCOPED_TRACE(golden);
        const Listing listing = ProjectListing(p, kind);
        const std::vector<std::string> expected = FileLines(dir + golden);
        ASSERT_EQ(listing.LineCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(listing.Line(i), expected[i]) << "line " << i + 1;
        EXPECT_EQ(listing.Lines(), expected);
    }
}

// An empty Project lists every count as 0, each variant in its own words.
TEST(Report, EmptyProjectCountsEndInZero) {
    Project p;
    ResetProject(p);
    const std::vector<std::string> tail{"Number Of Textures: 0", " ", "Number Of Polygons: 0", " ",
                                        "Number Of Lines: 0",    " "};
    for (auto [kind, volumes] : {std::pair{ListingKind::Contents, "Number Of Collision Volumes: 0"},
                                 {ListingKind::Print, "Number of Collision Volumes: 0"}}) {
        std::vector<std::string> lines = ProjectListing(p, kind).Lines();
        ASSERT_GE(lines.size(), 10u);
        std::vector<std::string> expected{
            "Number of Vertices: 0", " ", "Vertex Values:", " ", " ", " "};
        expected.insert(expected.end(), tail.begin(), tail.end());
        expected.insert(expected.end(), {volumes, " "});
        EXPECT_EQ(std::vector<std::string>(lines.end() - 14, lines.end()), expected);
        EXPECT_EQ(lines[lines.size() - 17], "Trackside object    (Texture on/off)");
    }
}

// A value longer than its column is written whole; a texture's odd values give no false line.
TEST(Report, LongValuesAreWrittenWhole) {
    struct Row {
        std::size_t index;
        float x;
        const char* row;
    };
    for (const Row& r : {Row{999, -1.5f, "Vertex 999 X:   -1.500  Y:    0.000  Z:    0.000"},
                         Row{1000, 0, "Vertex 1000 X:    0.000  Y:    0.000  Z:    0.000"},
                         Row{3, 123456789.0f, "Vertex 3   X:1.234568E8  Y:    0.000  Z:    0.000"},
                         Row{3, -99999.99f, "Vertex 3   X:-99999.990  Y:    0.000  Z:    0.000"}}) {
        Project p;
        p.Vertices.resize(r.index + 1);
        p.Vertices[r.index].X = r.x;
        const Listing listing = ProjectListing(p, ListingKind::Contents);
        EXPECT_EQ(listing.Line(18 + r.index), r.row);
    }

    Project p;
    p.Textures.push_back({"a.bmp", 2, "m.bmp", 7, 0});
    const std::vector<std::string> lines = ProjectListing(p, ListingKind::Contents).Lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 22, lines.begin() + 26),
              (std::vector<std::string>{"Texture 0: a.bmp", "Transparent: Yes", " ", " "}));
}

} // namespace
} // namespace meshforge
