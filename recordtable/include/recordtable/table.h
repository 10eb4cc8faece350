// A record table held in memory: field definitions, records kept in the
// order of the index fields, a current record, an optional filter, and the
// table file it is loaded from and saved to (see FORMAT.md).
//
// Not thread-safe: one thread owns a table. Every failing operation raises
// TableError and leaves the table as it was before the call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "recordtable/error.h"
#include "recordtable/export.h"
#include "recordtable/field.h"

namespace recordtable {

// A value given to locate(): converted to the field's kind before comparing
// (a value that cannot be converted raises TableError; one that converts but
// lies beyond what the field holds, such as a text longer than the field or
// 70000 for an int16, is simply not found). monostate is null.
using Value = std::variant<std::monostate, std::int64_t, double, std::string, DateTime>;

// What a table is doing with its current record.
enum class TableState : std::uint8_t {
  Closed,     // no records; values cannot be read or written
  Browse,     // positioned on a stored record, or on none when the view is empty
  Appending,  // a new record is pending (append() until post() or cancel())
  Editing,    // the current record's changes are pending (edit() until post() or cancel())
};

// Notifications to observers, called synchronously on the table's thread.
enum class TableEvent : std::uint8_t {
  // The current record has changed: first/next/prior/last (also a next that
  // found no further record), a successful locate, gotoBookmark, append,
  // open (createEmpty, loadFromFile), a change of filter or index. Fired
  // also while display is suspended.
  AfterScroll,
  // The stored records, their values, the view (filter) or its order changed:
  // post, cancel of an edit, close, createEmpty, loadFromFile, filter and
  // index changes. Display adapters refresh everything on it (or when display
  // resumes, if suspended).
  ContentChanged,
  // The display suspension counter went back to zero.
  DisplayResumed,
};

using ObserverId = std::uint64_t;
using Observer = std::function<void(TableEvent)>;

// A remembered record. Copyable; valid only for the table that made it, and
// until released, until that table is closed or reloaded, or until its
// record leaves the view.
class Bookmark {
 public:
  Bookmark() = default;
  bool isSet() const { return generation_ != 0; }

 private:
  friend class TableImpl;
  std::uint64_t generation_ = 0;
  std::uint32_t record_ = 0;
};

class RECORDTABLE_EXPORT Table {
 public:
  // `name` (e.g. "CDS_Processo") appears in error messages only.
  explicit Table(std::string name = {});
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::string& name() const;

  // ---- definitions -------------------------------------------------------
  // Replaces the field definitions (checked one by one, names unique). Fails
  // while the table is open. Existing Field references become invalid.
  void setFieldDefs(std::vector<FieldDef> defs);
  const std::vector<FieldDef>& fieldDefs() const;

  // Index fields: names separated by ";" (blanks around names ignored), e.g.
  // "NRO_LOTE; NRO_ITEM". Records are ordered by them, nulls first, equal keys
  // in the order the records were added. Unknown names fail (at once when the
  // table has definitions, else when it opens). Setting them on an open table
  // reorders it and moves to its first record.
  void setIndexFieldNames(std::string_view names);
  const std::string& indexFieldNames() const;

  // ---- fields ------------------------------------------------------------
  std::size_t fieldCount() const;
  Field& field(std::size_t index);
  const Field& field(std::size_t index) const;
  // Fails with TableError naming the table and the field when there is none.
  Field& fieldByName(std::string_view name);
  const Field& fieldByName(std::string_view name) const;
  // nullptr when there is none.
  Field* findField(std::string_view name);
  const Field* findField(std::string_view name) const;

  // ---- life cycle --------------------------------------------------------
  bool isOpen() const;
  TableState state() const;
  // Opens the table with no records from the definitions it holds. Fails
  // when open or when there are no definitions.
  void createEmpty();
  // Closes the table (if open), reads definitions and records from `path`
  // and opens on the first record in index order. Display settings of the
  // new fields are the defaults. On failure the table stays closed, and the
  // definitions it had stay. The file is never written (opened immutable).
  void loadFromFile(const std::filesystem::path& path);
  // Writes the definitions and every record, whatever filter is on, to a
  // temporary file beside `path` that then replaces `path` at once. Posts a
  // pending record first. Fails when closed; on failure any old file at
  // `path` is left as it was and no temporary file stays behind.
  void saveToFile(const std::filesystem::path& path);
  // Discards the records (a pending record included). Definitions, display
  // settings, index fields and the filter text and switch stay.
  void close();

  // ---- moving ------------------------------------------------------------
  // Moves post a pending record first, like every operation that leaves it.
  void first();
  void next();   // on the last record: stays there and sets eof()
  void prior();  // on the first record: stays there and sets bof()
  void last();
  bool eof() const;  // the last move went past the end, or the view is empty
  bool bof() const;
  bool isEmpty() const;            // the view has no record (true when closed)
  std::size_t recordCount() const;  // records in the view
  std::size_t totalRecordCount() const;  // records stored, whatever the filter
  // Position of the current record in the view, from 1; 0 with no current
  // stored record (empty view, closed, or appending).
  std::size_t recordNumber() const;
  // Searches the view from its start for the first record whose field equals
  // `value` exactly; moves there and answers true, or answers false and stays.
  bool locate(std::string_view fieldName, const Value& value);

  // ---- reading any record of the view ------------------------------------
  // For display adapters (grid models, reports) that show rows other than
  // the current one: read without moving the cursor and without events.
  // `row` counts from 0 in the view; a row or field beyond the end, or a
  // closed table, fails. The pending record of append or edit is not seen.
  bool isNullAt(std::size_t row, std::size_t fieldIndex) const;
  std::string textAt(std::size_t row, std::size_t fieldIndex) const;         // as Field::asText
  std::string displayTextAt(std::size_t row, std::size_t fieldIndex) const;  // as Field::displayText

  // ---- changing ----------------------------------------------------------
  // Starts a new record (all fields null) at the end of the view.
  void append();
  // Starts changing the current record; fails with no current record.
  void edit();
  // Stores the pending record; it then takes its place in index order and
  // stays current. Fails when nothing is pending.
  void post();
  // Drops the pending record; nothing when nothing is pending.
  void cancel();

  // ---- filter ------------------------------------------------------------
  // "FIELD = <integer>" (blanks optional, sign allowed) or "" for no
  // restriction. Fails on any other form; the old text then stays. The text
  // stays while the switch is off. When the switch is on and the table open,
  // the view keeps the records whose FIELD (a number field) equals the
  // integer; an unknown or non-number field fails.
  void setFilterText(std::string_view text);
  const std::string& filterText() const;
  void setFiltered(bool on);
  bool filtered() const;

  // ---- bookmarks ---------------------------------------------------------
  // Remembers the current stored record; unset with no current record.
  Bookmark bookmark() const;
  // Moves to the remembered record; fails when the mark is unset, released,
  // made by another table or before a close or load, or its record is not
  // in the view.
  void gotoBookmark(const Bookmark& mark);
  void releaseBookmark(Bookmark& mark);

  // ---- display suspension ------------------------------------------------
  // Nested counter: while above zero, display adapters do not repaint.
  // Events still fire. Resuming below zero fails.
  void suspendDisplay();
  void resumeDisplay();
  bool displaySuspended() const;

  // ---- observers ---------------------------------------------------------
  // Observers may move or change this table from inside the call. An
  // observer added during a notification is called from the next one on; one
  // removed during a notification is not called again, not even for the
  // notification under way.
  ObserverId addObserver(Observer observer);
  void removeObserver(ObserverId id);

 private:
  std::unique_ptr<TableImpl> impl_;
};

// Suspends a table's display for the lifetime of the guard.
class DisplaySuspension {
 public:
  explicit DisplaySuspension(Table& table) : table_(table) { table_.suspendDisplay(); }
  ~DisplaySuspension() { table_.resumeDisplay(); }
  DisplaySuspension(const DisplaySuspension&) = delete;
  DisplaySuspension& operator=(const DisplaySuspension&) = delete;

 private:
  Table& table_;
};

}  // namespace recordtable
