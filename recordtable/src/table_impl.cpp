#include "table_impl.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <numeric>

#include "field_values.h"
#include "messages.h"
#include "table_file.h"
#include "table_file_format.h"
#include "unfinished_write.h"

namespace recordtable {

using detail::Cell;
using detail::fail;
using detail::inQuotes;

namespace {

std::string upperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return upper;
}

// Splits "A; B ;C" into its names; empty pieces are dropped.
std::vector<std::string> splitIndexNames(std::string_view text) {
  std::vector<std::string> names;
  while (true) {
    const std::size_t cut = text.find(';');
    std::string_view piece = text.substr(0, cut);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    if (!piece.empty()) names.emplace_back(piece);
    if (cut == std::string_view::npos) break;
    text.remove_prefix(cut + 1);
  }
  return names;
}

std::optional<std::size_t> findByName(const std::vector<FieldDef>& defs, std::string_view name) {
  const std::string upper = upperName(name);
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (upperName(defs[i].name) == upper) return i;
  }
  return std::nullopt;
}

// Generations are unique across all tables of the process, so that a
// bookmark made by one table is never taken for a record of another.
std::uint64_t newGeneration() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

bool isNumberKind(FieldKind kind) {
  return kind == FieldKind::Int16 || kind == FieldKind::Int32 || kind == FieldKind::Float ||
         kind == FieldKind::Decimal;
}

}  // namespace

TableImpl::TableImpl(std::string name) : name_(std::move(name)), generation_(newGeneration()) {}
TableImpl::~TableImpl() = default;

std::string TableImpl::tableSuffix() const { return detail::inTable(name_); }

void TableImpl::requireOpen() const {
  if (state_ == TableState::Closed) {
    fail(name_.empty() ? std::string("A tabela está fechada.") : "A tabela " + name_ + " está fechada.");
  }
}

void TableImpl::requireClosed() const {
  if (state_ != TableState::Closed) {
    fail(name_.empty() ? std::string("A tabela já está aberta.")
                       : "A tabela " + name_ + " já está aberta.");
  }
}

// ---- definitions ------------------------------------------------------------

void TableImpl::setFieldDefs(std::vector<FieldDef> defs) {
  requireClosed();
  if (defs.size() > detail::format::kMaxFieldCount) {
    fail("Uma tabela pode ter no máximo " + std::to_string(detail::format::kMaxFieldCount) +
         " campos.");
  }
  std::unordered_map<std::string, std::size_t> seen;
  for (const FieldDef& def : defs) {
    validateFieldDef(def);
    if (!seen.emplace(upperName(def.name), 0).second) {
      fail("O campo " + inQuotes(def.name) + " foi definido mais de uma vez" + tableSuffix() + ".");
    }
  }
  replaceDefinitions(std::move(defs));
}

void TableImpl::replaceDefinitions(std::vector<FieldDef> defs) {
  display_.assign(defs.size(), DisplaySettings{});
  if (defs == defs_) return;  // Field objects (and references to them) stay
  defs_ = std::move(defs);
  fields_.clear();
  fieldByUpperName_.clear();
  for (std::size_t i = 0; i < defs_.size(); ++i) {
    fields_.push_back(std::unique_ptr<Field>(new Field(*this, i)));
    fieldByUpperName_.emplace(upperName(defs_[i].name), i);
  }
}

std::vector<std::size_t> TableImpl::resolveIndex(const std::vector<FieldDef>& defs) const {
  std::vector<std::size_t> resolved;
  for (const std::string& name : indexNames_) {
    const std::optional<std::size_t> index = findByName(defs, name);
    if (!index) {
      fail("O campo de índice " + inQuotes(name) + " não existe" + tableSuffix() + ".");
    }
    resolved.push_back(*index);
  }
  return resolved;
}

void TableImpl::setIndexFieldNames(std::string_view names) {
  const std::vector<std::string> saved = std::move(indexNames_);
  indexNames_ = splitIndexNames(names);
  std::vector<std::size_t> resolved;
  if (!defs_.empty()) {
    try {
      resolved = resolveIndex(defs_);
    } catch (const TableError&) {
      indexNames_ = saved;
      throw;
    }
  }
  if (state_ != TableState::Closed) settlePending();
  indexText_ = std::string(names);
  indexFields_ = std::move(resolved);
  if (state_ == TableState::Closed) return;
  sortOrder();
  rebuildView();
  moveToFirst();
  notify(TableEvent::ContentChanged);
  notify(TableEvent::AfterScroll);
}

Field& TableImpl::field(std::size_t index) {
  if (index >= fields_.size()) {
    fail("A tabela" + (name_.empty() ? std::string() : " " + name_) + " não tem o campo de número " +
         std::to_string(index + 1) + ".");
  }
  return *fields_[index];
}

Field* TableImpl::findField(std::string_view name) const {
  const auto found = fieldByUpperName_.find(upperName(name));
  return found == fieldByUpperName_.end() ? nullptr : fields_[found->second].get();
}

Field& TableImpl::fieldByName(std::string_view name) const {
  Field* field = findField(name);
  if (field == nullptr) fail("O campo " + inQuotes(name) + " não existe" + tableSuffix() + ".");
  return *field;
}

// ---- life cycle --------------------------------------------------------------

std::optional<std::size_t> TableImpl::resolveFilter(
    const std::vector<FieldDef>& defs, const std::optional<detail::FilterCondition>& condition,
    bool on) const {
  if (!on || !condition) return std::nullopt;
  const std::optional<std::size_t> index = findByName(defs, condition->fieldName);
  if (!index) {
    fail("O campo " + inQuotes(condition->fieldName) + " do filtro não existe" + tableSuffix() + ".");
  }
  if (!isNumberKind(defs[*index].kind)) {
    fail("O campo " + inQuotes(condition->fieldName) + " do filtro não é numérico" + tableSuffix() +
         ".");
  }
  return index;
}

void TableImpl::createEmpty() {
  requireClosed();
  if (defs_.empty()) {
    fail("A tabela" + (name_.empty() ? std::string() : " " + name_) +
         " não tem definições de campos para ser criada.");
  }
  std::vector<std::size_t> index = resolveIndex(defs_);
  const std::optional<std::size_t> filterField = resolveFilter(defs_, filterCondition_, filterOn_);
  indexFields_ = std::move(index);
  filterField_ = filterField.value_or(0);
  discardRecords();
  state_ = TableState::Browse;
  rebuildView();
  moveToFirst();
  notify(TableEvent::ContentChanged);
  notify(TableEvent::AfterScroll);
}

void TableImpl::loadFromFile(const std::filesystem::path& path) {
  close();
  detail::TableData data = detail::readTableFile(path);
  std::vector<std::size_t> index = resolveIndex(data.defs);
  const std::optional<std::size_t> filterField = resolveFilter(data.defs, filterCondition_, filterOn_);
  replaceDefinitions(std::move(data.defs));
  indexFields_ = std::move(index);
  filterField_ = filterField.value_or(0);
  records_.swap(data.records);
  arena_.swap(data.arena);
  recordCount_ = static_cast<std::uint32_t>(records_.recordCount());
  generation_ = newGeneration();
  state_ = TableState::Browse;
  try {
    sortOrder();
    rebuildView();
  } catch (const std::bad_alloc&) {
    close();
    fail("A tabela" + (name_.empty() ? std::string() : " " + name_) + " do arquivo " +
         inQuotes(path.string()) + " não cabe na memória disponível.");
  }
  moveToFirst();
  notify(TableEvent::ContentChanged);
  notify(TableEvent::AfterScroll);
}

void TableImpl::saveToFile(const std::filesystem::path& path) {
  requireOpen();
  // Before an edit in progress is posted, so that a refused save leaves the
  // table exactly as it was.
  detail::refuseUnfinishedWrite(path, detail::SideFileCheck::BeforeSave);
  settlePending();
  detail::writeTableFile(path, detail::TableSnapshot{defs_, records_, arena_, order_});
}

void TableImpl::discardRecords() {
  records_.reset(defs_.size());
  arena_.clear();
  order_.clear();
  order_.shrink_to_fit();
  filteredView_.clear();
  pending_.clear();
  recordCount_ = 0;
  position_ = 0;
  eof_ = bof_ = true;
  generation_ = newGeneration();
}

void TableImpl::close() {
  if (state_ == TableState::Closed) return;
  state_ = TableState::Closed;
  discardRecords();
  viewFiltered_ = false;
  notify(TableEvent::ContentChanged);
}

// ---- order and view ------------------------------------------------------------

int TableImpl::compareKeys(const RecordCells& a, const RecordCells& b) const {
  for (std::size_t f : indexFields_) {
    const int c = detail::compareCells(defs_[f].kind, a[f], b[f], arena_);
    if (c != 0) return c;
  }
  return 0;
}

bool TableImpl::lessRecord(const RecordCells& a, std::uint32_t idA, std::uint32_t idB) const {
  const int c = compareKeys(a, recordCells(idB));
  return c != 0 ? c < 0 : idA < idB;
}

void TableImpl::sortOrder() {
  order_.resize(recordCount_);
  std::iota(order_.begin(), order_.end(), 0u);
  if (indexFields_.empty()) return;
  const auto less = [this](std::uint32_t a, std::uint32_t b) {
    return lessRecord(recordCells(a), a, b);
  };
  // Files are saved in index order, so this is usually one linear check.
  if (!std::is_sorted(order_.begin(), order_.end(), less)) {
    std::sort(order_.begin(), order_.end(), less);
  }
}

bool TableImpl::passesFilter(const RecordCells& cells) const {
  return detail::cellEqualsInteger(defs_[filterField_], cells[filterField_], filterCondition_->value);
}

bool TableImpl::filterFollowsIndex() const {
  return !indexFields_.empty() && indexFields_.front() == filterField_;
}

std::vector<std::uint32_t> TableImpl::scanForFilter() const {
  std::vector<std::uint32_t> passing;
  for (std::uint32_t record : order_) {
    if (passesFilter(recordCells(record))) passing.push_back(record);
  }
  return passing;
}

// `order_` is sorted on the filter field first, so the passing records are
// one run of it: the records whose field compares equal to the filter's
// value. Two binary searches find it; the run keeps the order of `order_`.
std::vector<std::uint32_t> TableImpl::searchForFilter() const {
  const std::optional<Cell> target = detail::cellMatchingInteger(defs_[filterField_], filterCondition_->value);
  if (!target) return {};
  const FieldKind kind = defs_[filterField_].kind;
  const std::size_t f = filterField_;
  const auto below = [&](std::uint32_t record, const Cell& wanted) {
    return detail::compareCells(kind, recordCells(record)[f], wanted, arena_) < 0;
  };
  const auto above = [&](const Cell& wanted, std::uint32_t record) {
    return detail::compareCells(kind, wanted, recordCells(record)[f], arena_) < 0;
  };
  const auto begin = std::lower_bound(order_.begin(), order_.end(), *target, below);
  const auto end = std::upper_bound(begin, order_.end(), *target, above);
  return std::vector<std::uint32_t>(begin, end);
}

void TableImpl::rebuildView() {
  const bool filtered = state_ != TableState::Closed && filterOn_ && filterCondition_.has_value();
  // Built aside, so that running out of memory keeps the old view.
  std::vector<std::uint32_t> passing;
  if (filtered) passing = filterFollowsIndex() ? searchForFilter() : scanForFilter();
  filteredView_.swap(passing);
  viewFiltered_ = filtered;
}

std::optional<std::size_t> TableImpl::findInView(std::uint32_t record) const {
  const std::vector<std::uint32_t>& v = view();
  const auto at = std::lower_bound(v.begin(), v.end(), record, [&](std::uint32_t id, std::uint32_t) {
    return lessRecord(recordCells(id), id, record);
  });
  if (at == v.end() || *at != record) return std::nullopt;
  return static_cast<std::size_t>(at - v.begin());
}

void TableImpl::placeCursorOn(std::uint32_t record) {
  const std::optional<std::size_t> at = findInView(record);
  const std::size_t size = view().size();
  if (at) {
    position_ = *at;
    eof_ = bof_ = false;
    return;
  }
  // The record left the view (its filter field changed): stay near its place.
  const std::vector<std::uint32_t>& v = view();
  const auto after = std::lower_bound(v.begin(), v.end(), record, [&](std::uint32_t id, std::uint32_t) {
    return lessRecord(recordCells(id), id, record);
  });
  position_ = size == 0 ? 0 : std::min(static_cast<std::size_t>(after - v.begin()), size - 1);
  eof_ = bof_ = size == 0;
}

void TableImpl::moveToFirst() {
  position_ = 0;
  bof_ = true;
  eof_ = view().empty();
}

// ---- moving --------------------------------------------------------------------

void TableImpl::settlePending() {
  if (state_ == TableState::Appending || state_ == TableState::Editing) post();
}

void TableImpl::first() {
  requireOpen();
  settlePending();
  moveToFirst();
  notify(TableEvent::AfterScroll);
}

void TableImpl::next() {
  requireOpen();
  settlePending();
  if (position_ + 1 < view().size()) {
    ++position_;
    eof_ = bof_ = false;
  } else {
    eof_ = true;
  }
  notify(TableEvent::AfterScroll);
}

void TableImpl::prior() {
  requireOpen();
  settlePending();
  if (position_ > 0 && !view().empty()) {
    --position_;
    eof_ = bof_ = false;
  } else {
    bof_ = true;
  }
  notify(TableEvent::AfterScroll);
}

void TableImpl::last() {
  requireOpen();
  settlePending();
  const std::size_t size = view().size();
  position_ = size == 0 ? 0 : size - 1;
  eof_ = true;
  bof_ = size == 0;
  notify(TableEvent::AfterScroll);
}

std::size_t TableImpl::recordNumber() const {
  if (state_ != TableState::Browse && state_ != TableState::Editing) return 0;
  return view().empty() ? 0 : position_ + 1;
}

bool TableImpl::locate(std::string_view fieldName, const Value& value) {
  requireOpen();
  const Field& field = fieldByName(fieldName);
  const std::size_t f = field.index();
  if (detail::beyondField(defs_[f], value)) return false;
  const detail::StoredValue wanted = detail::storedFromValue(defs_[f], value);
  settlePending();
  const std::vector<std::uint32_t>& v = view();
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (detail::cellEquals(defs_[f].kind, recordCells(v[i])[f], wanted, arena_)) {
      position_ = i;
      eof_ = bof_ = false;
      notify(TableEvent::AfterScroll);
      return true;
    }
  }
  return false;
}

// ---- changing ------------------------------------------------------------------

void TableImpl::append() {
  requireOpen();
  settlePending();
  pending_.assign(defs_.size(), Cell());
  state_ = TableState::Appending;
  notify(TableEvent::AfterScroll);
}

void TableImpl::edit() {
  requireOpen();
  if (state_ != TableState::Browse) return;  // already changing a record
  if (view().empty()) {
    fail("Não há registro atual para alterar" + tableSuffix() + ".");
  }
  const std::uint32_t record = view()[position_];
  pending_.resize(defs_.size());
  records_.copyRecord(record, pending_.data());
  editedRecord_ = record;
  state_ = TableState::Editing;
}

void TableImpl::post() {
  requireOpen();
  if (state_ == TableState::Appending) {
    postAppend();
  } else if (state_ == TableState::Editing) {
    postEdit();
  } else {
    fail("Não há registro em inclusão ou alteração para gravar" + tableSuffix() + ".");
  }
  notify(TableEvent::ContentChanged);
}

void TableImpl::postAppend() {
  if (recordCount_ == UINT32_MAX) fail("A tabela" + (name_.empty() ? "" : " " + name_) + " está cheia.");
  const std::uint32_t id = recordCount_;
  // Room first: once the record is stored, placing it allocates nothing.
  order_.reserve(order_.size() + 1);
  if (viewFiltered_) filteredView_.reserve(filteredView_.size() + 1);
  records_.append(pending_.data());
  ++recordCount_;
  pending_.clear();
  state_ = TableState::Browse;
  const auto less = [this](std::uint32_t newId, std::uint32_t other) {
    return lessRecord(recordCells(newId), newId, other);
  };
  order_.insert(std::upper_bound(order_.begin(), order_.end(), id, less), id);
  if (viewFiltered_ && passesFilter(recordCells(id))) {
    filteredView_.insert(std::upper_bound(filteredView_.begin(), filteredView_.end(), id, less), id);
  }
  placeCursorOn(id);
}

void TableImpl::postEdit() {
  const std::uint32_t id = editedRecord_;
  const RecordCells stored = recordCells(id);
  const RecordCells pending(pending_.data());
  const bool keyChanged = compareKeys(pending, stored) != 0;
  const bool filterFieldChanged =
      viewFiltered_ && detail::compareCells(defs_[filterField_].kind, pending[filterField_],
                                            stored[filterField_], arena_) != 0;
  // The record's place under its old key, found before its cells change.
  const auto oldPlace = !keyChanged ? order_.end()
                                    : std::lower_bound(order_.begin(), order_.end(), id,
                                                       [&](std::uint32_t other, std::uint32_t) {
                                                         return lessRecord(recordCells(other), other, id);
                                                       });
  records_.replace(id, pending_.data());
  if (keyChanged && oldPlace != order_.end() && *oldPlace == id) order_.erase(oldPlace);
  pending_.clear();
  state_ = TableState::Browse;
  if (keyChanged) {
    const auto at = std::lower_bound(order_.begin(), order_.end(), id, [&](std::uint32_t other, std::uint32_t) {
      return lessRecord(recordCells(other), other, id);
    });
    order_.insert(at, id);
  }
  if (keyChanged || filterFieldChanged) {
    if (viewFiltered_) rebuildView();
    placeCursorOn(id);
  }
}

void TableImpl::cancel() {
  if (state_ == TableState::Appending) {
    pending_.clear();
    state_ = TableState::Browse;
    notify(TableEvent::AfterScroll);
  } else if (state_ == TableState::Editing) {
    pending_.clear();
    state_ = TableState::Browse;
    notify(TableEvent::ContentChanged);
  }
}

// ---- filter --------------------------------------------------------------------

void TableImpl::setFilterText(std::string_view text) {
  std::optional<detail::FilterCondition> condition = detail::parseFilter(text);
  if (state_ == TableState::Closed) {
    filterText_ = std::string(text);
    filterCondition_ = std::move(condition);
    return;
  }
  const std::optional<std::size_t> filterField = resolveFilter(defs_, condition, filterOn_);
  settlePending();
  filterText_ = std::string(text);
  filterCondition_ = std::move(condition);
  filterField_ = filterField.value_or(0);
  if (!filterOn_) return;  // the view does not change while the switch is off
  rebuildView();
  moveToFirst();
  notify(TableEvent::ContentChanged);
  notify(TableEvent::AfterScroll);
}

void TableImpl::setFiltered(bool on) {
  if (on == filterOn_) return;
  if (state_ == TableState::Closed) {
    filterOn_ = on;
    return;
  }
  const std::optional<std::size_t> filterField = resolveFilter(defs_, filterCondition_, on);
  settlePending();
  filterOn_ = on;
  filterField_ = filterField.value_or(0);
  rebuildView();
  moveToFirst();
  notify(TableEvent::ContentChanged);
  notify(TableEvent::AfterScroll);
}

// ---- bookmarks -------------------------------------------------------------------

Bookmark TableImpl::bookmark() const {
  Bookmark mark;
  if (state_ == TableState::Closed || state_ == TableState::Appending || view().empty()) return mark;
  mark.generation_ = generation_;
  mark.record_ = state_ == TableState::Editing ? editedRecord_ : view()[position_];
  return mark;
}

void TableImpl::gotoBookmark(const Bookmark& mark) {
  requireOpen();
  if (!mark.isSet() || mark.generation_ != generation_ || mark.record_ >= recordCount_) {
    fail("O marcador não é válido" + tableSuffix() + ".");
  }
  settlePending();
  const std::optional<std::size_t> at = findInView(mark.record_);
  if (!at) fail("O registro marcado não está visível" + tableSuffix() + ".");
  position_ = *at;
  eof_ = bof_ = false;
  notify(TableEvent::AfterScroll);
}

// ---- display and observers ---------------------------------------------------------

void TableImpl::resumeDisplay() {
  if (suspendCount_ == 0) {
    fail("A exibição" + tableSuffix() + " não estava suspensa.");
  }
  if (--suspendCount_ == 0) notify(TableEvent::DisplayResumed);
}

ObserverId TableImpl::addObserver(Observer observer) {
  const ObserverId id = nextObserverId_++;
  observers_.emplace_back(id, std::move(observer));
  return id;
}

void TableImpl::removeObserver(ObserverId id) {
  std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void TableImpl::notify(TableEvent event) {
  // A copy, so that observers may add or remove observers while being told:
  // one added now hears from the next event on; one removed now is not
  // called any more, since whoever owned it may be gone.
  const std::vector<std::pair<ObserverId, Observer>> current = observers_;
  for (const auto& [id, observer] : current) {
    const bool stillThere = std::any_of(observers_.begin(), observers_.end(),
                                        [id = id](const auto& entry) { return entry.first == id; });
    if (stillThere && observer) observer(event);
  }
}

// ---- values ----------------------------------------------------------------------

Cell TableImpl::readCell(std::size_t index) const {
  requireOpen();
  if (state_ == TableState::Appending || state_ == TableState::Editing) return pending_[index];
  if (view().empty()) return Cell();
  return recordCells(view()[position_])[index];
}

Cell TableImpl::cellAt(std::size_t row, std::size_t index) const {
  requireOpen();
  if (index >= defs_.size()) {
    fail("A tabela" + (name_.empty() ? std::string() : " " + name_) + " não tem o campo de número " +
         std::to_string(index + 1) + ".");
  }
  if (row >= view().size()) {
    fail("A tabela" + (name_.empty() ? std::string() : " " + name_) + " não tem a linha " +
         std::to_string(row + 1) + ".");
  }
  return recordCells(view()[row])[index];
}

void TableImpl::writeCell(std::size_t index, const Cell& cell) {
  requireOpen();
  if (state_ != TableState::Appending && state_ != TableState::Editing) {
    fail("O campo " + inQuotes(defs_[index].name) + " só pode ser alterado em inclusão ou alteração" +
         tableSuffix() + ".");
  }
  pending_[index] = cell;
}

void TableImpl::writeText(std::size_t index, std::string_view text) {
  requireOpen();
  if (state_ != TableState::Appending && state_ != TableState::Editing) {
    writeCell(index, Cell());  // raises the error above
  }
  pending_[index] = arena_.store(text);
}

}  // namespace recordtable
