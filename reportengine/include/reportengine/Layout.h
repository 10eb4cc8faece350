// The layout: runs a report over its table and lays the bands out into pages
// of positioned items (millimetres from the page's top-left corner). Qt-free;
// text is measured through TextMeasurer, so plain tests can lay out with a
// measurer of their own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reportengine/Model.h"

namespace reportengine {

// Measures text in millimetres as it will be drawn.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual double textWidth(const Font& font, std::string_view utf8) const = 0;
  // Distance from one line's top to the next's.
  virtual double lineHeight(const Font& font) const = 0;
};

struct PageItem {
  enum class Kind { Text, Line, DottedLine, Rect };
  Kind kind = Kind::Text;
  double x = 0, y = 0, width = 0, height = 0;
  std::string text;  // one line; never holds a line break
  Font font;
  Align align = Align::Left;
  std::string element;  // the element it comes from
  // Page number and page count are filled in once the page (or the run) is
  // known; `prefix` is the text before them.
  enum class System { None, PageNumber, PageOfPages };
  System system = System::None;
  std::string prefix;
};

// Where a band went (for the preview's and the tests' benefit).
struct PlacedBand {
  std::string name;
  double top = 0, height = 0;
  int row = -1;  // the table row it printed for (from 0); -1 outside the rows
};

struct Page {
  std::vector<PageItem> items;
  std::vector<PlacedBand> bands;
};

struct Document {
  PageSetup setup;
  std::string title;
  std::vector<Page> pages;
  // False while a layout is still adding pages: the page count is not known
  // yet and "de" is followed by "…".
  bool complete = false;
};

// One run of a report, laid out a slice of rows at a time, so that a caller
// can show the first pages, report progress or stop between slices. The
// report's hooks run once per band, in order, within advance(). A session
// owns the report's totals while it runs: finish or drop one session before
// starting another on the same report.
class LayoutSession {
 public:
  LayoutSession(Report& report, const TextMeasurer& measurer);
  ~LayoutSession();
  LayoutSession(const LayoutSession&) = delete;
  LayoutSession& operator=(const LayoutSession&) = delete;

  // Lays out up to `rows` more rows (and at the end the summary); true once
  // the run has ended. The first call starts the run (the before-run hook).
  bool advance(std::size_t rows);
  bool finished() const;
  std::size_t rowsDone() const;
  std::size_t rowCount() const;
  // The pages so far; all but the last are final.
  const Document& document() const;
  // The whole document, once finished.
  Document take();

 private:
  class Run;
  std::unique_ptr<Run> run_;
};

// Runs the report to its end: calls its before-run hook, walks its rows in
// order and lays out every enabled band (calling its hook) into pages. A
// band that does not fit the rest of a page goes to the next one, after that
// page's header chain and column header, as its keep rules say; a band
// taller than a whole page is split between pages. The first page prints the
// whole heading, over more pages when it is taller than one; later pages
// clip the repeated heading to half the printable height. Errors of the
// data source (a missing field) propagate.
Document layoutReport(Report& report, const TextMeasurer& measurer);

// A piece of a word too wide for its line, with its measured width.
struct WordPiece {
  std::string text;
  double width = 0;
};

// Remembers how words too wide for their line were broken, per font and
// width, so that a long word coming back row after row is measured once.
class WordBreakCache {
 public:
  const std::vector<WordPiece>* find(const Font& font, double width, std::string_view word) const;
  const std::vector<WordPiece>& store(const Font& font, double width, std::string_view word,
                                      std::vector<WordPiece> pieces);

 private:
  static std::string key(const Font& font, double width, std::string_view word);
  static constexpr std::size_t kMaxBytes = 32u << 20;
  std::unordered_map<std::string, std::vector<WordPiece>> pieces_;
  std::size_t bytes_ = 0;
};

// Breaks `text` into lines no wider than `width`: at blanks where it can, at
// line breaks always, inside a word (between characters) when the word alone
// is wider. Always at least one line.
std::vector<std::string> wrapText(std::string_view text, double width, const Font& font,
                                  const TextMeasurer& measurer, WordBreakCache* cache = nullptr);

// The text with control characters (line breaks, tabs) turned into blanks.
std::string singleLine(std::string_view text);

}  // namespace reportengine
