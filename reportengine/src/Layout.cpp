#include <algorithm>
#include <cmath>
#include <optional>

#include "reportengine/Layout.h"
#include "recordtable/table.h"

namespace reportengine {
namespace {

constexpr double kEpsilon = 1e-6;

// A band laid out on its own: items relative to its top, and its height
// after stretching.
struct LaidBand {
  std::string name;
  double height = 0;
  std::vector<PageItem> items;
};

std::string dateTimeText(const formats::DateTime& d) {
  std::string seconds = std::to_string(d.second);
  if (seconds.size() < 2) seconds.insert(0, "0");
  return formats::formatDateTime(d, "dd/mm/yyyy hh:nn") + ":" + seconds;
}

class LayoutRun {
 public:
  LayoutRun(Report& report, const TextMeasurer& measurer) : report_(report), measurer_(measurer) {
    document_.setup = report.page;
    document_.title = report.title;
  }

  Document run() {
    if (report_.beforeRun) report_.beforeRun();
    now_ = report_.clock ? report_.clock() : currentDateTime();
    recordtable::Table* table = report_.table();
    bool hasRows = table && table->isOpen() && !table->isEmpty();
    if (hasRows) table->first();
    startPage();
    if (hasRows) walkRows(*table);
    printChain(report_.summary());
    return std::move(document_);
  }

 private:
  // ---- rows and groups ----------------------------------------------------
  void walkRows(recordtable::Table& table) {
    const auto& groups = report_.groups();
    std::vector<std::size_t> groupFields;
    for (const auto& group : groups) groupFields.push_back(table.fieldByName(group->field).index());
    std::size_t count = table.recordCount();
    for (std::size_t row = 0; !table.eof(); table.next(), ++row) {
      row_ = static_cast<int>(table.recordNumber()) - 1;
      std::size_t opening = row == 0 ? 0 : firstChangedGroup(table, groupFields, row - 1, row);
      for (std::size_t g = opening; g < groups.size(); ++g) printChain(groups[g]->header.get());
      openGroups_ = groups.size();
      printChain(report_.detail());
      std::size_t closing = row + 1 >= count ? 0 : firstChangedGroup(table, groupFields, row, row + 1);
      for (std::size_t g = groups.size(); g > closing; --g) {
        openGroups_ = g - 1;
        printChain(groups[g - 1]->footer.get());
      }
      if (row + 1 >= count) break;
    }
    row_ = -1;
    openGroups_ = 0;
  }

  // The outermost group whose value differs between rows a and b, or the
  // group count when none does.
  static std::size_t firstChangedGroup(const recordtable::Table& table,
                                       const std::vector<std::size_t>& fields, std::size_t a,
                                       std::size_t b) {
    for (std::size_t g = 0; g < fields.size(); ++g)
      if (table.isNullAt(a, fields[g]) != table.isNullAt(b, fields[g]) ||
          table.textAt(a, fields[g]) != table.textAt(b, fields[g]))
        return g;
    return fields.size();
  }

  // ---- bands --------------------------------------------------------------
  // Prints a band and its child chain; a disabled band is skipped (no hook)
  // but its children are still considered.
  void printChain(Band* band) {
    for (; band; band = band->child()) {
      if (!band->enabled()) continue;
      bool print = true;
      if (band->beforePrint) band->beforePrint(*band, print);
      if (print) place(layoutBand(*band));
    }
  }

  LaidBand layoutBand(const Band& band) {
    LaidBand laid{band.name(), band.height(), {}};
    double growth = 0;
    for (const auto& element : band.elements()) growth = std::max(growth, layoutElement(*element, laid.items));
    laid.height += growth;
    return laid;
  }

  // Adds the element's items; returns how much it grew beyond its design height.
  double layoutElement(const Element& e, std::vector<PageItem>& items) {
    PageItem item;
    item.x = e.left, item.y = e.top, item.width = e.width, item.height = e.height;
    item.element = e.name;
    switch (e.kind) {
      case ElementKind::Line: item.kind = PageItem::Kind::Line; items.push_back(item); return 0;
      case ElementKind::DottedLine: item.kind = PageItem::Kind::DottedLine; items.push_back(item); return 0;
      case ElementKind::Shape: item.kind = PageItem::Kind::Rect; items.push_back(item); return 0;
      default: break;
    }
    item.font = e.font;
    item.align = e.align;
    double lineHeight = measurer_.lineHeight(e.font);
    item.height = lineHeight;
    std::string text = elementText(e);
    std::vector<std::string> lines =
        e.stretch ? wrapText(text, e.width, e.font, measurer_) : std::vector<std::string>{singleLine(text)};
    for (std::size_t i = 0; i < lines.size(); ++i) {
      item.y = e.top + static_cast<double>(i) * lineHeight;
      item.text = std::move(lines[i]);
      items.push_back(item);
    }
    double designHeight = e.height > 0 ? e.height : lineHeight;
    return std::max(0.0, static_cast<double>(lines.size()) * lineHeight - designHeight);
  }

  std::string elementText(const Element& e) const {
    switch (e.kind) {
      case ElementKind::Label: return e.text;
      case ElementKind::FieldText: return fieldText(e.text, e.pattern);
      case ElementKind::Expression: return evaluate(e.expression, fieldReader());
      case ElementKind::PageNumber: return e.text + std::to_string(document_.pages.size());
      case ElementKind::DateTime: return e.text + dateTimeText(now_);
      default: return {};
    }
  }

  const recordtable::Field* currentField(std::string_view name) const {
    recordtable::Table* table = report_.table();
    if (!table || !table->isOpen()) return nullptr;
    return &table->fieldByName(name);
  }

  std::string fieldText(std::string_view name, const std::string& pattern) const {
    const recordtable::Field* field = currentField(name);
    if (!field || field->isNull()) return {};
    if (pattern.empty()) return field->asText();
    switch (field->kind()) {
      case recordtable::FieldKind::DateTime: return formats::formatDateTime(field->asDateTime(), pattern);
      case recordtable::FieldKind::Int16:
      case recordtable::FieldKind::Int32:
      case recordtable::FieldKind::Float:
      case recordtable::FieldKind::Decimal: return formats::formatNumber(field->asFloat(), pattern);
      default: return field->asText();
    }
  }

  FieldReader fieldReader() const {
    return FieldReader{
        [this](std::string_view name) { return fieldText(name, {}); },
        [this](std::string_view name) -> std::optional<double> {
          const recordtable::Field* field = currentField(name);
          if (!field || field->isNull()) return std::nullopt;
          try {
            return field->asFloat();
          } catch (const recordtable::TableError&) {
            return std::nullopt;
          }
        }};
  }

  // ---- pages --------------------------------------------------------------
  double bottom() const { return report_.page.height - report_.page.bottomMargin; }

  void startPage() {
    document_.pages.emplace_back();
    cursor_ = report_.page.topMargin;
    pageHasBody_ = false;
    inPageHeading_ = true;
    printChain(report_.pageHeader());
    printChain(report_.columnHeader());
    const auto& groups = report_.groups();
    for (std::size_t g = 0; g < openGroups_ && g < groups.size(); ++g)
      if (groups[g]->reprintOnNewPage) printChain(groups[g]->header.get());
    inPageHeading_ = false;
  }

  void place(LaidBand band) {
    while (!inPageHeading_ && cursor_ + band.height > bottom() + kEpsilon) {
      if (pageHasBody_) {
        startPage();
        continue;
      }
      double room = bottom() - cursor_;
      if (room <= kEpsilon) break;  // the headings fill the page: print below them
      band = splitOff(std::move(band), room);
      startPage();
    }
    emit(band);
    cursor_ += band.height;
    if (!inPageHeading_) pageHasBody_ = true;
  }

  // Puts on the current page the items of `band` that fit in `room` and
  // returns the rest, moved up by the height printed.
  LaidBand splitOff(LaidBand band, double room) {
    LaidBand top{band.name, room, {}};
    std::vector<PageItem> rest;
    for (PageItem& item : band.items)
      (item.y + item.height <= room + kEpsilon ? top.items : rest).push_back(std::move(item));
    double shift = room;
    for (const PageItem& item : rest) shift = std::min(shift, item.y);
    if (shift <= kEpsilon) {
      // An item taller than the room at the band's top: print it here rather
      // than move it on for ever.
      auto stuck = std::partition(rest.begin(), rest.end(), [](const PageItem& i) { return i.y > kEpsilon; });
      std::move(stuck, rest.end(), std::back_inserter(top.items));
      rest.erase(stuck, rest.end());
      shift = room;
      for (const PageItem& item : rest) shift = std::min(shift, item.y);
    }
    emit(top);
    LaidBand remainder{band.name, std::max(0.0, band.height - shift), {}};
    for (PageItem& item : rest) {
      item.y -= shift;
      remainder.items.push_back(std::move(item));
    }
    return remainder;
  }

  // Moves the band's items onto the current page at the cursor.
  void emit(LaidBand& band) {
    Page& page = document_.pages.back();
    page.bands.push_back({band.name, cursor_, band.height, inPageHeading_ ? -1 : row_});
    for (PageItem& item : band.items) {
      item.x += report_.page.leftMargin;
      item.y += cursor_;
      page.items.push_back(std::move(item));
    }
    band.items.clear();
  }

  Report& report_;
  const TextMeasurer& measurer_;
  Document document_;
  formats::DateTime now_;
  double cursor_ = 0;
  bool pageHasBody_ = false;
  bool inPageHeading_ = false;
  int row_ = -1;
  std::size_t openGroups_ = 0;
};

}  // namespace

Document layoutReport(Report& report, const TextMeasurer& measurer) {
  return LayoutRun(report, measurer).run();
}

}  // namespace reportengine
