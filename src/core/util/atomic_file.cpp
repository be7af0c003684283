#include "util/atomic_file.h"

#include "util/errors.h"
#include "util/platform_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

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
    fs::path target = platform::PathFromUtf8(path);
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec)))
            return hops == 0 ? path : platform::Utf8FromPath(target);
        if (hops == kMaxLinkHops)
            throw FileError("Cannot write file " + path + ": " + SystemReason(ELOOP));
        fs::path link = fs::read_symlink(target, ec);
        if (ec)
            throw FileError("Cannot write file " + path + ": " + ec.message());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : TextSink(kBufferBytes), path_(path), target_(Destination(path)) {
    platform::FileStatus old;
    replacing_ = platform::Status(target_, old);
    if (replacing_) {
        if (int refusal = platform::WriteRefusal(target_, old))
            throw FileError("Cannot write file " + path + ": " + SystemReason(refusal));
        oldMode_ = old.Mode;
        oldUid_ = old.Uid;
        oldGid_ = old.Gid;
    }
    temp_ = target_ + ".tmp-XXXXXX";
    fd_ = platform::CreateUnique(temp_);
    if (fd_ < 0)
        throw FileError("Cannot create file " + path + ": " + SystemReason());
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        platform::Close(fd_);
        platform::Remove(temp_);
    }
}

void AtomicFileWriter::Fail(const std::string& what, int error) {
    if (fd_ >= 0)
        platform::Close(fd_);
    fd_ = -1;
    platform::Remove(temp_);
    throw FileError(what + " " + path_ + ": " + SystemReason(error));
}

void AtomicFileWriter::Drain(std::string_view bytes) {
    if (fd_ < 0)
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(EBADF));
    while (!bytes.empty()) {
        const long long n = platform::WriteSome(fd_, bytes.data(), bytes.size());
        if (n < 0)
            Fail("Cannot write file", errno);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicFileWriter::Commit() {
    Flush();
    if (fd_ < 0)
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(EBADF));
    platform::TakeOver(fd_, replacing_, {true, oldMode_, oldUid_, oldGid_});
    if (!platform::Sync(fd_))
        Fail("Cannot write file", errno);
    const int fd = fd_;
    fd_ = -1;
    if (platform::Close(fd) != 0) {
        const int error = errno;
        platform::Remove(temp_);
        throw FileError("Cannot write file " + path_ + ": " + SystemReason(error));
    }
    if (!platform::Replace(temp_, target_)) {
        const int error = errno;
        platform::Remove(temp_);
        throw FileError("Cannot replace file " + path_ + ": " + SystemReason(error));
    }
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    AtomicFileWriter out(path);
    out += content;
    out.Commit();
}

std::string ReadWholeFile(const std::string& path) {
    const int fd = platform::OpenForReading(path);
    if (fd < 0)
        throw FileError("Cannot open file " + path + ": " + SystemReason());
    std::string data;
    char buf[1 << 16];
    long long n;
    while ((n = platform::ReadSome(fd, buf, sizeof buf)) > 0)
        data.append(buf, static_cast<std::size_t>(n));
    platform::Close(fd);
    if (n < 0)
        throw FileError("Cannot read file " + path);
    return data;
}

} // namespace meshforge
