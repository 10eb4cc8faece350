#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "formats/formats.h"

namespace formats {
namespace {

// Nearest integer, an exact half going to the even neighbour, whatever the
// floating-point rounding mode of the thread is.
double roundHalfToEven(double x) {
  const double nearest = std::round(x);  // halves away from zero
  if (std::fabs(nearest - x) == 0.5 && std::fmod(nearest, 2.0) != 0.0) {
    return nearest - std::copysign(1.0, x);
  }
  return nearest;
}

}  // namespace

Currency Currency::fromDouble(double value) {
  const double units = roundHalfToEven(value * 10000.0);
  // The int64 range is [-2^63, 2^63); both limits are exact doubles.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(units >= -kLimit && units < kLimit)) {
    throw std::out_of_range("Valor monetário fora da faixa: " + formatGeneral(value));
  }
  return fromTenThousandths(static_cast<std::int64_t>(units));
}

double Currency::toDouble() const {
  // Dividing by 10000 gives the double nearest to units x 0.0001; multiplying
  // by the inexact constant 0.0001 can land one step off, which the decimal
  // rounding of the number patterns would then see (0,005 must still show
  // 0,01 with two decimals).
  return static_cast<double>(units_) / 10000.0;
}

}  // namespace formats
