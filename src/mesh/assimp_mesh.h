#pragma once
// Reads a mesh file of any format Assimp knows into the core's MeshData.
#include "meshfile/mesh_import.h"

#include <cstddef>
#include <string>

namespace meshforge {

// The file's meshes placed by their nodes' transforms, faces kept as polygons; vertices are
// not joined here, the core's import does that. False with `error` set to Assimp's message
// when Assimp refuses the file, or to the core's when the counts are refused. `progress`
// gets the share read, from 0 to 1.
bool ReadMeshFile(const std::string& path, MeshData& mesh, std::string& error,
                  const DxfProgress& progress = {});
// The same on a file's bytes; `hint` is its extension ("obj") or empty.
bool ReadMeshMemory(const void* data, std::size_t size, const std::string& hint, MeshData& mesh,
                    std::string& error);

// The extensions Assimp reads, as "*.obj;*.stl;..." for a file dialog.
std::string MeshFileExtensions();

} // namespace meshforge
