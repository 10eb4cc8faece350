// The widget-free rules of the main window, as tables of cases.
#include <gtest/gtest.h>

#include "GridKeys.h"
#include "ItemsTable.h"
#include "ProposalRules.h"
#include "SupplierKey.h"
#include "recordtable/table.h"

namespace proposals {
namespace {

TEST(ProposalRules, OpenFileFilters) {
  EXPECT_EQ(openFileFilter(kTagProcess, Purpose::PL), "Processo Licitatório (PL_*.ZUL)|PL_*.ZUL");
  EXPECT_EQ(openFileFilter(kTagProcess, Purpose::CP), "Cotação de Preços (CP_*.ZUL)|CP_*.ZUL");
  EXPECT_EQ(openFileFilter(kTagProcess, std::nullopt), "Cotação de Preços (CP_*.ZUL)|CP_*.ZUL");
  EXPECT_EQ(openFileFilter(kTagProposals, Purpose::PL), "Processo Licitatório - Propostas (PL_*.PRO)|PL_*.PRO");
  EXPECT_EQ(openFileFilter(kTagProposals, Purpose::CP), "Cotação de Preços - Propostas (CP_*.PRO)|CP_*.PRO");
}

TEST(ProposalRules, ListIndexesOfPurposeAndIdentification) {
  const std::pair<int, std::optional<Purpose>> purposes[] = {
      {-1, std::nullopt}, {0, Purpose::CP}, {1, Purpose::PL}, {2, std::nullopt}};
  for (const auto& [index, purpose] : purposes) {
    EXPECT_EQ(purposeAtIndex(index), purpose) << index;
    if (purpose) {
      EXPECT_EQ(indexOfPurpose(*purpose), index);
    }
  }
  const std::pair<int, Identification> identifications[] = {
      {-1, Identification::Cnpj}, {0, Identification::Cnpf}, {1, Identification::Cnpj}};
  for (const auto& [index, identification] : identifications) {
    EXPECT_EQ(identificationAtIndex(index), identification) << index;
  }
  EXPECT_EQ(indexOfIdentification(Identification::Cnpf), 0);
  EXPECT_EQ(indexOfIdentification(Identification::Cnpj), 1);
}

TEST(ProposalRules, EntityCnpjIsCutByPosition) {
  EXPECT_EQ(formatEntityCnpj("12123123000199"), "12.123.123/0001-99");
  EXPECT_EQ(formatEntityCnpj("1212"), "12.12./-");
  EXPECT_EQ(formatEntityCnpj("12É45678000199XYZ"), "12.É45.678/0001-99");
}

TEST(ProposalRules, ProposalsFileName) {
  EXPECT_EQ(proposalsFileName(Purpose::PL, "000045", "2012", "12345678000195"), "PL_000045_2012_12345678000195.PRO");
  EXPECT_EQ(proposalsFileName(Purpose::CP, " 000052 ", "2012 ", "11144477735"), "CP_000052_2012_11144477735.PRO");
  EXPECT_EQ(proposalsFileName(std::nullopt, "000001", "2010", "12ABC34501DE35"), "000001_2010_12ABC34501DE35.PRO");
}

TEST(ProposalRules, ItemTotalRoundsTheExactProductHalfAwayFromZero) {
  struct Case {
    double quantity, price;
    std::int64_t tenThousandths;
  };
  const Case cases[] = {
      {3, 0.125, 3800},          {1, 0.005, 100},           {1, 0.0049, 0},
      {2.5, 0.003, 100},         {1.1, 1.1, 12100},         {120000, 0.0125, 15000000},
      {3, -0.125, -3800},        {0.0001, 0.0001, 0},       {9999999999.9999, 1, 100000000000000},
      {12.3456, 7.8912, 974200},  // 97,42 (97,4216…)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.quantity) + " x " + std::to_string(c.price));
    EXPECT_EQ(itemTotal(c.quantity, c.price).tenThousandths(), c.tenThousandths);
  }
  EXPECT_THROW(itemTotal(9e14, 9e14), std::overflow_error);
}

TEST(ProposalRules, PartlyPricedLots) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, double>> items;
    std::string list;
    int count;
  };
  const std::vector<Case> cases = {
      {"lots 1 and 12 partly priced", {{1, 1}, {1, 0}, {2, 1}, {12, 0}, {12, 3}, {13, 0}}, "0001-0012-", 2},
      {"only lot 3", {{1, 0}, {1, 0}, {3, 2}, {3, -1}}, "0003-", 1},
      {"every lot full or empty", {{1, 1}, {1, 1}, {2, 0}, {2, 0}}, "", 0},
      {"nothing priced", {{1, 0}, {2, 0}}, "", 0},
      {"empty", {}, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto owned = itemsTable(c.items);
    recordtable::Table& table = *owned;
    const PartlyPricedLots lots = findPartlyPricedLots(table);
    EXPECT_EQ(lots.list, c.list);
    EXPECT_EQ(lots.count, c.count);
  }
  EXPECT_EQ(partlyPricedMessage({"0001-0012-", 2}),
            "Atenção! Existem itens nos lotes -0001-0012- sem propostas e o encerramento não será realizado.");
  EXPECT_EQ(partlyPricedMessage({"0003-", 1}),
            "Atenção! Existem itens no lote -0003- sem propostas e o encerramento não será realizado.");

  auto priced = itemsTable({{1, 1}, {2, 0.01}});
  EXPECT_FALSE(anyItemWithoutProposal(*priced));
  auto zero = itemsTable({{1, 1}, {2, 0}});
  EXPECT_TRUE(anyItemWithoutProposal(*zero));
}

TEST(ProposalRules, TotalsAreSummedInTenThousandthsWithoutDrift) {
  const auto owned = itemsTable(std::vector<std::pair<int, double>>(10000, {1, 0.01}));
    recordtable::Table& table = *owned;
  EXPECT_EQ(sumItemTotals(table).tenThousandths(), 1000000);  // 100,00
  EXPECT_EQ(formats::formatNumber(sumItemTotals(table).toDouble(), "#,##0.00 "), "100,00 ");
}

TEST(ProposalRules, LotFilterTextIsPlainDigits) {
  EXPECT_EQ(lotFilterText(3), "NRO_LOTE = 3");
  EXPECT_EQ(lotFilterText(1200), "NRO_LOTE = 1200");
}

TEST(ProposalRules, OnlyCtrlDeleteIsDiscardedInTheGrids) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool discarded;
  };
  const Case cases[] = {
      {Qt::Key_Delete, Qt::ControlModifier, true},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, true},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier, true},
      {Qt::Key_Delete, Qt::NoModifier, false},
      {Qt::Key_Delete, Qt::ShiftModifier, false},
      {Qt::Key_Insert, Qt::ControlModifier, false},
      {Qt::Key_Down, Qt::ControlModifier, false},
  };
  for (const Case& c : cases) EXPECT_EQ(isDiscardedGridKey(c.key, c.modifiers), c.discarded) << c.key;
}

TEST(ProposalRules, NumberTextDropsSeparatorsAndTrailingEmptyPositions) {
  EXPECT_EQ(numberTextFromDisplay(QStringLiteral("12.345.678/0001-95")), u"12345678000195");
  EXPECT_EQ(numberTextFromDisplay(QStringLiteral("12.ABC.345/01DE-35")), u"12ABC34501DE35");
  EXPECT_EQ(numberTextFromDisplay(QStringLiteral("123.456.78 -  ")), u"12345678");
  EXPECT_EQ(numberTextFromDisplay(QStringLiteral("12.345.678/ 001-95")), u"12345678 00195");
  EXPECT_EQ(numberTextFromDisplay(QStringLiteral("  .   .   /    -  ")), u"");
}

}  // namespace
}  // namespace proposals
