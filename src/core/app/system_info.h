#pragma once
// The system information block of the About box, for users who send a problem report.
// Gathering the values is the GUI's part; the text of the block and the parsers of the
// system's own files live here so that they can be checked without a display.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

// The program's web page (About box, Online Help) and the address for feedback.
inline constexpr std::string_view kWebsiteUrl = "https://meshforge.example.org/";
inline constexpr std::string_view kContactMail = "feedback@meshforge.example.org";

// The loaded OpenGL libraries are shared objects: the file name line shows the library's
// name with this extension, the way the version data of a Windows DLL is shown with ".dll".
inline constexpr std::string_view kLibraryExtension = ".so";

// Version data of a library file. OriginalFilename is the name without extension and
// version ("libGL"); an entry that could not be read stays empty.
struct LibraryVersion {
    std::string OriginalFilename, FileVersion, ProductName, CompanyName, LegalCopyright;
};

struct SystemInfo {
    std::string Platform; // the operating system's name
    unsigned MajorVersion = 0, MinorVersion = 0;
    std::string Processor;
    std::uint64_t TotalPhysicalBytes = 0;
    int MemoryLoadPercent = 0;
    int ViewWidth = 0, ViewHeight = 0; // client size of the 3D view in pixels
    std::string GlRenderer, GlVendor, GlVersion, GlExtensions;
    LibraryVersion OpenGl, Glu;
};

// The platform table: 0 "Win32", 1 "Windows 95/98", 2 "Windows NT", any other identifier as
// its decimal number.
std::string PlatformName(std::uint32_t platformId);

// The processor table: 386 "80386", 486 "80486", 586 "Pentium or higher", otherwise
// "Unknown Processor" directly followed by the number.
std::string ProcessorName(std::uint32_t processorType);

// A count with "," between groups of three digits; the pattern has no mandatory digit, so 0
// gives an empty text ("#,###").
std::string FormatThousands(std::uint64_t value);

// The block the About box appends on every showing, one entry per line ("" = empty line).
std::vector<std::string> SystemInfoLines(const SystemInfo& info);

// "mailto:" + address with the subject "About <program> <version>" filled in, percent-encoded
// so that mail programs and URL parsers take the blanks as part of the subject.
std::string FeedbackMailUrl(std::string_view address = kContactMail);

// --- Readers of Linux system files (pure text in, values out) ---

struct MemoryStatus {
    std::uint64_t TotalBytes = 0;
    int LoadPercent = 0; // memory that is not available to new programs, rounded
};

// From the text of /proc/meminfo: MemTotal and MemAvailable (MemFree on kernels that lack
// it). Missing or unreadable entries give zeros.
MemoryStatus ParseMemInfo(std::string_view meminfo);

// The processor's model from the text of /proc/cpuinfo: the first "model name" entry, or the
// entries other architectures use for it; "" when there is none.
std::string CpuModelFromCpuInfo(std::string_view cpuinfo);

struct VersionPair {
    unsigned Major = 0, Minor = 0;
};

// The first two dot-separated numbers of a version text ("6.1.0-18-amd64" -> 6, 1); a part
// that is missing is 0.
VersionPair ParseVersionPair(std::string_view text);

// Name and version of a library from the name it was loaded by ("/lib/libGL.so.1") and the
// file that name resolves to ("/usr/lib/libGL.so.1.7.0"): OriginalFilename "libGL", FileVersion
// "1.7.0" (the loaded name's version when the real file has none). The other entries are left
// for the caller.
LibraryVersion LibraryVersionFromFiles(std::string_view loadedPath, std::string_view realPath);

} // namespace meshforge
