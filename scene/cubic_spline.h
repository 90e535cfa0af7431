#pragma once
// A cubic spline with parabolically terminated ends through points (t, v):
// with three points it is the parabola through them, with two the straight
// line. Beyond the first and last point it continues the end pieces.
#include <memory>
#include <optional>
#include <span>

namespace lum {

class CubicSpline {
 public:
  // None unless there are at least two points, the times are distinct and
  // every time and value is finite.
  static std::optional<CubicSpline> Through(std::span<const double> times,
                                            std::span<const double> values);
  double operator()(double t) const;

 private:
  struct Pieces;
  explicit CubicSpline(std::shared_ptr<const Pieces> pieces) : pieces_(std::move(pieces)) {}
  std::shared_ptr<const Pieces> pieces_;
};

}  // namespace lum
