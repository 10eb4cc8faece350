// The layout: runs a report over its table and lays the bands out into pages
// of positioned items (millimetres from the page's top-left corner). Qt-free;
// text is measured through TextMeasurer, so plain tests can lay out with a
// measurer of their own.
#pragma once

#include <string>
#include <string_view>
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
};

// Runs the report: calls its before-run hook, walks the table's rows in index
// order and lays out every enabled band (calling its hook) into pages. A
// band that does not fit the rest of a page goes to the next one, after that
// page's header chain and column header; a band taller than a whole page is
// split between pages. Errors of the table (a missing field) propagate.
Document layoutReport(Report& report, const TextMeasurer& measurer);

// Breaks `text` into lines no wider than `width`: at blanks where it can, at
// line breaks always, inside a word (between characters) when the word alone
// is wider. Always at least one line.
std::vector<std::string> wrapText(std::string_view text, double width, const Font& font,
                                  const TextMeasurer& measurer);

// The text with control characters (line breaks, tabs) turned into blanks.
std::string singleLine(std::string_view text);

}  // namespace reportengine
