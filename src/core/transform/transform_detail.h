#pragma once
// What the vertex transforms and the polygon tools share inside this folder.
#include "model/project.h"
#include "transform/transform.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

namespace meshforge::detail {

// A result that can be stored as a finite float (NaN and the infinities cannot).
inline bool Fits(double x) {
    return std::fabs(x) <= FLT_MAX;
}

inline bool InScope(const Vertex& v, Scope scope) {
    return scope == Scope::All || v.Selected;
}

// The three texts as numbers; the parser's message shown and nullopt for the first that is not
// one.
std::optional<std::array<double, 3>> ParseOffset(const OffsetTexts& texts, Ui& ui);

// Room for `total` vertices. A list that must move moves into storage asked for in huge pages,
// which fills many times faster than page by page.
void ReserveVertices(std::vector<Vertex>& list, std::size_t total);

// All three texts exactly "0.0".
bool AllZeroTexts(const OffsetTexts& texts);

} // namespace meshforge::detail
