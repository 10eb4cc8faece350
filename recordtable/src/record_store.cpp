#include "record_store.h"

#include <utility>

namespace recordtable::detail {

void RecordStore::reset(std::size_t fieldCount) {
  offsets_.release();
  words_.release();
  fieldCount_ = fieldCount;
  bitmapWords_ = (fieldCount + 63) / 64;
  recordCount_ = 0;
  usedWords_ = 0;
}

std::size_t RecordStore::nonNullCount(const Cell* cells) const {
  std::size_t count = 0;
  for (std::size_t f = 0; f < fieldCount_; ++f) count += cells[f].null ? 0 : 1;
  return count;
}

void RecordStore::writeAt(std::size_t at, const Cell* cells) {
  std::uint64_t* bits = words() + at;
  std::uint64_t* values = bits + bitmapWords_;
  for (std::size_t w = 0; w < bitmapWords_; ++w) bits[w] = 0;
  for (std::size_t f = 0; f < fieldCount_; ++f) {
    if (cells[f].null) continue;
    bits[f >> 6] |= std::uint64_t{1} << (f & 63);
    std::memcpy(static_cast<void*>(values), &cells[f], sizeof(Cell));
    values += kWordsPerCell;
  }
}

void RecordStore::copyRecord(std::size_t record, Cell* out) const {
  const std::uint64_t* bits = words() + offsets()[record];
  const std::uint64_t* values = bits + bitmapWords_;
  for (std::size_t f = 0; f < fieldCount_; ++f) {
    if ((bits[f >> 6] >> (f & 63) & 1) == 0) {
      out[f] = Cell();
      continue;
    }
    std::memcpy(static_cast<void*>(&out[f]), values, sizeof(Cell));
    values += kWordsPerCell;
  }
}

void RecordStore::append(const Cell* cells) {
  const std::size_t needed = bitmapWords_ + kWordsPerCell * nonNullCount(cells);
  // Both reservations come before any change, so a failure leaves the
  // store as it was.
  offsets_.reserve((recordCount_ + 1) * sizeof(std::uint64_t));
  words_.reserve((usedWords_ + needed) * sizeof(std::uint64_t));
  writeAt(usedWords_, cells);
  offsets()[recordCount_] = usedWords_;
  usedWords_ += needed;
  ++recordCount_;
}

void RecordStore::replace(std::size_t record, const Cell* cells) {
  const std::size_t at = offsets()[record];
  std::size_t oldValues = 0;
  for (std::size_t w = 0; w < bitmapWords_; ++w) {
    oldValues += static_cast<std::size_t>(__builtin_popcountll(words()[at + w]));
  }
  const std::size_t newValues = nonNullCount(cells);
  if (newValues <= oldValues) {
    writeAt(at, cells);
    return;
  }
  const std::size_t needed = bitmapWords_ + kWordsPerCell * newValues;
  words_.reserve((usedWords_ + needed) * sizeof(std::uint64_t));
  writeAt(usedWords_, cells);
  offsets()[record] = usedWords_;
  usedWords_ += needed;
}

void RecordStore::swap(RecordStore& other) noexcept {
  std::swap(fieldCount_, other.fieldCount_);
  std::swap(bitmapWords_, other.bitmapWords_);
  std::swap(recordCount_, other.recordCount_);
  offsets_.swap(other.offsets_);
  words_.swap(other.words_);
  std::swap(usedWords_, other.usedWords_);
}

}  // namespace recordtable::detail
