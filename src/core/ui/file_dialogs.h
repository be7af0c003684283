#pragma once
// The main window's shared open and save dialogs: their file types, in order. Commands select
// a type by its 1-based position.
#include <string>
#include <vector>

namespace meshforge {

inline constexpr int kOpenDxf = 1, kOpenVertexText = 2, kOpenProject = 3, kOpenBitmap = 4,
                     kOpen3DOText = 5, kOpenMesh = 6;
const std::vector<std::string>& OpenDialogFilters();
inline constexpr int kSaveProject = 1, kSave3DOText = 2, kSaveLog = 3, kSave3DO = 4, kSaveAse = 5,
                     kSaveDxf = 6, kSaveVertexText = 7, kSaveObj = 8;
const std::vector<std::string>& SaveDialogFilters();

} // namespace meshforge
