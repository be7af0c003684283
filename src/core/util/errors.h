#pragma once
#include <stdexcept>
#include <string>

namespace meshforge {

// A text that is not the number, colour or value the reader expected.
struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read or written.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace meshforge
