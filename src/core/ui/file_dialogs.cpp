#include "ui/file_dialogs.h"

namespace meshforge {

const std::vector<std::string>& OpenDialogFilters() {
    static const std::vector<std::string> filters = {
        "AutoCAD R12 DXF [*.dxf]|*.dxf",
        "Vertex Text File [*.vtx]|*.vtx",
        "Meshforge Project [*.3dp]|*.3dp",
        "Bitmap [*.bmp]|*.bmp",
        "3DO Text File [*.txt]|*.txt",
        "Mesh File [*.obj;*.stl;*.ply;*.gltf;*.glb;*.3ds;*.fbx;*.dae;*.off]|"
        "*.obj;*.stl;*.ply;*.gltf;*.glb;*.3ds;*.fbx;*.dae;*.off"};
    return filters;
}

const std::vector<std::string>& SaveDialogFilters() {
    static const std::vector<std::string> filters = {
        "Meshforge Project [*.3dp]|*.3dp",  "3DO Text File  [*.txt]|*.txt",
        "Action Log file [*.log]|*.log",    "GPL 3D-Object [*.3do]|*.3do",
        "Ascii Scene Export [*.ase]|*.ase", "AutoCAD R12 DXF [*.dxf]|*.dxf",
        "Vertex Text File  [*.vtx]|*.vtx",  "Wavefront OBJ [*.obj]|*.obj"};
    return filters;
}

} // namespace meshforge
