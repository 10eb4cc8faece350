// Fitting one line of text into a width: the longest run of whole characters
// that fits from the start or from the end, a text clipped for its
// alignment, and a text cut with "…". Searches gallop from a guess and then
// halve the number of characters, so a long text costs a logarithmic number of
// measurements of pieces about as long as the answer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "reportengine/Layout.h"

namespace reportengine {

// Byte offsets of the character boundaries of a UTF-8 text: 0, the start of
// every further character, and the text's size.
std::vector<std::size_t> characterBoundaries(std::string_view utf8);

// How many characters from boundary `from` on fit in `width` (0 when not
// even one does), and in `fittedWidth` (when given) the width of those
// characters. The search starts at `hint`, so a good guess (the count of
// the piece before) settles it in a few measurements.
std::size_t fittingCount(std::string_view text, const std::vector<std::size_t>& boundaries, std::size_t from,
                         double width, const Font& font, const TextMeasurer& measurer, std::size_t hint,
                         double* fittedWidth = nullptr);

// The text as much of it shows in `width`: its start when left-aligned, its
// end when right-aligned, its middle when centred. Unchanged when it fits.
std::string clipToWidth(std::string_view text, double width, Align align, const Font& font,
                        const TextMeasurer& measurer);

// The text's start followed by "…", as much as fits in `width`.
std::string cutWithEllipsis(std::string_view text, double width, const Font& font, const TextMeasurer& measurer);

}  // namespace reportengine
