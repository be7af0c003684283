#include "util/platform_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meshforge::platform {

std::filesystem::path PathFromUtf8(const std::string& path) {
    return std::u8string(path.begin(), path.end());
}

int OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int CreateUnique(std::string& pathTemplate) {
    return ::mkstemp(pathTemplate.data());
}

bool Status(const std::string& path, FileStatus& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    status = {S_ISREG(st.st_mode), static_cast<unsigned>(st.st_mode & 0777), st.st_uid, st.st_gid};
    return true;
}

bool FstatSize(int fd, uint64_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool SeekTo(int fd, uint64_t offset) {
    return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

long long ReadSome(int fd, char* buffer, std::size_t bytes) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, bytes);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

long long WriteSome(int fd, const char* bytes, std::size_t count) {
    for (;;) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

int Close(int fd) {
    return ::close(fd);
}

bool Sync(int fd) {
    return ::fsync(fd) == 0;
}

int WriteRefusal(const std::string& path, const FileStatus& status) {
    // Root passes every permission check, but a file with no write bit at all is one that
    // somebody meant to keep as it is.
    if ((status.Mode & 0222) == 0)
        return EACCES;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return 0;
}

void TakeOver(int fd, bool replacing, const FileStatus& old) {
    // mkstemp creates 0600; a new file is as readable as any other. An unprivileged writer
    // keeps its own ownership.
    if (replacing && (old.Uid != ::geteuid() || old.Gid != ::getegid()) &&
        ::fchown(fd, old.Uid, old.Gid) != 0) {
    }
    ::fchmod(fd, replacing ? old.Mode : 0644);
}

bool Replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void Remove(const std::string& path) {
    ::unlink(path.c_str());
}

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string ExecutablePath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? "" : Utf8FromPath(exe);
}

} // namespace meshforge::platform
