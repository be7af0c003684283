#include "util/atomic_file.h"

#include "temp_dir.h"
#include "util/errors.h"
#include "util/line_source.h"
#include "util/platform_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace meshforge;
using meshforge::test::TempDir;
namespace fs = std::filesystem;

#ifdef _WIN32
// Windows has no owners and permission bits of this kind, and links need privileges there.
TEST(WriteFileAtomically, KeepsPermissionsAndWritesThroughLinks) {
    GTEST_SKIP() << "POSIX permission bits and symbolic links";
}
TEST(WriteFileAtomically, RefusesAFileTheUserMayNotWrite) {
    GTEST_SKIP() << "POSIX owners, permission bits and root";
}
#else
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

// 0 written, 1 refused with the message that names the file, 2 any other failure.
int TryWrite(const std::string& path) {
    try {
        WriteFileAtomically(path, "new");
        return 0;
    } catch (const FileError& e) {
        return std::string(e.what()) == "Cannot write file " + path + ": Permission denied" ? 1 : 2;
    }
}

// Runs `f` as the user "nobody" when the tests run as root (root passes every permission
// check), else as the current user. The answer is f's, or -1 when it could not run.
int AsUnprivileged(const passwd& nobody, const std::function<int()>& f) {
    if (::geteuid() != 0)
        return f();
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(nobody.pw_gid) != 0 || ::setuid(nobody.pw_uid) != 0)
            ::_exit(100);
        ::_exit(f());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 100 ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(WriteFileAtomically, KeepsPermissionsAndWritesThroughLinks) {
    TempDir dir;
    // A private file stays private.
    std::string secret = dir.Touch("secret.txt", "old");
    fs::permissions(secret, fs::perms(0600));
    WriteFileAtomically(secret, "new");
    EXPECT_EQ(ReadWholeFile(secret), "new");
    EXPECT_EQ(ModeOf(secret), 0600u);

    // A chain of links, relative and absolute, across folders: the file at its end changes,
    // the links stay links and no temporary file is left in any folder.
    std::string target = dir.Touch("data/model.3dp", "old");
    fs::create_directory(dir / "links");
    fs::create_symlink("../data/model.3dp", dir / "links/first");
    fs::create_symlink(dir / "links/first", dir / "second");
    WriteFileAtomically(dir / "second", "new");
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "second"));
    EXPECT_TRUE(fs::is_symlink(dir / "links/first"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "data"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "links"), fs::directory_iterator()), 1);

    // A dangling link creates the file it names.
    fs::create_symlink("data/later.3dp", dir / "dangling");
    WriteFileAtomically(dir / "dangling", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadWholeFile(dir / "data/later.3dp"), "new");

    // A loop of links is a write failure, not a hang.
    fs::create_symlink(dir / "loop2", dir / "loop1");
    fs::create_symlink(dir / "loop1", dir / "loop2");
    EXPECT_THROW(WriteFileAtomically(dir / "loop1", "new"), FileError);
}

TEST(WriteFileAtomically, RefusesAFileTheUserMayNotWrite) {
    const passwd* found = ::getpwnam("nobody");
    if (::geteuid() == 0 && !found)
        GTEST_SKIP() << "no user nobody to test as";
    const passwd nobody = found ? *found : passwd{};
    TempDir dir;
    // Everybody may create and rename files here, so only the file's own permissions count.
    fs::permissions(dir.path, fs::perms(0777));
    auto owned = [&](const std::string& name, mode_t mode, bool byNobody) {
        std::string path = dir.Touch(name, "old");
        if (byNobody && ::geteuid() == 0 && ::chown(path.c_str(), nobody.pw_uid, nobody.pw_gid))
            ADD_FAILURE() << "chown " << path;
        fs::permissions(path, fs::perms(mode));
        return path;
    };
    struct Case {
        const char* name;
        mode_t mode;
        bool byNobody; // when running as root; otherwise every file is the current user's
        int expected;
    } cases[] = {
        {"read-only.3dp", 0444, true, 1},
        {"others.3dp", 0644, false, ::geteuid() == 0 ? 1 : 0},
        {"writable.3dp", 0640, true, 0},
    };
    for (const Case& c : cases) {
        std::string path = owned(c.name, c.mode, c.byNobody);
        EXPECT_EQ(AsUnprivileged(nobody, [&] { return TryWrite(path); }), c.expected) << c.name;
        EXPECT_EQ(ReadWholeFile(path), c.expected == 0 ? "new" : "old") << c.name;
        EXPECT_EQ(ModeOf(path), c.mode) << c.name;
    }
    // Root saving somebody's file leaves it theirs.
    if (::geteuid() == 0) {
        WriteFileAtomically(dir / "writable.3dp", "again");
        struct stat st {};
        ::stat((dir / "writable.3dp").c_str(), &st);
        EXPECT_EQ(st.st_uid, nobody.pw_uid);
    }
    // Root may write anything, but a file without any write bit is still left alone.
    std::string kept = owned("kept.3dp", 0444, false);
    EXPECT_EQ(TryWrite(kept), 1);
    EXPECT_EQ(ReadWholeFile(kept), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 4);
}
#endif

TEST(AtomicFileWriter, PutsThePiecesInPlaceOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    WriteFileAtomically(path, "old");
    // Pieces smaller and larger than the buffer, so that both the buffer and the direct write
    // are used and their order kept.
    std::string expected;
    {
        AtomicFileWriter out(path);
        for (std::size_t size :
             {std::size_t{1}, std::size_t{1000}, AtomicFileWriter::kBufferBytes * 2, std::size_t{7},
              AtomicFileWriter::kBufferBytes - 3}) {
            const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
            out += piece;
            out += '\n';
            expected += piece + '\n';
        }
        EXPECT_EQ(ReadWholeFile(path), "old"); // nothing visible before the commit
        out.Commit();
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    // A writer given up half-way (an exception while the text was produced) leaves the file
    // as it was and no temporary file beside it.
    try {
        AtomicFileWriter out(path);
        out += std::string(AtomicFileWriter::kBufferBytes + 5, 'x');
        throw std::runtime_error("given up");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(WriteFileAtomically, ReplacesAFileWithAUtf8NameByteForByte) {
    // Windows takes the name as UTF-16 and would refuse a rename over the old file; the text
    // keeps its CR LF (no text mode anywhere).
    TempDir dir;
    const std::string name = "Str\xC3\xB6m \xE2\x82\xAC.3dp";
    const std::string path = dir.Folder() + name;
    WriteFileAtomically(path, "old");
    WriteFileAtomically(path, "a\r\nb\n");
    EXPECT_EQ(ReadWholeFile(path), "a\r\nb\n");
    auto lines = LineSource::File(path);
    std::string_view line;
    ASSERT_TRUE(lines.Next(line));
    EXPECT_EQ(line, "a");
    EXPECT_EQ(lines.Size(), 5u);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path))
        names.push_back(platform::Utf8FromPath(entry.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{name});
    // A path an older program wrote into a file (Latin-1 bytes, not UTF-8) still names one.
    const std::string legacy = dir.Folder() + "M\xFChle.bmp";
    EXPECT_EQ(platform::PathFromUtf8(legacy), fs::path(legacy));
}
