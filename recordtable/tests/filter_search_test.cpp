// The filter view found by binary search (filter field leading the index
// order) against the view found by testing every record.
//
// Two tables receive the same seeded random operations: appends, edits that
// change the filtered field, the index fields or neither, cancels, moves,
// locates, bookmarks, filter texts and switches, index changes and a save and
// reload. Table `fast` filters on K (or SEQ), table `scan` on K_COPY (or
// SEQ_COPY), a field holding the same values that is never in the index, so
// it always tests every record. After each operation both must agree on
// everything a caller can see (view, current record, record number, eof and
// bof, failures, notifications), and the view must be the one a plain model
// of the records gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

struct KindCase {
  const char* label;
  FieldKind kind;
  std::vector<double> values;  // K values the records take (null is added)
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.label; }

// Integer filter values: around the stored ones and beyond every kind.
const std::vector<std::int64_t> kFilterValues = {
    -3, -2, -1, 0, 0, 1, 1, 2, 2, 3, 3, 5, 7, 32767, -32768, 32768, 2147483647, -2147483648,
    2147483648, 90000000000000000, 92233720368547758, 9007199254740992, 9007199254740993,
    1000000000000000000, kInt64Max, kInt64Min};

enum class IndexMode { K, KThenSeq, Seq };

const char* indexText(IndexMode mode) {
  switch (mode) {
    case IndexMode::K: return "K";
    case IndexMode::KThenSeq: return "K; SEQ";
    case IndexMode::Seq: return "SEQ";
  }
  return "";
}

// One record as the test knows it; `id` is its order of addition.
struct ModelRecord {
  std::uint32_t id;
  std::optional<double> k;
  std::optional<std::int64_t> seq;
};

// The engine's equality of a number field with an integer.
bool equalsInteger(std::optional<double> value, std::int64_t wanted) {
  if (!value || std::trunc(*value) != *value || std::fabs(*value) >= 9.2e18) return false;
  return static_cast<std::int64_t>(*value) == wanted;
}

template <typename T>
int compareNullFirst(const std::optional<T>& a, const std::optional<T>& b) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  return (*a > *b) - (*a < *b);
}

// Everything a caller sees of a table at one moment.
struct Snapshot {
  TableState state;
  std::size_t count, total, number;
  bool eof, bof, empty;
  std::string current;
  std::vector<std::string> viewIds;
  bool operator==(const Snapshot&) const = default;
};

std::string describe(const Snapshot& s) {
  std::ostringstream out;
  out << "state " << static_cast<int>(s.state) << " count " << s.count << "/" << s.total << " number "
      << s.number << " eof " << s.eof << " bof " << s.bof << " empty " << s.empty << " current '"
      << s.current << "' view";
  for (const std::string& id : s.viewIds) out << ' ' << id;
  return out.str();
}

class Mirror {
 public:
  Mirror(const KindCase& kind, std::uint32_t seed, const std::filesystem::path& folder)
      : kind_(kind), random_(seed), folder_(folder) {
    for (Table* table : {&fast_, &scan_}) {
      table->setFieldDefs({{"ID", FieldKind::Int32, 0},
                           {"K", kind.kind, kind.kind == FieldKind::Decimal ? 2 : 0},
                           {"K_COPY", kind.kind, kind.kind == FieldKind::Decimal ? 2 : 0},
                           {"SEQ", FieldKind::Int32, 0},
                           {"SEQ_COPY", FieldKind::Int32, 0},
                           {"NOTA", FieldKind::Text, 20}});
      table->setIndexFieldNames(indexText(mode_));
    }
    fast_.addObserver([this](TableEvent e) { fastEvents_.push_back(e); });
    scan_.addObserver([this](TableEvent e) { scanEvents_.push_back(e); });
    both("createEmpty", [](Table& t) { t.createEmpty(); });
  }

  void run(int steps) {
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) randomStep(step);
  }

 private:
  std::uint32_t pick(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }
  bool chance(std::uint32_t percent) { return pick(100) < percent; }

  std::optional<double> randomK() {
    if (chance(10)) return std::nullopt;
    return kind_.values[pick(static_cast<std::uint32_t>(kind_.values.size()))];
  }
  std::optional<std::int64_t> randomSeq() {
    if (chance(10)) return std::nullopt;
    return static_cast<std::int64_t>(pick(6)) - 1;
  }

  void setK(Table& t, const char* name, std::optional<double> value) {
    Field& field = t.fieldByName(name);
    if (!value) return field.setNull();
    switch (kind_.kind) {
      case FieldKind::Float: return field.setFloat(*value);
      case FieldKind::Decimal: return field.setDecimalUnits(std::llround(*value * 100));
      default: return field.setInteger(static_cast<std::int64_t>(*value));
    }
  }
  static void setSeq(Table& t, const char* name, std::optional<std::int64_t> value) {
    if (value) t.fieldByName(name).setInteger(*value);
    else t.fieldByName(name).setNull();
  }
  void writeK(Table& t, std::optional<double> value) {
    setK(t, "K", value);
    setK(t, "K_COPY", value);
  }
  static void writeSeq(Table& t, std::optional<std::int64_t> value) {
    setSeq(t, "SEQ", value);
    setSeq(t, "SEQ_COPY", value);
  }

  // The model record the table's current record stands for.
  ModelRecord* currentModel() {
    if (fast_.isEmpty() || fast_.state() != TableState::Browse) return nullptr;
    const std::int64_t id = fast_.fieldByName("ID").asInteger();
    for (ModelRecord& r : model_) {
      if (r.id == id) return &r;
    }
    return nullptr;
  }

  void randomStep(int step) {
    const std::uint32_t op = pick(100);
    if (op < 20) {
      const std::optional<double> k = randomK();
      const std::optional<std::int64_t> seq = randomSeq();
      const auto id = static_cast<std::uint32_t>(model_.size());
      const bool implicit = chance(30);  // posted by the move that follows
      both("append", [&](Table& t) {
        t.append();
        t.fieldByName("ID").setInteger(id);
        writeK(t, k);
        writeSeq(t, seq);
        if (implicit) t.first();
        else t.post();
      });
      model_.push_back({id, k, seq});
    } else if (op < 45) {
      ModelRecord* record = currentModel();
      const std::uint32_t what = pick(4);
      const std::optional<double> k = randomK();
      const std::optional<std::int64_t> seq = randomSeq();
      const bool cancel = chance(15);
      both("edit", [&](Table& t) {
        t.edit();
        if (what == 0 || what == 3) writeK(t, k);
        if (what == 1 || what == 3) writeSeq(t, seq);
        if (what == 2) t.fieldByName("NOTA").setText("nota " + std::to_string(step));
        if (cancel) t.cancel();
        else t.post();
      });
      if (record != nullptr && !cancel) {
        if (what == 0 || what == 3) record->k = k;
        if (what == 1 || what == 3) record->seq = seq;
      }
    } else if (op < 60) {
      const std::uint32_t move = pick(4);
      both("move", [&](Table& t) {
        if (move == 0) t.first();
        else if (move == 1) t.next();
        else if (move == 2) t.prior();
        else t.last();
      });
    } else if (op < 75) {
      filterOnSeq_ = chance(25);
      filterValue_ = kFilterValues[pick(static_cast<std::uint32_t>(kFilterValues.size()))];
      const std::string value = std::to_string(filterValue_);
      both("filter text", [&](Table& t) {
        const bool isFast = &t == &fast_;
        const std::string field = filterOnSeq_ ? (isFast ? "SEQ" : "SEQ_COPY") : (isFast ? "K" : "K_COPY");
        t.setFilterText(field + " = " + value);
      });
    } else if (op < 83) {
      const bool on = !fast_.filtered();
      both("filter switch", [&](Table& t) { t.setFiltered(on); });
    } else if (op < 88) {
      const std::int64_t id = pick(static_cast<std::uint32_t>(model_.size()) + 2);
      bool found[2] = {false, false};
      both("locate", [&](Table& t) { found[&t == &fast_ ? 0 : 1] = t.locate("ID", Value{id}); });
      EXPECT_EQ(found[0], found[1]) << "locate ID " << id;
    } else if (op < 92) {
      if (chance(50)) {
        fastMark_ = fast_.bookmark();
        scanMark_ = scan_.bookmark();
        EXPECT_EQ(fastMark_.isSet(), scanMark_.isSet());
      } else {
        both("gotoBookmark", [&](Table& t) { t.gotoBookmark(&t == &fast_ ? fastMark_ : scanMark_); });
      }
    } else if (op < 96) {
      mode_ = static_cast<IndexMode>(pick(3));
      both("index", [&](Table& t) { t.setIndexFieldNames(indexText(mode_)); });
    } else if (op < 98) {
      reload(step);
    }
    compare(step);
  }

  // Saved in index order and read back: records renumber in that order.
  void reload(int step) {
    const std::filesystem::path file = folder_ / ("mirror" + std::to_string(step) + ".tbl");
    fast_.saveToFile(file);
    both("load", [&](Table& t) { t.loadFromFile(file); });
    std::vector<ModelRecord> ordered = sortedModel();
    for (std::size_t i = 0; i < ordered.size(); ++i) ordered[i].id = static_cast<std::uint32_t>(i);
    renumber(ordered);
  }

  // After a reload the file order is the new order of addition: the model
  // takes it, and the ID fields are rewritten to match (under no filter).
  void renumber(std::vector<ModelRecord>& ordered) {
    for (Table* t : {&fast_, &scan_}) {
      DisplaySuspension quiet(*t);
      const bool filtered = t->filtered();
      const std::string mode = t->indexFieldNames();
      t->setFiltered(false);
      t->setIndexFieldNames("");  // the order of the file, which is the new id order
      std::uint32_t id = 0;
      for (t->first(); !t->eof(); t->next()) {
        t->edit();
        t->fieldByName("ID").setInteger(id++);
        t->post();
      }
      t->setIndexFieldNames(mode);
      t->setFiltered(filtered);
    }
    model_ = ordered;
    fastEvents_.clear();
    scanEvents_.clear();
    fastMark_ = scanMark_ = Bookmark();
  }

  int compareModel(const ModelRecord& a, const ModelRecord& b) const {
    int c = 0;
    if (mode_ != IndexMode::Seq) c = compareNullFirst(a.k, b.k);
    if (c == 0 && mode_ != IndexMode::K) c = compareNullFirst(a.seq, b.seq);
    return c;
  }

  std::vector<ModelRecord> sortedModel() const {
    std::vector<ModelRecord> ordered = model_;
    std::sort(ordered.begin(), ordered.end(), [this](const ModelRecord& a, const ModelRecord& b) {
      const int c = compareModel(a, b);
      return c != 0 ? c < 0 : a.id < b.id;
    });
    return ordered;
  }

  std::vector<std::string> expectedView() const {
    const bool restricted = fast_.filtered() && !fast_.filterText().empty();
    std::vector<std::string> ids;
    for (const ModelRecord& r : sortedModel()) {
      const bool passes = filterOnSeq_ ? r.seq && *r.seq == filterValue_ : equalsInteger(r.k, filterValue_);
      if (!restricted || passes) ids.push_back(std::to_string(r.id));
    }
    return ids;
  }

  static Snapshot snapshot(const Table& t) {
    Snapshot s{t.state(), t.recordCount(), t.totalRecordCount(), t.recordNumber(), t.eof(), t.bof(),
               t.isEmpty(), {}, {}};
    if (!t.isOpen()) return s;
    s.current = t.fieldByName("ID").asText();
    for (std::size_t row = 0; row < t.recordCount(); ++row) s.viewIds.push_back(t.textAt(row, 0));
    return s;
  }

  // Runs `operation` on both tables; both must fail or both succeed.
  template <typename Operation>
  void both(const char* what, Operation&& operation) {
    bool failed[2] = {false, false};
    Table* tables[2] = {&fast_, &scan_};
    for (int i = 0; i < 2; ++i) {
      try {
        operation(*tables[i]);
      } catch (const TableError&) {
        failed[i] = true;
        tables[i]->cancel();
      }
    }
    EXPECT_EQ(failed[0], failed[1]) << what;
    lastOperation_ = what;
  }

  void compare(int step) {
    const Snapshot fast = snapshot(fast_);
    const Snapshot scan = snapshot(scan_);
    ASSERT_EQ(fast, scan) << "step " << step << " after " << lastOperation_ << "\n fast: " << describe(fast)
                          << "\n scan: " << describe(scan);
    ASSERT_EQ(fastEvents_, scanEvents_) << "step " << step << " after " << lastOperation_;
    fastEvents_.clear();
    scanEvents_.clear();
    ASSERT_EQ(fast.total, model_.size()) << "step " << step;
    if (fast.state == TableState::Browse) {
      ASSERT_EQ(fast.viewIds, expectedView())
          << "step " << step << " after " << lastOperation_ << " filter " << fast_.filterText() << " on "
          << fast_.filtered() << " index " << fast_.indexFieldNames();
    }
  }

  KindCase kind_;
  std::mt19937 random_;
  std::filesystem::path folder_;
  IndexMode mode_ = IndexMode::K;
  Table fast_{"rapida"};
  Table scan_{"varredura"};
  std::vector<TableEvent> fastEvents_, scanEvents_;
  std::vector<ModelRecord> model_;
  bool filterOnSeq_ = false;
  std::int64_t filterValue_ = 0;
  Bookmark fastMark_, scanMark_;
  std::string lastOperation_;
};

class FilterSearch : public ::testing::TestWithParam<KindCase> {};

TEST_P(FilterSearch, SameViewAsTestingEveryRecord) {
  test::ScratchFolder folder;
  for (std::uint32_t seed = 1; seed <= 6 && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Mirror(GetParam(), seed, folder.path()).run(700);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FilterSearch,
    ::testing::Values(KindCase{"int16", FieldKind::Int16, {-32768, -3, -1, 0, 1, 1, 2, 3, 5, 32767}},
                      KindCase{"int32", FieldKind::Int32, {-2147483648.0, -1, 0, 1, 2, 2, 3, 5, 2147483647}},
                      KindCase{"float", FieldKind::Float,
                               {-2, -0.0, 0, 0.5, 1, 1, 2, 2.5, 3, 9007199254740992.0, 1e18}},
                      KindCase{"decimal", FieldKind::Decimal, {-2, 0, 0.5, 1, 1.25, 2, 3, 90000000000000000.0}}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace recordtable
