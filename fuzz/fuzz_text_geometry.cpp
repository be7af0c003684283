// The vertex text and 3DOText readers on one input, loading and adding.
#include "fuzz_ui.h"
#include "invariants.h"
#include "io/text_geometry.h"
#include "model/project.h"

#include <cstdint>
#include <exception>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FuzzUi ui;
    std::mt19937 rng(1);
    for (bool withData : {false, true}) {
        meshforge::Project a, b;
        if (withData) {
            a.Vertices = b.Vertices = {{0, 0, 0}, {1, 1, 1}};
            a.HasGeometry = b.HasGeometry = true;
        }
        try {
            meshforge::ReadVertexText(a, "fuzz.vtx", text, ui);
        } catch (const std::exception&) {
        }
        fuzz::CheckInvariants(a);
        try {
            meshforge::Read3DOText(b, "fuzz.txt", text, ui, rng);
        } catch (const std::exception&) {
        }
        fuzz::CheckInvariants(b);
        try {
            meshforge::ThreeDOTextOf(b);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
