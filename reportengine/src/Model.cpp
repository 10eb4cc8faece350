// The report model: bands, elements, groups and the record table as a data source.
#include "reportengine/Model.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

#include "recordtable/table.h"
#include "reportengine/Messages.h"

namespace reportengine {

Band::Band(std::string name, BandKind kind, double height)
    : name_(std::move(name)), kind_(kind), height_(height) {}

Element& Band::add(Element element) {
  elements_.push_back(std::make_unique<Element>(std::move(element)));
  return *elements_.back();
}

Element& Band::addLabel(std::string name, std::string caption, double left, double top,
                        double width, Align align, Font font) {
  Element e;
  e.name = std::move(name);
  e.kind = ElementKind::Label;
  e.left = left, e.top = top, e.width = width, e.align = align, e.font = std::move(font);
  e.text = std::move(caption);
  return add(std::move(e));
}

Element& Band::addField(std::string name, std::string field, std::string pattern, double left,
                        double top, double width, Align align, Font font, bool stretch) {
  Element e;
  e.name = std::move(name);
  e.kind = ElementKind::FieldText;
  e.left = left, e.top = top, e.width = width, e.align = align, e.font = std::move(font);
  e.text = std::move(field);
  e.pattern = std::move(pattern);
  e.stretch = stretch;
  return add(std::move(e));
}

Element& Band::addExpression(std::string name, std::string_view expression, double left,
                             double top, double width, Align align, Font font) {
  Element e;
  e.name = std::move(name);
  e.kind = ElementKind::Expression;
  e.left = left, e.top = top, e.width = width, e.align = align, e.font = std::move(font);
  e.text = std::string(expression);
  e.expression = parseExpression(expression);
  return add(std::move(e));
}

Element& Band::addSystem(std::string name, ElementKind kind, std::string prefix, double left,
                         double top, double width, Align align, Font font) {
  if (kind != ElementKind::PageNumber && kind != ElementKind::PageOfPages && kind != ElementKind::DateTime)
    throw std::invalid_argument("addSystem: page number, page of pages or date and time only");
  Element e;
  e.name = std::move(name);
  e.kind = kind;
  e.left = left, e.top = top, e.width = width, e.align = align, e.font = std::move(font);
  e.text = std::move(prefix);
  return add(std::move(e));
}

Element& Band::addLine(std::string name, double left, double top, double width, bool dotted) {
  Element e;
  e.name = std::move(name);
  e.kind = dotted ? ElementKind::DottedLine : ElementKind::Line;
  e.left = left, e.top = top, e.width = width, e.height = kLineStripHeight;
  return add(std::move(e));
}

Element& Band::addShape(std::string name, double left, double top, double width, double height) {
  Element e;
  e.name = std::move(name);
  e.kind = ElementKind::Shape;
  e.left = left, e.top = top, e.width = width, e.height = height;
  return add(std::move(e));
}

Element& Band::element(std::string_view name) {
  for (auto& e : elements_)
    if (e->name == name) return *e;
  std::string message = messages::kMissingElement;
  message.replace(message.find("%2"), 2, name);
  message.replace(message.find("%1"), 2, name_);
  throw std::out_of_range(message);
}

Band& Band::addChild(std::string name, double height) {
  child_ = std::make_unique<Band>(std::move(name), BandKind::Child, height);
  return *child_;
}

std::size_t TableSource::rowCount() const {
  if (!table_ || !table_->isOpen() || table_->isEmpty()) return 0;
  return table_->recordCount();
}

void TableSource::moveTo(std::size_t row) {
  // recordNumber() counts from 1; the walk is forwards, so this is one next().
  if (row == 0 || row + 1 < table_->recordNumber()) table_->first();
  while (table_->recordNumber() < row + 1) {
    table_->next();
    if (table_->eof()) break;
  }
}

FieldValue TableSource::value(std::string_view name) const {
  const recordtable::Field& field = table_->fieldByName(name);
  FieldValue v;
  if (field.isNull()) return v;
  v.null = false;
  v.text = field.asText();
  switch (field.kind()) {
    case recordtable::FieldKind::DateTime: v.dateTime = field.asDateTime(); break;
    case recordtable::FieldKind::Int16:
    case recordtable::FieldKind::Int32:
    case recordtable::FieldKind::Float:
    case recordtable::FieldKind::Decimal: v.number = field.asFloat(); break;
    default:
      try {
        v.number = field.asFloat();
      } catch (const recordtable::TableError&) {
        // A text that is not a number.
      }
  }
  return v;
}

std::string TableSource::groupKey(std::size_t row, std::string_view name) const {
  std::size_t index = table_->fieldByName(name).index();
  if (table_->isNullAt(row, index)) return std::string(1, '\0');
  return table_->textAt(row, index);
}

Report::Report() { source_ = &tableSource_; }
Report::~Report() = default;

void Report::setTable(recordtable::Table* table) {
  table_ = table;
  tableSource_ = TableSource(table);
  source_ = &tableSource_;
}

void Report::setDataSource(DataSource* source) {
  table_ = nullptr;
  source_ = source;
}

Band& Report::setPageFooter(std::string name, double height) {
  pageFooter_ = std::make_unique<Band>(std::move(name), BandKind::PageFooter, height);
  return *pageFooter_;
}

Band& Report::setPageHeader(std::string name, double height) {
  pageHeader_ = std::make_unique<Band>(std::move(name), BandKind::PageHeader, height);
  return *pageHeader_;
}
Band& Report::setColumnHeader(std::string name, double height) {
  columnHeader_ = std::make_unique<Band>(std::move(name), BandKind::ColumnHeader, height);
  return *columnHeader_;
}
Band& Report::setDetail(std::string name, double height) {
  detail_ = std::make_unique<Band>(std::move(name), BandKind::Detail, height);
  return *detail_;
}
Band& Report::setSummary(std::string name, double height) {
  summary_ = std::make_unique<Band>(std::move(name), BandKind::Summary, height);
  return *summary_;
}

Group& Report::addGroup(std::string headerName, std::string field, double headerHeight) {
  auto group = std::make_unique<Group>();
  group->name = headerName;
  group->field = std::move(field);
  group->header = std::make_unique<Band>(std::move(headerName), BandKind::GroupHeader, headerHeight);
  groups_.push_back(std::move(group));
  return *groups_.back();
}

Band& Report::setGroupFooter(Group& group, std::string name, double height) {
  group.footer = std::make_unique<Band>(std::move(name), BandKind::GroupFooter, height);
  return *group.footer;
}

namespace {
Band* findInChain(Band* band, std::string_view name) {
  for (; band; band = band->child())
    if (band->name() == name) return band;
  return nullptr;
}
}  // namespace

Band* Report::findBand(std::string_view name) const {
  for (Band* top : {pageHeader_.get(), columnHeader_.get(), detail_.get(), summary_.get(), pageFooter_.get()})
    if (Band* found = findInChain(top, name)) return found;
  for (const auto& group : groups_)
    for (Band* top : {group->header.get(), group->footer.get()})
      if (Band* found = findInChain(top, name)) return found;
  return nullptr;
}

formats::DateTime currentDateTime() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  formats::DateTime d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec;
  return d;
}

}  // namespace reportengine
