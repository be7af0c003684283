// The mesh reader and import on one input: the first byte picks the format Assimp is told,
// the rest is the file. Whatever Assimp accepts is imported into an empty Project and into
// one with data, which must stay consistent.
#include "fuzz_ui.h"
#include "invariants.h"
#include "mesh/assimp_mesh.h"
#include "model/project.h"
#include "texture/image_files.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>

namespace {

// Every bitmap is a valid texture, so that the texture path is taken.
struct AnyImages : meshforge::ImageFiles {
    std::optional<meshforge::ImageSize> ReadSize(const std::string&) override {
        return meshforge::ImageSize{64, 64};
    }
    std::optional<meshforge::RgbImage> ReadRgb(const std::string&) override { return std::nullopt; }
    bool WriteMask(const std::string&, const meshforge::MaskImage&, std::string&) override {
        return false;
    }
    bool WriteRgb(const std::string&, const meshforge::RgbImage&, std::string&) override {
        return false;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kHints[] = {"obj", "stl", "ply", "gltf", "glb", "3ds", "off", "dae"};
    if (size < 1)
        return 0;
    const std::string hint = kHints[data[0] % (sizeof kHints / sizeof kHints[0])];
    meshforge::MeshData mesh;
    std::string error;
    if (!meshforge::ReadMeshMemory(data + 1, size - 1, hint, mesh, error))
        return 0;
    for (bool withData : {false, true}) {
        meshforge::Project p;
        if (withData) {
            p.Vertices = {{0, 0, 0}, {1, 1, 1}};
            p.HasGeometry = true;
        }
        FuzzUi ui;
        AnyImages images;
        std::mt19937 rng(1);
        meshforge::ColorTriple lineColor;
        try {
            meshforge::ImportMesh(p, "fuzz." + hint, mesh, ui, rng, images, lineColor);
        } catch (const std::exception&) {
            std::abort(); // the import reports every failure through the Ui
        }
        fuzz::CheckInvariants(p);
    }
    return 0;
}
