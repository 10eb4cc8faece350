#include "recordtable/table.h"

#include "field_values.h"
#include "messages.h"
#include "table_impl.h"

namespace recordtable {

Table::Table(std::string name) : impl_(std::make_unique<TableImpl>(std::move(name))) {}
Table::~Table() = default;

const std::string& Table::name() const { return impl_->name(); }

void Table::setFieldDefs(std::vector<FieldDef> defs) {
  detail::withinMemory(impl_->name(), [&] { impl_->setFieldDefs(std::move(defs)); });
}
const std::vector<FieldDef>& Table::fieldDefs() const { return impl_->fieldDefs(); }
void Table::setIndexFieldNames(std::string_view names) {
  detail::withinMemory(impl_->name(), [&] { impl_->setIndexFieldNames(names); });
}
const std::string& Table::indexFieldNames() const { return impl_->indexFieldNames(); }

std::size_t Table::fieldCount() const { return impl_->fieldCount(); }
Field& Table::field(std::size_t index) { return impl_->field(index); }
const Field& Table::field(std::size_t index) const { return impl_->field(index); }
Field& Table::fieldByName(std::string_view name) { return impl_->fieldByName(name); }
const Field& Table::fieldByName(std::string_view name) const { return impl_->fieldByName(name); }
Field* Table::findField(std::string_view name) { return impl_->findField(name); }
const Field* Table::findField(std::string_view name) const { return impl_->findField(name); }

bool Table::isOpen() const { return impl_->state() != TableState::Closed; }
TableState Table::state() const { return impl_->state(); }
void Table::createEmpty() {
  detail::withinMemory(impl_->name(), [&] { impl_->createEmpty(); });
}
void Table::loadFromFile(const std::filesystem::path& path) {
  detail::withinMemory(impl_->name(), [&] { impl_->loadFromFile(path); });
}
void Table::saveToFile(const std::filesystem::path& path) {
  detail::withinMemory(impl_->name(), [&] { impl_->saveToFile(path); });
}
void Table::close() { impl_->close(); }

void Table::first() {
  detail::withinMemory(impl_->name(), [&] { impl_->first(); });
}
void Table::next() {
  detail::withinMemory(impl_->name(), [&] { impl_->next(); });
}
void Table::prior() {
  detail::withinMemory(impl_->name(), [&] { impl_->prior(); });
}
void Table::last() {
  detail::withinMemory(impl_->name(), [&] { impl_->last(); });
}
bool Table::eof() const { return impl_->eof(); }
bool Table::bof() const { return impl_->bof(); }
bool Table::isEmpty() const { return impl_->viewSize() == 0; }
std::size_t Table::recordCount() const { return impl_->viewSize(); }
std::size_t Table::totalRecordCount() const { return impl_->totalRecordCount(); }
std::size_t Table::recordNumber() const { return impl_->recordNumber(); }
bool Table::locate(std::string_view fieldName, const Value& value) {
  return detail::withinMemory(impl_->name(), [&] { return impl_->locate(fieldName, value); });
}

bool Table::isNullAt(std::size_t row, std::size_t fieldIndex) const {
  return impl_->cellAt(row, fieldIndex).null;
}
std::string Table::textAt(std::size_t row, std::size_t fieldIndex) const {
  const detail::Cell cell = impl_->cellAt(row, fieldIndex);
  return detail::textOfCell(impl_->def(fieldIndex), cell, impl_->textOf(fieldIndex, cell));
}
std::string Table::displayTextAt(std::size_t row, std::size_t fieldIndex) const {
  const detail::Cell cell = impl_->cellAt(row, fieldIndex);
  return detail::displayTextOfCell(impl_->def(fieldIndex), impl_->displayOf(fieldIndex), cell,
                                   impl_->textOf(fieldIndex, cell));
}

void Table::append() {
  detail::withinMemory(impl_->name(), [&] { impl_->append(); });
}
void Table::edit() {
  detail::withinMemory(impl_->name(), [&] { impl_->edit(); });
}
void Table::post() {
  detail::withinMemory(impl_->name(), [&] { impl_->post(); });
}
void Table::cancel() { impl_->cancel(); }

void Table::setFilterText(std::string_view text) {
  detail::withinMemory(impl_->name(), [&] { impl_->setFilterText(text); });
}
const std::string& Table::filterText() const { return impl_->filterText(); }
void Table::setFiltered(bool on) {
  detail::withinMemory(impl_->name(), [&] { impl_->setFiltered(on); });
}
bool Table::filtered() const { return impl_->filtered(); }

Bookmark Table::bookmark() const { return impl_->bookmark(); }
void Table::gotoBookmark(const Bookmark& mark) {
  detail::withinMemory(impl_->name(), [&] { impl_->gotoBookmark(mark); });
}
void Table::releaseBookmark(Bookmark& mark) { mark = Bookmark(); }

void Table::suspendDisplay() { impl_->suspendDisplay(); }
void Table::resumeDisplay() { impl_->resumeDisplay(); }
bool Table::displaySuspended() const { return impl_->displaySuspended(); }

ObserverId Table::addObserver(Observer observer) { return impl_->addObserver(std::move(observer)); }
void Table::removeObserver(ObserverId id) { impl_->removeObserver(id); }

}  // namespace recordtable
