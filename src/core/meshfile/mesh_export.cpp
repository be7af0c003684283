#include "meshfile/mesh_export.h"

#include "io/export_file.h"
#include "model/project_file.h"
#include "ui/ui.h"
#include "util/text_sink.h"

#include <charconv>

namespace meshforge {

namespace {

// The shortest text that reads back as the same float.
void PutFloat(TextSink& out, float v) {
    char buffer[32];
    buffer[0] = ' ';
    out.append(buffer, std::to_chars(buffer + 1, buffer + sizeof buffer, v).ptr);
}

void PutInt(TextSink& out, int64_t v, char before = ' ') {
    char buffer[24];
    buffer[0] = before;
    out.append(buffer, std::to_chars(buffer + 1, buffer + sizeof buffer, v).ptr);
}

std::string MaterialName(int32_t texture) {
    return texture == kUntextured ? "untextured" : "texture" + std::to_string(texture);
}

bool Textured(const Project& project, const ObjectData& polygon) {
    return polygon.TextureIndex >= 0 &&
           static_cast<std::size_t>(polygon.TextureIndex) < project.Textures.size();
}

} // namespace

std::string MaterialFileFor(const std::string& objPath) {
    const std::size_t folder = FolderPart(objPath).size();
    const std::size_t dot = objPath.rfind('.');
    const std::size_t stem = dot != std::string::npos && dot > folder ? dot : objPath.size();
    return objPath.substr(0, stem) + ".mtl";
}

int64_t WriteMeshObj(const Project& project, std::string_view mtlName, TextSink& out) {
    out += "# " + project.ProjectName + "\nmtllib " + std::string(mtlName) + "\n";
    for (const Vertex& v : project.Vertices) {
        out += 'v';
        PutFloat(out, v.X);
        PutFloat(out, v.Y);
        PutFloat(out, v.Z);
        out += '\n';
    }
    const auto vertices = static_cast<int32_t>(project.Vertices.size());
    for (const ObjectData& line : project.Lines) {
        if (line.VertexIndices.size() < 2)
            continue;
        out += 'l';
        for (int32_t index : line.VertexIndices)
            PutInt(out, int64_t{index} + 1);
        out += '\n';
    }
    int64_t uvs = 0, written = 0;
    int32_t material = -1;
    for (const ObjectData& polygon : project.Polygons) {
        // The closing index repeats the first corner.
        const std::size_t corners =
            polygon.VertexIndices.empty() ? 0 : polygon.VertexIndices.size() - 1;
        if (corners < 3)
            continue;
        bool valid = true;
        for (std::size_t k = 0; k < corners; ++k)
            valid = valid && polygon.VertexIndices[k] >= 0 && polygon.VertexIndices[k] < vertices;
        if (!valid)
            continue;
        const bool textured = Textured(project, polygon);
        const int32_t wanted = textured ? polygon.TextureIndex : kUntextured;
        if (wanted != material) {
            material = wanted;
            out += "usemtl " + MaterialName(material) + "\n";
        }
        if (textured)
            for (std::size_t k = 0; k < corners; ++k) {
                const TexCoord tc =
                    k < polygon.TexCoords.size() ? polygon.TexCoords[k] : TexCoord{};
                out += "vt";
                PutFloat(out, tc.U);
                PutFloat(out, tc.V);
                out += '\n';
            }
        out += 'f';
        for (std::size_t k = 0; k < corners; ++k) {
            PutInt(out, int64_t{polygon.VertexIndices[k]} + 1);
            if (textured)
                PutInt(out, uvs + static_cast<int64_t>(k) + 1, '/');
        }
        if (textured)
            uvs += static_cast<int64_t>(corners);
        out += '\n';
        ++written;
    }
    return written;
}

std::string MeshObjText(const Project& project, std::string_view mtlName, int64_t* polygons) {
    StringSink out;
    const int64_t written = WriteMeshObj(project, mtlName, out);
    if (polygons)
        *polygons = written;
    return out.Take();
}

std::string MeshMtlText(const Project& project) {
    std::string out = "newmtl untextured\nKd 0.5 0.5 0.5\n";
    for (std::size_t i = 0; i < project.Textures.size(); ++i)
        out += "\nnewmtl " + MaterialName(static_cast<int32_t>(i)) + "\nKd 1 1 1\nmap_Kd " +
               project.Textures[i].Filename + "\n";
    return out;
}

bool ExportMeshObj(const Project& project, const std::string& path, Ui& ui) {
    const std::string mtl = MaterialFileFor(path);
    int64_t polygons = 0;
    if (!WriteExportFile(mtl, MeshMtlText(project), ui) ||
        !WriteExportFile(
            path, [&](TextSink& out) { polygons = WriteMeshObj(project, FileNamePart(mtl), out); },
            ui))
        return false;
    ui.Log(std::to_string(project.Vertices.size()) + " Vertices and " + std::to_string(polygons) +
           " Polygons saved to file " + path);
    return true;
}

} // namespace meshforge
