// The state behind a Table and its Fields.
//
// Records live in `records_` and are never removed while the table is open;
// a record's id is its number there.
// `order_` lists all record ids sorted by (index key, id), so equal keys keep
// the order in which records were added. The view is `order_` itself, or,
// while a filter applies, `filteredView_`: the ids of `order_` that pass,
// in the same order. `position_` is the current record's place in the view.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cell.h"
#include "filter.h"
#include "record_store.h"
#include "recordtable/table.h"

namespace recordtable {

// The cells of one record, stored or pending, read one field at a time.
class RecordCells {
 public:
  explicit RecordCells(const detail::Cell* pending) : pending_(pending) {}
  RecordCells(const detail::RecordStore& store, std::uint32_t record) : store_(&store), record_(record) {}
  detail::Cell operator[](std::size_t field) const {
    return pending_ != nullptr ? pending_[field] : store_->cell(record_, field);
  }

 private:
  const detail::Cell* pending_ = nullptr;
  const detail::RecordStore* store_ = nullptr;
  std::uint32_t record_ = 0;
};

class TableImpl {
 public:
  explicit TableImpl(std::string name);
  ~TableImpl();

  // ---- used by Table -----------------------------------------------------
  const std::string& name() const { return name_; }
  void setFieldDefs(std::vector<FieldDef> defs);
  const std::vector<FieldDef>& fieldDefs() const { return defs_; }
  void setIndexFieldNames(std::string_view names);
  const std::string& indexFieldNames() const { return indexText_; }
  std::size_t fieldCount() const { return defs_.size(); }
  Field& field(std::size_t index);
  Field* findField(std::string_view name) const;
  Field& fieldByName(std::string_view name) const;

  TableState state() const { return state_; }
  void createEmpty();
  void loadFromFile(const std::filesystem::path& path);
  void saveToFile(const std::filesystem::path& path);
  void close();

  void first();
  void next();
  void prior();
  void last();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  std::size_t viewSize() const { return view().size(); }
  std::size_t totalRecordCount() const { return recordCount_; }
  std::size_t recordNumber() const;
  bool locate(std::string_view fieldName, const Value& value);

  void append();
  void edit();
  void post();
  void cancel();

  void setFilterText(std::string_view text);
  const std::string& filterText() const { return filterText_; }
  void setFiltered(bool on);
  bool filtered() const { return filterOn_; }

  Bookmark bookmark() const;
  void gotoBookmark(const Bookmark& mark);

  void suspendDisplay() { ++suspendCount_; }
  void resumeDisplay();
  bool displaySuspended() const { return suspendCount_ > 0; }

  ObserverId addObserver(Observer observer);
  void removeObserver(ObserverId id);

  // ---- used by Field -----------------------------------------------------
  const FieldDef& def(std::size_t index) const { return defs_[index]; }
  DisplaySettings& display(std::size_t index) { return display_[index]; }
  // The field's cell in the current record; a null cell when there is none.
  // Fails when the table is closed.
  detail::Cell readCell(std::size_t index) const;
  // The text of a field's cell; empty for null cells and non-text fields.
  std::string_view textOf(std::size_t index, const detail::Cell& cell) const {
    const FieldKind kind = defs_[index].kind;
    const bool text = kind == FieldKind::Text || kind == FieldKind::LongText;
    return text && !cell.null ? arena_.view(cell) : std::string_view();
  }
  // The field's cell in row `row` of the view (not the pending record);
  // fails when closed or out of range.
  detail::Cell cellAt(std::size_t row, std::size_t index) const;
  const DisplaySettings& displayOf(std::size_t index) const { return display_[index]; }

  // Stores into the pending record; fails unless appending or editing.
  void writeCell(std::size_t index, const detail::Cell& cell);
  // Stores a text into the pending record.
  void writeText(std::size_t index, std::string_view text);
  // " na tabela X" for messages.
  std::string tableSuffix() const;

 private:
  void requireOpen() const;
  void requireClosed() const;
  // Posts a pending record before an operation that leaves it.
  void settlePending();
  const std::vector<std::uint32_t>& view() const { return viewFiltered_ ? filteredView_ : order_; }
  RecordCells recordCells(std::uint32_t record) const { return RecordCells(records_, record); }
  // Resolves names against `defs`; throws for unknown names.
  std::vector<std::size_t> resolveIndex(const std::vector<FieldDef>& defs) const;
  // The field the filter tests, when the filter applies to `defs`; throws
  // when the filter names an unknown or non-number field.
  std::optional<std::size_t> resolveFilter(const std::vector<FieldDef>& defs,
                                           const std::optional<detail::FilterCondition>& condition,
                                           bool on) const;
  int compareKeys(const RecordCells& a, const RecordCells& b) const;
  bool lessRecord(const RecordCells& a, std::uint32_t idA, std::uint32_t idB) const;
  bool passesFilter(const RecordCells& cells) const;
  void sortOrder();
  // Rebuilds `filteredView_` for the current filter: by binary search when
  // the filter field leads the index order, else by testing every record.
  void rebuildView();
  bool filterFollowsIndex() const;
  std::vector<std::uint32_t> searchForFilter() const;
  std::vector<std::uint32_t> scanForFilter() const;
  // Position of `record` in the view, when it is there.
  std::optional<std::size_t> findInView(std::uint32_t record) const;
  void placeCursorOn(std::uint32_t record);
  void moveToFirst();
  void replaceDefinitions(std::vector<FieldDef> defs);
  void discardRecords();
  void postAppend();
  void postEdit();
  void notify(TableEvent event);

  std::string name_;
  std::vector<FieldDef> defs_;
  std::vector<std::unique_ptr<Field>> fields_;
  std::vector<DisplaySettings> display_;
  std::unordered_map<std::string, std::size_t> fieldByUpperName_;

  std::string indexText_;
  std::vector<std::string> indexNames_;
  std::vector<std::size_t> indexFields_;

  TableState state_ = TableState::Closed;
  detail::RecordStore records_;
  detail::TextArena arena_;
  std::uint32_t recordCount_ = 0;
  std::vector<std::uint32_t> order_;
  std::vector<std::uint32_t> filteredView_;
  bool viewFiltered_ = false;
  std::size_t position_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  std::vector<detail::Cell> pending_;
  std::uint32_t editedRecord_ = 0;

  std::string filterText_;
  std::optional<detail::FilterCondition> filterCondition_;
  bool filterOn_ = false;
  std::size_t filterField_ = 0;

  int suspendCount_ = 0;
  std::uint64_t generation_;  // changes whenever the records are replaced
  ObserverId nextObserverId_ = 1;
  std::vector<std::pair<ObserverId, Observer>> observers_;
};

}  // namespace recordtable
