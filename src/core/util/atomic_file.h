#pragma once
#include <string>
#include <string_view>

namespace meshforge {

// Writes `content` to a temporary file beside `path`, flushes it and renames it over `path`,
// so a failed save leaves the previous file untouched. A symbolic link is written through: the
// file it leads to is replaced (or created, for a dangling link) and the link stays. A file the
// user may not write, or one without any write bit, is refused; a replaced file keeps its
// permissions. Throws FileError naming `path` on failure.
void WriteFileAtomically(const std::string& path, std::string_view content);

// Reads a whole file as bytes. Throws FileError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

} // namespace meshforge
