#pragma once
// The small vector and matrix arithmetic shared by the view's camera and the vertex transforms.
#include <array>

namespace meshforge {

// 4x4 matrix in OpenGL's column-major order (element (row r, column c) at [c * 4 + r]).
struct Mat4 {
    std::array<double, 16> M{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double operator()(int r, int c) const { return M[c * 4 + r]; }
    double& operator()(int r, int c) { return M[c * 4 + r]; }
};
Mat4 operator*(const Mat4& a, const Mat4& b);

struct Vec3 {
    double X = 0, Y = 0, Z = 0;
    bool operator==(const Vec3&) const = default;
};

// A turn in the plane of two coordinates (0 = X, 1 = Y, 2 = Z), A towards B for a positive
// angle.
struct AxisPair {
    int A, B;
};
// The pair a turn about coordinate axis `axis` moves: (Y, Z) about X, (X, Z) about Y, (X, Y)
// about Z. About Y this turns X towards Z, the opposite of the right-hand rule glRotated
// follows: the editor's objects have always been rotated that way, so the view and the
// transforms keep their own conventions.
constexpr AxisPair PairTurnedAbout(int axis) {
    return axis == 0 ? AxisPair{1, 2} : axis == 1 ? AxisPair{0, 2} : AxisPair{0, 1};
}

struct PlanePoint {
    double A = 0, B = 0;
};
// One step of the turn with the step's sine and cosine: a' = a cos - b sin, b' = a sin + b cos.
constexpr PlanePoint TurnInPlane(double a, double b, double sin, double cos) {
    return {a * cos - b * sin, a * sin + b * cos};
}

} // namespace meshforge
