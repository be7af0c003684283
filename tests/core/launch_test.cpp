#include "output/launch.h"

#include "fake_ui.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fstream>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;
using test::TempDir;

// Records what is started; a started converter "ends" when the test says so, writing the 3DO
// first when `converterWrites`.
struct FakePort : LaunchPort {
    std::vector<ProcessRequest> started, waited;
    std::function<void(bool)> pending;
    bool startsOk = true, converterWrites = true;
    int minimized = 0, ended = 0;
    bool Start(const ProcessRequest& r) override {
        started.push_back(r);
        return startsOk;
    }
    void StartAndWait(const ProcessRequest& r, std::function<void(bool)> done) override {
        waited.push_back(r);
        pending = std::move(done);
    }
    void EndConverter() {
        if (startsOk && converterWrites)
            std::ofstream(waited.back().Arguments[1].Text) << "3DO";
        auto done = std::move(pending);
        done(startsOk);
    }
    void MinimizeEditor() override { ++minimized; }
    void EndEditor() override { ++ended; }
};

struct Rig { // a Project ready to convert, with its folders
    TempDir dir;
    Project p;
    LaunchContext c;
    FakeUi ui;
    FakePort port;
    int saves = 0;
    Rig() {
        p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        p.Textures = {{dir / "bark.bmp", 0, "", 0, kUndeterminedBackColor}};
        p.Polygons = {{{}, {0, 1, 2, 0}, 0, {{0, 0}, {1, 0}, {0, 1}}, false}};
        p.ProjectFileName = dir / "tree.3dp";
        c.AppFolder = dir.Folder() + "app/";
        dir.Touch("app/ase23doc.exe", "#!/bin/sh\n");
        dir.Touch("app/GPLstart.exe");
        c.General.GPLPath = dir.Touch("gpl/gpl.exe");
        c.SaveProject = [this] {
            ++saves;
            return true;
        };
        p.Options.Overwrite = true;
    }
};

TEST(Launch, DerivedPathsAndArguments) {
    Project p;
    p.ProjectFileName = "C:\\obj\\tree.3dp";
    p.Options.TrackFolder = "D:\\sim\\tracks\\demo\\";
    LaunchContext c;
    c.AppFolder = "C:\\mf\\";
    c.General.GPLPath = "C:\\gpl\\gpl.exe";
    EXPECT_EQ(AsePath(p), "C:\\obj\\tree.ase");
    EXPECT_EQ(Path3do(p, false), "C:\\obj\\tree.3do");
    EXPECT_EQ(Path3do(p, true), "D:\\sim\\tracks\\demo\\tree.3do");
    EXPECT_EQ(MipName({"C:\\tex\\bark.bmp", 0, "", 0, 0}), "bark.mip");
    const ProcessRequest conv = ConverterRequest(c, AsePath(p), Path3do(p, false));
    EXPECT_EQ(conv.Program, "C:\\mf\\ase23doc.exe");
    EXPECT_EQ(conv.Arguments,
              (std::vector<ProgramArg>{{"C:\\obj\\tree.ase", true}, {"C:\\obj\\tree.3do", true}}));
    EXPECT_TRUE(conv.Hidden);

    // Only ".3dp" gives way: another extension keeps the project file apart from its output.
    EXPECT_EQ(BasePath("/o/tree.3DP"), "/o/tree");
    EXPECT_EQ(BasePath("/o/tree.txt"), "/o/tree.txt");
    p.Options.TrackFolder = "/sim/demo"; // read from a file without its separator
    EXPECT_EQ(TrackFolderOf(p), std::string("/sim/demo") +
                                    static_cast<char>(std::filesystem::path::preferred_separator));

    p.Options.AdditionalGPLParams = "-a -b";
    p.Options.GPLParam = true;
    const ProcessRequest restart = RestartRequest(p, c);
    EXPECT_EQ(restart.Program, "C:\\mf\\GPLstart.exe");
    EXPECT_EQ(restart.Arguments, (std::vector<ProgramArg>{{"C:\\mf\\Meshforge.exe", true},
                                                          {"C:\\obj\\tree.3dp", true},
                                                          {"C:\\gpl\\gpl.exe", true},
                                                          {"-a -b", false}}));
    EXPECT_EQ(GplRequest(p, c, true).Arguments,
              (std::vector<ProgramArg>{{"-a", false}, {"-b", false}}));
    EXPECT_TRUE(GplRequest(p, c, false).Arguments.empty());
    p.Options.AdditionalGPLParams = "x -a";
    EXPECT_TRUE(GplRequest(p, c, true).Arguments.empty());
}

TEST(Launch, ConvertChecksInTheirOrder) {
    struct Case {
        const char* what;
        void (*change)(Rig&);
        std::string message;
    };
    const Case cases[] = {
        {"no vertex", [](Rig& s) { s.p.Vertices.clear(); }, "Not enough Data to write ASE-file !"},
        {"untextured", [](Rig& s) { s.p.Polygons[0].TextureIndex = kUntextured; },
         "Only entirely textured objects supported so far !"},
        {"no file", [](Rig& s) { s.p.ProjectFileName = kNoFile; }, "Save project first !"},
        {"no converter", [](Rig& s) { s.c.AppFolder += "x/"; }, "ASE23DOC not found !"},
        {"space", [](Rig& s) { s.p.ProjectFileName = s.dir / "my tree.3dp"; },
         "Application and/or project file path contains spaces.\rUnable to use ase23do and/or "
         "GPL !"},
    };
    for (const Case& c : cases) {
        Rig s;
        c.change(s);
        bool done = true;
        EXPECT_FALSE(WriteAseAndConvert(s.p, s.c, s.port, s.ui, [&](bool ok) { done = ok; }))
            << c.what;
        EXPECT_FALSE(done) << c.what;
        EXPECT_EQ(s.ui.messages, (std::vector<std::string>{c.message})) << c.what;
        EXPECT_TRUE(s.port.waited.empty()) << c.what;
        EXPECT_FALSE(std::filesystem::exists(s.dir / "tree.ase")) << c.what;
    }
}

TEST(Launch, ConvertLogsOnlyAWrittenFile) {
    for (bool writes : {true, false}) {
        Rig s;
        s.port.converterWrites = writes;
        bool converted = !writes;
        ASSERT_TRUE(WriteAseAndConvert(s.p, s.c, s.port, s.ui, [&](bool ok) { converted = ok; }));
        ASSERT_EQ(s.port.waited.size(), 1u);
        EXPECT_TRUE(std::filesystem::exists(s.dir / "tree.ase"));
        s.port.EndConverter();
        EXPECT_EQ(converted, writes);
        const std::string written = "3DO " + (s.dir / "tree.3do") + " written !";
        EXPECT_EQ(s.ui.log.back() == written, writes);
        if (!writes) {
            EXPECT_EQ(s.ui.messages.back(),
                      "ase23doc.exe did not write " + (s.dir / "tree.3do") + " !");
        }
    }
    // The converter cannot be started; or it ends after the Project was replaced.
    Rig s;
    s.port.startsOk = false;
    WriteAseAndConvert(s.p, s.c, s.port, s.ui);
    s.port.EndConverter();
    EXPECT_EQ(s.ui.messages, (std::vector<std::string>{"Error starting ase23doc.exe!"}));
    Rig gone;
    bool same = true;
    gone.c.SameProject = [&] { return same; };
    WriteAseAndConvert(gone.p, gone.c, gone.port, gone.ui);
    same = false;
    gone.port.EndConverter();
    EXPECT_TRUE(gone.ui.messages.empty());
    EXPECT_NE(gone.ui.log.back().substr(0, 4), "3DO ");
}

TEST(Launch, ConvertAndStartGplChecksInTheirOrder) {
    struct Case {
        const char* what;
        void (*change)(Rig&);
        std::string message;
    };
    const Case cases[] = {
        {"untextured", [](Rig& s) { s.p.Polygons[0].TextureIndex = kUntextured; },
         "Only entirely textured objects supported so far !"},
        {"no GPL", [](Rig& s) { s.c.General.GPLPath += "x"; },
         "GPL.exe not found. Check settings in OPTIONS Menu !"},
        {"no launcher", [](Rig& s) { std::filesystem::remove(s.c.AppFolder + "GPLstart.exe"); },
         "GPLstart.exe missing !"},
        {"no file", [](Rig& s) { s.p.ProjectFileName = kNoFile; }, "Save project first !"},
        {"no converter", [](Rig& s) { std::filesystem::remove(s.c.AppFolder + "ase23doc.exe"); },
         "ASE23DOC not found !"},
        {"space in the track folder",
         [](Rig& s) {
             s.p.Options.UseTrackFolder = true;
             s.p.Options.TrackFolder = s.dir / "my track";
         },
         "Application path, project file path or GPL path contains spaces.\rUnable to use "
         "ase23do and/or GPL !"},
        {"quote",
         [](Rig& s) {
             s.p.Options.GPLParam = true;
             s.p.Options.AdditionalGPLParams = "-a\" -b";
         },
         "Additional GPL command-line parameters must not contain double quotes !"},
        {"track folder",
         [](Rig& s) {
             s.p.Options.UseTrackFolder = true;
             s.p.Options.TrackFolder = s.dir / "none";
         },
         "Not a valid Track-folder !"},
    };
    for (const Case& c : cases) {
        Rig s;
        c.change(s);
        EXPECT_FALSE(WriteAseConvertAndStartGpl(s.p, s.c, s.port, s.ui)) << c.what;
        EXPECT_EQ(s.ui.messages, (std::vector<std::string>{c.message})) << c.what;
        EXPECT_TRUE(s.port.waited.empty()) << c.what;
    }

    // Missing ".mip" files: one warning each, then the question; No stops.
    Rig s;
    s.p.Textures.push_back({s.dir / "leaf.bmp", 0, "", 0, 0});
    s.p.Options.UseTrackFolder = true;
    s.p.Options.TrackFolder = s.dir.Folder() + "track";
    s.dir.Touch("track/leaf.mip");
    s.ui.answers = {Answer::No};
    EXPECT_FALSE(WriteAseConvertAndStartGpl(s.p, s.c, s.port, s.ui));
    EXPECT_EQ(s.ui.messages, (std::vector<std::string>{"Referenced file 'bark.mip' does not "
                                                       "exist in specified track folder !"}));
    // Yes goes on to the overwrite question (Overwrite off), and No there stops too.
    s.p.Options.Overwrite = false;
    s.ui.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(WriteAseConvertAndStartGpl(s.p, s.c, s.port, s.ui));
    EXPECT_EQ(s.ui.questions.back().text, "Overwrite tree.3do ?");
    EXPECT_EQ(s.ui.questions.back().caption, "File exists");
    EXPECT_TRUE(s.port.waited.empty());
}

TEST(Launch, AfterTheConverterGplStartsAsChosen) {
    struct Case {
        const char* what;
        bool autoGpl, minimize, editorExe, saves;
        std::vector<Answer> answers;
        int starts, minimized, ended;
        std::string program; // of the last start
    };
    const Case cases[] = {
        {"asked, yes", false, true, false, true, {Answer::Yes}, 1, 1, 0, "gpl"},
        {"asked, no", false, true, false, true, {Answer::No}, 0, 0, 0, ""},
        {"minimize", true, true, false, true, {}, 1, 1, 0, "gpl"},
        {"close and restart", true, false, true, true, {}, 1, 0, 1, "GPLstart.exe"},
        {"restart, not saved", true, false, true, false, {}, 0, 0, 0, ""},
        {"restart impossible here", true, false, false, true, {}, 1, 1, 0, "gpl"},
    };
    for (const Case& c : cases) {
        Rig s;
        s.p.Options.AutoGPL = c.autoGpl;
        s.p.Options.MinimizeOnGPL = c.minimize;
        s.p.Options.CloseOnGPL = !c.minimize;
        if (c.editorExe)
            s.dir.Touch("app/Meshforge.exe");
        s.c.SaveProject = [&s, &c] {
            ++s.saves;
            return c.saves;
        };
        s.ui.answers.assign(c.answers.begin(), c.answers.end());
        ASSERT_TRUE(WriteAseConvertAndStartGpl(s.p, s.c, s.port, s.ui)) << c.what;
        s.port.EndConverter();
        EXPECT_EQ(s.saves, 1) << c.what;
        EXPECT_EQ(int(s.port.started.size()), c.starts) << c.what;
        EXPECT_EQ(s.port.minimized, c.minimized) << c.what;
        EXPECT_EQ(s.port.ended, c.ended) << c.what;
        if (!c.program.empty()) {
            EXPECT_NE(s.port.started.back().Program.find(c.program), std::string::npos) << c.what;
        }
    }
}

TEST(Launch, JustWriteAseAndStartingPrograms) {
    Rig s;
    s.ui.saveAnswers = {s.p.ProjectFileName, s.dir / "out.ase"};
    EXPECT_FALSE(JustWriteAse(s.p, s.ui));
    EXPECT_EQ(s.ui.saveDialogs[0].FilterIndex, 5);
    EXPECT_EQ(s.ui.saveDialogs[0].DefaultExt, "ase");
    EXPECT_TRUE(JustWriteAse(s.p, s.ui));
    EXPECT_TRUE(std::filesystem::exists(s.dir / "out.ase"));

    s.p.Options.MinimizeOnGPL = true;
    s.c.General.GPLPath = s.dir / "nothing.exe";
    StartGpl(s.p, s.c, s.port, s.ui);
    EXPECT_EQ(s.ui.messages.back(), "GPL not found !");
    StartProgram(s.dir / "viewer.exe", s.port, s.ui);
    EXPECT_EQ(s.ui.messages.back(), "File " + (s.dir / "viewer.exe") + " not found !");
    StartProgram(s.dir.Touch("viewer.exe"), s.port, s.ui);
    ASSERT_EQ(s.port.started.size(), 1u);
    EXPECT_TRUE(s.port.started[0].Arguments.empty());
}

TEST(Launch, WindowsExecutablesGoThroughWine) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows its programs start as they are";
#endif
    TempDir dir;
    const std::string exe = dir.Touch("conv.exe", "MZ\x90");
    const std::string script = dir.Touch("conv.sh", "#!/bin/sh\n");
    ProcessRequest r{exe, {{"/a/x.ase", true}, {"-q", false}}, true};
    std::optional<ProcessRequest> w = ForThisSystem(r, "/usr/bin/wine");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Program, "/usr/bin/wine");
    EXPECT_EQ(w->Arguments, (std::vector<ProgramArg>{
                                {WinePath(exe), false}, {"Z:\\a\\x.ase", false}, {"-q", false}}));
    EXPECT_TRUE(w->Hidden);
    EXPECT_FALSE(ForThisSystem(r, std::nullopt));
    r.Program = script;
    EXPECT_EQ(ForThisSystem(r, std::nullopt)->Program, script);

    EXPECT_EQ(FindWine("/opt/w/wine", "/usr/bin"), "/opt/w/wine");
    dir.Touch("bin/wine");
    EXPECT_EQ(FindWine(nullptr, ("/nowhere:" + (dir / "bin")).c_str()), dir / "bin/wine");
    EXPECT_FALSE(FindWine("", "/nowhere"));
}

} // namespace
} // namespace meshforge
