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
    paragraphWidth_ = measurer_.textWidth(font_, text);
    if (paragraphWidth_ <= width_ + 1e-9) {  // most texts: one line, one measurement
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
      // A paragraph of one word was measured whole already.
      double width = word.size() == text.size() ? paragraphWidth_ : measurer_.textWidth(font_, word);
      if (width <= width_ + 1e-9)
        tokens.push_back({std::string(word), width});
      else
        for (const WordPiece& piece : piecesOf(word)) tokens.push_back({piece.text, piece.width});
    }
    return tokens;
  }

  static std::string join(const std::vector<Token>& tokens, std::size_t from, std::size_t to) {
    std::string line = tokens[from].text;
    for (std::size_t k = from + 1; k < to; ++k) line += ' ' + tokens[k].text;
    return line;
  }

  const std::vector<WordPiece>& piecesOf(std::string_view word) {
    if (cache_) {
      if (const auto* known = cache_->find(font_, width_, word)) return *known;
      return cache_->store(font_, width_, word, breakLongWord(word));
    }
    scratch_ = breakLongWord(word);
    return scratch_;
  }

  // Pieces of a word, each as long as fits (at least one character). The
  // running sums of the characters' advances (each distinct character
  // measured once) place each cut; one measurement of the piece confirms
  // it, and only where kerning makes the sums wrong does a search follow.
  std::vector<WordPiece> breakLongWord(std::string_view word) const {
    std::vector<WordPiece> pieces;
    std::vector<std::size_t> bounds = characterBoundaries(word);
    const std::size_t characters = bounds.size() - 1;
    auto character = [&](std::size_t k) { return word.substr(bounds[k], bounds[k + 1] - bounds[k]); };
    std::vector<double> sums(characters + 1, 0.0);
    for (std::size_t k = 0; k < characters; ++k) sums[k + 1] = sums[k] + measurer_.textWidth(font_, character(k));
    for (std::size_t from = 0; from < characters;) {
      // The most characters whose advances add up to the width.
      auto end = std::upper_bound(sums.begin() + static_cast<std::ptrdiff_t>(from), sums.end(), sums[from] + width_);
      std::size_t guess = std::max<std::size_t>(1, static_cast<std::size_t>(end - sums.begin()) - 1 - from);
      std::string_view piece = word.substr(bounds[from], bounds[from + guess] - bounds[from]);
      double fitted = measurer_.textWidth(font_, piece);
      bool last = from + guess == characters;
      // Accepted when it fits and one more character clearly would not.
      bool clear = last || sums[from + guess + 1] - sums[from] > width_ + 0.5 * (sums[from + guess + 1] - sums[from + guess]);
      std::size_t count = guess;
      bool fits = fitted <= width_ + 1e-9;
      if (fits && !clear) {  // close: one more character decides
        std::string_view longer = word.substr(bounds[from], bounds[from + guess + 1] - bounds[from]);
        double longerWidth = measurer_.textWidth(font_, longer);
        if (longerWidth <= width_ + 1e-9) fits = false, guess += 1;  // the sums were short: search on
      }
      if (!fits) {
        count = fittingCount(word, bounds, from, width_, font_, measurer_, guess, &fitted);
        if (count == 0) {  // not even one character fits: it goes alone
          count = 1;
          fitted = measurer_.textWidth(font_, character(from));
        }
      }
      pieces.push_back({std::string(word.substr(bounds[from], bounds[from + count] - bounds[from])), fitted});
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
  double paragraphWidth_ = 0;
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
