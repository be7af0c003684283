#include "fuzz_ui.h"
#include "invariants.h"
#include "model/project.h"
#include "model/project_file.h"

#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    meshforge::Project p;
    p.ProjectFileName = "fuzz.3dp";
    FuzzUi ui;
    try {
        meshforge::ReadProjectText(p, {reinterpret_cast<const char*>(data), size}, ui);
    } catch (const std::exception&) {
    }
    fuzz::CheckInvariants(p);
    try {
        meshforge::SerializeProject(p, {}, ui);
    } catch (const std::exception&) {
    }
    return 0;
}
