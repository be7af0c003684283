#pragma once
#include <cstddef>

namespace meshforge {

// Asks the system to back the whole pages inside [data, data + bytes) with huge pages when
// they are first written. Filling hundreds of megabytes page by page costs one fault per
// 4 KiB, which on a virtual machine can take longer than the filling itself. Only advice:
// where huge pages are not available, nothing changes.
void AdviseHugePages(const void* data, std::size_t bytes);

} // namespace meshforge
