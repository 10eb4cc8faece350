#include "reportengine/Model.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

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
  if (kind != ElementKind::PageNumber && kind != ElementKind::DateTime)
    throw std::invalid_argument("addSystem: page number or date and time only");
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
  throw std::out_of_range("A faixa " + name_ + " não tem o elemento " + std::string(name));
}

Band& Band::addChild(std::string name, double height) {
  child_ = std::make_unique<Band>(std::move(name), BandKind::Child, height);
  return *child_;
}

Report::Report() = default;
Report::~Report() = default;

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
  for (Band* top : {pageHeader_.get(), columnHeader_.get(), detail_.get(), summary_.get()})
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
