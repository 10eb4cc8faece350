// The data source that binds a record table to a grid: display texts, the
// tint of every second row, silence while the display is suspended, and
// moving to a row.
#include <QColor>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "DataSource.h"
#include "ItemsTable.h"
#include "recordtable/table.h"

namespace proposals {
namespace {

TEST(ProposalRules, DataSourceShowsDisplayTextsAndTintsEverySecondRow) {
  const auto owned = itemsTable({{1, 1.5}, {2, 0}, {3, 2}});
    recordtable::Table& table = *owned;
  table.fieldByName("VLR_PROPOSTA").setDisplay({"#,##0.0000", 0, std::nullopt});
  TDataSource source(table, {{"NRO_LOTE", QStringLiteral("Lote"), Qt::AlignRight, 40},
                             {"VLR_PROPOSTA", QStringLiteral("Valor"), Qt::AlignRight, 90},
                             {"MISSING", QStringLiteral("Nada"), Qt::AlignLeft, 10}});
  ASSERT_EQ(source.rowCount(), 3);
  EXPECT_EQ(source.index(0, 1).data().toString(), u"1,5000");
  EXPECT_FALSE(source.index(2, 2).data().isValid());
  EXPECT_FALSE(source.index(0, 0).data(Qt::BackgroundRole).isValid());
  EXPECT_EQ(source.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(218, 248, 226));
  EXPECT_FALSE(source.index(2, 0).data(Qt::BackgroundRole).isValid());

  // Silent while the display is suspended; one refresh when it resumes.
  int resets = 0;
  QObject::connect(&source, &QAbstractItemModel::modelReset, [&] { ++resets; });
  {
    recordtable::DisplaySuspension suspended(table);
    table.setFilterText("NRO_LOTE = 2");
    table.setFiltered(true);
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(source.rowCount(), 3);
  }
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(source.rowCount(), 1);

  // Moving to a row fires one after-scroll.
  table.setFiltered(false);
  int scrolls = 0;
  QObject::connect(&source, &TDataSource::afterScroll, [&] { ++scrolls; });
  table.first();
  scrolls = 0;
  source.moveToRow(2);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(table.recordNumber(), 3u);
}

}  // namespace
}  // namespace proposals
