#pragma once
// One command file per menu area. Each registers its menu, its entries and its group of tool
// buttons on the main window, in menu-bar order, and holds the commands behind them; a new
// feature adds its commands in the file of its menu area (or a file of its own) instead of
// lines in the main window.
#include <QColor>
#include <QIcon>
#include <QString>

namespace meshforge::gui {

class TMainForm;

void RegisterFileCommands(TMainForm& form);        // app/file_commands.cpp
void RegisterGeometryCommands(TMainForm& form);    // app/geometry_commands.cpp
void RegisterVisualCommands(TMainForm& form);      // app/visual_commands.cpp
void RegisterModifyCommands(TMainForm& form);      // app/modify_commands.cpp
void RegisterViewOptionsCommands(TMainForm& form); // app/view_options_commands.cpp
void RegisterMiscCommands(TMainForm& form);        // app/misc_commands.cpp
void RegisterHelpCommands(TMainForm& form);        // app/help_commands.cpp
// Features that act on entries of several areas register after the menus exist.
void RegisterOutputCommands(TMainForm& form);    // output/output_commands.cpp
void RegisterTextureCommands(TMainForm& form);   // texture/texture_commands.cpp
void RegisterCollisionCommands(TMainForm& form); // collision/collision_commands.cpp
void RegisterReportCommands(TMainForm& form);    // report/report_commands.cpp
void RegisterTransformCommands(TMainForm& form); // transform/transform_commands.cpp

// Tool buttons without a standard picture get a small lettered one, coloured by area.
QIcon LetterIcon(const QString& letters, const QColor& color);
inline const QColor kFileColor(70, 110, 170), kGeometryColor(60, 140, 80),
    kTextureColor(170, 110, 40), kModifyColor(120, 80, 160), kLaunchColor(150, 60, 60);

} // namespace meshforge::gui
