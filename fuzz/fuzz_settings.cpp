#include "settings/ini_file.h"
#include "settings/recent_files.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto ini = meshforge::IniFile::Parse({reinterpret_cast<const char*>(data), size});
    meshforge::RecentFiles recent;
    recent.Load(ini);
    recent.Store(ini);
    (void)ini.ReadInteger("General Options", "GridScale", 1);
    auto again = meshforge::IniFile::Parse(ini.Serialize());
    (void)again;
    return 0;
}
