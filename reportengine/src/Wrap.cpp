#include <string>

#include "reportengine/Layout.h"

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

class Wrapper {
 public:
  Wrapper(double width, const Font& font, const TextMeasurer& measurer)
      : width_(width), font_(font), measurer_(measurer) {}

  void paragraph(std::string_view text) {
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find(' ', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view word = text.substr(pos, end - pos);
      pos = end + 1;
      if (word.empty()) continue;
      std::string candidate = line.empty() ? std::string(word) : line + ' ' + std::string(word);
      if (fits(candidate)) {
        line = std::move(candidate);
        continue;
      }
      if (!line.empty()) lines_.push_back(std::move(line));
      line = breakLongWord(word);
    }
    lines_.push_back(std::move(line));
  }

  std::vector<std::string> take() { return std::move(lines_); }

 private:
  bool fits(std::string_view text) const { return measurer_.textWidth(font_, text) <= width_ + 1e-9; }

  // Emits full lines of a word wider than the width; returns its last piece.
  std::string breakLongWord(std::string_view word) {
    std::string piece;
    std::size_t pos = 0;
    while (pos < word.size()) {
      std::size_t len = std::min(sequenceLength(static_cast<unsigned char>(word[pos])), word.size() - pos);
      std::string candidate = piece + std::string(word.substr(pos, len));
      if (!piece.empty() && !fits(candidate)) {
        lines_.push_back(std::move(piece));
        piece = std::string(word.substr(pos, len));
      } else {
        piece = std::move(candidate);
      }
      pos += len;
    }
    return piece;
  }

  double width_;
  const Font& font_;
  const TextMeasurer& measurer_;
  std::vector<std::string> lines_;
};

}  // namespace

std::string singleLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return out;
}

std::vector<std::string> wrapText(std::string_view text, double width, const Font& font,
                                  const TextMeasurer& measurer) {
  Wrapper wrapper(width, font, measurer);
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = text.find('\n', pos);
    std::string_view paragraph = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
    wrapper.paragraph(singleLine(paragraph));
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
  return wrapper.take();
}

}  // namespace reportengine
