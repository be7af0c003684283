// The DXF scan and every importer on one input, into an empty Project and into one with data;
// each import is also run on the input as a file read in small chunks, which must give the
// same Project and messages.
#include "fuzz_ui.h"
#include "invariants.h"
#include "io/dxf_import.h"
#include "model/project.h"
#include "util/line_source.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct RecordingUi : FuzzUi {
    std::vector<std::string> said;
    void Log(std::string_view text) override { said.emplace_back(text); }
    void Message(std::string_view text) override { said.emplace_back(text); }
};

bool Same(const meshforge::Project& a, const meshforge::Project& b) {
    if (a.Vertices.size() != b.Vertices.size() || a.Lines.size() != b.Lines.size() ||
        a.Polygons.size() != b.Polygons.size())
        return false;
    for (std::size_t i = 0; i < a.Vertices.size(); ++i)
        if (std::bit_cast<uint32_t>(a.Vertices[i].X) != std::bit_cast<uint32_t>(b.Vertices[i].X) ||
            std::bit_cast<uint32_t>(a.Vertices[i].Y) != std::bit_cast<uint32_t>(b.Vertices[i].Y) ||
            std::bit_cast<uint32_t>(a.Vertices[i].Z) != std::bit_cast<uint32_t>(b.Vertices[i].Z))
            return false;
    for (std::size_t i = 0; i < a.Lines.size(); ++i)
        if (a.Lines[i].VertexIndices != b.Lines[i].VertexIndices)
            return false;
    for (std::size_t i = 0; i < a.Polygons.size(); ++i)
        if (a.Polygons[i].VertexIndices != b.Polygons[i].VertexIndices)
            return false;
    return true;
}

const std::string& InputFile() {
    static const std::string path = "/tmp/meshforge-fuzz-" + std::to_string(::getpid()) + ".dxf";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RecordingUi ui;
    meshforge::ScanDxfText("fuzz.dxf", text, ui);
    std::FILE* f = std::fopen(InputFile().c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    for (auto kind : {meshforge::DxfKind::Point, meshforge::DxfKind::Vertex,
                      meshforge::DxfKind::Line, meshforge::DxfKind::Face})
        for (bool withData : {false, true}) {
            meshforge::Project p;
            if (withData) {
                p.Vertices = {{0, 0, 0}, {1, 1, 1}};
                p.HasGeometry = true;
            }
            meshforge::Project q = p;
            RecordingUi textUi, fileUi;
            std::mt19937 r1(1), r2(1);
            // Tiny chunks cost a read each, so only two of the eight imports take that path.
            const bool chunked = (kind == meshforge::DxfKind::Face && !withData) ||
                                 (kind == meshforge::DxfKind::Line && withData);
            try {
                meshforge::ImportDxfText(p, "fuzz.dxf", text, kind, textUi, r1);
                if (chunked) {
                    auto lines = meshforge::LineSource::File(InputFile(), 1 + size % 7);
                    meshforge::ImportDxfLines(q, "fuzz.dxf", lines, kind, fileUi, r2);
                }
            } catch (const std::exception&) {
                std::abort(); // the importers report every failure through the Ui
            }
            fuzz::CheckInvariants(p);
            if (chunked && (!Same(p, q) || textUi.said != fileUi.said))
                std::abort();
        }
    return 0;
}
