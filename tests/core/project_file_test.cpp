#include "fake_ui.h"
#include "io/text_geometry.h"
#include "model/project.h"
#include "model/project_file.h"
#include "settings/settings.h"
#include "temp_dir.h"
#include "util/app_folder.h"
#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/platform_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace meshforge;
using meshforge::test::FakeUi;
using meshforge::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string s;
    for (auto l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

std::string Sep() {
    return std::string(1, fs::path::preferred_separator);
}

// The hand-made project whose written form is tests/data/every_section.3dp.
Project EverySection() {
    Project p;
    p.ProjectDescription = "Test object";
    p.Vertices = {{0, 0, 0}, {12.5f, -1, 2}, {12345.6789f, 0.5f, -3.25f}};
    p.Textures.push_back({"C:\\GPL\\wall.bmp", 1, "C:\\GPL\\wallmask.bmp", 3, 0x00DDDDDD});
    p.Lines.push_back({{1, 0, 0.6f}, {0, 1}, 0, {}, false});
    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, 0, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}});
    p.Polygons.push_back({{0.1f, 0.2f, 0.25f}, {2, 1, 0, 2}, 999, {}});
    p.DisplayClass = 5;
    p.CollVols.push_back({{0, 1}, {3, 15}});
    ViewOptions& o = p.Options;
    o.Zoom = 120;
    o.RotationX = -30;
    o.RotationY = 45;
    o.PanX = 10;
    o.PanY = -5;
    o.ShowAxis = true;
    o.VertexDisplaySize = 4;
    o.UseTrackFolder = true;
    o.TrackFolder = "C:\\GPL\\tracks\\monza\\";
    p.VisLines.push_back({{1, 1, 1}, {0, 2}, 0, {}, false}); // never written
    return p;
}

std::string Golden() {
    return ReadWholeFile(std::string(MESHFORGE_TEST_DATA) + "/every_section.3dp");
}

} // namespace

TEST(WriteProject, MatchesHandWrittenGolden) {
    Project p = EverySection();
    FakeUi ui;
    EXPECT_EQ(SerializeProject(p, {}, ui), Golden());
    EXPECT_TRUE(ui.log.empty());
}

TEST(WriteProject, EmptyProjectLeavesOutOptionalSections) {
    Project p;
    FakeUi ui;
    std::string text = SerializeProject(p, {}, ui);
    EXPECT_EQ(text.substr(0, 44), Lines({"ProjectDescription", "None available", "Vertices", "0",
                                         "DisplayClass", "3", "Options"})
                                      .substr(0, 44));
    for (const char* absent : {"Textures", "TextureBackColors", "Lines", "Polygons", "Collision"})
        EXPECT_EQ(text.find(std::string("\n") + absent + "\r"), std::string::npos) << absent;
}

TEST(WriteProject, WritesAtomicallyAndLogs) {
    TempDir dir;
    Project p = EverySection();
    p.ProjectFileName = dir / "obj.3dp";
    FakeUi ui;
    WriteProject(p, {}, ui);
    EXPECT_EQ(ReadWholeFile(p.ProjectFileName), Golden());
    EXPECT_EQ(ui.log, std::vector<std::string>{"Project " + p.ProjectFileName + " saved !"});

    // A save that cannot be put in place leaves the previous file and no temporary behind.
    fs::create_directory(dir / "blocked.3dp");
    p.ProjectFileName = dir / "blocked.3dp";
    EXPECT_THROW(WriteProject(p, {}, ui), FileError);
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.path)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST(WriteProject, CopiesBitmapsAndWritesConversionInfo) {
    TempDir dir;
    std::string app = dir.path.string() + Sep();
    std::string src = dir.Touch("archive/brick.bmp", "pixels");
    fs::create_directory(dir / "house");
    Project p;
    p.ProjectName = "house";
    p.Vertices = {{0, 0, 0}};
    p.Textures.push_back({src, 0, "", 1, 0x00DDDDDD});
    p.ProjectFileName = app + "house" + Sep() + "house.3dp";
    FakeUi ui;
    WriteProject(p, {app, true, true, true}, ui);
    std::string copied = app + "house" + Sep() + "brick.bmp";
    EXPECT_EQ(p.Textures[0].Filename, copied);
    EXPECT_EQ(ReadWholeFile(copied), "pixels");
    EXPECT_EQ(ReadWholeFile(app + "house" + Sep() + "brick.mci"),
              Lines({"; Conversion Info for BMP > MIP", ";", "; Filename: Path to Bitmap",
                     "; Transparent: 0= No, 1= Yes", "; MaskFilename: Path to Mask Bitmap",
                     "; Repeat Texture: 0= No, 1= Horizontal, 2= Vertical, 3= Both", ";",
                     "Filename=" + copied, "Transparent=0", "MaskFilename=", "RepeatValue=1"}));
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[0], "Mip-Conversion Info for brick.bmp written/updated !");
    // Saving again copies the bitmap onto itself, which changes nothing.
    WriteProject(p, {app, true, true, true}, ui);
    EXPECT_EQ(p.Textures[0].Filename, copied);

    // Without the subfolder setting nothing is copied or written.
    Project q;
    q.Textures.push_back({src, 0, "", 0, 0});
    q.ProjectName = "house";
    FakeUi ui2;
    SerializeProject(q, {app, false, true, true}, ui2);
    EXPECT_EQ(q.Textures[0].Filename, src);
    EXPECT_TRUE(ui2.log.empty());
    // A project subfolder that does not exist: keep the path, write no info file.
    q.ProjectName = "elsewhere";
    SerializeProject(q, {app, true, true, true}, ui2);
    EXPECT_EQ(q.Textures[0].Filename, src);
    EXPECT_TRUE(ui2.log.empty());
}

TEST(ReadProject, RoundTripsEveryField) {
    TempDir dir;
    Project original = EverySection();
    original.Textures[0].Filename = dir.Touch("wall.bmp");
    original.Textures[0].MaskFilename = dir.Touch("wallmask.bmp");
    original.Textures[0].BackColor = 0x00123456;
    original.Vertices[1].Selected = true;
    original.ProjectFileName = dir / "every.3dp";
    FakeUi ui;
    WriteProject(original, {}, ui);

    Project p;
    p.ProjectFileName = original.ProjectFileName;
    ASSERT_EQ(ReadProject(p, ui), ReadOutcome::Completed);
    ASSERT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.Vertices[2].X, 12345.68f);
    EXPECT_EQ(p.Vertices[1].Y, -1);
    EXPECT_FALSE(p.Vertices[1].Selected);
    ASSERT_EQ(p.Textures.size(), 1u);
    EXPECT_EQ(p.Textures[0].Filename, original.Textures[0].Filename);
    EXPECT_EQ(p.Textures[0].MaskFilename, original.Textures[0].MaskFilename);
    EXPECT_EQ(p.Textures[0].Transparent, 1);
    EXPECT_EQ(p.Textures[0].RepeatValue, 3);
    EXPECT_EQ(p.Textures[0].BackColor, 0x00123456u);
    EXPECT_GT(p.TexturesRevision, 0u); // the view rebuilds its texture objects
    ASSERT_EQ(p.Lines.size(), 1u);
    EXPECT_EQ(p.Lines[0].Color, (ColorTriple{1, 0, 0.6f}));
    EXPECT_EQ(p.Lines[0].VertexIndices, (std::vector<int32_t>{0, 1}));
    ASSERT_EQ(p.Polygons.size(), 2u);
    EXPECT_EQ(p.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(p.Polygons[0].TextureIndex, 0);
    EXPECT_EQ(p.Polygons[0].TexCoords, (std::vector<TexCoord>{{0, 0}, {1, 0}, {1, 1}, {0, 0}}));
    EXPECT_EQ(p.Polygons[1].Color, (ColorTriple{0.1f, 0.2f, 0.25f}));
    EXPECT_EQ(p.Polygons[1].TextureIndex, 999);
    EXPECT_TRUE(p.Polygons[1].TexCoords.empty());
    ASSERT_EQ(p.CollVols.size(), 1u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(p.CollVols[0].Rebounds, (std::vector<int32_t>{3, 15}));
    EXPECT_EQ(p.DisplayClass, 5);
    EXPECT_EQ(p.ProjectDescription, "Test object");
    EXPECT_EQ(p.ProjectName, "every");
    EXPECT_TRUE(p.HasGeometry);
    EXPECT_EQ(p.Options.Zoom, 120);
    EXPECT_EQ(p.Options.RotationX, -30);
    EXPECT_EQ(p.Options.PanY, -5);
    EXPECT_TRUE(p.Options.ShowAxis);
    EXPECT_FALSE(p.Options.ShowTextures);
    EXPECT_EQ(p.Options.VertexDisplaySize, 4);
    EXPECT_EQ(p.Options.TrackFolder, "C:\\GPL\\tracks\\monza\\");
    EXPECT_TRUE(p.Options.UseTrackFolder);
    EXPECT_FLOAT_EQ(p.Options.VertexRgb.G, 128.0f / 255); // recomputed from the text
    EXPECT_EQ(p.Box.MaxX, 12345.68f);
    EXPECT_TRUE(p.VisLines.empty()); // visualization lines are not written

    const std::vector<std::string> tail = {"", "Loaded from Project " + p.ProjectFileName + ": ",
                                           "3 Vertices, 1 Line(s), 2 Polygons(s), 1 Texture(s)."};
    ASSERT_GE(ui.log.size(), 4u);
    EXPECT_EQ(ui.log[1], "Loading Project......");
    EXPECT_EQ(std::vector<std::string>(ui.log.end() - 3, ui.log.end()), tail);
}

TEST(ReadProject, KeywordScanExaminesEveryLine) {
    Project p;
    p.ProjectFileName = "/x/scan.3dp";
    FakeUi ui;
    // The description "Vertices" starts a vertex section; the following "1" is its count.
    std::string text = Lines({"ProjectDescription",
                              "Vertices",
                              "1",
                              "1.5",
                              "2",
                              "3",
                              "VisLines",
                              "1",
                              "0.5",
                              "0.5",
                              "0.5",
                              "0",
                              "0",
                              "Options",
                              "70",
                              "0",
                              "0",
                              "0",
                              "0",
                              "0",
                              "true",
                              "01",
                              "1",
                              "1",
                              "1",
                              "1",
                              "3",
                              "clWhite",
                              "clBlack",
                              "$000000FF",
                              "0",
                              "0",
                              "",
                              "0",
                              "1",
                              "0",
                              "0",
                              "",
                              "10"});
    ASSERT_EQ(ReadProjectText(p, text, ui), ReadOutcome::Completed);
    EXPECT_EQ(p.ProjectDescription, "Vertices");
    ASSERT_EQ(p.Vertices.size(), 1u);
    EXPECT_EQ(p.Vertices[0].X, 1.5f);
    ASSERT_EQ(p.VisLines.size(), 1u);
    EXPECT_FALSE(p.Options.ShowAxis);     // "true"
    EXPECT_FALSE(p.Options.ShowVertices); // "01"
    EXPECT_FALSE(p.Options.VerticesVisible);
    EXPECT_TRUE(p.Options.ShowLines);
    EXPECT_EQ(p.Options.SelectedVertexRgb, (ColorTriple{1, 0, 0}));
    // Writing again drops the visualization lines.
    EXPECT_EQ(SerializeProject(p, {}, ui).find("VisLines"), std::string::npos);
}

TEST(ReadProject, LineEndingsCrLfLfAndCrAllWork) {
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const char* l : {"Vertices", "1", "1", "2", "3"})
            text += std::string(l) + eol;
        Project p;
        FakeUi ui;
        ASSERT_EQ(ReadProjectText(p, text, ui), ReadOutcome::Completed);
        ASSERT_EQ(p.Vertices.size(), 1u);
        EXPECT_EQ(p.Vertices[0].Z, 3);
    }
}

TEST(ReadProject, ErrorsNameFileLineAndKeepWhatWasRead) {
    Project p;
    p.ProjectFileName = "/x/bad.3dp";
    FakeUi ui;
    std::string text =
        Lines({"ProjectDescription", "kept", "Vertices", "2", "1", "2", "3", "4", "abc", "6"});
    try {
        ReadProjectText(p, text, ui);
        FAIL() << "no error";
    } catch (const ParseError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error in file /x/bad.3dp, line 9: 'abc' is not a valid floating point value "
                  "(expected a Y coordinate)");
    }
    EXPECT_EQ(p.ProjectDescription, "kept");
    EXPECT_EQ(p.Vertices.size(), 1u);
    EXPECT_FALSE(p.HasGeometry);
    EXPECT_EQ(ui.log, std::vector<std::string>{"Loading Project......"});

    // A section that runs past the end of the file.
    Project q;
    q.ProjectFileName = "/x/short.3dp";
    try {
        ReadProjectText(q, Lines({"DisplayClass"}), ui);
        FAIL() << "no error";
    } catch (const ParseError& e) {
        EXPECT_EQ(std::string(e.what()), "Error in file /x/short.3dp, line 2: expected the "
                                         "display class, found the end of the file");
    }
}

TEST(ReadProject, HugeCountFailsBeforeAllocating) {
    Project p;
    p.ProjectFileName = "/x/huge.3dp";
    FakeUi ui;
    for (const char* keyword : {"Vertices", "Polygons", "Lines", "Collision", "Textures"}) {
        try {
            ReadProjectText(p, Lines({keyword, "2000000000", "1", "2", "3"}), ui);
            FAIL() << keyword;
        } catch (const ParseError& e) {
            EXPECT_NE(std::string(e.what()).find("line 2: "), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("more than the rest of the file can hold"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(ReadProjectText(p, Lines({"Vertices", "-1"}), ui), ParseError);
    // A polygon whose vertex count cannot fit either.
    EXPECT_THROW(
        ReadProjectText(
            p, Lines({"Vertices", "0", "Polygons", "1", "1", "1", "1", "2000000000", "0"}), ui),
        ParseError);
}

TEST(ReadProject, OutOfRangeIndicesAreDroppedAndReported) {
    Project p;
    p.ProjectFileName = "/x/idx.3dp";
    FakeUi ui;
    std::string text =
        Lines({"Vertices", "2",   "0",         "0", "0", "1",   "1", "1", "Lines",    "2", "1", "1",
               "1",        "0",   "1",         "1", "1", "1",   "0", "7", "Polygons", "3", "1", "1",
               "1",        "3",   "0",         "1", "0", "999", "1", "1", "1",        "3", "0", "5",
               "0",        "999", "1",         "1", "1", "3",   "1", "0", "1",        "4", "0", "0",
               "1",        "1",   "Collision", "1", "3", "1",   "0", "2", "1",        "3", "2"});
    ASSERT_EQ(ReadProjectText(p, text, ui), ReadOutcome::Completed);
    EXPECT_EQ(p.Lines.size(), 1u);
    ASSERT_EQ(p.Polygons.size(), 2u);
    EXPECT_EQ(p.Polygons[1].VertexIndices, (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(p.Polygons[1].TextureIndex, 999); // texture 4 does not exist
    // Plane 1 named the dropped polygon 1; plane 2 named polygon 2, now polygon 1.
    ASSERT_EQ(p.CollVols.size(), 1u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(p.CollVols[0].Rebounds, (std::vector<int32_t>{1, 3}));
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& m = ui.messages[0];
    EXPECT_NE(m.find("Line 1, line 16: vertex index outside the vertex list"), std::string::npos)
        << m;
    EXPECT_NE(m.find("Polygon 1, line 31:"), std::string::npos) << m;
    EXPECT_NE(m.find("Polygon 2, line 39: texture index 4"), std::string::npos) << m;
    EXPECT_NE(m.find("Collision volume 0, line 53: plane 1"), std::string::npos) << m;
}

TEST(ReadProject, TooManyTexturesRefused) {
    Project p;
    FakeUi ui;
    std::string text = "Textures\r\n999\r\n";
    for (int i = 0; i < 999; ++i)
        text += "a.bmp\r\n0\r\n\r\n0\r\n";
    EXPECT_THROW(ReadProjectText(p, text, ui), ParseError);
    EXPECT_TRUE(p.Textures.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(BitmapResolution, LearnsFolderFromReselectedFile) {
    TempDir dir;
    std::string a = dir.Touch("new/a.bmp"), b = dir.Touch("new/b.bmp");
    std::string mask = dir.Touch("old/m.bmp");
    Project p;
    FakeUi ui;
    ui.bitmapAnswers.push_back(a);
    std::string text = Lines({"Vertices", "0", "Textures", "2", "/gone/a.bmp", "1", mask, "0",
                              "/gone/b.bmp", "0", "", "0"});
    ASSERT_EQ(ReadProjectText(p, text, ui), ReadOutcome::Completed);
    ASSERT_EQ(p.Textures.size(), 2u);
    EXPECT_EQ(p.Textures[0].Filename, a);
    EXPECT_EQ(p.Textures[0].MaskFilename, mask); // exists where it was
    EXPECT_EQ(p.Textures[1].Filename, b);        // found in the learned folder
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Bitmap /gone/a.bmp not found.\r Re-select file !"});
    EXPECT_EQ(ui.bitmapPresets, std::vector<std::string>{"/gone/a.bmp"});
    EXPECT_EQ(p.Textures[0].BackColor, 0x00DDDDDDu);
}

TEST(BitmapResolution, NeverTakesAFileOfTheNameFromTheWorkingFolder) {
    TempDir dir;
    dir.Touch("a.bmp");
    const fs::path before = fs::current_path();
    fs::current_path(dir.path);
    Project p;
    FakeUi ui;
    ui.bitmapAnswers = {std::nullopt};
    const ReadOutcome outcome = ReadProjectText(
        p, Lines({"Vertices", "1", "1", "1", "1", "Textures", "1", "/gone/a.bmp", "0", "", "0"}),
        ui);
    fs::current_path(before);
    EXPECT_EQ(outcome, ReadOutcome::Cleared); // asked, and cancelled
    EXPECT_EQ(ui.bitmapPresets, std::vector<std::string>{"/gone/a.bmp"});
}

TEST(BitmapResolution, RelativeNamesAreTheProjectFoldersAndBecomeFull) {
    TempDir project, work;
    const std::string mine = project.Touch("tex/a.bmp"), other = work.Touch("tex/a.bmp");
    const fs::path before = fs::current_path();
    fs::current_path(work.path);
    Project p;
    p.ProjectFileName = project / "p.3dp";
    FakeUi ui;
    const ReadOutcome outcome = MergeProjectText(
        p, p.ProjectFileName, Lines({"Textures", "1", "tex/a.bmp", "0", "", "0"}), ui);
    fs::current_path(before);
    ASSERT_EQ(outcome, ReadOutcome::Completed);
    EXPECT_EQ(p.Textures[0].Filename, project.Folder() + "tex/a.bmp");
    EXPECT_NE(p.Textures[0].Filename, other);
}

TEST(BitmapResolution, CancelClearsProjectAndLongNameStops) {
    Project p;
    FakeUi ui;
    ui.bitmapAnswers = {std::nullopt};
    std::string text = Lines({"Vertices", "1", "1", "1", "1", "Textures", "1", "/gone/a.bmp", "0",
                              "", "0", "DisplayClass", "6"});
    EXPECT_EQ(ReadProjectText(p, text, ui), ReadOutcome::Cleared);
    EXPECT_TRUE(p.Vertices.empty());
    EXPECT_EQ(p.DisplayClass, 3);
    EXPECT_EQ(ui.log.back(), "All Data Cleared !");

    // A cancelled mask keeps its stored path and goes on.
    TempDir dir;
    std::string a = dir.Touch("a.bmp");
    Project q;
    FakeUi ui2;
    ui2.bitmapAnswers = {std::nullopt};
    ASSERT_EQ(ReadProjectText(q, Lines({"Textures", "1", a, "1", "/gone/m.bmp", "0"}), ui2),
              ReadOutcome::Completed);
    EXPECT_EQ(q.Textures[0].MaskFilename, "/gone/m.bmp");

    Project r;
    FakeUi ui3;
    ui3.bitmapAnswers.push_back(std::string("/pick/longername.bmp"));
    EXPECT_EQ(ReadProjectText(r, text, ui3), ReadOutcome::Stopped);
    EXPECT_EQ(r.Vertices.size(), 1u);
    EXPECT_EQ(r.DisplayClass, 3); // the read stopped before this section
    EXPECT_FALSE(r.HasGeometry);
    EXPECT_EQ(ui3.messages.back(),
              "Filename must not exceed 8 characters !\r\rLength of selected: /pick/longername");
    // Exactly twelve characters is allowed.
    Project s;
    FakeUi ui4;
    std::string twelve = dir.Touch("abcdefgh.bmp");
    ui4.bitmapAnswers.push_back(twelve);
    EXPECT_EQ(ReadProjectText(s, text, ui4), ReadOutcome::Completed);
}

TEST(BitmapResolution, FindsBitmapsBesideTheProjectFromAnyFolder) {
    TempDir dir;
    const std::string planks = dir.Touch("copy/planks.bmp"), wood = dir.Touch("copy/wood.bmp");
    const std::string mask = dir.Touch("copy/m.bmp"), kept = dir.Touch("other/planks.bmp");
    const struct {
        std::string stored, mask, expected, expectedMask;
    } cases[] = {
        {"planks.bmp", "m.bmp", planks, mask}, // bare names, as the example stores them
        {"C:\\old\\wood.bmp", "", wood, ""},   // a folder that is not there
        {kept, "", kept, ""},                  // a stored file that exists is kept
    };
    std::string text = Lines({"Vertices", "0", "Textures", "3"});
    for (const auto& c : cases)
        text += Lines({c.stored, "1", c.mask, "0"});
    const std::string path = dir.Touch("copy/pavilion.3dp", text);

    // The working folder is neither the project's nor the bitmaps'.
    const fs::path before = fs::current_path();
    fs::create_directory(dir / "elsewhere");
    fs::current_path(dir / "elsewhere");
    Project p, merged;
    p.ProjectFileName = path;
    FakeUi ui;
    ui.offsetAnswers.push_back(Offset3{});
    const ReadOutcome read = ReadProject(p, ui);
    const ReadOutcome merge = MergeProject(merged, path, ui);
    fs::current_path(before);

    EXPECT_EQ(read, ReadOutcome::Completed);
    EXPECT_EQ(merge, ReadOutcome::Completed);
    EXPECT_TRUE(ui.bitmapPresets.empty());
    EXPECT_TRUE(ui.messages.empty());
    for (const Project* q : {&p, &merged}) {
        ASSERT_EQ(q->Textures.size(), std::size(cases));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            EXPECT_EQ(q->Textures[i].Filename, cases[i].expected);
            EXPECT_EQ(q->Textures[i].MaskFilename, cases[i].expectedMask);
        }
    }
}

TEST(MergeProject, OffsetsRenumbersAndKeepsUntextured) {
    TempDir dir;
    std::string t0 = dir.Touch("t0.bmp"), t1 = dir.Touch("t1.bmp"), t2 = dir.Touch("t2.bmp");
    std::string t3 = dir.Touch("t3.bmp"), t4 = dir.Touch("t4.bmp");
    Project p;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}};
    p.Lines.push_back({{0, 0, 0}, {0, 1}, 0, {}, false});
    p.Polygons.push_back({{0, 0, 0}, {0, 1, 0}, 999, {}});
    for (auto& f : {t0, t1, t2})
        p.Textures.push_back({f, 0, "", 0, 0x00ABCDEF});
    p.ProjectDescription = "mine";
    p.DisplayClass = 4;

    std::string other = Lines({"ProjectDescription",
                               "theirs",
                               "Vertices",
                               "2",
                               "1",
                               "2",
                               "3",
                               "4",
                               "5",
                               "6",
                               "Textures",
                               "2",
                               t3,
                               "0",
                               "",
                               "0",
                               t4,
                               "0",
                               "",
                               "0",
                               "TextureBackColors",
                               "clRed",
                               "$00010203",
                               "Lines",
                               "1",
                               "1",
                               "1",
                               "1",
                               "1",
                               "0",
                               "Polygons",
                               "2",
                               "1",
                               "1",
                               "1",
                               "3",
                               "0",
                               "1",
                               "0",
                               "999",
                               "1",
                               "1",
                               "1",
                               "3",
                               "1",
                               "0",
                               "1",
                               "1",
                               "0.5",
                               "0.25",
                               "1",
                               "1",
                               "DisplayClass",
                               "8"});
    FakeUi ui;
    ui.offsetAnswers.push_back(Offset3{10, 0, -1});
    const uint64_t texturesBefore = p.TexturesRevision;
    ASSERT_EQ(MergeProjectText(p, "/x/other.3dp", other, ui), ReadOutcome::Completed);
    ASSERT_EQ(p.Vertices.size(), 4u);
    EXPECT_EQ(p.Vertices[2].X, 11);
    EXPECT_EQ(p.Vertices[3].Z, 5);
    EXPECT_EQ(p.Lines[1].VertexIndices, (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(p.Polygons[1].VertexIndices, (std::vector<int32_t>{2, 3, 2}));
    EXPECT_EQ(p.Polygons[1].TextureIndex, 999);
    EXPECT_EQ(p.Polygons[2].TextureIndex, 4);
    EXPECT_EQ(p.Polygons[2].TexCoords[0], (TexCoord{0.5f, 0.25f}));
    ASSERT_EQ(p.Textures.size(), 5u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(p.Textures[k].BackColor, 0x00DDDDDDu);
    EXPECT_EQ(p.Textures[3].BackColor, 0x000000FFu);
    EXPECT_EQ(p.Textures[4].BackColor, 0x00010203u);
    EXPECT_EQ(p.ProjectDescription, "mine");
    EXPECT_EQ(p.DisplayClass, 4);
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"Rebuilding Texture Library.....", "Done.", "",
                                        "Added from Project /x/other.3dp: ",
                                        "2 Vertices, 1 Line(s), 2 Polygons(s), 2 Texture(s)."}));
    EXPECT_GT(p.TexturesRevision, texturesBefore);
    EXPECT_EQ(p.Box.MaxX, 14);

    // Closing the offset dialog adds nothing.
    FakeUi ui2;
    ui2.offsetAnswers = {std::nullopt};
    ASSERT_EQ(MergeProjectText(p, "/x/other.3dp", other, ui2), ReadOutcome::Stopped);
    EXPECT_EQ(p.Vertices.size(), 4u);
    EXPECT_EQ(p.Textures.size(), 5u);
    EXPECT_TRUE(ui2.log.empty());
}

TEST(MergeProject, TexturesPast998Refused) {
    Project p;
    p.Textures.resize(997);
    std::string text = "Textures\r\n2\r\n";
    for (int i = 0; i < 2; ++i)
        text += "a.bmp\r\n0\r\n\r\n0\r\n";
    FakeUi ui;
    try {
        MergeProjectText(p, "/x/t.3dp", text, ui);
        FAIL();
    } catch (const ParseError& e) {
        EXPECT_NE(std::string(e.what()).find("at most 998 textures"), std::string::npos);
    }
    EXPECT_EQ(p.Textures.size(), 997u);
}

TEST(ProjectFiles, EverythingWorksInAFolderWithANonAsciiName) {
    // On Windows a narrow path is read in the ANSI code page: any step that built a path from
    // the UTF-8 text that way would name another file (or none) here.
    TempDir dir;
    const std::string app =
        dir.Folder() + "Strecke-\xC3\x84\xC3\x9F-\xE6\x97\xA5\xE6\x9C\xAC" + Sep();
    const std::string name = "h\xC3\xBCtte";
    const auto native = [](const std::string& path) { return platform::PathFromUtf8(path); };
    ASSERT_TRUE(fs::create_directories(native(app + name)));
    EXPECT_TRUE(IsWritableFolder(app));
    const std::string bitmap = app + "Ziegel-\xC3\xA4.bmp";
    WriteFileAtomically(bitmap, "pixels");

    Project p;
    p.ProjectName = name;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, 0, {}});
    p.Textures.push_back({bitmap, 0, "", 1, 0x00DDDDDD});
    p.HasGeometry = true;
    p.ProjectFileName = app + name + Sep() + name + ".3dp";
    FakeUi ui;
    WriteProject(p, {app, true, true, true}, ui);
    const std::string copied = app + name + Sep() + "Ziegel-\xC3\xA4.bmp";
    EXPECT_EQ(p.Textures[0].Filename, copied);
    EXPECT_EQ(fs::file_size(native(copied)), 6u);
    EXPECT_TRUE(fs::is_regular_file(native(app + name + Sep() + "Ziegel-\xC3\xA4.mci")));
    EXPECT_EQ(fs::file_size(native(p.ProjectFileName)), ReadWholeFile(p.ProjectFileName).size());
    EXPECT_EQ(FindProgramFile({app}, name + Sep() + name + ".3dp"), p.ProjectFileName);

    Project back;
    back.ProjectFileName = p.ProjectFileName;
    ASSERT_EQ(ReadProject(back, ui), ReadOutcome::Completed);
    ASSERT_EQ(back.Textures.size(), 1u);
    EXPECT_EQ(back.Textures[0].Filename, copied); // found without asking for it again
    EXPECT_TRUE(ui.bitmapPresets.empty());

    SettingsFile(SettingsFile::PathFor(app)).WriteText(general_keys::kUserPath, app);
    EXPECT_EQ(SettingsFile(SettingsFile::PathFor(app)).ReadText(general_keys::kUserPath), app);

    struct Format {
        const char* file;
        bool (*write)(const Project&, const std::string&, Ui&);
        TextImportResult (*read)(Project&, const std::string&, Ui&);
        std::size_t polygons;
    };
    for (const Format& f : {Format{"Punkte-\xC3\xB6.vtx", ExportVertexText, ImportVertexText, 0},
                            Format{"Text-\xE6\x97\xA5.txt", Export3DOText, Import3DOText, 1}}) {
        SCOPED_TRACE(f.file);
        const std::string path = app + f.file;
        ASSERT_TRUE(f.write(back, path, ui));
        EXPECT_GT(fs::file_size(native(path)), 0u);
        Project again;
        EXPECT_EQ(f.read(again, path, ui).Outcome, TextImportOutcome::Imported);
        EXPECT_EQ(again.Vertices.size(), 3u);
        EXPECT_EQ(again.Polygons.size(), f.polygons);
    }

    EXPECT_GE(fs::remove_all(native(app)), 8u);
    EXPECT_FALSE(fs::exists(native(app)));
}
