// In-memory form of values: one fixed-size cell per value, texts kept in one
// growing byte arena owned by the table; nothing is allocated per value.
// RecordStore (record_store.h) keeps the cells of the records.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "big_buffer.h"

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
static_assert(std::is_trivially_copyable_v<Cell>, "cells are moved as bytes");

// Texts of all records, appended one after another. Replaced texts are not
// reclaimed until the table is closed: edits are few compared to loads.
class TextArena {
 public:
  void reserve(std::size_t bytes) { buffer_.reserve(bytes); }
  void clear() {
    buffer_.release();
    size_ = 0;
  }
  Cell store(std::string_view text) {
    Cell cell = Cell::ofText(size_, static_cast<std::uint32_t>(text.size()));
    buffer_.reserve(size_ + text.size());
    if (!text.empty()) std::memcpy(buffer_.data() + size_, text.data(), text.size());
    size_ += text.size();
    return cell;
  }
  // Only for cells of text fields that are not null.
  std::string_view view(const Cell& cell) const {
    return cell.length == 0 ? std::string_view() : std::string_view(buffer_.data() + cell.offset, cell.length);
  }
  std::size_t size() const { return size_; }
  void swap(TextArena& other) noexcept {
    std::swap(buffer_, other.buffer_);
    std::swap(size_, other.size_);
  }

 private:
  BigBuffer buffer_;
  std::size_t size_ = 0;
};

}  // namespace recordtable::detail
