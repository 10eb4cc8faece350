// In-memory form of values: one fixed-size cell per field of a record, texts
// kept in one growing byte arena owned by the table. A record is a run of
// `fieldCount` consecutive cells; nothing is allocated per value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace recordtable::detail {

struct Cell {
  union {
    std::int64_t integer;  // Int16, Int32, Decimal units, DateTime milliseconds
    double number;         // Float
    std::uint64_t offset;  // Text, LongText: start in the arena
  };
  std::uint32_t length = 0;  // Text, LongText: bytes in the arena
  bool null = true;

  Cell() : integer(0) {}
  static Cell ofInteger(std::int64_t v) { Cell c; c.integer = v; c.null = false; return c; }
  static Cell ofNumber(double v) { Cell c; c.number = v; c.null = false; return c; }
  static Cell ofText(std::uint64_t offset, std::uint32_t length) {
    Cell c; c.offset = offset; c.length = length; c.null = false; return c;
  }
};
static_assert(sizeof(Cell) == 16, "a cell is meant to stay two words");

// Texts of all records, appended one after another. Replaced texts are not
// reclaimed until the table is closed: edits are few compared to loads.
class TextArena {
 public:
  void reserve(std::size_t bytes) { bytes_.reserve(bytes); }
  void clear() { bytes_.clear(); bytes_.shrink_to_fit(); }
  Cell store(std::string_view text) {
    Cell cell = Cell::ofText(bytes_.size(), static_cast<std::uint32_t>(text.size()));
    bytes_.append(text.data(), text.size());
    return cell;
  }
  std::string_view view(const Cell& cell) const {
    return std::string_view(bytes_.data() + cell.offset, cell.length);
  }
  std::size_t size() const { return bytes_.size(); }
  void swap(TextArena& other) noexcept { bytes_.swap(other.bytes_); }

 private:
  std::string bytes_;
};

}  // namespace recordtable::detail
