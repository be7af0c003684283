#include "fuzz_ui.h"
#include "invariants.h"
#include "model/project.h"
#include "model/project_file.h"
#include "same_as_reference.h"

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
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fuzz::CheckSameAsReference(
        {}, text,
        [text](const std::string&) -> fuzz::Read {
            return [text](meshforge::Project& q, meshforge::ProjectFileUi& u) {
                return meshforge::reference::ReadProjectText(q, text, u);
            };
        },
        [size](const std::string&) -> fuzz::Read {
            // small chunks, so that lines and CR LF pairs are split between them
            return [size](meshforge::Project& q, meshforge::ProjectFileUi& u) {
                return meshforge::ReadProject(q, u, 1 + size % 11);
            };
        });
    try {
        meshforge::SerializeProject(p, {}, ui);
    } catch (const std::exception&) {
    }
    return 0;
}
