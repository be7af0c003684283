#include "util/line_source.h"

#include "util/errors.h"
#include "util/platform_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace meshforge {

LineSource::LineSource(std::string_view text)
    : data_(text.data()), end_(text.size()), size_(text.size()) {}

LineSource::LineSource(const std::string& path, std::size_t chunkBytes, uint64_t start)
    : eof_(false), path_(path), chunk_(std::max<std::size_t>(chunkBytes, 1)) {
    fd_ = platform::OpenForReading(path);
    if (fd_ < 0)
        throw FileError("Cannot open file " + path + ": " + std::strerror(errno));
    if (uint64_t size = 0; platform::FstatSize(fd_, size))
        size_ = size;
    if (start > 0) {
        if (!platform::SeekTo(fd_, start)) {
            const int error = errno;
            platform::Close(fd_);
            throw FileError("Cannot read file " + path + ": " + std::strerror(error));
        }
        base_ = start;
    }
    capacity_ = chunk_;
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
    data_ = buffer_.get();
}

namespace {

// Counts CR, LF and CR LF bytes eight at a time: a line ends at every LF and at every CR that
// no LF follows, and a last line may end without a break.
class LineCounter {
  public:
    void Add(const char* p, std::size_t n) {
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            if constexpr (std::endian::native == std::endian::big)
                w = ByteSwap(w);
            const uint64_t lf = Zero(w ^ 0x0A0A0A0A0A0A0A0Aull);
            const uint64_t cr = Zero(w ^ 0x0D0D0D0D0D0D0D0Dull);
            breaks_ += Marks(lf) + Marks(cr);
            pairs_ += Marks(cr & (lf >> 8)) + (lastCr_ && (lf & 0x80) ? 1 : 0);
            lastCr_ = (cr >> 63) != 0;
        }
        for (; i < n; ++i) {
            const char c = p[i];
            breaks_ += c == '\n' || c == '\r';
            pairs_ += lastCr_ && c == '\n';
            lastCr_ = c == '\r';
        }
        if (n > 0)
            openLine_ = p[n - 1] != '\n' && p[n - 1] != '\r';
    }
    uint64_t Lines() const { return breaks_ - pairs_ + (openLine_ ? 1 : 0); }

  private:
    // The high bit of every zero byte of x, and no other bit.
    static uint64_t Zero(uint64_t x) {
        constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
        return ~(((x & kLow7) + kLow7) | x | kLow7);
    }
    // The number of marks Zero set: at most one per byte, summed by one multiplication (a
    // popcount without the instruction is a library call).
    static uint64_t Marks(uint64_t highBits) {
        return ((highBits >> 7) * 0x0101010101010101ull) >> 56;
    }
    static uint64_t ByteSwap(uint64_t x) {
        uint64_t r = 0;
        for (int k = 0; k < 8; ++k)
            r = (r << 8) | ((x >> (8 * k)) & 0xFF);
        return r;
    }

    uint64_t breaks_ = 0, pairs_ = 0;
    bool lastCr_ = false, openLine_ = false;
};

} // namespace

uint64_t LineSource::CountTextLines(std::string_view text) {
    LineCounter counter;
    counter.Add(text.data(), text.size());
    return counter.Lines();
}

uint64_t LineSource::CountFileLines(const std::string& path, std::size_t chunkBytes) {
    LineSource file = File(path, chunkBytes);
    LineCounter counter;
    for (;;) {
        file.Refill();
        counter.Add(file.buffer_.get(), file.end_);
        if (file.eof_)
            return counter.Lines();
        file.end_ = 0; // counted: the buffer is free again
    }
}

LineSource::~LineSource() {
    if (fd_ >= 0)
        platform::Close(fd_);
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
    const long long n =
        platform::ReadSome(fd_, buffer_.get() + end_, std::min(chunk_, capacity_ - end_));
    if (n < 0)
        throw FileError("Cannot read file " + path_ + ": " + std::strerror(errno));
    if (n == 0)
        eof_ = true;
    end_ += static_cast<std::size_t>(n);
}

} // namespace meshforge
