#include "temp_dir.h"
#include "util/app_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace meshforge {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const std::string kSep(1, fs::path::preferred_separator);

TEST(AppFolder, ResolutionOrder) {
    TempDir root;
    const std::string writableExe = root / "bin";
    fs::create_directories(writableExe);
    // Below a regular file nothing can be created, not even by root.
    root.Touch("file");
    const std::string lockedExe = root / "file/bin";
    const std::string abs = root.path.string();
    struct Row {
        const char* what;
        std::string overrideFolder;
        std::map<std::string, std::string> env;
        std::string exe;
        std::string expected;
    };
    const Row rows[] = {
        {"--app-folder first",
         abs + "/o",
         {{"MESHFORGE_APP_FOLDER", abs + "/e"}},
         lockedExe,
         abs + "/o" + kSep},
        {"then the variable", "", {{"MESHFORGE_APP_FOLDER", abs + "/e/"}}, lockedExe, abs + "/e/"},
        {"a writable executable's folder",
         "",
         {{"XDG_CONFIG_HOME", abs + "/x"}},
         writableExe,
         writableExe + kSep},
        {"XDG_CONFIG_HOME",
         "",
         {{"XDG_CONFIG_HOME", abs + "/x"}, {"HOME", abs + "/h"}},
         lockedExe,
         abs + "/x/meshforge" + kSep},
        {"a relative XDG_CONFIG_HOME is ignored",
         "",
         {{"XDG_CONFIG_HOME", "x"}, {"HOME", abs + "/h"}},
         lockedExe,
         abs + "/h/.config/meshforge" + kSep},
        {"APPDATA last", "", {{"APPDATA", abs + "/a"}}, lockedExe, abs + "/a/meshforge" + kSep},
        {"no per-user base", "", {}, lockedExe, lockedExe + kSep},
        {"a per-user folder that cannot be made",
         "",
         {{"HOME", abs + "/file"}},
         lockedExe,
         lockedExe + kSep},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        AppFolderSources sources{[&r](const char* name) {
                                     auto it = r.env.find(name);
                                     return it == r.env.end() ? std::string() : it->second;
                                 },
                                 IsWritableFolder};
        const std::string folder = ResolveAppFolder(r.overrideFolder, r.exe, sources);
        EXPECT_EQ(fs::path(folder).make_preferred(), fs::path(r.expected).make_preferred());
        if (r.expected.ends_with("meshforge" + kSep)) {
            EXPECT_TRUE(fs::is_directory(folder)); // made for the settings file
        }
    }
    // The write probe leaves nothing behind.
    EXPECT_TRUE(fs::is_empty(writableExe));
}

TEST(AppFolder, ProgramFilesBesideTheProgramFirstThenTheSharedFolder) {
    TempDir root;
    const std::string bin = root / "usr/bin/";
    const std::string app = root / "home/.config/meshforge/";
    fs::create_directories(bin);
    const std::string relative = "help" + kSep + "index.htm";
    const std::string shared = root.Touch("usr/share/meshforge/" + relative);

    const std::vector<std::string> folders = ProgramFileFolders(app, bin);
    EXPECT_EQ(fs::path(FindProgramFile(folders, relative)).make_preferred(),
              fs::path(shared).make_preferred());
    EXPECT_EQ(ProgramFileFolders(bin, bin).size(), 2u);
    const std::string besideExe = root.Touch("usr/bin/" + relative);
    EXPECT_EQ(FindProgramFile(folders, relative), besideExe);
    const std::string inApp = root.Touch("home/.config/meshforge/" + relative);
    EXPECT_EQ(FindProgramFile(folders, relative), inApp);
    // Missing everywhere: named in the program folder.
    EXPECT_EQ(FindProgramFile(folders, "mask.bmp"), app + "mask.bmp");
}

} // namespace
} // namespace meshforge
