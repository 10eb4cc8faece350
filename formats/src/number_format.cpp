#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "decimal_text.h"
#include "formats/formats.h"

namespace formats {
namespace {

constexpr char kGroupSeparator = '.';
constexpr char kDecimalSeparator = ',';

bool isDigitPlace(char c) { return c == '0' || c == '#'; }

// What a number pattern asks for, read once before the value is written.
struct PatternShape {
  std::size_t point = std::string_view::npos;  // index of the decimal point
  int integerPlaces = 0;      // "0"/"#" before the point
  int minIntegerDigits = 0;   // places from the first "0" before the point on
  int fractionPlaces = 0;     // "0"/"#" after the point: the decimals rounded to
  int minFractionDigits = 0;  // up to the last "0" after the point
  bool grouping = false;      // a "," before the point
};

PatternShape readShape(std::string_view pattern) {
  PatternShape shape;
  shape.point = pattern.find('.');
  bool seenZero = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const bool inFraction = shape.point != std::string_view::npos && i > shape.point;
    if (!inFraction) {
      if (c == ',') shape.grouping = true;
      if (!isDigitPlace(c)) continue;
      ++shape.integerPlaces;
      seenZero = seenZero || c == '0';
      if (seenZero) ++shape.minIntegerDigits;
    } else if (isDigitPlace(c)) {
      ++shape.fractionPlaces;
      if (c == '0') shape.minFractionDigits = shape.fractionPlaces;
    }
  }
  return shape;
}

// Writes integer digits one by one, putting the group separator in front of
// every digit that starts a group of three, except the first digit written.
class IntegerWriter {
 public:
  IntegerWriter(std::string& out, const std::string& digits, bool grouping)
      : out_(out), digits_(digits), grouping_(grouping) {}

  // Writes the digit that stands `fromRight` places left of the point, if the
  // number has one.
  void writeDigitAt(std::size_t fromRight) {
    if (fromRight >= digits_.size()) return;
    if (grouping_ && written_ && (fromRight + 1) % 3 == 0) out_ += kGroupSeparator;
    out_ += digits_[digits_.size() - 1 - fromRight];
    written_ = true;
  }

  // Writes every digit from the leftmost one down to `fromRight` inclusive:
  // the digits the pattern has no place for go in front of its first place.
  void writeDigitsDownTo(std::size_t fromRight) {
    for (std::size_t p = digits_.size(); p-- > fromRight;) writeDigitAt(p);
  }

 private:
  std::string& out_;
  const std::string& digits_;
  bool grouping_;
  bool written_ = false;
};

std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

bool allZero(const std::string& digits) { return digits.find_first_not_of('0') == std::string::npos; }

}  // namespace

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  constexpr int kSignificant = 15;
  detail::ScientificDigits sci = detail::toScientificDigits(value, kSignificant);
  const auto lastNonZero = sci.digits.find_last_not_of('0');
  if (lastNonZero == std::string::npos) return "0";
  sci.digits.resize(lastNonZero + 1);

  std::string out = value < 0 ? "-" : "";
  if (sci.exponent < -5 || sci.exponent >= kSignificant) {
    out += sci.digits[0];
    if (sci.digits.size() > 1) {
      out += kDecimalSeparator;
      out.append(sci.digits, 1);
    }
    out += 'E';
    out += std::to_string(sci.exponent);
    return out;
  }
  if (sci.exponent < 0) {
    out += '0';
    out += kDecimalSeparator;
    out.append(static_cast<std::size_t>(-sci.exponent - 1), '0');
    out += sci.digits;
    return out;
  }
  const auto integerCount = static_cast<std::size_t>(sci.exponent) + 1;
  if (sci.digits.size() <= integerCount) {
    out += sci.digits;
    out.append(integerCount - sci.digits.size(), '0');
  } else {
    out.append(sci.digits, 0, integerCount);
    out += kDecimalSeparator;
    out.append(sci.digits, integerCount);
  }
  return out;
}

std::string formatNumber(double value, std::string_view pattern) {
  if (pattern.empty()) return formatGeneral(value);
  if (!std::isfinite(value)) return nonFiniteText(value);

  const PatternShape shape = readShape(pattern);
  const bool hasDigitPlaces = shape.integerPlaces + shape.fractionPlaces > 0;

  std::string integerDigits;
  std::string fractionDigits;
  if (hasDigitPlaces) {
    detail::FixedDigits fixed = detail::toFixedDigits(value, shape.fractionPlaces);
    integerDigits = std::move(fixed.integer);
    if (integerDigits.size() < static_cast<std::size_t>(shape.minIntegerDigits)) {
      integerDigits.insert(0, static_cast<std::size_t>(shape.minIntegerDigits) - integerDigits.size(), '0');
    }
    // "#" places after the point drop trailing zeros, "0" places keep them.
    fractionDigits = std::move(fixed.fraction);
    while (fractionDigits.size() > static_cast<std::size_t>(shape.minFractionDigits) &&
           fractionDigits.back() == '0') {
      fractionDigits.pop_back();
    }
  }

  // A value that rounds to zero shows no sign.
  const bool negative = value < 0 && !(allZero(integerDigits) && allZero(fractionDigits));
  std::string out = negative ? "-" : "";

  IntegerWriter integer(out, integerDigits, shape.grouping);
  int integerPlaceIndex = 0;
  std::size_t fractionPlaceIndex = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const bool inFraction = shape.point != std::string_view::npos && i > shape.point;
    if (i == shape.point) {
      // Without integer places the integer digits still show, before the point.
      if (shape.integerPlaces == 0) integer.writeDigitsDownTo(0);
      if (!fractionDigits.empty()) out += kDecimalSeparator;
    } else if (c == ',') {
      // Pattern sign only (grouping); never written.
    } else if (isDigitPlace(c) && !inFraction) {
      const auto fromRight = static_cast<std::size_t>(shape.integerPlaces - 1 - integerPlaceIndex);
      if (integerPlaceIndex == 0) {
        integer.writeDigitsDownTo(fromRight);
      } else {
        integer.writeDigitAt(fromRight);
      }
      ++integerPlaceIndex;
    } else if (isDigitPlace(c)) {
      if (fractionPlaceIndex < fractionDigits.size()) out += fractionDigits[fractionPlaceIndex];
      ++fractionPlaceIndex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace formats
