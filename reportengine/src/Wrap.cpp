// Word wrapping: lines no wider than a width, long words broken between
// characters, and the cache of broken words.
#include <algorithm>
#include <string>
#include <vector>

#include "TextFit.h"
#include "reportengine/Layout.h"

namespace reportengine {
namespace {

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
  Wrapper(double width, const Font& font, const TextMeasurer& measurer, WordBreakCache* cache)
      : width_(width), font_(font), measurer_(measurer), cache_(cache), blank_(measurer.textWidth(font, " ")) {}

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
  std::vector<Token> tokenize(std::string_view text) {
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
        for (const WordPiece& piece : piecesOf(word, width)) tokens.push_back({piece.text, piece.width});
    }
    return tokens;
  }

  static std::string join(const std::vector<Token>& tokens, std::size_t from, std::size_t to) {
    std::string line = tokens[from].text;
    for (std::size_t k = from + 1; k < to; ++k) line += ' ' + tokens[k].text;
    return line;
  }

  const std::vector<WordPiece>& piecesOf(std::string_view word, double wordWidth) {
    if (cache_) {
      if (const auto* known = cache_->find(font_, width_, word)) return *known;
      return cache_->store(font_, width_, word, breakLongWord(word, wordWidth));
    }
    scratch_ = breakLongWord(word, wordWidth);
    return scratch_;
  }

  // Pieces of a word, each as long as fits (at least one character); each
  // cut is found by a search over the number of characters, so the word
  // costs about as much to break as to measure once.
  std::vector<WordPiece> breakLongWord(std::string_view word, double wordWidth) const {
    std::vector<WordPiece> pieces;
    std::vector<std::size_t> bounds = characterBoundaries(word);
    const std::size_t characters = bounds.size() - 1;
    // The first guess of each cut: as many characters as the average width allows.
    const auto guess = static_cast<std::size_t>(width_ / std::max(1e-9, wordWidth / double(characters)));
    for (std::size_t from = 0; from < characters;) {
      std::size_t count = std::max<std::size_t>(1, fittingCount(word, bounds, from, width_, font_, measurer_, guess));
      std::string_view piece = word.substr(bounds[from], bounds[from + count] - bounds[from]);
      pieces.push_back({std::string(piece), measurer_.textWidth(font_, piece)});
      from += count;
    }
    return pieces;
  }

  double width_;
  const Font& font_;
  const TextMeasurer& measurer_;
  WordBreakCache* cache_;
  std::vector<WordPiece> scratch_;
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

std::string WordBreakCache::key(const Font& font, double width, std::string_view word) {
  std::string key = font.family;
  key += '\0' + std::to_string(font.pointSize) + (font.bold ? "b" : "") + '\0' + std::to_string(width) + '\0';
  key += word;
  return key;
}

const std::vector<WordPiece>* WordBreakCache::find(const Font& font, double width, std::string_view word) const {
  auto found = pieces_.find(key(font, width, word));
  return found == pieces_.end() ? nullptr : &found->second;
}

const std::vector<WordPiece>& WordBreakCache::store(const Font& font, double width, std::string_view word,
                                                    std::vector<WordPiece> pieces) {
  if (bytes_ > kMaxBytes) {
    pieces_.clear();
    bytes_ = 0;
  }
  bytes_ += 2 * word.size();
  return pieces_.insert_or_assign(key(font, width, word), std::move(pieces)).first->second;
}

std::vector<std::string> wrapText(std::string_view text, double width, const Font& font,
                                  const TextMeasurer& measurer, WordBreakCache* cache) {
  Wrapper wrapper(width, font, measurer, cache);
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
