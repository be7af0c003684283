#include "app/system_info.h"

#include <gtest/gtest.h>

using namespace meshforge;

namespace {

SystemInfo Sample() {
    SystemInfo s;
    s.Platform = PlatformName(1);
    s.MajorVersion = 4;
    s.MinorVersion = 10;
    s.Processor = ProcessorName(586);
    s.TotalPhysicalBytes = 268435456;
    s.MemoryLoadPercent = 37;
    s.ViewWidth = 640;
    s.ViewHeight = 480;
    s.GlRenderer = "R";
    s.GlVendor = "V";
    s.GlVersion = "2.1";
    s.GlExtensions = "GL_A GL_B";
    s.OpenGl = {"libGL", "1.7.0", "OpenGL", "GLCo", "(c) GL"};
    s.Glu = {"libGLU", "1.3.1", "GLU 1.3", "GLUCo", "(c) GLU"};
    return s;
}

} // namespace

TEST(SystemInfoTables, PlatformsAndProcessors) {
    EXPECT_EQ(PlatformName(0), "Win32");
    EXPECT_EQ(PlatformName(1), "Windows 95/98");
    EXPECT_EQ(PlatformName(2), "Windows NT");
    EXPECT_EQ(PlatformName(3), "3");
    EXPECT_EQ(ProcessorName(386), "80386");
    EXPECT_EQ(ProcessorName(486), "80486");
    EXPECT_EQ(ProcessorName(586), "Pentium or higher");
    EXPECT_EQ(ProcessorName(8664), "Unknown Processor8664"); // no blank before the number
    EXPECT_EQ(ProcessorName(0), "Unknown Processor0");
}

TEST(SystemInfoLines, DocumentedVersionAndMemoryLines) {
    SystemInfo s = Sample();
    auto lines = SystemInfoLines(s);
    EXPECT_EQ(lines[1], "Windows 95/98, Version 4.10");
    EXPECT_EQ(lines[7], "262,144 KB, of which 37% are currently used");

    s.Platform = PlatformName(2);
    s.MajorVersion = 5;
    s.MinorVersion = 0;
    EXPECT_EQ(SystemInfoLines(s)[1], "Windows NT, Version 5.00");
    s.MinorVersion = 1;
    EXPECT_EQ(SystemInfoLines(s)[1], "Windows NT, Version 5.01");
    s.MinorVersion = 123; // more than two digits are all shown
    EXPECT_EQ(SystemInfoLines(s)[1], "Windows NT, Version 5.123");
}

TEST(SystemInfoLines, MemoryIsGroupedAndRoundedToKilobytes) {
    EXPECT_EQ(FormatThousands(0), "");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(123456789), "123,456,789");
    EXPECT_EQ(FormatThousands(18446744073709551615ull), "18,446,744,073,709,551,615");

    SystemInfo s = Sample();
    s.MemoryLoadPercent = 100;
    s.TotalPhysicalBytes = 16ull * 1024 * 1024 * 1024 + 511;
    EXPECT_EQ(SystemInfoLines(s)[7], "16,777,216 KB, of which 100% are currently used");
    s.TotalPhysicalBytes = 1536;
    EXPECT_EQ(SystemInfoLines(s)[7], "2 KB, of which 100% are currently used");
    s.TotalPhysicalBytes = 0; // unreadable: no digits at all
    s.MemoryLoadPercent = 0;
    EXPECT_EQ(SystemInfoLines(s)[7], " KB, of which 0% are currently used");
}

TEST(SystemInfoLines, WholeBlockInOrder) {
    const std::vector<std::string> expected = {
        "Operating System:",
        "Windows 95/98, Version 4.10",
        "",
        "Processor:",
        "Pentium or higher",
        "",
        "RAM:",
        "262,144 KB, of which 37% are currently used",
        "",
        "Current Dimensions of View Window:",
        "640/480",
        "",
        "Renderer:",
        "R",
        "",
        "Vendor:",
        "V",
        "",
        "Version:",
        "2.1",
        "",
        "OpenGL Version:",
        "Filename = libGL.so",
        "FileVersion = 1.7.0",
        "ProductName = OpenGL",
        "CompanyName = GLCo",
        "LegalCopyright = (c) GL",
        "",
        "Supported OpenGL Extensions:",
        "GL_A GL_B",
        "",
        "OpenGL Utilities Version:",
        "Filename = libGLU.so",
        "FileVersion = 1.3.1",
        "ProductName = GLU 1.3",
        "CompanyName = GLUCo",
        "LegalCopyright = (c) GLU",
    };
    EXPECT_EQ(SystemInfoLines(Sample()), expected);
}

TEST(SystemInfoLines, UnreadableValuesAreEmptyButLinesStay) {
    auto lines = SystemInfoLines(SystemInfo{});
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[1], ", Version 0.00");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[10], "0/0");
    EXPECT_EQ(lines[22], "Filename = ");
    EXPECT_EQ(lines[23], "FileVersion = ");
    EXPECT_EQ(lines[36], "LegalCopyright = ");
    EXPECT_EQ(lines[31], "OpenGL Utilities Version:");
}

TEST(FeedbackMailUrl, SubjectIsEncoded) {
    EXPECT_EQ(FeedbackMailUrl(),
              "mailto:" + std::string(kContactMail) + "?subject=About%20Meshforge%20v1.25");
    EXPECT_EQ(FeedbackMailUrl("a@b.c"), "mailto:a@b.c?subject=About%20Meshforge%20v1.25");
}

TEST(ParseMemInfo, TotalAndLoad) {
    const char* text = "MemTotal:        1000 kB\n"
                       "MemFree:          100 kB\n"
                       "MemAvailable:     625 kB\n"
                       "Buffers:           10 kB\n";
    MemoryStatus m = ParseMemInfo(text);
    EXPECT_EQ(m.TotalBytes, 1024000u);
    EXPECT_EQ(m.LoadPercent, 38); // 37.5 rounds up

    // Older kernels have no MemAvailable.
    m = ParseMemInfo("MemFree: 250 kB\nMemTotal: 1000 kB\n");
    EXPECT_EQ(m.TotalBytes, 1024000u);
    EXPECT_EQ(m.LoadPercent, 75);

    m = ParseMemInfo("MemTotal: x kB\nMemAvailable: 5 kB\n");
    EXPECT_EQ(m.TotalBytes, 0u);
    EXPECT_EQ(m.LoadPercent, 0);
    m = ParseMemInfo("");
    EXPECT_EQ(m.TotalBytes, 0u);

    m = ParseMemInfo("MemTotal: 1000 kB\n"); // load unknown
    EXPECT_EQ(m.TotalBytes, 1024000u);
    EXPECT_EQ(m.LoadPercent, 0);
}

TEST(CpuModelFromCpuInfo, FirstModelEntry) {
    EXPECT_EQ(CpuModelFromCpuInfo("processor\t: 0\nvendor_id\t: GenuineIntel\n"
                                  "model name\t: Intel(R) Core(TM) i5 CPU @ 2.40GHz \n"
                                  "processor\t: 1\nmodel name\t: Other\n"),
              "Intel(R) Core(TM) i5 CPU @ 2.40GHz");
    EXPECT_EQ(CpuModelFromCpuInfo("processor : 0\nProcessor : ARMv7 Processor rev 4 (v7l)\n"),
              "ARMv7 Processor rev 4 (v7l)");
    EXPECT_EQ(CpuModelFromCpuInfo("processor : 0\nBogoMIPS : 48.00\n"), "");
}

TEST(ParseVersionPair, KernelReleases) {
    auto check = [](std::string_view text, unsigned major, unsigned minor) {
        VersionPair v = ParseVersionPair(text);
        EXPECT_EQ(v.Major, major) << text;
        EXPECT_EQ(v.Minor, minor) << text;
    };
    check("6.1.0-18-amd64", 6, 1);
    check("5.15", 5, 15);
    check("4", 4, 0);
    check("3.x", 3, 0);
    check("", 0, 0);
    check("linux", 0, 0);
}

TEST(LibraryVersionFromFiles, NameFromLoadedFileVersionFromRealFile) {
    LibraryVersion gl = LibraryVersionFromFiles("/lib/x86_64-linux-gnu/libGL.so.1",
                                                "/usr/lib/x86_64-linux-gnu/libGL.so.1.7.0");
    EXPECT_EQ(gl.OriginalFilename, "libGL");
    EXPECT_EQ(gl.FileVersion, "1.7.0");
    EXPECT_EQ(gl.ProductName, "");

    LibraryVersion noSuffix = LibraryVersionFromFiles("/usr/lib/libGLU.so.1", "/usr/lib/libGLU.so");
    EXPECT_EQ(noSuffix.OriginalFilename, "libGLU");
    EXPECT_EQ(noSuffix.FileVersion, "1");

    // ".so" inside a name is not the extension.
    LibraryVersion odd = LibraryVersionFromFiles("libsoda.sox.so.2", "libsoda.sox.so.2.0");
    EXPECT_EQ(odd.OriginalFilename, "libsoda.sox");
    EXPECT_EQ(odd.FileVersion, "2.0");

    LibraryVersion none = LibraryVersionFromFiles("", "");
    EXPECT_EQ(none.OriginalFilename, "");
    EXPECT_EQ(none.FileVersion, "");
}
