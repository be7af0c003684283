#include "util/atomic_file.h"

#include "util/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace meshforge {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40; // as the system's own path resolution

std::string SystemReason(int error = errno) {
    return std::strerror(error);
}

// The file a write to `path` changes: symbolic links are followed (a relative one from its
// own folder) to the first name that is not a link, which need not exist yet.
std::string Destination(const std::string& path) {
    fs::path target = path;
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec)))
            return target.string();
        if (hops == kMaxLinkHops)
            throw FileError("Cannot write file " + path + ": " + SystemReason(ELOOP));
        fs::path link = fs::read_symlink(target, ec);
        if (ec)
            throw FileError("Cannot write file " + path + ": " + ec.message());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

// 0 when the user may change the file, else the reason. Root passes every permission check,
// but a file with no write bit at all is one that somebody meant to keep as it is.
int WriteRefusal(const std::string& target, const struct stat& st) {
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return 0;
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = Destination(path);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing) {
        if (int refusal = WriteRefusal(target, old))
            throw FileError("Cannot write file " + path + ": " + SystemReason(refusal));
    }
    std::string temp = target + ".tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw FileError("Cannot create file " + path + ": " + SystemReason());
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::string reason = SystemReason();
            ::close(fd);
            ::unlink(temp.c_str());
            throw FileError("Cannot write file " + path + ": " + reason);
        }
        done += static_cast<std::size_t>(n);
    }
    // The new file takes the place of the old one with its owner (where the system allows it)
    // and its permissions; mkstemp creates 0600, and a new file is as readable as any other.
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // an unprivileged writer keeps its own ownership
    }
    ::fchmod(fd, replacing ? old.st_mode & 0777 : 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        std::string reason = SystemReason();
        ::unlink(temp.c_str());
        throw FileError("Cannot write file " + path + ": " + reason);
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::string reason = SystemReason();
        ::unlink(temp.c_str());
        throw FileError("Cannot replace file " + path + ": " + reason);
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw FileError("Cannot open file " + path + ": " + SystemReason());
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        throw FileError("Cannot read file " + path);
    return data;
}

} // namespace meshforge
