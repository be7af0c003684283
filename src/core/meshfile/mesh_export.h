#pragma once
// The Project as a Wavefront OBJ file with its material library beside it: vertices, lines,
// polygons, texture coordinates and one material per texture.
#include "model/project.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace meshforge {

struct Ui;
class TextSink;

// "car.obj" -> "car.mtl", beside it.
std::string MaterialFileFor(const std::string& objPath);
// The OBJ text; `mtlName` is the material library's file name. Polygons of fewer than three
// corners or with an index outside the vertex list are left out; `polygons`, when given, gets
// the number written.
std::string MeshObjText(const Project& project, std::string_view mtlName,
                        int64_t* polygons = nullptr);
// The same text written into `out`; returns the number of polygons written.
int64_t WriteMeshObj(const Project& project, std::string_view mtlName, TextSink& out);
// One material per texture ("texture<index>", its bitmap as map_Kd) and "untextured".
std::string MeshMtlText(const Project& project);
// Writes both files atomically and logs "<n> Vertices and <m> Polygons saved to file <path>";
// false when a write failed (its message shown).
bool ExportMeshObj(const Project& project, const std::string& path, Ui& ui);

} // namespace meshforge
