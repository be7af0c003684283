#pragma once
#include "util/text_sink.h"

#include <string>
#include <string_view>

namespace meshforge {

// Writes `content` to a temporary file beside `path`, flushes it and renames it over `path`,
// so a failed save leaves the previous file untouched. A symbolic link is written through: the
// file it leads to is replaced (or created, for a dangling link) and the link stays. A file the
// user may not write, or one without any write bit, is refused; a replaced file keeps its
// permissions. Throws FileError naming `path` on failure.
void WriteFileAtomically(const std::string& path, std::string_view content);

// The same, for text written piece by piece: it goes straight into the temporary file, a
// buffer at a time, and Commit puts the file in place. Without Commit (an exception on the
// way) the temporary file is removed and `path` stays as it was. Throws FileError as above.
class AtomicFileWriter final : public TextSink {
  public:
    static constexpr std::size_t kBufferBytes = 1 << 20;

    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter() override;
    void Commit();

  private:
    void Drain(std::string_view bytes) override;
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string path_, target_, temp_;
    int fd_ = -1;
    bool replacing_ = false;
    unsigned oldMode_ = 0, oldUid_ = 0, oldGid_ = 0;
};

// Reads a whole file as bytes. Throws FileError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

} // namespace meshforge
