// The records of a table, each kept as a bitmap of its non-null fields
// followed by the cells of those fields only. A null costs one bit: a
// table of a thousand fields and mostly empty rows takes memory in
// proportion to its values, not to its width.
//
// Records are numbered from 0 in the order added and are never removed
// while the table is open. Replacing a record that gained values writes it
// anew at the end; the old place is reclaimed only when the store is
// cleared (edits are few compared to loads).
#pragma once

#include <cstddef>
#include <cstdint>

#include "big_buffer.h"
#include "cell.h"

namespace recordtable::detail {

class RecordStore {
 public:
  // Empties the store for records of `fieldCount` fields.
  void reset(std::size_t fieldCount);
  void clear() { reset(0); }
  std::size_t fieldCount() const { return fieldCount_; }
  std::size_t recordCount() const { return recordCount_; }

  // The cell of one field of one record (a null cell for a null value).
  Cell cell(std::size_t record, std::size_t field) const {
    const std::uint64_t* bits = words() + offsets()[record];
    const std::size_t word = field >> 6;
    const std::uint64_t mask = std::uint64_t{1} << (field & 63);
    if ((bits[word] & mask) == 0) return Cell();
    std::size_t rank = static_cast<std::size_t>(__builtin_popcountll(bits[word] & (mask - 1)));
    for (std::size_t w = 0; w < word; ++w) rank += static_cast<std::size_t>(__builtin_popcountll(bits[w]));
    Cell value;
    std::memcpy(static_cast<void*>(&value), bits + bitmapWords_ + kWordsPerCell * rank, sizeof(Cell));
    return value;
  }
  // All `fieldCount()` cells of a record into `out`.
  void copyRecord(std::size_t record, Cell* out) const;
  // Adds a record of `fieldCount()` cells. Throws std::bad_alloc when memory
  // runs out, with the store unchanged.
  void append(const Cell* cells);
  // Replaces the cells of an existing record; on std::bad_alloc the record
  // keeps its old cells.
  void replace(std::size_t record, const Cell* cells);

  void swap(RecordStore& other) noexcept;
  // Memory held for the records, in bytes.
  std::size_t reservedBytes() const { return offsets_.capacity() + words_.capacity(); }

 private:
  static constexpr std::size_t kWordsPerCell = sizeof(Cell) / sizeof(std::uint64_t);
  static_assert(sizeof(Cell) % sizeof(std::uint64_t) == 0, "cells are stored in whole words");

  const std::uint64_t* words() const { return reinterpret_cast<const std::uint64_t*>(words_.data()); }
  std::uint64_t* words() { return reinterpret_cast<std::uint64_t*>(words_.data()); }
  const std::uint64_t* offsets() const { return reinterpret_cast<const std::uint64_t*>(offsets_.data()); }
  std::uint64_t* offsets() { return reinterpret_cast<std::uint64_t*>(offsets_.data()); }
  std::size_t nonNullCount(const Cell* cells) const;
  // Writes bitmap and values of `cells` at word `at` of the pool.
  void writeAt(std::size_t at, const Cell* cells);

  std::size_t fieldCount_ = 0;
  std::size_t bitmapWords_ = 0;
  std::size_t recordCount_ = 0;
  BigBuffer offsets_;  // per record: where its words start in words_
  BigBuffer words_;    // the records, one after another
  std::size_t usedWords_ = 0;
};

}  // namespace recordtable::detail
