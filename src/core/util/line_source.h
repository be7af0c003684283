#pragma once
// Lines of a text in memory, or of a file read a chunk at a time, so that a reader of a large
// file holds only the line it is looking at and a chunk around it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace meshforge {

class LineSource {
  public:
    static constexpr std::size_t kDefaultChunk = 1 << 18;

    // The lines of `text`, which must outlive the source.
    explicit LineSource(std::string_view text);
    // The lines of the file at `path` from byte `start` on (a line start), read `chunkBytes`
    // at a time (at least 1). Throws FileError when the file cannot be opened. (A named
    // function, so that a path is never taken for a text.)
    static LineSource File(const std::string& path, std::size_t chunkBytes = kDefaultChunk,
                           uint64_t start = 0) {
        return LineSource(path, chunkBytes, start);
    }
    ~LineSource();
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // The next line without its break, split as SplitLines splits: at CR LF, LF or CR, with no
    // empty line after a final break. The view is valid until the next call. False at the
    // end; throws FileError when the file cannot be read.
    bool Next(std::string_view& line) {
        for (;;) {
            const char* p = data_ + begin_;
            const std::size_t rest = end_ - begin_;
            const std::size_t len = FindBreak(p, scanned_, rest);
            if (len < rest) {
                const bool cr = p[len] == '\r';
                if (cr && len + 1 == rest && !eof_) {
                    scanned_ = len; // an LF may follow in the next chunk
                    Refill();
                    continue;
                }
                line = {p, len};
                begin_ += len + (cr && len + 1 < rest && p[len + 1] == '\n' ? 2 : 1);
                scanned_ = 0;
                return true;
            }
            if (eof_) {
                if (rest == 0)
                    return false;
                line = {p, rest};
                begin_ = end_;
                scanned_ = 0;
                return true;
            }
            scanned_ = len;
            Refill();
        }
    }

    // The number of lines Next would give, counted without splitting them; a file is read
    // `chunkBytes` at a time. Throws FileError as File and Next do.
    static uint64_t CountTextLines(std::string_view text);
    static uint64_t CountFileLines(const std::string& path, std::size_t chunkBytes = kDefaultChunk);

    // Bytes consumed so far (the offset of the next line), and the size of the text or of the file
    // when it was opened.
    uint64_t Position() const { return base_ + begin_; }
    uint64_t Size() const { return size_; }

  private:
    LineSource(const std::string& path, std::size_t chunkBytes, uint64_t start);

    // The first CR or LF in p[from, rest), or rest. Lines are short, so a plain loop with
    // one comparison for the common case beats wider scans: every line-break byte is at
    // most '\r'.
    static std::size_t FindBreak(const char* p, std::size_t from, std::size_t rest) {
        std::size_t at = from;
        for (;; ++at) {
            while (at<rest&& static_cast<unsigned char>(p[at])> '\r')
                ++at;
            if (at >= rest || p[at] == '\n' || p[at] == '\r')
                return at;
        }
    }

    void Refill();

    const char* data_ = nullptr;
    std::size_t begin_ = 0, end_ = 0; // the unread bytes are data_[begin_, end_)
    std::size_t scanned_ = 0;         // bytes after begin_ known to hold no line break
    uint64_t base_ = 0;               // file offset of data_[0]
    uint64_t size_ = 0;
    bool eof_ = true;
    int fd_ = -1;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0, chunk_ = 0;
};

} // namespace meshforge
