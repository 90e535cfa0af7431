#include "scene/cubic_spline.h"

#include <libalglib/interpolation.h>

namespace lum {

struct CubicSpline::Pieces {
  alglib::spline1dinterpolant interpolant;
};

std::optional<CubicSpline> CubicSpline::Through(std::span<const double> times,
                                                std::span<const double> values) {
  if (times.size() < 2 || times.size() != values.size()) return std::nullopt;
  const auto n = static_cast<alglib::ae_int_t>(times.size());
  try {
    alglib::real_1d_array t, v;
    t.setcontent(n, times.data());
    v.setcontent(n, values.data());
    auto pieces = std::make_shared<Pieces>();
    // Boundary type 0 on both ends: parabolically terminated.
    alglib::spline1dbuildcubic(t, v, n, 0, 0.0, 0, 0.0, pieces->interpolant);
    return CubicSpline(std::move(pieces));
  } catch (const alglib::ap_error&) {
    // Repeated times or values that are not finite: no spline.
    return std::nullopt;
  }
}

double CubicSpline::operator()(double t) const {
  return alglib::spline1dcalc(pieces_->interpolant, t);
}

}  // namespace lum
