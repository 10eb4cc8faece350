// The lot and item grids left and entered again every way a user or the
// program moves the focus, in item mode and lot mode, on a real desktop:
// after each re-entry the entry panel follows the grid, and "Gravar" stores
// into the selected item what the panel showed for it, in the table and in
// the proposals file that "Encerrar" writes.
#include <QDir>

#include <set>

#include "DesktopWindowFixture.h"
#include "ProposalRules.h"

namespace proposals_testing {
namespace {

using wm_testing::Held;

class GridReentryTest : public DesktopWindowTest {
 protected:
  // The whole start by keyboard: purpose, the company 12.345.678/0001-95, a
  // name, "Confirmar", then the open button with `path` picked in the file
  // dialog.
  void openByKeys(proposals::Purpose purpose, const QString& path) {
    TFRM_KLAVPropostas& w = *window;
    ASSERT_TRUE(waitUntil([&] { return focused() == w.CMB_Finalidade; }));
    const int index = proposals::indexOfPurpose(purpose);
    desktop.key("Down", Held::Nothing, index + 1);
    ASSERT_EQ(w.CMB_Finalidade->currentIndex(), index);
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", Held::Nothing, w.MSK_CodigoNacional));
    desktop.type(QStringLiteral("12345678000195"));
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", Held::Nothing, w.EDT_NomeFornecedor));
    desktop.type(QStringLiteral("Papelaria Central"));
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", Held::Nothing, w.BBT_GravarFornecedor));
    desktop.key("space");
    ASSERT_TRUE(waitUntil([&] { return focused() == w.BBT_Arquivo; }));
    ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
    picks.push_back(path);
    desktop.key("space");
    ASSERT_TRUE(waitUntil([&] { return w.CDS_Processo.isOpen(); }));
    ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
  }

  // The entry panel shows the item selected in the grid: its quantity (the
  // tendered one, as no test here types another).
  void expectPanelShowsSelectedItem(const char* when) {
    const ItemKey key = selectedItem();
    EXPECT_EQ(gridItem(), key.second) << when;
    EXPECT_EQ(quantityShown(), storedRows()[key].tendered) << when << ": item " << key.second;
  }

  // From the brand box: proposes for the selected item and checks that its
  // stored row holds what the panel showed.
  void proposeAndCheck(const QString& brand, const QString& price, double priceValue) {
    const ItemKey key = selectedItem();
    const double quantity = quantityShown();
    ASSERT_NO_FATAL_FAILURE(proposeByKeys(brand, price));
    ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
    const StoredRow row = storedRows()[key];
    EXPECT_EQ(row.brand, brand.toStdString()) << "item " << key.second;
    EXPECT_EQ(row.quantity, quantity) << "item " << key.second;
    EXPECT_EQ(row.quantity, row.tendered) << "item " << key.second;
    EXPECT_EQ(row.price, priceValue) << "item " << key.second;
    proposed.push_back(key);
    shown[key] = {brand.toStdString(), quantity, priceValue, row.total, row.tendered};
  }

  // Prices every item left unpriced in a partly priced lot straight in the
  // table, so that the closing of lot mode accepts the file.
  void priceRestOfLotsInTable() {
    recordtable::Table& items = window->CDS_Processo;
    const bool filtered = items.filtered();
    items.setFiltered(false);
    std::set<std::int64_t> lots;
    for (const ItemKey& key : proposed) lots.insert(key.first);
    for (items.first(); !items.eof(); items.next()) {
      if (!lots.count(items.fieldByName("NRO_LOTE").asInteger()) ||
          items.fieldByName("VLR_PROPOSTA").asFloat() > 0) {
        continue;
      }
      items.edit();
      items.fieldByName("QTD_PROPOSTA").setFloat(items.fieldByName("QTD_PRODUTO").asFloat());
      items.fieldByName("VLR_PROPOSTA").setFloat(1);
      items.fieldByName("VLR_TOTALPROPOSTA").setFloat(items.fieldByName("QTD_PRODUTO").asFloat());
      items.post();
    }
    items.setFiltered(filtered);
  }

  // "Encerrar" by keyboard; in the proposals file read back every proposed
  // item holds what the panel showed for it at its last "Gravar" and the
  // total stored then, and (unless lots were completed in the table) every
  // other item holds no proposal.
  void closeAndReadBack(const StoredRows& stored, bool othersUnpriced = true) {
    TFRM_KLAVPropostas& w = *window;
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", Held::Nothing, w.BBT_Encerrar));
    desktop.key("space");
    ASSERT_TRUE(waitUntil([&] { return !w.isVisible(); })) << (messages.empty() ? "" : messages.back().text.toStdString());
    const QStringList written = QDir(scratch.path()).entryList({QStringLiteral("*.PRO")});
    ASSERT_EQ(written.size(), 1);
    const StoredRows back = rowsOf(scratch.filePath(written[0]));
    ASSERT_EQ(back.size(), stored.size());
    for (const auto& [key, row] : back) {
      if (shown.count(key)) {
        EXPECT_EQ(row.brand, shown.at(key).brand) << "item " << key.second;
        EXPECT_EQ(row.quantity, shown.at(key).quantity) << "item " << key.second;
        EXPECT_EQ(row.price, shown.at(key).price) << "item " << key.second;
        EXPECT_EQ(row.total, stored.at(key).total) << "item " << key.second;
      } else if (othersUnpriced) {
        EXPECT_EQ(row.brand, "") << "item " << key.second;
        EXPECT_EQ(row.quantity, 0) << "item " << key.second;
        EXPECT_EQ(row.price, 0) << "item " << key.second;
      }
    }
  }

  std::vector<ItemKey> proposed;
  StoredRows shown;  // what the panel showed at each item's last "Gravar"
};

// Item mode: open, "Gravar" item 1, Shift+Tab back into the item grid, four
// rows down, Tab, brand and price, "Gravar": item 6 gets its own quantity.
TEST_F(GridReentryTest, ShiftTabBackIntoTheItemGridStoresTheShownItemsQuantity) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(openByKeys(proposals::Purpose::CP, sample(QStringLiteral("CP_000052_2012"))));
  ASSERT_EQ(focused(), w.DBG_Item);
  ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", Held::Nothing, w.EDT_Marca));
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Votoran"), QStringLiteral("10"), 10));
  desktop.key("Tab", Held::Shift);
  ASSERT_EQ(focused(), w.DBG_Item);
  desktop.key("Down", Held::Nothing, 4);
  ASSERT_EQ(selectedItem().second, 6);
  expectPanelShowsSelectedItem("after four rows down");
  desktop.key("Tab");
  ASSERT_EQ(focused(), w.EDT_Marca);
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Gerdau"), QStringLiteral("2,5"), 2.5));
  ASSERT_NO_FATAL_FAILURE(closeAndReadBack(storedRows()));
}

// A whole run by keyboard alone: three items in a row, back into the grid
// with Shift+Tab and down to item 8, and back up to item 3 to change its
// price; the proposals file holds what the panel showed for every row.
TEST_F(GridReentryTest, KeyboardOnlyRunWritesWhatThePanelShowedForEveryRow) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(openByKeys(proposals::Purpose::CP, sample(QStringLiteral("CP_000052_2012"))));
  desktop.key("Tab");
  ASSERT_EQ(focused(), w.EDT_Marca);
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Votoran"), QStringLiteral("10"), 10));
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Gerdau"), QStringLiteral("0,005"), 0.005));
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Tigre"), QStringLiteral("12,3456"), 12.3456));
  desktop.key("Tab", Held::Shift);
  desktop.key("Down", Held::Nothing, 4);
  ASSERT_EQ(selectedItem().second, 8);
  desktop.key("Tab");
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Quartzolit"), QStringLiteral("3"), 3));
  desktop.key("Tab", Held::Shift);
  desktop.key("Up", Held::Nothing, 6);
  ASSERT_EQ(selectedItem().second, 3);
  expectPanelShowsSelectedItem("back on item 3");
  EXPECT_EQ(w.EDT_Marca->text(), u"Tigre");
  desktop.key("Tab");
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Tigre"), QStringLiteral("11"), 11));
  ASSERT_EQ(shown.size(), 4u);
  ASSERT_NO_FATAL_FAILURE(closeAndReadBack(storedRows()));
}

enum class Mode { Item, Lot };
enum class Grid { Item, Lot };

struct Reentry {
  Mode mode;
  Grid grid;
  Way way;
};

std::string nameOf(const Reentry& entry) {
  return std::string(entry.mode == Mode::Item ? "ItemMode" : "LotMode") +
         (entry.grid == Grid::Item ? "ItemGrid" : "LotGrid") + nameOf(entry.way);
}

void PrintTo(const Reentry& entry, std::ostream* out) { *out << nameOf(entry); }

std::string caseName(const ::testing::TestParamInfo<Reentry>& info) { return nameOf(info.param); }

class GridReentryTable : public GridReentryTest, public ::testing::WithParamInterface<Reentry> {
 protected:
  // Leaves for `target` the way of the case; keys go forward, since going
  // back through the lot grid would empty the entry panel on the way.
  void leaveFor(QWidget* target) {
    const Way way = GetParam().way;
    ASSERT_NO_FATAL_FAILURE(moveFocus(way == Way::Click || way == Way::SetFocus ? way : Way::Tab, target));
  }
};

TEST_P(GridReentryTable, GravarStoresWhatThePanelShowsForTheSelectedItem) {
  TFRM_KLAVPropostas& w = *window;
  const Reentry entry = GetParam();
  const bool lotMode = entry.mode == Mode::Lot;
  ASSERT_NO_FATAL_FAILURE(openByKeys(proposals::Purpose::CP,
                                     sample(lotMode ? QStringLiteral("CP_000045_2012") : QStringLiteral("CP_000052_2012"))));
  ASSERT_EQ(w.IsLotMode(), lotMode);
  ASSERT_EQ(focused(), lotMode ? w.DBG_Lote : w.DBG_Item);
  if (lotMode) {
    ASSERT_NO_FATAL_FAILURE(leaveFor(w.DBG_Item));
  }
  ASSERT_NO_FATAL_FAILURE(leaveFor(w.EDT_Marca));
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Primeira"), QStringLiteral("1,5"), 1.5));

  // Back into the grid of the case and down; from the lot grid on into the
  // item grid and down again.
  if (entry.grid == Grid::Lot) {
    ASSERT_NO_FATAL_FAILURE(moveFocus(entry.way, w.DBG_Lote));
    EXPECT_FALSE(w.BBT_Gravar->isEnabled());
    EXPECT_TRUE(w.EDT_Marca->text().isEmpty());
    desktop.key("Down");
    EXPECT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 2");
    ASSERT_NO_FATAL_FAILURE(leaveFor(w.DBG_Item));
    EXPECT_EQ(selectedItem(), (ItemKey{2, 7}));
    desktop.key("Down");
  } else {
    ASSERT_NO_FATAL_FAILURE(moveFocus(entry.way, w.DBG_Item));
    desktop.key("Down", Held::Nothing, 2);
  }
  EXPECT_TRUE(w.BBT_Gravar->isEnabled());
  expectPanelShowsSelectedItem("back in the grid");
  ASSERT_NO_FATAL_FAILURE(leaveFor(w.EDT_Marca));
  expectPanelShowsSelectedItem("in the brand box");
  ASSERT_NO_FATAL_FAILURE(proposeAndCheck(QStringLiteral("Segunda"), QStringLiteral("2,25"), 2.25));
  // Item 2 is current after the first "Gravar"; two rows down is item 4.
  // Tab into the item grid of lot mode passes the lot grid, whose enter
  // filters the items anew from the lot's first item: item 3. From the lot
  // grid, lot 2 and one row down: item 8.
  const ItemKey expected = entry.grid == Grid::Lot                      ? ItemKey{2, 8}
                           : lotMode && entry.way == Way::Tab ? ItemKey{1, 3}
                                                                        : ItemKey{1, 4};
  EXPECT_EQ(proposed.back(), expected);

  const StoredRows stored = storedRows();
  if (lotMode) priceRestOfLotsInTable();
  ASSERT_NO_FATAL_FAILURE(closeAndReadBack(stored, !lotMode));
}

std::vector<Reentry> reentryCases() {
  std::vector<Reentry> cases;
  for (const Way way : {Way::Tab, Way::ShiftTab, Way::Click, Way::SetFocus, Way::OtherWindowAndBack}) {
    cases.push_back({Mode::Item, Grid::Item, way});
    cases.push_back({Mode::Lot, Grid::Item, way});
    cases.push_back({Mode::Lot, Grid::Lot, way});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWay, GridReentryTable, ::testing::ValuesIn(reentryCases()), caseName);

}  // namespace
}  // namespace proposals_testing
