// The operations the program requires of a record table: life cycle,
// moving, index order, locate, append/edit/post, filter, bookmarks, record
// numbers, display suspension and notifications.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

using test::appendItem;
using test::itemDefs;
using test::viewKeys;
using Keys = std::vector<std::pair<int, int>>;

// An open item table ordered by "NRO_LOTE; NRO_ITEM", holding lots 1..3.
class ItemTable : public ::testing::Test {
 protected:
  void SetUp() override {
    table.setFieldDefs(itemDefs());
    table.setIndexFieldNames(" NRO_LOTE ;NRO_ITEM ");
    table.createEmpty();
    // Added out of order: the index decides the view.
    appendItem(table, 2, 1, "Lote dois");
    appendItem(table, 1, 2, "Lote um");
    appendItem(table, 3, 1, "Lote três");
    appendItem(table, 1, 1, "Lote um");
    appendItem(table, 3, 2, "Lote três");
    table.first();
  }
  // Records every event from here on.
  void watch() {
    table.addObserver([this](TableEvent e) { events.push_back(e); });
  }

  Table table{"CDS_Processo"};
  std::vector<TableEvent> events;
};

TEST_F(ItemTable, ViewFollowsTheIndexFields) {
  EXPECT_EQ(viewKeys(table), (Keys{{1, 1}, {1, 2}, {2, 1}, {3, 1}, {3, 2}}));
  EXPECT_EQ(table.recordCount(), 5u);
  EXPECT_FALSE(table.isEmpty());
}

TEST_F(ItemTable, FirstNextAndEndOfTable) {
  table.first();
  EXPECT_TRUE(table.bof());
  EXPECT_FALSE(table.eof());
  EXPECT_EQ(table.recordNumber(), 1u);
  for (int i = 0; i < 4; ++i) table.next();
  EXPECT_FALSE(table.eof()) << "on the last record, not past it";
  EXPECT_EQ(table.recordNumber(), 5u);
  table.next();
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.recordNumber(), 5u) << "a move past the end stays on the last record";
  table.prior();
  EXPECT_EQ(table.recordNumber(), 4u);
  table.last();
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.recordNumber(), 5u);
}

TEST_F(ItemTable, PostedRecordsTakeTheirPlaceInIndexOrder) {
  appendItem(table, 2, 0, "novo");
  EXPECT_EQ(table.fieldByName("NRO_ITEM").asInteger(), 0) << "the posted record stays current";
  EXPECT_EQ(table.recordNumber(), 3u);
  // An edit that changes a key moves the record; the cursor follows it.
  table.locate("NRO_LOTE", Value{std::int64_t{3}});
  table.edit();
  table.fieldByName("NRO_LOTE").setInteger(0);
  table.post();
  EXPECT_EQ(table.recordNumber(), 1u);
  EXPECT_EQ(viewKeys(table), (Keys{{0, 1}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {3, 2}}));
}

TEST_F(ItemTable, EqualKeysKeepTheOrderRecordsWereAdded) {
  table.setIndexFieldNames("NRO_LOTE");
  EXPECT_EQ(viewKeys(table), (Keys{{1, 2}, {1, 1}, {2, 1}, {3, 1}, {3, 2}}));
}

TEST_F(ItemTable, EditNotChangingKeysKeepsPlaceAndCancelRestores) {
  table.next();
  table.edit();
  table.fieldByName("DES_LOTE").setText("alterado");
  EXPECT_EQ(table.fieldByName("DES_LOTE").asText(), "alterado") << "reads see the pending value";
  table.cancel();
  EXPECT_EQ(table.fieldByName("DES_LOTE").asText(), "Lote um");
  table.edit();
  table.fieldByName("DES_LOTE").setText("alterado");
  table.next();  // a move posts the pending record
  table.prior();
  EXPECT_EQ(table.fieldByName("DES_LOTE").asText(), "alterado");
  EXPECT_EQ(table.recordNumber(), 2u);
}

TEST_F(ItemTable, AnyRowOfTheViewReadsWithoutMoving) {
  table.fieldByName("NRO_ITEM").setDisplay({"0000", 0, std::nullopt});
  table.setFilterText("NRO_LOTE = 3");
  table.setFiltered(true);
  int scrolls = 0;
  table.addObserver([&](TableEvent e) { scrolls += e == TableEvent::AfterScroll; });
  EXPECT_EQ(table.displayTextAt(1, 1), "0002");
  EXPECT_EQ(table.textAt(1, 1), "2");
  EXPECT_EQ(table.textAt(0, 2), "Lote três");
  EXPECT_FALSE(table.isNullAt(0, 0));
  EXPECT_EQ(table.recordNumber(), 1u);
  EXPECT_EQ(scrolls, 0);
  EXPECT_THROW(table.textAt(2, 0), TableError) << "beyond the view";
  EXPECT_THROW(table.textAt(0, 3), TableError) << "beyond the fields";
}

TEST_F(ItemTable, ChangesOutsideAppendOrEditFail) {
  EXPECT_THROW(table.fieldByName("DES_LOTE").setText("x"), TableError);
  EXPECT_THROW(table.fieldByName("NRO_LOTE").setNull(), TableError);
  EXPECT_THROW(table.post(), TableError);
  table.close();
  EXPECT_THROW(table.edit(), TableError);
  EXPECT_THROW(table.first(), TableError);
  EXPECT_THROW(table.fieldByName("DES_LOTE").asText(), TableError);
}

TEST_F(ItemTable, LocateMovesToTheFirstMatchOrStays) {
  watch();
  table.last();
  events.clear();
  EXPECT_TRUE(table.locate("NRO_LOTE", Value{std::int64_t{1}}));
  EXPECT_EQ(table.recordNumber(), 1u);
  EXPECT_EQ(events, std::vector<TableEvent>{TableEvent::AfterScroll});
  EXPECT_TRUE(table.locate("des_lote", Value{std::string("Lote três")})) << "names ignore case";
  EXPECT_EQ(table.recordNumber(), 4u);
  EXPECT_TRUE(table.locate("NRO_LOTE", Value{std::string("2")})) << "converted to the field's kind";
  EXPECT_EQ(table.recordNumber(), 3u);
  events.clear();
  EXPECT_FALSE(table.locate("NRO_LOTE", Value{std::int64_t{9}}));
  EXPECT_FALSE(table.locate("DES_LOTE", Value{std::string("Lote")})) << "exact, not a prefix";
  EXPECT_EQ(table.recordNumber(), 3u);
  EXPECT_TRUE(events.empty());
  EXPECT_THROW(table.locate("NRO_LOTE", Value{std::string("dois")}), TableError);
  EXPECT_THROW(table.locate("SEM_CAMPO", Value{std::int64_t{1}}), TableError);
}

// A value of a sort the field takes but beyond what it can hold equals no
// record: it is not found, and that is no error.
TEST_F(ItemTable, LocateOfAValueTheFieldCannotHoldFindsNothing) {
  watch();
  table.last();
  events.clear();
  const std::pair<const char*, Value> beyond[] = {
      {"DES_LOTE", Value{std::string(101, 'x')}},     // text(100)
      {"NRO_LOTE", Value{std::int64_t{70000}}},      // int16
      {"NRO_LOTE", Value{std::string("70000")}},
      {"NRO_LOTE", Value{2.5}},                      // a fraction for an integer field
      {"NRO_LOTE", Value{std::string("2,5")}},
      {"NRO_ITEM", Value{1e12}},                     // int32
      {"NRO_ITEM", Value{std::string("99999999999999999999")}},
  };
  for (const auto& [field, value] : beyond) {
    SCOPED_TRACE(field);
    bool found = true;
    EXPECT_NO_THROW(found = table.locate(field, value));
    EXPECT_FALSE(found);
    EXPECT_EQ(table.recordNumber(), 5u);
  }
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(table.locate("NRO_LOTE", Value{2.0})) << "a whole number is compared as such";
  EXPECT_EQ(table.recordNumber(), 3u);
}

TEST_F(ItemTable, LocateFindsNull) {
  table.append();
  table.fieldByName("NRO_LOTE").setInteger(5);
  table.post();
  table.first();
  EXPECT_TRUE(table.locate("NRO_ITEM", Value{}));
  EXPECT_EQ(table.fieldByName("NRO_LOTE").asInteger(), 5);
}

TEST_F(ItemTable, FieldByNameFailsOnAnUnknownName) {
  try {
    table.fieldByName("NRO_FORNECEDOR");
    FAIL() << "no error";
  } catch (const TableError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("NRO_FORNECEDOR"), std::string::npos) << message;
    EXPECT_NE(message.find("CDS_Processo"), std::string::npos) << message;
  }
  EXPECT_EQ(table.findField("NRO_FORNECEDOR"), nullptr);
  EXPECT_EQ(&table.fieldByName("nro_item"), &table.field(1));
}

TEST_F(ItemTable, FilterRestrictsTheViewWhileSwitchedOn) {
  table.setFilterText("NRO_LOTE = 3");
  EXPECT_EQ(table.recordCount(), 5u) << "the switch is still off";
  table.setFiltered(true);
  EXPECT_EQ(viewKeys(table), (Keys{{3, 1}, {3, 2}}));
  table.first();
  table.next();
  EXPECT_EQ(table.recordNumber(), 2u) << "numbers count within the view";
  EXPECT_EQ(table.totalRecordCount(), 5u);
  table.setFilterText("NRO_LOTE=1");
  EXPECT_EQ(viewKeys(table), (Keys{{1, 1}, {1, 2}}));
  table.setFiltered(false);
  EXPECT_EQ(table.filterText(), "NRO_LOTE=1") << "the text stays while off";
  EXPECT_EQ(table.recordCount(), 5u);
  table.setFiltered(true);
  table.setFilterText("NRO_LOTE = 7");
  EXPECT_TRUE(table.isEmpty());
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.recordNumber(), 0u);
  EXPECT_TRUE(table.fieldByName("NRO_LOTE").isNull()) << "no current record";
  table.setFilterText("");
  EXPECT_EQ(table.recordCount(), 5u) << "an empty text restricts nothing";
}

TEST_F(ItemTable, PostingUnderAFilterKeepsTheViewRight) {
  table.setFilterText("NRO_LOTE = 1");
  table.setFiltered(true);
  appendItem(table, 1, 3);
  appendItem(table, 2, 9);  // stored, but outside the view
  EXPECT_EQ(viewKeys(table), (Keys{{1, 1}, {1, 2}, {1, 3}}));
  EXPECT_EQ(table.totalRecordCount(), 7u);
  table.first();
  table.edit();
  table.fieldByName("NRO_LOTE").setInteger(2);  // leaves the view
  table.post();
  EXPECT_EQ(viewKeys(table), (Keys{{1, 2}, {1, 3}}));
}

struct FilterTextCase {
  const char* text;
  bool valid;
};

void PrintTo(const FilterTextCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class FilterText : public ::testing::TestWithParam<FilterTextCase> {};

TEST_P(FilterText, OnlyFieldEqualsIntegerIsAccepted) {
  Table table("T");
  table.setFieldDefs(itemDefs());
  table.createEmpty();
  table.setFilterText("NRO_LOTE = 1");
  if (GetParam().valid) {
    EXPECT_NO_THROW(table.setFilterText(GetParam().text));
    EXPECT_EQ(table.filterText(), GetParam().text);
  } else {
    EXPECT_THROW(table.setFilterText(GetParam().text), TableError);
    EXPECT_EQ(table.filterText(), "NRO_LOTE = 1") << "a refused text leaves the old one";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilterText,
    ::testing::Values(FilterTextCase{"NRO_LOTE = 3", true}, FilterTextCase{"NRO_LOTE=0012", true},
                      FilterTextCase{"  NRO_ITEM =  -4 ", true}, FilterTextCase{"", true},
                      FilterTextCase{"NRO_LOTE = ", false}, FilterTextCase{"NRO_LOTE == 3", false},
                      FilterTextCase{"NRO_LOTE = 3 AND NRO_ITEM = 1", false},
                      FilterTextCase{"NRO_LOTE = 3,5", false}, FilterTextCase{"NRO_LOTE > 3", false},
                      FilterTextCase{"= 3", false}, FilterTextCase{"NRO_LOTE = 'x'", false},
                      FilterTextCase{"NRO_LOTE = 99999999999999999999", false}));

TEST_F(ItemTable, FilterOnAnUnknownOrTextFieldFailsWhenApplied) {
  table.setFilterText("SEM_CAMPO = 1");  // well-formed; the field is checked when it applies
  EXPECT_THROW(table.setFiltered(true), TableError);
  EXPECT_FALSE(table.filtered());
  table.setFilterText("DES_LOTE = 1");
  EXPECT_THROW(table.setFiltered(true), TableError);
  EXPECT_EQ(table.recordCount(), 5u);
}

TEST_F(ItemTable, BookmarksReturnToTheRememberedRecord) {
  table.next();
  table.next();
  Bookmark mark = table.bookmark();
  ASSERT_TRUE(mark.isSet());
  appendItem(table, 0, 1);  // shifts positions
  table.last();
  table.gotoBookmark(mark);
  EXPECT_EQ(table.fieldByName("NRO_LOTE").asInteger(), 2);
  EXPECT_EQ(table.recordNumber(), 4u);
  table.setFilterText("NRO_LOTE = 3");
  table.setFiltered(true);
  EXPECT_THROW(table.gotoBookmark(mark), TableError) << "its record is outside the view";
  table.setFiltered(false);
  table.releaseBookmark(mark);
  EXPECT_FALSE(mark.isSet());
  EXPECT_THROW(table.gotoBookmark(mark), TableError);
  Bookmark old = table.bookmark();
  table.close();
  table.createEmpty();
  EXPECT_THROW(table.gotoBookmark(old), TableError) << "marks do not outlive the records";
  EXPECT_FALSE(table.bookmark().isSet()) << "no current record";
}

// A mark belongs to the table that made it: another table with as many
// records (and the same history) must not take it for one of its own.
TEST_F(ItemTable, BookmarksOfAnotherTableAreRefused) {
  Table other("CDS_Outra");
  other.setFieldDefs(itemDefs());
  other.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
  other.createEmpty();
  for (int item = 1; item <= 5; ++item) appendItem(other, 9, item);
  table.last();
  const Bookmark mark = table.bookmark();
  other.first();
  EXPECT_THROW(other.gotoBookmark(mark), TableError);
  EXPECT_EQ(other.recordNumber(), 1u) << "stays where it was";
  // A mark of a record the other table does not have at all.
  for (int item = 6; item <= 9; ++item) appendItem(table, 4, item);
  table.last();
  EXPECT_THROW(other.gotoBookmark(table.bookmark()), TableError);
}

TEST_F(ItemTable, DisplaySuspensionNestsAndEventsStillFire) {
  watch();
  table.suspendDisplay();
  {
    DisplaySuspension inner(table);
    EXPECT_TRUE(table.displaySuspended());
    table.next();
  }
  EXPECT_TRUE(table.displaySuspended());
  table.resumeDisplay();
  EXPECT_FALSE(table.displaySuspended());
  EXPECT_EQ(events, (std::vector<TableEvent>{TableEvent::AfterScroll, TableEvent::DisplayResumed}));
  EXPECT_THROW(table.resumeDisplay(), TableError);
}

TEST_F(ItemTable, NotificationsOfEachOperation) {
  using E = TableEvent;
  struct Step {
    const char* name;
    std::function<void(Table&)> run;
    std::vector<TableEvent> expected;
  };
  const std::vector<Step> steps = {
      {"first", [](Table& t) { t.first(); }, {E::AfterScroll}},
      {"next", [](Table& t) { t.next(); }, {E::AfterScroll}},
      {"next past the end", [](Table& t) { t.last(); t.next(); }, {E::AfterScroll, E::AfterScroll}},
      {"append", [](Table& t) { t.append(); }, {E::AfterScroll}},
      {"post", [](Table& t) { t.fieldByName("NRO_LOTE").setInteger(4); t.post(); }, {E::ContentChanged}},
      {"edit", [](Table& t) { t.edit(); }, {}},
      {"cancel edit", [](Table& t) { t.cancel(); }, {E::ContentChanged}},
      {"filter on", [](Table& t) { t.setFilterText("NRO_LOTE = 1"); t.setFiltered(true); },
       {E::ContentChanged, E::AfterScroll}},
      {"filter text while on", [](Table& t) { t.setFilterText("NRO_LOTE = 3"); },
       {E::ContentChanged, E::AfterScroll}},
      {"filter text while off", [](Table& t) { t.setFiltered(false); t.setFilterText("NRO_LOTE = 2"); },
       {E::ContentChanged, E::AfterScroll}},
      {"close", [](Table& t) { t.close(); }, {E::ContentChanged}},
      {"create empty", [](Table& t) { t.createEmpty(); }, {E::ContentChanged, E::AfterScroll}},
  };
  watch();
  for (const Step& step : steps) {
    events.clear();
    step.run(table);
    EXPECT_EQ(events, step.expected) << step.name;
  }
}

TEST_F(ItemTable, ObserversMayMoveTheTableAndUnsubscribe) {
  int calls = 0;
  ObserverId id = 0;
  id = table.addObserver([&](TableEvent e) {
    if (e != TableEvent::AfterScroll) return;
    ++calls;
    table.removeObserver(id);
    table.last();  // a nested move from inside a notification
  });
  table.first();
  EXPECT_EQ(table.recordNumber(), 5u) << "moved by the observer";
  table.first();
  EXPECT_EQ(calls, 1) << "removed itself";
  EXPECT_EQ(table.recordNumber(), 1u);
}

// An observer removed while a notification is under way is not called
// again: its owner may already be gone (a grid closed by another observer).
TEST_F(ItemTable, AnObserverRemovedDuringANotificationIsNotCalled) {
  int laterCalls = 0;
  ObserverId later = 0;
  table.addObserver([&](TableEvent) { table.removeObserver(later); });
  later = table.addObserver([&](TableEvent) { ++laterCalls; });
  table.next();
  EXPECT_EQ(laterCalls, 0);
  ObserverId added = 0;
  int addedCalls = 0;
  table.addObserver([&](TableEvent) {
    if (added == 0) added = table.addObserver([&](TableEvent) { ++addedCalls; });
  });
  table.next();
  EXPECT_EQ(addedCalls, 0) << "one added during a notification hears from the next one on";
  table.next();
  EXPECT_EQ(addedCalls, 1);
}

TEST(TableLifeCycle, CreateEmptyNeedsDefinitionsAndAClosedTable) {
  Table table("CDS_Lote");
  EXPECT_THROW(table.createEmpty(), TableError);
  table.setFieldDefs({{"NRO_LOTE", FieldKind::Int16, 0}, {"DES_LOTE", FieldKind::Text, 100}});
  table.setIndexFieldNames("NRO_LOTE");
  table.createEmpty();
  EXPECT_TRUE(table.isOpen());
  EXPECT_TRUE(table.isEmpty());
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.recordNumber(), 0u);
  EXPECT_THROW(table.createEmpty(), TableError);
  EXPECT_THROW(table.setFieldDefs({{"X", FieldKind::Int16, 0}}), TableError);
  Field& lote = table.fieldByName("NRO_LOTE");
  table.append();
  lote.setInteger(1);
  table.post();
  table.close();
  EXPECT_FALSE(table.isOpen());
  EXPECT_EQ(table.fieldCount(), 2u) << "definitions stay after close";
  EXPECT_EQ(&table.fieldByName("NRO_LOTE"), &lote) << "field objects stay too";
  table.createEmpty();
  EXPECT_TRUE(table.isEmpty()) << "records do not";
}

TEST(TableLifeCycle, UnknownIndexFieldFails) {
  Table table("T");
  table.setIndexFieldNames("NRO_LOTE; NRO_ITEM");  // no definitions yet: checked on open
  table.setFieldDefs({{"NRO_LOTE", FieldKind::Int16, 0}});
  EXPECT_THROW(table.createEmpty(), TableError);
  EXPECT_FALSE(table.isOpen());
  EXPECT_THROW(table.setIndexFieldNames("NRO_LOTE;XYZ"), TableError);
  EXPECT_EQ(table.indexFieldNames(), "NRO_LOTE; NRO_ITEM");
  table.setIndexFieldNames("NRO_LOTE;");
  EXPECT_NO_THROW(table.createEmpty());
}

// Many appends and key-changing edits in pseudo-random order: the view is
// always sorted by key, equal keys in the order the records were added.
TEST(TableScenario, IndexOrderHoldsThroughManyPostsAndEdits) {
  Table table("T");
  table.setFieldDefs({{"NRO_LOTE", FieldKind::Int16, 0}, {"SEQ", FieldKind::Int32, 0}});
  table.setIndexFieldNames("NRO_LOTE");
  table.createEmpty();
  std::uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 16) % 50; };
  for (int seq = 0; seq < 600; ++seq) {
    table.append();
    table.fieldByName("NRO_LOTE").setInteger(next());
    table.fieldByName("SEQ").setInteger(seq);
    table.post();
    if (seq % 7 == 0) {  // move some record to another key
      table.locate("SEQ", Value{std::int64_t{seq / 2}});
      table.edit();
      table.fieldByName("NRO_LOTE").setInteger(next());
      table.post();
    }
  }
  ASSERT_EQ(table.recordCount(), 600u);
  std::vector<std::pair<std::int64_t, std::int64_t>> seen;
  for (table.first(); !table.eof(); table.next()) {
    seen.emplace_back(table.fieldByName("NRO_LOTE").asInteger(), table.fieldByName("SEQ").asInteger());
  }
  for (std::size_t i = 1; i < seen.size(); ++i) {
    ASSERT_LE(seen[i - 1].first, seen[i].first) << i;
  }
  // Equal keys: records never edited keep their order of addition.
  std::vector<std::int64_t> lastSeqOfKey(50, -1);
  std::set<std::int64_t> edited;
  for (int seq = 0; seq < 600; seq += 7) edited.insert(seq / 2);
  for (const auto& [key, seq] : seen) {
    if (edited.count(seq) != 0) continue;
    EXPECT_LT(lastSeqOfKey[key], seq) << "key " << key;
    lastSeqOfKey[key] = seq;
  }
}

// The lot table built from the items of lots 1, 1, 2, 3, 3, each lot
// described by its first item: locate, append and post together.
TEST(TableScenario, LotsFromItems) {
  Table items("CDS_Processo");
  items.setFieldDefs(itemDefs());
  items.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
  items.createEmpty();
  appendItem(items, 3, 2, "terceiro b");
  appendItem(items, 1, 1, "primeiro a");
  appendItem(items, 2, 1, "segundo");
  appendItem(items, 1, 2, "primeiro b");
  appendItem(items, 3, 1, "terceiro a");

  Table lots("CDS_Lote");
  lots.setFieldDefs({{"NRO_LOTE", FieldKind::Int16, 0}, {"DES_LOTE", FieldKind::Text, 100}});
  lots.setIndexFieldNames("NRO_LOTE");
  lots.createEmpty();
  for (items.first(); !items.eof(); items.next()) {
    const std::int64_t lote = items.fieldByName("NRO_LOTE").asInteger();
    if (!lots.locate("NRO_LOTE", Value{lote})) {
      lots.append();
      lots.fieldByName("NRO_LOTE").setInteger(lote);
      lots.fieldByName("DES_LOTE").setText(items.fieldByName("DES_LOTE").asText());
      lots.post();
    }
  }
  std::vector<std::string> described;
  for (lots.first(); !lots.eof(); lots.next()) {
    described.push_back(lots.fieldByName("NRO_LOTE").asText() + " " + lots.fieldByName("DES_LOTE").asText());
  }
  EXPECT_EQ(described, (std::vector<std::string>{"1 primeiro a", "2 segundo", "3 terceiro a"}));
}

}  // namespace
}  // namespace recordtable
