#include "drawing/dxf_plane.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "drawing/exact_dot.h"

namespace torvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Cross(const double a[3], const double b[3], double out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

void Normalize(double v[3]) {
  const double length = std::sqrt(Dot(v, v));
  for (int k = 0; k < 3; ++k) v[k] /= length;
}

// Brings an angle that has turned into [0, full).
double Normalized(double angle, double full) {
  double a = std::fmod(angle, full);
  if (a < 0) a += full;
  if (a >= full) a = 0;  // -tiny + full rounds to full
  return a;
}

}  // namespace

Axes3 ObjectAxes(const double n[3]) {
  Axes3 axes;
  for (int k = 0; k < 3; ++k) axes.z[k] = n[k];
  Normalize(axes.z);
  // Near the world's z the world's y, elsewhere its z, crossed with the
  // normal gives the plane's x: DXF's rule, with its bound of 1/64.
  static constexpr double kWorldY[3] = {0, 1, 0};
  static constexpr double kWorldZ[3] = {0, 0, 1};
  axes.from_world_y = std::fabs(axes.z[0]) < 1.0 / 64 && std::fabs(axes.z[1]) < 1.0 / 64;
  Cross(axes.from_world_y ? kWorldY : kWorldZ, axes.z, axes.x);
  Normalize(axes.x);
  Cross(axes.z, axes.x, axes.y);
  Normalize(axes.y);
  return axes;
}

SlopingPlane::SlopingPlane(const double normal[3], const DrawingMotion& motion)
    : motion_(motion), old_(ObjectAxes(normal)) {
  const double k = motion.Scale(1);
  double nx = normal[0], ny = normal[1];
  motion.TurnVector(&nx, &ny);
  new_normal_[0] = nx;
  new_normal_[1] = ny;
  new_normal_[2] = normal[2];
  height_factor_ = 1;
  if (k != 1) {
    // The moved plane's normal: the inverse transpose of the plan map
    // (k·R on x and y, z kept) is R/k on x and y, z kept.
    new_normal_[0] /= k;
    new_normal_[1] /= k;
    const double length = std::sqrt(Dot(normal, normal));
    const double image = std::sqrt(Dot(new_normal_, new_normal_));
    for (double& v : new_normal_) v *= length / image;
    // A unit normal's image is 1 / height_factor_ long: the plane's
    // heights along its new normal shrink by as much.
    double unit[3] = {old_.z[0], old_.z[1], old_.z[2]};
    motion.TurnVector(&unit[0], &unit[1]);
    unit[0] /= k;
    unit[1] /= k;
    height_factor_ = 1 / std::sqrt(Dot(unit, unit));
  }
  new_ = ObjectAxes(new_normal_);
  shift_[0] = 0;
  shift_[1] = 0;
  motion.MovePoint(&shift_[0], &shift_[1]);
  shift_[2] = 0;
  if (const auto& h = motion.height_offset()) {
    // A decimal that HeightOffsetText took (its sign "+" aside, which
    // from_chars does not read).
    std::string_view text = *h;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::from_chars(text.data(), text.data() + text.size(), shift_[2]);
    if (motion.direction() == Direction::kSurveyToConstruction) shift_[2] = -shift_[2];
  }
  height_shift_ = Dot(new_.z, shift_);
  only_moves_ = motion.turn() == 0 && k == 1;
  keeps_angles_ = only_moves_ || (k == 1 && !old_.from_world_y && !new_.from_world_y);
}

void SlopingPlane::MapVector(double v[3]) const { motion_.TurnSpan(&v[0], &v[1]); }

void SlopingPlane::MovePoint(double* x, double* y, double z) const {
  if (only_moves_) {
    // The plane's axes stay: its points shift by the world's shift.
    *x += Dot(old_.x, shift_);
    *y += Dot(old_.y, shift_);
    return;
  }
  // Sums of products of coordinates near 5e6 m that cancel: each rounded
  // once, at its end.
  double w[3];
  for (int k = 0; k < 3; ++k) w[k] = Dot3(*x, old_.x[k], *y, old_.y[k], z, old_.z[k]);
  motion_.MovePoint(&w[0], &w[1]);
  w[2] += shift_[2];
  *x = Dot3(new_.x[0], w[0], new_.x[1], w[1], new_.x[2], w[2]);
  *y = Dot3(new_.y[0], w[0], new_.y[1], w[1], new_.y[2], w[2]);
}

double SlopingPlane::MoveHeight(double z) const { return z * height_factor_ + height_shift_; }

void SlopingPlane::TurnSpan(double* x, double* y) const {
  if (keeps_angles_) return;
  double v[3];
  for (int k = 0; k < 3; ++k) v[k] = *x * old_.x[k] + *y * old_.y[k];
  MapVector(v);
  *x = Dot(new_.x, v);
  *y = Dot(new_.y, v);
}

void SlopingPlane::TurnDirection(double* x, double* y) const {
  if (keeps_angles_) return;
  const double length = std::hypot(*x, *y);
  TurnSpan(x, y);
  if (motion_.Scale(1) != 1 && length > 0) {
    const double image = std::hypot(*x, *y);
    *x *= length / image;
    *y *= length / image;
  }
}

double SlopingPlane::Turn(double radians) const {
  double x = std::cos(radians), y = std::sin(radians);
  TurnSpan(&x, &y);
  return std::atan2(y, x);
}

double SlopingPlane::TurnRadians(double radians, bool clockwise) const {
  if (keeps_angles_) return radians;
  return Normalized(clockwise ? -Turn(-radians) : Turn(radians), 2 * kPi);
}

double SlopingPlane::TurnDegrees(double degrees, bool clockwise) const {
  if (keeps_angles_) return degrees;
  const double r = degrees * (kPi / 180);
  return Normalized((clockwise ? -Turn(-r) : Turn(r)) * (180 / kPi), 360);
}

}  // namespace torvane
