#pragma once
// The few file calls that differ between POSIX and Windows, on descriptors, with UTF-8 paths.
// platform_file_posix.cpp or platform_file_windows.cpp is built, as CMake chooses. Failures
// return -1 (or false) with errno set.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace meshforge::platform {

struct FileStatus {
    bool Regular = false;
    unsigned Mode = 0; // permission bits
    unsigned Uid = 0, Gid = 0;
};

// Binary, not inherited by child processes.
int OpenForReading(const std::string& path);
// Creates a new file from `pathTemplate` ending in "XXXXXX", which is replaced by the name used.
int CreateUnique(std::string& pathTemplate);
bool Status(const std::string& path, FileStatus& status);
bool FstatSize(int fd, uint64_t& size); // false when not a regular file
bool SeekTo(int fd, uint64_t offset);
// Bytes read or written (retried after a signal), -1 on failure.
long long ReadSome(int fd, char* buffer, std::size_t bytes);
long long WriteSome(int fd, const char* bytes, std::size_t count);
int Close(int fd);
// The data on the disk before the file takes another's place.
bool Sync(int fd);
// 0 when the user may change the existing file, else the errno reason.
int WriteRefusal(const std::string& path, const FileStatus& status);
// The new file takes the old one's owner (where the system allows it) and permissions.
void TakeOver(int fd, bool replacing, const FileStatus& old);
// Puts `from` in the place of `to`, replacing it: a single step on both systems.
bool Replace(const std::string& from, const std::string& to);
void Remove(const std::string& path);
std::tm LocalTime(std::time_t t);

// A path of the program's UTF-8 text, on Windows too (where a narrow path is the ANSI code
// page's), and back.
inline std::filesystem::path PathFromUtf8(const std::string& path) {
    return std::u8string(path.begin(), path.end());
}
inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace meshforge::platform
