#include "app/system_info.h"

#include "model/project.h"

#include <cctype>
#include <charconv>

namespace meshforge {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Calls f(key, value) for every "key : value" line, both trimmed.
template <class F> void ForEachEntry(std::string_view text, F f) {
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        std::size_t colon = line.find(':');
        if (colon != std::string_view::npos)
            f(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    }
}

// The leading decimal number of a text; false when it has none.
bool LeadingNumber(std::string_view s, std::uint64_t& out) {
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc{} && ptr != s.data();
}

std::string_view BaseName(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// "libGL.so.1.7.0" -> name "libGL", version "1.7.0"; a name without ".so" is all name.
void SplitSharedObjectName(std::string_view file, std::string_view& name,
                           std::string_view& version) {
    std::size_t so = file.find(".so");
    while (so != std::string_view::npos) {
        std::size_t after = so + 3;
        if (after == file.size() || file[after] == '.')
            break;
        so = file.find(".so", so + 1); // ".sox" is not the extension
    }
    if (so == std::string_view::npos) {
        name = file;
        version = {};
        return;
    }
    name = file.substr(0, so);
    version = so + 3 < file.size() ? file.substr(so + 4) : std::string_view{};
}

void AddLibrary(std::vector<std::string>& out, const LibraryVersion& lib) {
    // An unreadable name stays empty rather than showing a lone extension.
    out.push_back("Filename = " + lib.OriginalFilename +
                  (lib.OriginalFilename.empty() ? "" : std::string(kLibraryExtension)));
    out.push_back("FileVersion = " + lib.FileVersion);
    out.push_back("ProductName = " + lib.ProductName);
    out.push_back("CompanyName = " + lib.CompanyName);
    out.push_back("LegalCopyright = " + lib.LegalCopyright);
}

} // namespace

std::string PlatformName(std::uint32_t platformId) {
    switch (platformId) {
    case 0:
        return "Win32";
    case 1:
        return "Windows 95/98";
    case 2:
        return "Windows NT";
    default:
        return std::to_string(platformId);
    }
}

std::string ProcessorName(std::uint32_t processorType) {
    switch (processorType) {
    case 386:
        return "80386";
    case 486:
        return "80486";
    case 586:
        return "Pentium or higher";
    default:
        return "Unknown Processor" + std::to_string(processorType);
    }
}

std::string FormatThousands(std::uint64_t value) {
    if (value == 0)
        return {};
    std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::vector<std::string> SystemInfoLines(const SystemInfo& info) {
    std::vector<std::string> out;
    std::string minor = std::to_string(info.MinorVersion);
    if (minor.size() < 2)
        minor.insert(0, 2 - minor.size(), '0');
    out.push_back("Operating System:");
    out.push_back(info.Platform + ", Version " + std::to_string(info.MajorVersion) + "." + minor);
    out.push_back("");
    out.push_back("Processor:");
    out.push_back(info.Processor);
    out.push_back("");
    out.push_back("RAM:");
    // The size is a real number formatted without decimals, so it rounds to whole kilobytes.
    std::uint64_t kb = info.TotalPhysicalBytes / 1024 + (info.TotalPhysicalBytes % 1024 >= 512);
    out.push_back(FormatThousands(kb) + " KB, of which " + std::to_string(info.MemoryLoadPercent) +
                  "% are currently used");
    out.push_back("");
    out.push_back("Current Dimensions of View Window:");
    out.push_back(std::to_string(info.ViewWidth) + "/" + std::to_string(info.ViewHeight));
    out.push_back("");
    out.push_back("Renderer:");
    out.push_back(info.GlRenderer);
    out.push_back("");
    out.push_back("Vendor:");
    out.push_back(info.GlVendor);
    out.push_back("");
    out.push_back("Version:");
    out.push_back(info.GlVersion);
    out.push_back("");
    out.push_back("OpenGL Version:");
    AddLibrary(out, info.OpenGl);
    out.push_back("");
    out.push_back("Supported OpenGL Extensions:");
    out.push_back(info.GlExtensions);
    out.push_back("");
    out.push_back("OpenGL Utilities Version:");
    AddLibrary(out, info.Glu);
    return out;
}

std::string FeedbackMailUrl(std::string_view address) {
    std::string subject = std::string("About ") + kProgramName + " " + kProgramVersion;
    std::string encoded;
    for (unsigned char c : subject) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return "mailto:" + std::string(address) + "?subject=" + encoded;
}

MemoryStatus ParseMemInfo(std::string_view meminfo) {
    std::uint64_t totalKb = 0, availableKb = 0, freeKb = 0;
    bool haveTotal = false, haveAvailable = false, haveFree = false;
    ForEachEntry(meminfo, [&](std::string_view key, std::string_view value) {
        if (key == "MemTotal")
            haveTotal = LeadingNumber(value, totalKb);
        else if (key == "MemAvailable")
            haveAvailable = LeadingNumber(value, availableKb);
        else if (key == "MemFree")
            haveFree = LeadingNumber(value, freeKb);
    });
    MemoryStatus status;
    if (!haveTotal || totalKb == 0)
        return status;
    status.TotalBytes = totalKb * 1024;
    if (haveAvailable || haveFree) {
        std::uint64_t available = haveAvailable ? availableKb : freeKb;
        std::uint64_t used = available < totalKb ? totalKb - available : 0;
        status.LoadPercent = static_cast<int>((used * 100 + totalKb / 2) / totalKb);
    }
    return status;
}

std::string CpuModelFromCpuInfo(std::string_view cpuinfo) {
    // x86 and most ARM kernels say "model name", MIPS "cpu model", older ARM "Processor"
    // (capitalised; lower-case "processor" is the CPU's index).
    static constexpr std::string_view kKeys[] = {"model name", "cpu model", "Processor"};
    for (std::string_view wanted : kKeys) {
        std::string found;
        ForEachEntry(cpuinfo, [&](std::string_view key, std::string_view value) {
            if (found.empty() && key == wanted)
                found = std::string(value);
        });
        if (!found.empty())
            return found;
    }
    return {};
}

VersionPair ParseVersionPair(std::string_view text) {
    VersionPair v;
    text = Trim(text);
    std::uint64_t n = 0;
    auto take = [&](unsigned& part) {
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (ec != std::errc{} || ptr == text.data() || n > 0xFFFFFFFFu)
            return false;
        part = static_cast<unsigned>(n);
        text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
        return true;
    };
    if (take(v.Major) && !text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        take(v.Minor);
    }
    return v;
}

LibraryVersion LibraryVersionFromFiles(std::string_view loadedPath, std::string_view realPath) {
    std::string_view loadedName, loadedVersion, realName, realVersion;
    SplitSharedObjectName(BaseName(loadedPath), loadedName, loadedVersion);
    SplitSharedObjectName(BaseName(realPath), realName, realVersion);
    LibraryVersion lib;
    // The loaded name is the library's own (its soname); the real file may be named after the
    // driver package.
    lib.OriginalFilename = std::string(loadedName.empty() ? realName : loadedName);
    lib.FileVersion = std::string(realVersion.empty() ? loadedVersion : realVersion);
    return lib;
}

} // namespace meshforge
