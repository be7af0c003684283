#include "util/app_folder.h"

#include "util/platform_file.h"

#include <filesystem>

#ifndef MESHFORGE_DATA_FROM_BIN
#define MESHFORGE_DATA_FROM_BIN "../share/meshforge"
#endif

namespace meshforge {

namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::Utf8FromPath;

namespace {
std::string WithSeparator(std::string folder) {
    const char sep = fs::path::preferred_separator;
    if (!folder.empty() && folder.back() != sep && folder.back() != '/')
        folder += sep;
    return folder;
}

// The per-user folder, created; "" when no base is known or it cannot be made.
std::string UserAppFolder(const AppFolderSources& sources) {
    fs::path base;
    // A relative XDG_CONFIG_HOME is to be ignored: it would depend on the working folder.
    if (fs::path xdg = PathFromUtf8(sources.Environment("XDG_CONFIG_HOME")); xdg.is_absolute())
        base = xdg / "meshforge";
    else if (std::string home = sources.Environment("HOME"); !home.empty())
        base = PathFromUtf8(home) / ".config" / "meshforge";
    else if (std::string appData = sources.Environment("APPDATA"); !appData.empty())
        base = PathFromUtf8(appData) / "meshforge";
    else
        return "";
    std::error_code ec;
    fs::create_directories(base, ec);
    if (!fs::is_directory(base, ec))
        return "";
    return WithSeparator(Utf8FromPath(base));
}
} // namespace

AppFolderSources ProcessSources() {
    return {platform::EnvironmentVariable, IsWritableFolder};
}

bool IsWritableFolder(const std::string& folder) {
    // Made new (never a file that was there before), then removed.
    std::string probe = WithSeparator(folder) + ".meshforge-write-test-XXXXXX";
    const int fd = platform::CreateUnique(probe);
    if (fd < 0)
        return false;
    platform::Close(fd);
    platform::Remove(probe);
    return true;
}

std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder,
                             const AppFolderSources& sources) {
    if (!overrideFolder.empty())
        return WithSeparator(overrideFolder);
    if (std::string env = sources.Environment("MESHFORGE_APP_FOLDER"); !env.empty())
        return WithSeparator(env);
    if (sources.Writable(exeFolder))
        return WithSeparator(exeFolder);
    std::string user = UserAppFolder(sources);
    return user.empty() ? WithSeparator(exeFolder) : user;
}

std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder) {
    return ResolveAppFolder(overrideFolder, exeFolder, ProcessSources());
}

std::string ExecutableFolder() {
    if (const std::string exe = platform::ExecutablePath(); !exe.empty())
        return WithSeparator(Utf8FromPath(PathFromUtf8(exe).parent_path()));
    std::error_code ec;
    return WithSeparator(Utf8FromPath(fs::current_path(ec)));
}

std::vector<std::string> ProgramFileFolders(const std::string& appFolder,
                                            const std::string& exeFolder) {
    std::vector<std::string> folders;
    auto add = [&folders](const std::string& folder) {
        if (folder.empty())
            return;
        const fs::path normal = PathFromUtf8(WithSeparator(folder)).lexically_normal();
        for (const std::string& known : folders)
            if (PathFromUtf8(known).lexically_normal() == normal)
                return;
        folders.push_back(WithSeparator(folder));
    };
    add(appFolder);
    add(exeFolder);
    if (!exeFolder.empty())
        add(Utf8FromPath((PathFromUtf8(exeFolder) / MESHFORGE_DATA_FROM_BIN).lexically_normal()));
    return folders;
}

std::string FindProgramFile(const std::vector<std::string>& folders, const std::string& relative) {
    std::error_code ec;
    for (const std::string& folder : folders)
        if (fs::path path = PathFromUtf8(folder) / PathFromUtf8(relative);
            fs::is_regular_file(path, ec))
            return Utf8FromPath(path);
    return folders.empty() ? relative
                           : Utf8FromPath(PathFromUtf8(folders.front()) / PathFromUtf8(relative));
}

} // namespace meshforge
