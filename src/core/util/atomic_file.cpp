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

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : TextSink(kBufferBytes), path_(path), target_(Destination(path)) {
    struct stat old {};
    replacing_ = ::stat(target_.c_str(), &old) == 0;
    if (replacing_) {
        if (int refusal = WriteRefusal(target_, old))
            throw FileError("Cannot write file " + path + ": " + SystemReason(refusal));
        oldMode_ = old.st_mode & 0777;
        oldUid_ = old.st_uid;
        oldGid_ = old.st_gid;
    }
    temp_ = target_ + ".tmp-XXXXXX";
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0)
        throw FileError("Cannot create file " + path + ": " + SystemReason());
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void AtomicFileWriter::Fail(const std::string& what, int error) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
    throw FileError(what + " " + path_ + ": " + SystemReason(error));
}

void AtomicFileWriter::Drain(std::string_view bytes) {
    if (fd_ < 0)
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(EBADF));
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("Cannot write file", errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicFileWriter::Commit() {
    Flush();
    if (fd_ < 0)
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(EBADF));
    // The new file takes the place of the old one with its owner (where the system allows it)
    // and its permissions; mkstemp creates 0600, and a new file is as readable as any other.
    if (replacing_ && (oldUid_ != ::geteuid() || oldGid_ != ::getegid()) &&
        ::fchown(fd_, oldUid_, oldGid_) != 0) {
        // an unprivileged writer keeps its own ownership
    }
    ::fchmod(fd_, replacing_ ? oldMode_ : 0644);
    if (::fsync(fd_) != 0)
        Fail("Cannot write file", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(error));
    }
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        throw FileError("Cannot replace file " + path_ + ": " + SystemReason(error));
    }
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    AtomicFileWriter out(path);
    out += content;
    out.Commit();
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
