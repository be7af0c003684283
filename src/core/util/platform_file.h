#pragma once
// The few file calls that differ between POSIX and Windows, on descriptors, with UTF-8 paths.
// platform_file_posix.cpp or platform_file_windows.cpp is built, as CMake chooses. Failures
// return -1 (or false) with errno set.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

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

// The variable's value as UTF-8 text, "" when it is unset.
std::string EnvironmentVariable(const char* name);
// The program's arguments as UTF-8 text: argv itself on POSIX; on Windows (where argv is in the
// ANSI code page) the wide command line's, argv when that cannot be had.
std::vector<std::string> Utf8Arguments(int argc, char** argv);
// The running executable's full path, "" when the system does not tell.
std::string ExecutablePath();

// A path of the program's UTF-8 text, on Windows too (where a narrow path is the ANSI code
// page's), and back. On Windows a text that is not UTF-8 (a path an older program wrote into a
// file) is taken as the code page's, as it was meant.
std::filesystem::path PathFromUtf8(const std::string& path);
inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace meshforge::platform
