#include "util/line_source.h"

#include "util/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meshforge {

LineSource::LineSource(std::string_view text)
    : data_(text.data()), end_(text.size()), size_(text.size()) {}

LineSource::LineSource(const std::string& path, std::size_t chunkBytes, uint64_t start)
    : eof_(false), path_(path), chunk_(std::max<std::size_t>(chunkBytes, 1)) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw FileError("Cannot open file " + path + ": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode))
        size_ = static_cast<uint64_t>(st.st_size);
    if (start > 0) {
        if (::lseek(fd_, static_cast<off_t>(start), SEEK_SET) < 0) {
            const int error = errno;
            ::close(fd_);
            throw FileError("Cannot read file " + path + ": " + std::strerror(error));
        }
        base_ = start;
    }
    capacity_ = chunk_;
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
    data_ = buffer_.get();
}

LineSource::~LineSource() {
    if (fd_ >= 0)
        ::close(fd_);
}

void LineSource::Refill() {
    // Keep the line begun so far at the front; a line longer than the buffer grows it.
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        base_ += begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {
        const std::size_t grown = capacity_ * 2;
        auto bigger = std::make_unique_for_overwrite<char[]>(grown);
        std::memcpy(bigger.get(), buffer_.get(), end_);
        buffer_ = std::move(bigger);
        capacity_ = grown;
    }
    data_ = buffer_.get();
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.get() + end_, std::min(chunk_, capacity_ - end_));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError("Cannot read file " + path_ + ": " + std::strerror(errno));
        if (n == 0)
            eof_ = true;
        end_ += static_cast<std::size_t>(n);
        return;
    }
}

} // namespace meshforge
