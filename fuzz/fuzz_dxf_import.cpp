// The DXF scan and every importer on one input, into an empty Project and into one with data.
#include "fuzz_ui.h"
#include "io/dxf_import.h"
#include "model/project.h"

#include <cstdint>
#include <exception>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FuzzUi ui;
    std::mt19937 rng(1);
    meshforge::ScanDxfText("fuzz.dxf", text, ui);
    for (auto kind : {meshforge::DxfKind::Point, meshforge::DxfKind::Vertex,
                      meshforge::DxfKind::Line, meshforge::DxfKind::Face})
        for (bool withData : {false, true}) {
            meshforge::Project p;
            if (withData) {
                p.Vertices = {{0, 0, 0}, {1, 1, 1}};
                p.HasGeometry = true;
            }
            try {
                meshforge::ImportDxfText(p, "fuzz.dxf", text, kind, ui, rng);
            } catch (const std::exception&) {
            }
        }
    return 0;
}
