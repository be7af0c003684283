#pragma once
// Where a writer's text goes: a string, or a file being written. Writers append piece by piece
// through a buffer of the sink's own, so a large file is never built whole in memory.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace meshforge {

class TextSink {
  public:
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;
    virtual ~TextSink() = default;

    TextSink& operator+=(std::string_view s) {
        append(s.data(), s.data() + s.size());
        return *this;
    }
    TextSink& operator+=(char c) {
        if (used_ == capacity_)
            Flush();
        buffer_[used_++] = c;
        return *this;
    }
    void append(const char* from, const char* to) {
        const std::size_t n = static_cast<std::size_t>(to - from);
        if (n > capacity_ - used_) {
            Flush();
            if (n >= capacity_) {
                Drain({from, n});
                return;
            }
        }
        std::memcpy(buffer_.get() + used_, from, n);
        used_ += n;
    }

  protected:
    explicit TextSink(std::size_t bufferBytes)
        : buffer_(std::make_unique_for_overwrite<char[]>(bufferBytes)), capacity_(bufferBytes) {}
    // Passes on what the buffer holds.
    void Flush() {
        if (used_ > 0) {
            const std::size_t n = used_;
            used_ = 0;
            Drain({buffer_.get(), n});
        }
    }
    // Takes bytes in the order they were appended.
    virtual void Drain(std::string_view bytes) = 0;

  private:
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

// Collects the text in a string.
class StringSink final : public TextSink {
  public:
    StringSink() : TextSink(1 << 14) {}
    std::string Take() {
        Flush();
        return std::move(text_);
    }

  private:
    void Drain(std::string_view bytes) override { text_.append(bytes); }
    std::string text_;
};

} // namespace meshforge
