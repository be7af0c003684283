#include "util/app_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#ifndef MESHFORGE_DATA_FROM_BIN
#define MESHFORGE_DATA_FROM_BIN "../share/meshforge"
#endif

namespace meshforge {

namespace fs = std::filesystem;

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
    if (fs::path xdg = sources.Environment("XDG_CONFIG_HOME"); xdg.is_absolute())
        base = xdg / "meshforge";
    else if (std::string home = sources.Environment("HOME"); !home.empty())
        base = fs::path(home) / ".config" / "meshforge";
    else if (std::string appData = sources.Environment("APPDATA"); !appData.empty())
        base = fs::path(appData) / "meshforge";
    else
        return "";
    std::error_code ec;
    fs::create_directories(base, ec);
    if (!fs::is_directory(base, ec))
        return "";
    return WithSeparator(base.string());
}
} // namespace

AppFolderSources ProcessSources() {
    return {[](const char* name) {
                const char* value = std::getenv(name);
                return std::string(value ? value : "");
            },
            IsWritableFolder};
}

bool IsWritableFolder(const std::string& folder) {
    std::random_device random;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const fs::path probe =
            fs::path(folder) / (".meshforge-write-test-" + std::to_string(random()));
        // "x": never opens (and then removes) a file that was there before.
        if (std::FILE* f = std::fopen(probe.string().c_str(), "wx")) {
            std::fclose(f);
            std::error_code ec;
            fs::remove(probe, ec);
            return true;
        }
        std::error_code ec;
        if (!fs::exists(probe, ec))
            return false;
    }
    return false;
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
    std::error_code ec;
    auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return WithSeparator(fs::current_path(ec).string());
    return WithSeparator(exe.parent_path().string());
}

std::vector<std::string> ProgramFileFolders(const std::string& appFolder,
                                            const std::string& exeFolder) {
    std::vector<std::string> folders;
    auto add = [&folders](const std::string& folder) {
        if (folder.empty())
            return;
        const fs::path normal = fs::path(WithSeparator(folder)).lexically_normal();
        for (const std::string& known : folders)
            if (fs::path(known).lexically_normal() == normal)
                return;
        folders.push_back(WithSeparator(folder));
    };
    add(appFolder);
    add(exeFolder);
    if (!exeFolder.empty())
        add((fs::path(exeFolder) / MESHFORGE_DATA_FROM_BIN).lexically_normal().string());
    return folders;
}

std::string FindProgramFile(const std::vector<std::string>& folders, const std::string& relative) {
    std::error_code ec;
    for (const std::string& folder : folders)
        if (fs::path path = fs::path(folder) / relative; fs::is_regular_file(path, ec))
            return path.string();
    return folders.empty() ? relative : (fs::path(folders.front()) / relative).string();
}

} // namespace meshforge
