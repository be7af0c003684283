#include "fuzz_ui.h"
#include "invariants.h"
#include "model/project.h"
#include "model/project_file.h"
#include "same_as_reference.h"

#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    meshforge::Project p;
    p.Vertices = {{0, 0, 0}, {1, 1, 1}};
    p.Polygons.push_back({{1, 1, 1}, {0, 1, 0}, 999, {}});
    FuzzUi ui;
    try {
        meshforge::MergeProjectText(p, "fuzz.3dp", {reinterpret_cast<const char*>(data), size}, ui);
    } catch (const std::exception&) {
    }
    fuzz::CheckInvariants(p);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    meshforge::Project start;
    start.Vertices = {{0, 0, 0}, {1, 1, 1}};
    start.Polygons.push_back({{1, 1, 1}, {0, 1, 0}, 999, {}});
    fuzz::CheckSameAsReference(
        start, text,
        [text](const std::string& path) -> fuzz::Read {
            return [text, path](meshforge::Project& q, meshforge::ProjectFileUi& u) {
                return meshforge::reference::MergeProjectText(q, path, text, u);
            };
        },
        [size](const std::string& path) -> fuzz::Read {
            return [size, path](meshforge::Project& q, meshforge::ProjectFileUi& u) {
                return meshforge::MergeProject(q, path, u, 1 + size % 11);
            };
        });
    try {
        meshforge::SerializeProject(p, {}, ui);
    } catch (const std::exception&) {
    }
    return 0;
}
