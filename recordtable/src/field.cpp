#include "field_values.h"
#include "messages.h"
#include "table_impl.h"

namespace recordtable {

using detail::Cell;

Field::Field(TableImpl& owner, std::size_t index) : owner_(&owner), index_(index) {}

const std::string& Field::name() const { return owner_->def(index_).name; }
FieldKind Field::kind() const { return owner_->def(index_).kind; }
int Field::size() const { return owner_->def(index_).size; }
const FieldDef& Field::def() const { return owner_->def(index_); }
std::size_t Field::index() const { return index_; }

const DisplaySettings& Field::display() const { return owner_->display(index_); }

void Field::setDisplay(const DisplaySettings& settings) {
  const FieldKind k = kind();
  const bool takesPattern = k == FieldKind::Int16 || k == FieldKind::Int32 || k == FieldKind::Float ||
                            k == FieldKind::Decimal || k == FieldKind::DateTime;
  if (!settings.pattern.empty() && !takesPattern) {
    detail::fail("O campo " + detail::inQuotes(name()) + " (" + std::string(kindName(k)) +
                 ") não aceita padrão de exibição.");
  }
  if (settings.displayWidth < 0) {
    detail::fail("A largura de exibição do campo " + detail::inQuotes(name()) + " não pode ser negativa.");
  }
  owner_->display(index_) = settings;
}

Alignment Field::alignment() const {
  const DisplaySettings& d = display();
  if (d.alignment) return *d.alignment;
  const FieldKind k = kind();
  const bool number = k == FieldKind::Int16 || k == FieldKind::Int32 || k == FieldKind::Float ||
                      k == FieldKind::Decimal;
  return number ? Alignment::Right : Alignment::Left;
}

bool Field::isNull() const { return owner_->readCell(index_).null; }

std::string Field::asText() const {
  const Cell cell = owner_->readCell(index_);
  return detail::textOfCell(def(), cell, owner_->textOf(index_, cell));
}

std::int64_t Field::asInteger() const {
  const Cell cell = owner_->readCell(index_);
  return detail::integerOfCell(def(), cell, owner_->textOf(index_, cell));
}

double Field::asFloat() const {
  const Cell cell = owner_->readCell(index_);
  return detail::numberOfCell(def(), cell, owner_->textOf(index_, cell));
}

DateTime Field::asDateTime() const {
  const Cell cell = owner_->readCell(index_);
  return detail::dateTimeOfCell(def(), cell, owner_->textOf(index_, cell));
}

std::int64_t Field::asDecimalUnits() const {
  if (kind() != FieldKind::Decimal) {
    detail::fail("O campo " + detail::inQuotes(name()) + " não é decimal.");
  }
  const Cell cell = owner_->readCell(index_);
  return cell.null ? 0 : cell.integer;
}

std::string Field::displayText() const {
  const Cell cell = owner_->readCell(index_);
  return detail::displayTextOfCell(def(), display(), cell, owner_->textOf(index_, cell));
}

namespace {

void store(TableImpl& owner, std::size_t index, const detail::StoredValue& value) {
  const FieldKind kind = owner.def(index).kind;
  const bool text = kind == FieldKind::Text || kind == FieldKind::LongText;
  if (text && !value.cell.null) {
    detail::withinMemory(owner.name(), [&] { owner.writeText(index, value.text); });
  } else {
    owner.writeCell(index, value.cell);
  }
}

}  // namespace

void Field::setText(std::string_view text) {
  store(*owner_, index_, detail::storedFromText(def(), text));
}
void Field::setInteger(std::int64_t value) {
  store(*owner_, index_, detail::storedFromInteger(def(), value));
}
void Field::setFloat(double value) {
  store(*owner_, index_, detail::storedFromNumber(def(), value));
}
void Field::setDateTime(const DateTime& value) {
  store(*owner_, index_, detail::storedFromDateTime(def(), value));
}
void Field::setDecimalUnits(std::int64_t units) {
  store(*owner_, index_, detail::storedFromDecimalUnits(def(), units));
}
void Field::setNull() { owner_->writeCell(index_, Cell()); }

}  // namespace recordtable
