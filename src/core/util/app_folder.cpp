#include "util/app_folder.h"

#include <cstdlib>
#include <filesystem>

namespace meshforge {

namespace {
std::string WithSeparator(std::string folder) {
    const char sep = std::filesystem::path::preferred_separator;
    if (!folder.empty() && folder.back() != sep && folder.back() != '/')
        folder += sep;
    return folder;
}
} // namespace

std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder) {
    if (!overrideFolder.empty())
        return WithSeparator(overrideFolder);
    if (const char* env = std::getenv("MESHFORGE_APP_FOLDER"); env && *env)
        return WithSeparator(env);
    return WithSeparator(exeFolder);
}

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return WithSeparator(std::filesystem::current_path(ec).string());
    return WithSeparator(exe.parent_path().string());
}

} // namespace meshforge
