// The report model: a report bound to a record table, its bands and the
// elements they print. Qt-free. Positions and sizes are in millimetres, the
// bands' elements relative to the band's top-left corner.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/formats.h"
#include "reportengine/Expression.h"

namespace recordtable {
class Table;
}

namespace reportengine {

struct Font {
  std::string family = "Arial";
  double pointSize = 9.0;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class Align { Left, Center, Right };

// What a text that is wider than its element does: it is always clipped to
// the element's box; with ShrinkToFit its font first shrinks, down to
// kMinimumPointSize, until the text fits.
enum class TextFit { Clip, ShrinkToFit };
inline constexpr double kMinimumPointSize = 6.0;

enum class ElementKind {
  Label,       // `text` as it stands (a caption that hooks may change)
  FieldText,   // the field `text` of the current row, shown with `pattern`
  Expression,  // `text` is an expression (see Expression.h)
  PageNumber,  // `text` (a prefix) followed by the page number
  PageOfPages, // `text` (a prefix) followed by "3 de 12": the page number and the page count
  DateTime,    // `text` (a prefix) followed by the date and time of the run
  Line,        // a solid horizontal line across the element's width
  DottedLine,  // a dotted horizontal line
  Shape,       // a rectangle outline of the element's width and height
};

// Height of the strip a horizontal line is drawn in (its middle).
inline constexpr double kLineStripHeight = 0.8;

struct Element {
  std::string name;
  ElementKind kind = ElementKind::Label;
  double left = 0, top = 0, width = 0;
  // Shapes and lines use it; texts take the height of one line of their font.
  double height = 0;
  Align align = Align::Left;
  Font font;
  std::string text;
  std::string pattern;   // number or date pattern of a field text
  bool stretch = false;  // word-wraps and grows downwards (field texts, labels)
  TextFit fit = TextFit::Clip;  // texts that do not stretch
  ParsedExpression expression;  // set by Band::addExpression
};

enum class BandKind { PageHeader, ColumnHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter, Child };

// How a band takes page breaks. A rule gives way when keeping would need
// more than a whole page.
struct KeepRules {
  // Never the last thing on a page: the band moves on with the one after it.
  bool withNext = false;
  // The band and its child chain go on one page.
  bool chainTogether = false;
  // Never alone at the top of a page: when it does not fit, the band placed
  // just before it (with what was kept with that) moves on with it.
  bool withPrevious = false;
};

class Band;
// Called before a band prints; setting `print` to false leaves the band out
// of this pass (its child bands still print).
using BandHook = std::function<void(Band& band, bool& print)>;

class Band {
 public:
  Band(std::string name, BandKind kind, double height);
  Band(const Band&) = delete;
  Band& operator=(const Band&) = delete;

  const std::string& name() const { return name_; }
  BandKind kind() const { return kind_; }
  double height() const { return height_; }

  // A disabled band neither prints nor has its hook called; its child chain
  // is still followed.
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }

  BandHook beforePrint;
  KeepRules keep;

  Element& addLabel(std::string name, std::string caption, double left, double top, double width,
                    Align align, Font font);
  Element& addField(std::string name, std::string field, std::string pattern, double left,
                    double top, double width, Align align, Font font, bool stretch = false);
  // Throws std::invalid_argument when the expression does not parse.
  Element& addExpression(std::string name, std::string_view expression, double left, double top,
                         double width, Align align, Font font);
  Element& addSystem(std::string name, ElementKind kind, std::string prefix, double left, double top,
                     double width, Align align, Font font);
  Element& addLine(std::string name, double left, double top, double width, bool dotted = false);
  Element& addShape(std::string name, double left, double top, double width, double height);

  const std::vector<std::unique_ptr<Element>>& elements() const { return elements_; }
  // The element of that name; throws std::out_of_range when there is none.
  Element& element(std::string_view name);

  // The band printed right after this one (nullptr when none). Owned here.
  Band* child() const { return child_.get(); }
  Band& addChild(std::string name, double height);

 private:
  Element& add(Element element);

  std::string name_;
  BandKind kind_;
  double height_;
  bool enabled_ = true;
  std::vector<std::unique_ptr<Element>> elements_;
  std::unique_ptr<Band> child_;
};

// What a report walks: rows in order, each with named fields. The record
// table is one implementation (TableSource); others can serve rows from
// anything that can count them and reach them in order.
struct FieldValue {
  bool null = true;
  std::string text;                             // the value as text
  std::optional<double> number;                 // when the value is a number
  std::optional<formats::DateTime> dateTime;    // when it is a date and time
};

// A non-null text value, and a non-null number shown as `text`.
inline FieldValue textValue(std::string text) {
  FieldValue value;
  value.null = false;
  value.text = std::move(text);
  return value;
}
inline FieldValue numberValue(double number, std::string text) {
  FieldValue value = textValue(std::move(text));
  value.number = number;
  return value;
}

class DataSource {
 public:
  virtual ~DataSource() = default;
  virtual std::size_t rowCount() const = 0;
  // Makes `row` (from 0) the current row. The layout moves through the rows
  // in order, from 0.
  virtual void moveTo(std::size_t row) = 0;
  // A field of the current row; throws naming the field when there is none.
  virtual FieldValue value(std::string_view field) const = 0;
  // A field of any row as the text that decides group breaks.
  virtual std::string groupKey(std::size_t row, std::string_view field) const = 0;
};

// A record table as a data source: its rows in index order, the table's
// cursor following the current row (so hooks can read the table itself).
// A closed or missing table has no rows.
class TableSource : public DataSource {
 public:
  explicit TableSource(recordtable::Table* table) : table_(table) {}
  std::size_t rowCount() const override;
  void moveTo(std::size_t row) override;
  FieldValue value(std::string_view field) const override;
  std::string groupKey(std::size_t row, std::string_view field) const override;

 private:
  recordtable::Table* table_;
};

// A group: a header printed before the first row of each run of equal values
// of `field`, and an optional footer printed after the last row of the run.
struct Group {
  std::string name;
  std::string field;
  std::unique_ptr<Band> header;
  std::unique_ptr<Band> footer;
  // Print the header again at the top of a page that continues the group.
  bool reprintOnNewPage = false;
};

// Page geometry in millimetres; US Letter portrait with 10 mm margins.
struct PageSetup {
  double width = 215.9, height = 279.4;
  double leftMargin = 10, topMargin = 10, rightMargin = 10, bottomMargin = 10;
  double contentWidth() const { return width - leftMargin - rightMargin; }
  double contentHeight() const { return height - topMargin - bottomMargin; }
};

class Report {
 public:
  Report();
  virtual ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // The table whose rows are walked in index order (not owned). A closed or
  // missing table prints as a report without rows.
  void setTable(recordtable::Table* table);
  recordtable::Table* table() const { return table_; }
  // Any other source of rows (not owned); replaces the table.
  void setDataSource(DataSource* source);
  DataSource* dataSource() const { return source_; }

  PageSetup page;
  Font baseFont;
  std::string title;  // the printed document's name

  // Called at the start of every run (every generation of the pages).
  std::function<void()> beforeRun;
  // The date and time printed by DateTime elements; the system clock unless set.
  std::function<formats::DateTime()> clock;

  Band& setPageHeader(std::string name, double height);
  Band& setColumnHeader(std::string name, double height);
  Band& setDetail(std::string name, double height);
  Band& setSummary(std::string name, double height);
  // Printed at the foot of every page, in a strip of its height kept free
  // above the bottom margin.
  Band& setPageFooter(std::string name, double height);
  // Groups nest in the order added (the first is the outermost).
  Group& addGroup(std::string headerName, std::string field, double headerHeight);
  Band& setGroupFooter(Group& group, std::string name, double height);

  Band* pageHeader() const { return pageHeader_.get(); }
  Band* columnHeader() const { return columnHeader_.get(); }
  Band* detail() const { return detail_.get(); }
  Band* summary() const { return summary_.get(); }
  Band* pageFooter() const { return pageFooter_.get(); }
  const std::vector<std::unique_ptr<Group>>& groups() const { return groups_; }

  // Any band of the report by name (children included); nullptr when none.
  Band* findBand(std::string_view name) const;

 private:
  recordtable::Table* table_ = nullptr;
  TableSource tableSource_{nullptr};
  DataSource* source_ = nullptr;
  std::unique_ptr<Band> pageHeader_, columnHeader_, detail_, summary_, pageFooter_;
  std::vector<std::unique_ptr<Group>> groups_;
};

// The system clock as a calendar date and time (local time).
formats::DateTime currentDateTime();

}  // namespace reportengine
