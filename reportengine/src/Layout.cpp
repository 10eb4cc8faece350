// The layout: walks a report's rows, lays out its bands and places them on
// pages, keeping the bands together as their rules say (see Layout.h).
#include "reportengine/Layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "TextFit.h"
#include "reportengine/Messages.h"

namespace reportengine {
namespace {

constexpr double kEpsilon = 1e-6;
constexpr std::string_view kUnknownCount = "…";

// A band laid out on its own: items relative to its top, and its height
// after stretching.
struct LaidBand {
  std::string name;
  double height = 0;
  std::vector<PageItem> items;
};

// Bands placed as one: they go on the same page when they fit on one.
using Unit = std::vector<LaidBand>;

double heightOf(const Unit& unit) {
  double height = 0;
  for (const LaidBand& band : unit) height += band.height;
  return height;
}

std::string dateTimeText(const formats::DateTime& d) {
  std::string seconds = std::to_string(d.second);
  if (seconds.size() < 2) seconds.insert(0, "0");
  return formats::formatDateTime(d, "dd/mm/yyyy hh:nn") + ":" + seconds;
}

std::optional<double> parseNumber(const std::string& text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

class LayoutSession::Run {
 public:
  Run(Report& report, const TextMeasurer& measurer) : report_(report), measurer_(measurer) {
    document_.setup = report.page;
    document_.title = report.title;
  }

  bool advance(std::size_t rows) {
    if (stage_ == Stage::Done) return true;
    if (stage_ == Stage::NotStarted) start();
    for (std::size_t done = 0; nextRow_ < rowCount_ && done < rows; ++done) printRow(nextRow_++);
    if (nextRow_ >= rowCount_) finish();
    return stage_ == Stage::Done;
  }

  bool finished() const { return stage_ == Stage::Done; }
  std::size_t rowsDone() const { return nextRow_; }
  std::size_t rowCount() const { return rowCount_; }
  const Document& document() const { return document_; }
  Document take() { return std::move(document_); }

 private:
  enum class Stage { NotStarted, Rows, Done };
  // Where the bands being printed go: page 1's heading (printed whole,
  // over more pages if need be), a later page's heading (clipped to half
  // the page) or the body.
  enum class Placing { FirstHeading, RepeatedHeading, Body };

  // ---- the run ------------------------------------------------------------
  void start() {
    stage_ = Stage::Rows;
    if (report_.beforeRun) report_.beforeRun();
    now_ = report_.clock ? report_.clock() : currentDateTime();
    source_ = report_.dataSource();
    rowCount_ = source_ ? source_->rowCount() : 0;
    if (Band* footer = report_.pageFooter(); footer && footer->enabled()) footerHeight_ = footer->height();
    startFirstPage();
  }

  void finish() {
    row_ = -1;
    openGroups_ = 0;
    printChain(report_.summary());
    if (!pending_.empty()) commit(std::exchange(pending_, {}), pendingRules_.withPrevious);
    finishPage();
    std::string count = std::to_string(document_.pages.size());
    for (std::size_t p = 0; p < document_.pages.size(); ++p)
      for (PageItem& item : document_.pages[p].items)
        if (item.system == PageItem::System::PageOfPages)
          item.text = item.prefix + std::to_string(p + 1) + messages::kPageOfPagesJoin + count;
    document_.complete = true;
    stage_ = Stage::Done;
  }

  // ---- rows and groups ----------------------------------------------------
  void printRow(std::size_t row) {
    const auto& groups = report_.groups();
    source_->moveTo(row);
    row_ = static_cast<int>(row);
    std::size_t opening = row == 0 ? 0 : firstChangedGroup(row - 1, row);
    for (std::size_t g = opening; g < groups.size(); ++g) printChain(groups[g]->header.get());
    openGroups_ = groups.size();
    printChain(report_.detail());
    std::size_t closing = row + 1 >= rowCount_ ? 0 : firstChangedGroup(row, row + 1);
    for (std::size_t g = groups.size(); g > closing; --g) {
      openGroups_ = g - 1;
      printChain(groups[g - 1]->footer.get());
    }
  }

  // The outermost group whose value differs between rows a and b, or the
  // group count when none does.
  std::size_t firstChangedGroup(std::size_t a, std::size_t b) const {
    const auto& groups = report_.groups();
    for (std::size_t g = 0; g < groups.size(); ++g)
      if (source_->groupKey(a, groups[g]->field) != source_->groupKey(b, groups[g]->field)) return g;
    return groups.size();
  }

  // ---- bands --------------------------------------------------------------
  // Lays out a band and its child chain (a disabled band is skipped, no
  // hook, but its children are still considered) and places them: as one
  // unit when the head keeps its chain together, else band by band.
  void printChain(Band* head) {
    if (!head) return;
    const bool together = head->keep.chainTogether && placing_ == Placing::Body;
    Unit unit;
    KeepRules rules = head->keep;
    for (Band* band = head; band; band = band->child()) {
      if (!band->enabled()) continue;
      bool print = true;
      if (band->beforePrint) band->beforePrint(*band, print);
      if (!print) continue;
      LaidBand laid = layoutBand(*band);
      if (together) {
        unit.push_back(std::move(laid));
        rules.withNext = band->keep.withNext;
      } else {
        send(std::move(laid), band->keep);
      }
    }
    if (together && !unit.empty()) placeUnit(std::move(unit), rules);
  }

  void send(LaidBand band, const KeepRules& rules) {
    switch (placing_) {
      case Placing::FirstHeading: placeHeading(std::move(band)); break;
      case Placing::RepeatedHeading: heading_.push_back(std::move(band)); break;
      case Placing::Body: placeUnit(Unit{std::move(band)}, rules); break;
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
      case ElementKind::PageNumber: item.system = PageItem::System::PageNumber; break;
      case ElementKind::PageOfPages: item.system = PageItem::System::PageOfPages; break;
      default: break;
    }
    item.font = e.font;
    item.align = e.align;
    double lineHeight = measurer_.lineHeight(e.font);
    item.height = lineHeight;
    if (item.system != PageItem::System::None) {
      item.prefix = e.text;
      items.push_back(item);
      return 0;
    }
    std::string text = elementText(e);
    if (!e.stretch) {
      item.text = fitLine(singleLine(text), e, item.font);
      items.push_back(std::move(item));
      return std::max(0.0, lineHeight - (e.height > 0 ? e.height : lineHeight));
    }
    std::vector<std::string> lines = wrapText(text, e.width, e.font, measurer_, &wordBreaks_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      item.y = e.top + static_cast<double>(i) * lineHeight;
      item.text = std::move(lines[i]);
      items.push_back(item);
    }
    double designHeight = e.height > 0 ? e.height : lineHeight;
    return std::max(0.0, static_cast<double>(lines.size()) * lineHeight - designHeight);
  }

  // One line in the element's width: the font shrunk first when the element
  // asks for it (never below kMinimumPointSize), then clipped.
  std::string fitLine(std::string line, const Element& e, Font& font) const {
    double width = measurer_.textWidth(font, line);
    if (width <= e.width + kEpsilon) return line;
    if (e.fit == TextFit::ShrinkToFit && font.pointSize > kMinimumPointSize) {
      // Widths grow with the size; start from the proportional size and step down.
      double size = std::floor(font.pointSize * e.width / width * 10.0) / 10.0;
      Font shrunk = font;
      for (shrunk.pointSize = std::max(kMinimumPointSize, std::min(size, font.pointSize));;
           shrunk.pointSize = std::max(kMinimumPointSize, shrunk.pointSize - 0.1)) {
        if (measurer_.textWidth(shrunk, line) <= e.width + kEpsilon || shrunk.pointSize <= kMinimumPointSize) break;
      }
      font = shrunk;
    }
    return clipToWidth(line, e.width, e.align, font, measurer_);
  }

  std::string elementText(const Element& e) const {
    switch (e.kind) {
      case ElementKind::Label: return e.text;
      case ElementKind::FieldText: return fieldText(e.text, e.pattern);
      case ElementKind::Expression: return evaluate(e.expression, fieldReader());
      case ElementKind::DateTime: return e.text + dateTimeText(now_);
      default: return {};
    }
  }

  FieldValue fieldValue(std::string_view name) const { return source_ ? source_->value(name) : FieldValue{}; }

  std::string fieldText(std::string_view name, const std::string& pattern) const {
    FieldValue value = fieldValue(name);
    if (value.null) return {};
    if (pattern.empty()) return value.text;
    if (value.dateTime) return formats::formatDateTime(*value.dateTime, pattern);
    if (value.number) return formats::formatNumber(*value.number, pattern);
    return value.text;
  }

  FieldReader fieldReader() const {
    return FieldReader{[this](std::string_view name) { return fieldText(name, {}); },
                       [this](std::string_view name) -> std::optional<double> {
                         FieldValue value = fieldValue(name);
                         if (value.null) return std::nullopt;
                         return value.number ? value.number : parseNumber(value.text);
                       }};
  }

  // ---- pages --------------------------------------------------------------
  double top() const { return report_.page.topMargin; }
  double bottom() const { return report_.page.height - report_.page.bottomMargin - footerHeight_; }
  double printableHeight() const { return bottom() - top(); }

  void newSheet() {
    if (!document_.pages.empty()) finishPage();
    document_.pages.emplace_back();
    cursor_ = top();
    pageHasBody_ = false;
    lastUnit_.reset();
  }

  void startFirstPage() {
    newSheet();
    firstHeadingPage_ = true;
    placing_ = Placing::FirstHeading;
    printChain(report_.pageHeader());
    printChain(report_.columnHeader());
    placing_ = Placing::Body;
    headingHeight_ = std::min(cursor_ - top(), printableHeight() / 2);
  }

  // A later page: the heading chain and the column header take at most half
  // of the printable height; a page header chain that would take more is cut,
  // its last text line shown ending in "…".
  void startPage() {
    newSheet();
    firstHeadingPage_ = false;
    placing_ = Placing::RepeatedHeading;
    heading_.clear();
    printChain(report_.pageHeader());
    std::size_t pageHeaderBands = heading_.size();
    printChain(report_.columnHeader());
    double budget = printableHeight() / 2;
    double columnHeight = 0;
    for (std::size_t i = pageHeaderBands; i < heading_.size(); ++i) columnHeight += heading_[i].height;
    double room = std::max(0.0, budget - columnHeight);
    for (std::size_t i = 0; i < heading_.size(); ++i) {
      if (i == pageHeaderBands) room = std::max(0.0, budget - (cursor_ - top()));
      LaidBand& band = heading_[i];
      if (band.height > room + kEpsilon) clipBand(band, room);
      room -= band.height;
      if (band.height > kEpsilon || !band.items.empty()) emit(band);
      cursor_ += band.height;
    }
    heading_.clear();
    const auto& groups = report_.groups();
    for (std::size_t g = 0; g < openGroups_ && g < groups.size(); ++g)
      if (groups[g]->reprintOnNewPage) printChain(groups[g]->header.get());
    for (LaidBand& band : heading_) {
      emit(band);
      cursor_ += band.height;
    }
    heading_.clear();
    placing_ = Placing::Body;
    headingHeight_ = cursor_ - top();
  }

  // Keeps the items that end within `height`; an element that lost lines
  // ends its last kept line with "…".
  void clipBand(LaidBand& band, double height) {
    std::vector<PageItem> kept;
    std::vector<std::string> cut;  // elements that lost text
    for (PageItem& item : band.items) {
      if (item.y + item.height <= height + kEpsilon)
        kept.push_back(std::move(item));
      else if (item.kind == PageItem::Kind::Text && std::find(cut.begin(), cut.end(), item.element) == cut.end())
        cut.push_back(item.element);
    }
    for (const std::string& element : cut)
      for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        if (it->element == element && it->kind == PageItem::Kind::Text) {
          it->text = cutWithEllipsis(it->text, it->width, it->font, measurer_);
          break;
        }
    band.items = std::move(kept);
    band.height = std::max(0.0, height);
  }

  // Prints the page footer chain at the foot of the current page.
  void finishPage() {
    Band* footer = report_.pageFooter();
    if (!footer || footerHeight_ <= 0) return;
    Placing was = placing_;
    placing_ = Placing::RepeatedHeading;
    std::vector<LaidBand> saved = std::exchange(heading_, {});
    printChain(footer);
    double saveCursor = cursor_;
    cursor_ = bottom();
    double room = footerHeight_;
    for (LaidBand& band : heading_) {
      if (band.height > room + kEpsilon) clipBand(band, room);
      room -= band.height;
      emit(band, -1);
      cursor_ += band.height;
    }
    heading_ = std::move(saved);
    cursor_ = saveCursor;
    placing_ = was;
  }

  // Page 1's heading: printed whole, split onto further pages (which carry
  // nothing else before it ends) when it is taller than the room left.
  void placeHeading(LaidBand band) {
    while (cursor_ + band.height > bottom() + kEpsilon) {
      double room = bottom() - cursor_;
      bool freshPage = cursor_ <= top() + kEpsilon;
      if (room > kEpsilon) band = splitOff(std::move(band), room, freshPage);
      newSheet();
    }
    emit(band);
    cursor_ += band.height;
  }

  // A page can be broken before a band when it holds body bands already, or
  // when it is one of page 1's heading pages (a new page gives more room).
  bool canBreak() const { return pageHasBody_ || firstHeadingPage_; }

  // Room for the body on a new page, as far as can be told before it is made.
  double roomOnNewPage() const { return printableHeight() - headingHeight_; }

  void placeUnit(Unit unit, KeepRules rules) {
    if (!pending_.empty()) {
      unit.insert(unit.begin(), std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end()));
      pending_.clear();
      rules.withPrevious = pendingRules_.withPrevious;
    }
    if (rules.withNext) {
      pending_ = std::move(unit);
      pendingRules_ = rules;
      return;
    }
    commit(std::move(unit), rules.withPrevious);
  }

  void commit(Unit unit, bool withPrevious) {
    double height = heightOf(unit);
    if (cursor_ + height <= bottom() + kEpsilon) {
      emitUnit(unit);
      return;
    }
    if (withPrevious && lastUnit_ && lastUnit_->bodyBefore) {
      Unit previous = retractLastUnit();
      previous.insert(previous.end(), std::make_move_iterator(unit.begin()), std::make_move_iterator(unit.end()));
      unit = std::move(previous);
      height = heightOf(unit);
      startPage();
    } else if (canBreak() && height <= roomOnNewPage() + kEpsilon) {
      startPage();
    }
    if (cursor_ + height <= bottom() + kEpsilon) {
      emitUnit(unit);
      return;
    }
    // Taller than a page: band by band, as room allows.
    for (LaidBand& band : unit) place(std::move(band));
    lastUnit_.reset();
  }

  void place(LaidBand band) {
    while (cursor_ + band.height > bottom() + kEpsilon) {
      if (canBreak()) {
        startPage();
        continue;
      }
      double room = bottom() - cursor_;
      band = splitOff(std::move(band), room, /*forceFirstLine=*/true);
      startPage();
    }
    emit(band);
    cursor_ += band.height;
    pageHasBody_ = true;
  }

  // Puts on the current page the items of `band` that fit in `room` and
  // returns the rest, moved up by the height printed. When no item fits,
  // the first line is printed anyway if `force` (an item taller than the
  // room of an otherwise empty page), else nothing is.
  LaidBand splitOff(LaidBand band, double room, bool force) {
    LaidBand topPart{band.name, room, {}};
    std::vector<PageItem> rest;
    for (PageItem& item : band.items)
      (item.y + item.height <= room + kEpsilon ? topPart.items : rest).push_back(std::move(item));
    double shift = room;
    for (const PageItem& item : rest) shift = std::min(shift, item.y);
    if (shift <= kEpsilon) {
      if (!force && topPart.items.empty()) {
        band.items = std::move(rest);
        return band;
      }
      auto stuck = std::partition(rest.begin(), rest.end(), [](const PageItem& i) { return i.y > kEpsilon; });
      std::move(stuck, rest.end(), std::back_inserter(topPart.items));
      rest.erase(stuck, rest.end());
      shift = room;
      for (const PageItem& item : rest) shift = std::min(shift, item.y);
    }
    emit(topPart);
    if (placing_ == Placing::Body) pageHasBody_ = true;
    LaidBand remainder{band.name, std::max(0.0, band.height - shift), {}};
    for (PageItem& item : rest) {
      item.y -= shift;
      remainder.items.push_back(std::move(item));
    }
    return remainder;
  }

  // ---- units that may move back -------------------------------------------
  // The unit placed last on the current page, so that a band that keeps
  // with its previous one can take it along to the next page.
  struct LastUnit {
    std::size_t bandsStart = 0, itemsStart = 0;
    std::vector<std::size_t> itemCounts;
    double cursorBefore = 0;
    bool bodyBefore = false;  // the page keeps body bands without it
  };

  void emitUnit(Unit& unit) {
    Page& page = document_.pages.back();
    LastUnit last{page.bands.size(), page.items.size(), {}, cursor_, pageHasBody_};
    for (LaidBand& band : unit) {
      last.itemCounts.push_back(band.items.size());
      emit(band);
      cursor_ += band.height;
    }
    pageHasBody_ = true;
    lastUnit_ = std::move(last);
  }

  Unit retractLastUnit() {
    Page& page = document_.pages.back();
    Unit unit;
    std::size_t item = lastUnit_->itemsStart;
    for (std::size_t b = lastUnit_->bandsStart, k = 0; b < page.bands.size(); ++b, ++k) {
      const PlacedBand& placed = page.bands[b];
      LaidBand band{placed.name, placed.height, {}};
      for (std::size_t n = 0; n < lastUnit_->itemCounts[k]; ++n, ++item) {
        PageItem moved = std::move(page.items[item]);
        moved.x -= report_.page.leftMargin;
        moved.y -= placed.top;
        band.items.push_back(std::move(moved));
      }
      unit.push_back(std::move(band));
    }
    page.bands.resize(lastUnit_->bandsStart);
    page.items.resize(lastUnit_->itemsStart);
    cursor_ = lastUnit_->cursorBefore;
    pageHasBody_ = lastUnit_->bodyBefore;
    lastUnit_.reset();
    return unit;
  }

  // Moves the band's items onto the current page at the cursor.
  void emit(LaidBand& band, std::optional<int> row = std::nullopt) {
    Page& page = document_.pages.back();
    int printedRow = row.value_or(placing_ == Placing::Body ? row_ : -1);
    page.bands.push_back({band.name, cursor_, band.height, printedRow});
    const std::string number = std::to_string(document_.pages.size());
    for (PageItem& item : band.items) {
      item.x += report_.page.leftMargin;
      item.y += cursor_;
      if (item.system == PageItem::System::PageNumber) item.text = item.prefix + number;
      if (item.system == PageItem::System::PageOfPages)
        item.text = item.prefix + number + messages::kPageOfPagesJoin + std::string(kUnknownCount);
      page.items.push_back(std::move(item));
    }
    band.items.clear();
  }

  Report& report_;
  const TextMeasurer& measurer_;
  DataSource* source_ = nullptr;
  Document document_;
  Stage stage_ = Stage::NotStarted;
  Placing placing_ = Placing::Body;
  formats::DateTime now_;
  std::size_t rowCount_ = 0, nextRow_ = 0;
  double cursor_ = 0;
  double footerHeight_ = 0;
  double headingHeight_ = 0;
  bool pageHasBody_ = false;
  bool firstHeadingPage_ = false;
  int row_ = -1;
  std::size_t openGroups_ = 0;
  std::vector<LaidBand> heading_;  // a later page's heading, gathered for clipping
  Unit pending_;                   // bands kept with the next one, not yet placed
  KeepRules pendingRules_;
  std::optional<LastUnit> lastUnit_;
  WordBreakCache wordBreaks_;
};

LayoutSession::LayoutSession(Report& report, const TextMeasurer& measurer)
    : run_(std::make_unique<Run>(report, measurer)) {}
LayoutSession::~LayoutSession() = default;
bool LayoutSession::advance(std::size_t rows) { return run_->advance(rows); }
bool LayoutSession::finished() const { return run_->finished(); }
std::size_t LayoutSession::rowsDone() const { return run_->rowsDone(); }
std::size_t LayoutSession::rowCount() const { return run_->rowCount(); }
const Document& LayoutSession::document() const { return run_->document(); }
Document LayoutSession::take() { return run_->take(); }

Document layoutReport(Report& report, const TextMeasurer& measurer) {
  LayoutSession session(report, measurer);
  session.advance(std::numeric_limits<std::size_t>::max());
  return session.take();
}

}  // namespace reportengine
