// The store of records: values read back as written whatever fields are
// null, and a null costs a bit, not a cell.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "record_store.h"

namespace recordtable::detail {
namespace {

// Records of `fields` cells, each null with probability `nullShare`.
std::vector<std::vector<Cell>> randomRecords(std::size_t fields, std::size_t count, double nullShare,
                                             unsigned seed) {
  std::mt19937_64 random(seed);
  std::bernoulli_distribution isNull(nullShare);
  std::vector<std::vector<Cell>> records(count, std::vector<Cell>(fields));
  for (auto& record : records) {
    for (Cell& cell : record) {
      if (!isNull(random)) cell = Cell::ofInteger(static_cast<std::int64_t>(random()));
    }
  }
  return records;
}

void expectSame(const Cell& a, const Cell& b, std::size_t record, std::size_t field) {
  EXPECT_EQ(a.null, b.null) << "record " << record << " field " << field;
  if (!a.null) {
    EXPECT_EQ(a.integer, b.integer) << "record " << record << " field " << field;
  }
}

void expectHolds(const RecordStore& store, const std::vector<std::vector<Cell>>& records) {
  ASSERT_EQ(store.recordCount(), records.size());
  std::vector<Cell> copy(store.fieldCount());
  for (std::size_t r = 0; r < records.size(); ++r) {
    store.copyRecord(r, copy.data());
    for (std::size_t f = 0; f < store.fieldCount(); ++f) {
      expectSame(store.cell(r, f), records[r][f], r, f);
      expectSame(copy[f], records[r][f], r, f);
    }
  }
}

// Widths around the 64-field words of the null bitmap, from none to all null.
TEST(RecordStore, ReadsBackEveryCellWhateverIsNull) {
  for (const std::size_t fields : {1u, 63u, 64u, 65u, 1000u}) {
    for (const double nullShare : {0.0, 0.5, 0.95, 1.0}) {
      SCOPED_TRACE(testing::Message() << fields << " fields, null share " << nullShare);
      RecordStore store;
      store.reset(fields);
      auto records = randomRecords(fields, 40, nullShare, static_cast<unsigned>(fields));
      for (const auto& record : records) store.append(record.data());
      expectHolds(store, records);

      // Replacing with more values (written anew) and with fewer (in place).
      const auto fuller = randomRecords(fields, 2, 0.0, 7);
      const auto emptier = randomRecords(fields, 2, 1.0, 8);
      store.replace(3, fuller[0].data());
      store.replace(5, emptier[0].data());
      store.replace(3, emptier[1].data());
      store.replace(5, fuller[1].data());
      records[3] = emptier[1];
      records[5] = fuller[1];
      expectHolds(store, records);
    }
  }
}

// A thousand fields of nulls: a bit per field and a word per record, where
// full cells would take 16 000 bytes a record.
TEST(RecordStore, NullsCostABitEach) {
  constexpr std::size_t kFields = 1000;
  constexpr std::size_t kRecords = 3000;
  RecordStore store;
  store.reset(kFields);
  const std::vector<Cell> nulls(kFields);
  for (std::size_t r = 0; r < kRecords; ++r) store.append(nulls.data());
  EXPECT_LE(store.reservedBytes(), 2 * kRecords * (kFields / 8 + 16 + 8));
}

}  // namespace
}  // namespace recordtable::detail
