#include "gui/app/system_probe.h"

#include <QSysInfo>
#include <QThread>

#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace meshforge::gui {

namespace {

std::string ReadTextFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The library file a function the program calls lives in, as loaded and after resolving links.
meshforge::LibraryVersion LoadedLibrary(const void* address) {
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return {};
    std::string real;
    if (char* resolved = realpath(info.dli_fname, nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    return meshforge::LibraryVersionFromFiles(info.dli_fname, real);
}

std::string Processor() {
    std::string model = meshforge::CpuModelFromCpuInfo(ReadTextFile("/proc/cpuinfo"));
    std::string detail = QSysInfo::currentCpuArchitecture().toStdString();
    if (int n = QThread::idealThreadCount(); n > 0)
        detail += (detail.empty() ? "" : ", ") + std::to_string(n) + " logical processors";
    if (model.empty())
        return detail;
    return detail.empty() ? model : model + " (" + detail + ")";
}

} // namespace

meshforge::SystemInfo GatherSystemInfo(const ViewProbe& view) {
    meshforge::SystemInfo s;
    // The distribution names the system; the kernel's numbers fill the version pattern
    // ("Debian GNU/Linux 12 (bookworm), Linux kernel, Version 6.01" for kernel 6.1).
    std::string kernel = QSysInfo::kernelType().toStdString();
    if (!kernel.empty())
        kernel[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(kernel[0])));
    std::string product = QSysInfo::prettyProductName().toStdString();
    s.Platform = product.empty()  ? kernel
                 : kernel.empty() ? product
                                  : product + ", " + kernel + " kernel";
    meshforge::VersionPair version =
        meshforge::ParseVersionPair(QSysInfo::kernelVersion().toStdString());
    s.MajorVersion = version.Major;
    s.MinorVersion = version.Minor;

    s.Processor = Processor();

    meshforge::MemoryStatus memory = meshforge::ParseMemInfo(ReadTextFile("/proc/meminfo"));
    s.TotalPhysicalBytes = memory.TotalBytes;
    s.MemoryLoadPercent = memory.LoadPercent;

    s.ViewWidth = view.Width;
    s.ViewHeight = view.Height;
    s.GlRenderer = view.Renderer;
    s.GlVendor = view.Vendor;
    s.GlVersion = view.Version;
    s.GlExtensions = view.Extensions;

    // ELF files carry no product, company or copyright entries; the product names say what the
    // library is, and GLU reports its own version without a context.
    s.OpenGl = LoadedLibrary(reinterpret_cast<const void*>(&glGetString));
    if (!s.OpenGl.OriginalFilename.empty())
        s.OpenGl.ProductName = "OpenGL";
    s.Glu = LoadedLibrary(reinterpret_cast<const void*>(&gluGetString));
    if (!s.Glu.OriginalFilename.empty()) {
        s.Glu.ProductName = "OpenGL Utility Library";
        if (const GLubyte* glu = gluGetString(GLU_VERSION))
            s.Glu.ProductName += " " + std::string(reinterpret_cast<const char*>(glu));
    }
    return s;
}

} // namespace meshforge::gui
