#include "app/lifecycle.h"

#include "fake_ui.h"
#include "model/project.h"
#include "model/project_file.h"
#include "temp_dir.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace meshforge;
using meshforge::test::FakeUi;
using meshforge::test::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kSep(1, fs::path::preferred_separator);

Project Triangle(const std::string& description = "A test triangle") {
    Project p;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, kUntextured, {}});
    p.ProjectDescription = description;
    p.HasGeometry = true;
    return p;
}

// Writes a project file and returns its path.
std::string WriteFile(const TempDir& dir, const std::string& name, Project p) {
    p.ProjectFileName = dir / name;
    FakeUi quiet;
    WriteProject(p, SaveOptions{dir.Folder()}, quiet);
    return p.ProjectFileName;
}

struct Lifecycle : ::testing::Test {
    TempDir dir;
    Project p;
    Session s;
    FakeUi ui;
    SaveOptions save;
    void SetUp() override {
        s.AppFolder = dir.Folder();
        save.AppFolder = dir.Folder();
    }
};

} // namespace

TEST_F(Lifecycle, StartUpLogsTheCaptionAndFindsTheConverter) {
    StartUp(p, s, ui);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"", "Meshforge v1.25",
                                                "See Tool Tips for some more Information"}));
    EXPECT_EQ(p.ProjectFileName, "None");
    EXPECT_EQ(s.ViewCaption, "New Project");
    EXPECT_TRUE(s.StartupOpenPending);
    EXPECT_FALSE(s.Menus.WriteAse);

    dir.Touch("ase23doc.exe");
    Session withConverter;
    withConverter.AppFolder = dir.Folder();
    StartUp(p, withConverter, ui);
    EXPECT_TRUE(withConverter.Menus.WriteAse);
}

TEST_F(Lifecycle, CloseWithoutVerticesDoesNothingEvenWithTextures) {
    p.Textures.emplace_back().Filename = "wall.bmp";
    p.ProjectFileName = "x.3dp";
    EXPECT_TRUE(CloseProject(p, s, save, ui));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(p.Textures.size(), 1u);
    EXPECT_EQ(p.ProjectFileName, "x.3dp");
}

TEST_F(Lifecycle, CloseAsksAndCancelKeepsEverything) {
    p = Triangle();
    p.ProjectFileName = WriteFile(dir, "t.3dp", p);
    s.ViewCaption = "t.3dp";
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(CloseProject(p, s, save, ui));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Save project data ?");
    EXPECT_EQ(ui.questions[0].caption, "Closing Project...");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(s.ViewCaption, "t.3dp");
    EXPECT_TRUE(ui.log.empty());

    // Exit runs the same Close: Cancel keeps the program and the Project.
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(RequestExit(p, s, save, ui));
    EXPECT_EQ(p.Vertices.size(), 3u);
}

TEST_F(Lifecycle, CloseWithNoResetsAndWithYesSavesFirst) {
    p = Triangle();
    s.Menus.SaveProject = s.Menus.CloseProject = s.Menus.WriteAse = true;
    s.Menus.CreateVisLines = false;
    s.Menus.RemoveVisLines = s.Menus.ConvertVisLines = true;
    s.ViewCaption = "t.3dp";
    ui.answers = {Answer::No};
    EXPECT_TRUE(CloseProject(p, s, save, ui));
    EXPECT_TRUE(p.Vertices.empty());
    EXPECT_EQ(ui.log, std::vector<std::string>{"Project Closed !"});
    EXPECT_EQ(s.ViewCaption, "New Project");
    EXPECT_FALSE(s.Menus.SaveProject || s.Menus.CloseProject || s.Menus.WriteAse ||
                 s.Menus.RemoveVisLines || s.Menus.ConvertVisLines);
    EXPECT_TRUE(s.Menus.CreateVisLines);

    p = Triangle();
    p.ProjectFileName = dir / "kept.3dp";
    ui.log.clear();
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(RequestExit(p, s, save, ui));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Project " + (dir / "kept.3dp") + " saved !",
                                                "Project Saved !", "Project Closed !"}));
    EXPECT_TRUE(fs::exists(dir / "kept.3dp"));
    EXPECT_TRUE(p.Vertices.empty());
}

TEST_F(Lifecycle, YesWithoutASaveKeepsTheProject) {
    // No file yet: Save turns into Save As, whose dialog the user cancels.
    p = Triangle();
    ui.answers = {Answer::Yes};
    ui.saveAnswers = {std::nullopt};
    EXPECT_FALSE(CloseProject(p, s, save, ui));
    EXPECT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(p.Vertices.size(), 3u);
    EXPECT_TRUE(ui.log.empty());

    // A save that fails: the error is shown and the Project stays.
    p.ProjectFileName = dir / "missing-folder" + kSep + "t.3dp";
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(RequestExit(p, s, save, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("t.3dp"), std::string::npos);
    EXPECT_EQ(p.Vertices.size(), 3u);
}

TEST_F(Lifecycle, OpenReadsShowsAndRemembers) {
    std::string a = WriteFile(dir, "a.3dp", Triangle("First object"));
    ui.openAnswers = {a};
    OpenProject(p, s, save, ui);
    ASSERT_EQ(ui.openDialogs.size(), 1u);
    EXPECT_EQ(ui.openDialogs[0].FilterIndex, kOpenProject);
    EXPECT_EQ(ui.openDialogs[0].Filters, OpenDialogFilters());
    EXPECT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.ProjectFileName, a);
    EXPECT_EQ(s.ViewCaption, "a.3dp");
    EXPECT_TRUE(p.GeometryShown);
    EXPECT_TRUE(s.Menus.SaveProject && s.Menus.CloseProject && s.Menus.SaveProjectAs &&
                s.Menus.WriteAse);
    ASSERT_GE(ui.log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(ui.log.end() - 3, ui.log.end()),
              (std::vector<std::string>{"", "Project Description:", "First object"}));
    EXPECT_EQ(s.Recent.Paths(), std::vector<std::string>{a});

    // A second file, then the first again from the recent list: one entry each, newest first.
    std::string b = WriteFile(dir, "b.3dp", Triangle());
    ui.answers = {Answer::No, Answer::No};
    ui.openAnswers = {b};
    OpenProject(p, s, save, ui);
    OpenProjectFile(p, s, save, ui, a);
    EXPECT_EQ(s.Recent.Paths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(p.ProjectFileName, a);
}

TEST_F(Lifecycle, OpenStopsWhenCloseIsCancelledOrTheDialogIs) {
    p = Triangle();
    ui.answers = {Answer::Cancel};
    OpenProject(p, s, save, ui);
    EXPECT_TRUE(ui.openDialogs.empty());
    EXPECT_EQ(p.Vertices.size(), 3u);

    ui.answers = {Answer::Cancel};
    OpenProjectFile(p, s, save, ui, "whatever.3dp");
    EXPECT_EQ(p.ProjectFileName, "None");

    Project empty;
    Session fresh;
    fresh.AppFolder = dir.Folder();
    ui.openAnswers = {std::nullopt};
    OpenProject(empty, fresh, save, ui);
    EXPECT_EQ(empty.ProjectFileName, "None");
    EXPECT_TRUE(fresh.Recent.Paths().empty());
}

TEST_F(Lifecycle, AProjectWithoutVerticesLeavesNoTrace) {
    Project none;
    none.ProjectDescription = "Nothing here";
    std::string path = WriteFile(dir, "none.3dp", none);
    ui.openAnswers = {path};
    OpenProject(p, s, save, ui);
    EXPECT_TRUE(s.Recent.Paths().empty());
    EXPECT_EQ(s.ViewCaption, "New Project");
    for (const std::string& line : ui.log)
        EXPECT_NE(line, "Project Description:");
}

TEST_F(Lifecycle, ReadErrorsPropagateAndKeepWhatWasRead) {
    dir.Touch("bad.3dp", "Vertices\r\n2\r\n1\r\n2\r\n3\r\nfour\r\n");
    ui.openAnswers = {dir / "bad.3dp"};
    EXPECT_THROW(OpenProject(p, s, save, ui), ParseError);
    EXPECT_EQ(p.ProjectFileName, dir / "bad.3dp");
    EXPECT_TRUE(s.Recent.Paths().empty());
}

TEST_F(Lifecycle, CommandLineOpensOnceOnTheFirstPaint) {
    std::string a = WriteFile(dir, "cmd.3dp", Triangle());
    EXPECT_FALSE(OpenFromCommandLine(p, s, ui, {}));
    EXPECT_TRUE(s.StartupOpenPending);
    EXPECT_TRUE(OpenFromCommandLine(p, s, ui, {a, "ignored"}));
    EXPECT_FALSE(s.StartupOpenPending);
    EXPECT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(s.ViewCaption, "cmd.3dp");
    EXPECT_EQ(s.Recent.Paths(), std::vector<std::string>{a});
    EXPECT_TRUE(p.GeometryShown);
    EXPECT_FALSE(OpenFromCommandLine(p, s, ui, {a}));

    // A project opened before the first paint wins over the argument.
    Project other;
    Session s2;
    s2.AppFolder = dir.Folder();
    other.ProjectFileName = a;
    EXPECT_FALSE(OpenFromCommandLine(other, s2, ui, {a}));
}

TEST_F(Lifecycle, SaveWithoutAFileIsSaveAs) {
    p = Triangle();
    ui.saveAnswers = {dir / "new.3dp"};
    EXPECT_TRUE(SaveProject(p, s, save, ui));
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].FilterIndex, kSaveProject);
    EXPECT_EQ(ui.saveDialogs[0].DefaultExt, "3dp");
    EXPECT_EQ(p.ProjectFileName, dir / "new.3dp");
    EXPECT_EQ(s.ViewCaption, "new.3dp");
    EXPECT_EQ(s.Recent.Paths(), std::vector<std::string>{dir / "new.3dp"});
    EXPECT_EQ(ui.log.back(), "Project " + (dir / "new.3dp") + " saved !");

    ui.log.clear();
    EXPECT_TRUE(SaveProject(p, s, save, ui));
    EXPECT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.log.back(), "Project Saved !");
}

TEST_F(Lifecycle, SaveAsRefusalsChangeNothing) {
    p.Vertices = {{1, 2, 3}};
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{
                  "      No Vertices defined      \r\r      No project data to save !"});
    EXPECT_TRUE(ui.saveDialogs.empty());

    p = Triangle();
    p.ProjectFileName = "old.3dp";
    s.ViewCaption = "old.3dp";
    ui.saveAnswers = {std::nullopt};
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_EQ(p.ProjectFileName, "old.3dp");

    // A write that fails keeps the old name and caption and adds no recent entry.
    ui.saveAnswers = {dir / "no-such-folder" + kSep + "x.3dp"};
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_EQ(p.ProjectFileName, "old.3dp");
    EXPECT_EQ(s.ViewCaption, "old.3dp");
    EXPECT_TRUE(s.Recent.Paths().empty());
}

TEST_F(Lifecycle, SaveAsIntoAProjectSubfolder) {
    save.MakeSubDir = true;
    p = Triangle();
    ui.nameAnswers = {{NameAnswer::How::Ok, "ABCDEFGH"}};
    EXPECT_TRUE(SaveProjectAs(p, s, save, ui));
    std::string expected = dir.Folder() + "ABCDEFGH" + kSep + "ABCDEFGH.3dp";
    EXPECT_EQ(p.ProjectFileName, expected);
    EXPECT_TRUE(fs::exists(expected));
    EXPECT_EQ(s.ViewCaption, "ABCDEFGH");
    EXPECT_EQ(s.Recent.Paths(), std::vector<std::string>{expected});
    EXPECT_TRUE(ui.saveDialogs.empty());

    // The folder exists now: a second save under that name is refused, nothing written.
    ui.nameAnswers = {{NameAnswer::How::Ok, "ABCDEFGH"}};
    fs::remove(expected);
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_EQ(ui.messages.back(), "Unable to create Directory OR Directory already exists !");
    EXPECT_FALSE(fs::exists(expected));

    // Cancel stops before anything; the close box goes on with the name it had.
    ui.messages.clear();
    ui.nameAnswers = {{NameAnswer::How::Cancelled, {}}, {NameAnswer::How::Closed, {}}};
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_TRUE(ui.messages.empty());
    p.ProjectName = "kept";
    EXPECT_TRUE(SaveProjectAs(p, s, save, ui));
    EXPECT_TRUE(fs::exists(dir.Folder() + "kept" + kSep + "kept.3dp"));
}

TEST_F(Lifecycle, SubfolderWithoutANameIsRefused) {
    save.MakeSubDir = true;
    p = Triangle();
    p.ProjectName.clear();
    ui.nameAnswers = {{NameAnswer::How::Closed, {}}};
    EXPECT_FALSE(SaveProjectAs(p, s, save, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Unable to create Directory OR Directory already exists !"});
    EXPECT_EQ(p.ProjectFileName, "None");
}

TEST(ProjectName, EightCharactersAndAPlainName) {
    EXPECT_TRUE(IsValidProjectName("A"));
    EXPECT_TRUE(IsValidProjectName("12345678"));
    EXPECT_TRUE(
        IsValidProjectName("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6"));
    EXPECT_FALSE(IsValidProjectName(""));
    EXPECT_FALSE(IsValidProjectName("123456789"));
    for (const char* bad : {"..", ".", "a/b", "a\\b", "c:x", "a*b", "a?", "\t"})
        EXPECT_FALSE(IsValidProjectName(bad)) << bad;
}

TEST_F(Lifecycle, AddDataAsksWithTheOpenProjectsDescription) {
    p = Triangle("Current one");
    std::string other = WriteFile(dir, "other.3dp", Triangle("Other one"));
    ui.openAnswers = {other, other};
    ui.answers = {Answer::No, Answer::Yes};
    ui.offsetAnswers = {Offset3{10, 0, 0}};
    AddData(p, s, ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "Project Description:\rCurrent one\r\rOK to add Data from this project ?");
    EXPECT_EQ(ui.questions[0].caption, "Add Data");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);
    EXPECT_EQ(p.Vertices.size(), 3u);

    AddData(p, s, ui);
    ASSERT_EQ(p.Vertices.size(), 6u);
    EXPECT_EQ(p.Vertices[4].X, 11.0f);
    EXPECT_EQ(p.Polygons.size(), 2u);
}

TEST_F(Lifecycle, ClearAllResetsTheSession) {
    p = Triangle();
    p.Textures.emplace_back().Filename = "t.bmp";
    s.ViewCaption = "t.3dp";
    s.Menus.SaveProject = true;
    ClearAll(p, s, ui);
    EXPECT_TRUE(p.Vertices.empty() && p.Textures.empty());
    EXPECT_EQ(ui.log, std::vector<std::string>{"All Data Cleared !"});
    EXPECT_EQ(s.ViewCaption, "New Project");
    EXPECT_FALSE(s.Menus.SaveProject);
}

// Every command that replaces the Project drops the undo records and the pivot; one that is
// cancelled before anything changed keeps them.
TEST_F(Lifecycle, CommandsThatReplaceTheProjectResetTheEditorState) {
    const std::string file = WriteFile(dir, "e.3dp", Triangle());
    struct Case {
        const char* name;
        std::function<void(Lifecycle&)> command;
        bool reset;
    };
    const Case cases[] = {
        {"close", [](Lifecycle& t) { CloseProject(t.p, t.s, t.save, t.ui); }, true},
        {"close cancelled",
         [](Lifecycle& t) {
             t.ui.answers = {Answer::Cancel};
             CloseProject(t.p, t.s, t.save, t.ui);
         },
         false},
        {"clear all", [](Lifecycle& t) { ClearAll(t.p, t.s, t.ui); }, true},
        {"open",
         [&file](Lifecycle& t) {
             t.ui.openAnswers = {file};
             OpenProject(t.p, t.s, t.save, t.ui);
         },
         true},
        {"recent file", [&file](Lifecycle& t) { OpenProjectFile(t.p, t.s, t.save, t.ui, file); },
         true},
        {"command line",
         [&file](Lifecycle& t) {
             t.p.ProjectFileName = kNoFile;
             OpenFromCommandLine(t.p, t.s, t.ui, {file});
         },
         true},
        {"add data",
         [&file](Lifecycle& t) {
             t.ui.openAnswers = {file};
             t.ui.answers = {Answer::Yes};
             t.ui.offsetAnswers = {Offset3{}};
             AddData(t.p, t.s, t.ui);
         },
         true},
        {"add data declined",
         [&file](Lifecycle& t) {
             t.ui.openAnswers = {file};
             AddData(t.p, t.s, t.ui);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p = Triangle();
        s = Session{};
        s.AppFolder = dir.Folder();
        ui = FakeUi{};
        ui.answers = {Answer::No}; // "Save project data ?"
        s.Editor.UndoVertices.Take(p);
        s.Editor.UndoLines.Take(p);
        s.Editor.PivotVertex = 1;
        Project same = p; // the lists the records were taken from
        c.command(*this);
        EXPECT_EQ(s.Editor.PivotVertex == kNoElement, c.reset);
        EXPECT_EQ(s.Editor.UndoVertices.CanRestore(same), !c.reset);
        EXPECT_EQ(s.Editor.UndoLines.Available(same), !c.reset);
    }
}

TEST_F(Lifecycle, LocalHelpNeedsTheHelpPage) {
    LocalHelp(s, ui);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No local help available, please download "
                                                    "current help file from the website !"});
    EXPECT_TRUE(ui.opened.empty());

    std::string page = dir.Touch("help" + kSep + "index.htm", "<html></html>");
    ui.messages.clear();
    LocalHelp(s, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Local help file is dated ", 0), 0u);
    EXPECT_NE(ui.messages[0].find(", please check website for newer version !"), std::string::npos);
    EXPECT_EQ(ui.opened, std::vector<std::string>{page});

    // No program to show it: the user learns where the page is.
    ui.messages.clear();
    ui.openSucceeds = false;
    LocalHelp(s, ui);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1], "The help page could not be opened: no program to show it was "
                              "found.\rIt is the file " +
                                  page);
}

TEST_F(Lifecycle, LogFileHoldsTheLinesAsPlainText) {
    std::vector<std::string> lines = {"", "Meshforge v1.25", "Project Closed !"};
    ui.saveAnswers = {std::nullopt};
    EXPECT_FALSE(SaveLogFile(lines, ui));
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].FilterIndex, kSaveLog);
    EXPECT_EQ(ui.saveDialogs[0].DefaultExt, "log");

    ui.saveAnswers = {dir / "session.log", dir / "missing" + kSep + "x.log"};
    EXPECT_TRUE(SaveLogFile(lines, ui));
    EXPECT_EQ(ReadWholeFile(dir / "session.log"), "\r\nMeshforge v1.25\r\nProject Closed !\r\n");
    EXPECT_FALSE(SaveLogFile(lines, ui));
    EXPECT_EQ(ui.messages.size(), 1u);
}
