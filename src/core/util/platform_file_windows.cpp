#include "util/platform_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <system_error>
#include <windows.h>

#include <shellapi.h>

namespace meshforge::platform {

std::filesystem::path PathFromUtf8(const std::string& path) {
    try {
        return std::u8string(path.begin(), path.end());
    } catch (const std::system_error&) {
        return path; // not UTF-8: the narrow conversion, as such a path was always read
    }
}

namespace {
// Paths are UTF-8 in the program; Windows takes them as UTF-16.
std::wstring Wide(const std::string& path) {
    return PathFromUtf8(path).wstring();
}
std::string Narrow(const wchar_t* text) {
    return Utf8FromPath(std::filesystem::path(text));
}

int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}
} // namespace

int OpenForReading(const std::string& path) {
    int fd = -1;
    if (::_wsopen_s(&fd, Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0) !=
        0)
        return -1;
    return fd;
}

int CreateUnique(std::string& pathTemplate) {
    const std::size_t at = pathTemplate.size() - 6;
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned seed = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = 0; i < 6; ++i) {
            seed = seed * 1103515245u + 12345u;
            pathTemplate[at + i] = kChars[(seed >> 16) % 36];
        }
        int fd = -1;
        const errno_t e = ::_wsopen_s(&fd, Wide(pathTemplate).c_str(),
                                      _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                      _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (e == 0)
            return fd;
        if (e != EEXIST) {
            errno = e;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool Status(const std::string& path, FileStatus& status) {
    struct _stat64 st {};
    if (::_wstat64(Wide(path).c_str(), &st) != 0)
        return false;
    // Windows has a read-only attribute, shown as the missing write bits.
    status = {(st.st_mode & _S_IFREG) != 0, static_cast<unsigned>(st.st_mode & 0777), 0, 0};
    return true;
}

bool FstatSize(int fd, uint64_t& size) {
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFREG) == 0)
        return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool SeekTo(int fd, uint64_t offset) {
    return ::_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) >= 0;
}

long long ReadSome(int fd, char* buffer, std::size_t bytes) {
    const unsigned chunk = bytes > (1u << 30) ? (1u << 30) : static_cast<unsigned>(bytes);
    return ::_read(fd, buffer, chunk);
}

long long WriteSome(int fd, const char* bytes, std::size_t count) {
    const unsigned chunk = count > (1u << 30) ? (1u << 30) : static_cast<unsigned>(count);
    return ::_write(fd, bytes, chunk);
}

int Close(int fd) {
    return ::_close(fd);
}

bool Sync(int fd) {
    return ::_commit(fd) == 0;
}

int WriteRefusal(const std::string&, const FileStatus& status) {
    return (status.Mode & 0222) == 0 ? EACCES : 0;
}

void TakeOver(int, bool, const FileStatus&) {
    // A new file gets the folder's inherited permissions, as any file made there.
}

bool Replace(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

void Remove(const std::string& path) {
    ::_wunlink(Wide(path).c_str());
}

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    ::localtime_s(&tm, &t);
    return tm;
}

std::string EnvironmentVariable(const char* name) {
    const wchar_t* value = ::_wgetenv(Wide(name).c_str());
    return value ? Narrow(value) : "";
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::string ExecutablePath() {
    // The buffer grows while the name is cut short, up to the longest path Windows has.
    for (std::wstring path(MAX_PATH, L'\0'); path.size() <= 65536; path.resize(path.size() * 2)) {
        const DWORD size =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0)
            return "";
        if (size < path.size()) {
            path.resize(size);
            return Narrow(path.c_str());
        }
    }
    return "";
}

} // namespace meshforge::platform
