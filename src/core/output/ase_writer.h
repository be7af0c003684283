#pragma once
// The reduced ASE text the converter reads: a flat list of keyword lines, one mesh object per
// polygon, one line object per line, one material per texture and the collision planes.
#include "model/project.h"

#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct Ui;
class TextSink;

// A polygon's plane a*x + b*y + c*z + d = 0, (a, b, c) the unit normal against the corner
// order's right-hand normal.
struct PlaneEquation {
    float A = 0, B = 0, C = 0, D = 0;
};

// From corners 0, 1 and 2; where those are collinear (or there are fewer), from all corners
// (Newell's normal). nullopt for a polygon without area.
std::optional<PlaneEquation> CollisionPlane(const Project& project, const ObjectData& polygon);

// Why the file cannot be written (a collision polygon without a plane), or nullopt.
std::optional<std::string> AseProblem(const Project& project);

// The file's text, CR LF after every line. `notes` receives a line for every texture whose
// background colour is no colour (written as the default grey).
std::string AseFileText(const Project& project, std::vector<std::string>* notes = nullptr);
void WriteAseText(const Project& project, TextSink& out, std::vector<std::string>* notes);

// Writes the file atomically and logs "ASE-file <path> saved !"; false (after the message)
// when refused or not written.
bool WriteAseFile(const Project& project, const std::string& path, Ui& ui);

} // namespace meshforge
