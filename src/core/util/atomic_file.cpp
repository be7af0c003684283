#include "util/atomic_file.h"

#include "util/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meshforge {

namespace {
std::string SystemReason() {
    return std::strerror(errno);
}
} // namespace

void WriteFileAtomically(const std::string& path, std::string_view content) {
    std::string temp = path + ".tmp-XXXXXX";
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
    // mkstemp creates 0600; a saved project should be as readable as any other file.
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        std::string reason = SystemReason();
        ::unlink(temp.c_str());
        throw FileError("Cannot write file " + path + ": " + reason);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
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
