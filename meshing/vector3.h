// Points and directions in space for the meshing of the pair, in millimetres,
// and the two rotations the pair turns by: about the wheel axis z and about
// an axis parallel to y (the worm's). Double precision: the geometry is
// evaluated, not tabled digit for digit, and 1e-16 of 200 mm is far below
// any tolerance a shop measures.
#pragma once

#include <cmath>

namespace wormgear::meshing {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline Vec3 operator*(double k, Vec3 a) { return a * k; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double Norm(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Unit(Vec3 a) { return a * (1 / Norm(a)); }

inline constexpr Vec3 kAxisX{1, 0, 0}, kAxisY{0, 1, 0}, kAxisZ{0, 0, 1};

// Turned by `angle` (radians, counter-clockwise seen from the positive axis)
// about the z axis, or about the y axis: RotateY({0, 0, 1}, pi / 2) = {1, 0, 0}.
inline Vec3 RotateZ(Vec3 v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}
inline Vec3 RotateY(Vec3 v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
}

// The mirror that maps one flank of the pair onto the other: the half turn
// about the line of centres, x.
inline Vec3 HalfTurnAboutX(Vec3 v) { return {v.x, -v.y, -v.z}; }

}  // namespace wormgear::meshing
