// Fitting one line of text into a width (see TextFit.h).
#include "TextFit.h"

#include <algorithm>

namespace reportengine {
namespace {

// Length of the UTF-8 sequence starting with `lead` (1 for stray bytes, so
// that a malformed text still advances).
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

constexpr double kTolerance = 1e-9;

}  // namespace

std::vector<std::size_t> characterBoundaries(std::string_view utf8) {
  std::vector<std::size_t> boundaries{0};
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    pos = std::min(utf8.size(), pos + sequenceLength(static_cast<unsigned char>(utf8[pos])));
    boundaries.push_back(pos);
  }
  return boundaries;
}

std::size_t fittingCount(std::string_view text, const std::vector<std::size_t>& boundaries, std::size_t from,
                         double width, const Font& font, const TextMeasurer& measurer, std::size_t hint,
                         double* fittedWidth) {
  const std::size_t available = boundaries.size() - 1 - from;
  double goodWidth = 0;
  auto fits = [&](std::size_t count) {
    std::string_view piece = text.substr(boundaries[from], boundaries[from + count] - boundaries[from]);
    double measured = measurer.textWidth(font, piece);
    if (measured > width + kTolerance) return false;
    if (count > 0) goodWidth = measured;  // the last count that fits is the largest tried so far
    return true;
  };
  // Bracket the answer between a count that fits and one that does not (or
  // is past the end), galloping from the hint, then halve the bracket.
  std::size_t good = 0, bad = available + 1;
  std::size_t probe = std::clamp<std::size_t>(hint, 1, std::max<std::size_t>(available, 1));
  if (available == 0) return 0;
  if (fits(probe)) {
    good = probe;
    for (std::size_t step = 1; good < available; step *= 2) {
      probe = std::min(available, good + step);
      if (!fits(probe)) {
        bad = probe;
        break;
      }
      good = probe;
    }
  } else {
    bad = probe;
    for (std::size_t step = 1; bad > 1; step *= 2) {
      probe = bad > step ? bad - step : 1;
      if (fits(probe)) {
        good = probe;
        break;
      }
      bad = probe;
    }
  }
  while (bad - good > 1) {
    std::size_t middle = good + (bad - good) / 2;
    (fits(middle) ? good : bad) = middle;
  }
  if (fittedWidth) *fittedWidth = good > 0 ? goodWidth : 0;
  return good;
}

std::string clipToWidth(std::string_view text, double width, Align align, const Font& font,
                        const TextMeasurer& measurer) {
  const double whole = measurer.textWidth(font, text);
  if (whole <= width + kTolerance) return std::string(text);
  std::vector<std::size_t> bounds = characterBoundaries(text);
  const std::size_t characters = bounds.size() - 1;
  if (align == Align::Left) {
    auto guess = static_cast<std::size_t>(double(characters) * std::max(0.0, width) / whole);
    std::size_t count = fittingCount(text, bounds, 0, width, font, measurer, guess);
    return std::string(text.substr(0, bounds[count]));
  }
  // Right and centre: the fewest characters to drop (from the start, or from
  // both ends), found by halving between "too few" and "all".
  auto kept = [&](std::size_t drop) {
    std::size_t first = align == Align::Right ? drop : (drop + 1) / 2;
    std::size_t last = characters - (drop - first);
    return std::string(text.substr(bounds[first], bounds[last] - bounds[first]));
  };
  std::size_t tooFew = 0, enough = characters;
  while (enough - tooFew > 1) {
    std::size_t middle = tooFew + (enough - tooFew) / 2;
    (measurer.textWidth(font, kept(middle)) <= width + kTolerance ? enough : tooFew) = middle;
  }
  return kept(enough);
}

std::string cutWithEllipsis(std::string_view text, double width, const Font& font, const TextMeasurer& measurer) {
  static constexpr std::string_view kEllipsis = "…";
  double room = width - measurer.textWidth(font, kEllipsis);
  if (room <= 0) return std::string(kEllipsis);
  std::vector<std::size_t> bounds = characterBoundaries(text);
  std::size_t count = fittingCount(text, bounds, 0, room, font, measurer, 1);
  std::string cut(text.substr(0, bounds[count]));
  while (!cut.empty() && cut.back() == ' ') cut.pop_back();
  return cut + std::string(kEllipsis);
}

}  // namespace reportengine
