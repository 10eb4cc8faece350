#include <algorithm>
#include <string>
#include <vector>

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

// The text's words joined by single blanks.
std::string collapseBlanks(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) {
      if (!out.empty()) out += ' ';
      out.append(text.substr(pos, end - pos));
    }
    pos = end + 1;
  }
  return out;
}

class Wrapper {
 public:
  Wrapper(double width, const Font& font, const TextMeasurer& measurer)
      : width_(width), font_(font), measurer_(measurer), blank_(measurer.textWidth(font, " ")) {}

  // Fills lines greedily by the widths of their words, each measured once;
  // a line is then measured whole, and while kerning across blanks makes it
  // wider than the width, its last word moves on to the next line.
  void paragraph(std::string_view text) {
    if (fits(text)) {  // most texts: one line, one measurement
      lines_.push_back(collapseBlanks(text));
      return;
    }
    std::vector<Token> tokens = tokenize(text);
    std::size_t i = 0;
    while (i < tokens.size()) {
      std::size_t j = i + 1;
      double width = tokens[i].width;
      while (j < tokens.size() && width + blank_ + tokens[j].width <= width_ + 1e-9) width += blank_ + tokens[j++].width;
      std::string line = join(tokens, i, j);
      while (j - i > 1 && !fits(line)) line = join(tokens, i, --j);
      lines_.push_back(std::move(line));
      i = j;
    }
    if (tokens.empty()) lines_.emplace_back();
  }

  std::vector<std::string> take() { return std::move(lines_); }

 private:
  struct Token {
    std::string text;
    double width;
  };

  bool fits(std::string_view text) const { return measurer_.textWidth(font_, text) <= width_ + 1e-9; }

  // The words of the text; a word wider than the whole width becomes pieces
  // that each fill a line.
  std::vector<Token> tokenize(std::string_view text) const {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find(' ', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view word = text.substr(pos, end - pos);
      pos = end + 1;
      if (word.empty()) continue;
      double width = measurer_.textWidth(font_, word);
      if (width <= width_ + 1e-9)
        tokens.push_back({std::string(word), width});
      else
        for (std::string& piece : breakLongWord(word)) {
          double pieceWidth = measurer_.textWidth(font_, piece);
          tokens.push_back({std::move(piece), pieceWidth});
        }
    }
    return tokens;
  }

  static std::string join(const std::vector<Token>& tokens, std::size_t from, std::size_t to) {
    std::string line = tokens[from].text;
    for (std::size_t k = from + 1; k < to; ++k) line += ' ' + tokens[k].text;
    return line;
  }

  // Pieces of a word, each as long as fits (at least one character).
  std::vector<std::string> breakLongWord(std::string_view word) const {
    std::vector<std::string> pieces;
    std::string piece;
    std::size_t pos = 0;
    while (pos < word.size()) {
      std::size_t len = std::min(sequenceLength(static_cast<unsigned char>(word[pos])), word.size() - pos);
      std::string candidate = piece + std::string(word.substr(pos, len));
      if (!piece.empty() && !fits(candidate)) {
        pieces.push_back(std::move(piece));
        piece = std::string(word.substr(pos, len));
      } else {
        piece = std::move(candidate);
      }
      pos += len;
    }
    pieces.push_back(std::move(piece));
    return pieces;
  }

  double width_;
  const Font& font_;
  const TextMeasurer& measurer_;
  double blank_;
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
