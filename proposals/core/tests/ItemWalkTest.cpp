// The walk guards: a walk sees every item of every lot with the follow flags
// off, and everything comes back as it was, after a failing walk too.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "ItemWalk.h"
#include "recordtable/table.h"

namespace proposals {
namespace {

// Items of lots 1, 1, 2, 3, filtered to lot 2 as the lot grid leaves them.
std::unique_ptr<recordtable::Table> filteredItems() {
  auto items = std::make_unique<recordtable::Table>("CDS_Processo");
  items->setFieldDefs({{"NRO_LOTE", recordtable::FieldKind::Int16, 0}});
  items->setIndexFieldNames("NRO_LOTE");
  items->createEmpty();
  for (int lot : {1, 1, 2, 3}) {
    items->append();
    items->fieldByName("NRO_LOTE").setInteger(lot);
    items->post();
  }
  items->setFilterText("NRO_LOTE = 2");
  items->setFiltered(true);
  return items;
}

int countRows(recordtable::Table& items) {
  int rows = 0;
  for (items.first(); !items.eof(); items.next()) ++rows;
  return rows;
}

TEST(ItemWalk, SeesEveryItemWithTheFlagsOffAndPutsAllBack) {
  const auto items = filteredItems();
  bool itemFollow = true;
  bool lotFollow = false;
  // When the display resumes (the grids refresh), the filter is back and
  // the flags are still off, so no handler follows the walk's last row.
  int resumes = 0;
  items->addObserver([&](recordtable::TableEvent event) {
    if (event != recordtable::TableEvent::DisplayResumed) return;
    ++resumes;
    EXPECT_FALSE(itemFollow);
    EXPECT_TRUE(items->filtered());
  });
  {
    AllItemsWalk walk(*items, itemFollow, lotFollow);
    EXPECT_FALSE(itemFollow);
    EXPECT_FALSE(lotFollow);
    EXPECT_TRUE(items->displaySuspended());
    EXPECT_EQ(countRows(*items), 4);
  }
  EXPECT_EQ(resumes, 1);
  EXPECT_TRUE(itemFollow);
  EXPECT_FALSE(lotFollow);
  EXPECT_TRUE(items->filtered());
  EXPECT_EQ(items->filterText(), "NRO_LOTE = 2");
  EXPECT_FALSE(items->displaySuspended());
  EXPECT_EQ(countRows(*items), 1);
}

TEST(ItemWalk, AFailingWalkStillPutsAllBack) {
  const auto items = filteredItems();
  bool itemFollow = true;
  bool lotFollow = true;
  EXPECT_THROW(
      {
        AllItemsWalk walk(*items, itemFollow, lotFollow);
        throw std::runtime_error("walk failed");
      },
      std::runtime_error);
  EXPECT_TRUE(itemFollow);
  EXPECT_TRUE(lotFollow);
  EXPECT_TRUE(items->filtered());
  EXPECT_FALSE(items->displaySuspended());

  EXPECT_THROW(
      {
        FollowPause paused(itemFollow, lotFollow);
        EXPECT_FALSE(itemFollow || lotFollow);
        throw std::runtime_error("walk failed");
      },
      std::runtime_error);
  EXPECT_TRUE(itemFollow && lotFollow);
}

}  // namespace
}  // namespace proposals
