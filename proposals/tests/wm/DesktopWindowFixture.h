// The main window on a real desktop (Xvfb with openbox, see run-under-wm.sh)
// for the tests where focus and activation must be the window manager's:
// the window fixture of the offscreen tests (hooks for messages and the
// file dialog, samples in a scratch folder) with key presses and clicks sent
// through the X server, and the table rows as they are stored.
#pragma once

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "WaitUntil.h"
#include "WindowFixture.h"
#include "WmHarness.h"
#include "recordtable/table.h"

namespace proposals_testing {

// How the focus is moved into a control.
enum class Way { Tab, ShiftTab, Click, SetFocus, OtherWindowAndBack };

inline const char* nameOf(Way way) {
  switch (way) {
    case Way::Tab:
      return "Tab";
    case Way::ShiftTab:
      return "ShiftTab";
    case Way::Click:
      return "Click";
    case Way::SetFocus:
      return "SetFocus";
    case Way::OtherWindowAndBack:
      return "OtherWindowAndBack";
  }
  return "?";
}

// The stored proposal of one item.
struct StoredRow {
  std::string brand;
  double quantity = 0;
  double price = 0;
  double total = 0;
  double tendered = 0;  // QTD_PRODUTO
};
using ItemKey = std::pair<std::int64_t, std::int64_t>;  // NRO_LOTE, NRO_ITEM
using StoredRows = std::map<ItemKey, StoredRow>;

class DesktopWindowTest : public WindowTest {
 public:
  void SetUp() override {
    ASSERT_TRUE(desktop.connected()) << "no X server with the test extension (run under run-under-wm.sh)";
    ASSERT_NO_FATAL_FAILURE(WindowTest::SetUp());
    desktop.settle();
  }

  // The window manager may keep a new window from taking the focus from the
  // one the user last worked in; a click on it, as a user would give, then
  // activates it. The click lands on the window's top panel, which takes no
  // focus.
  void activate(QWidget* shown) override {
    // Now and then a window asked to show is not mapped by the window
    // manager (seen with several servers busy on a loaded machine); shown
    // again, it is.
    for (int attempt = 0; attempt < 3 && !QTest::qWaitForWindowExposed(shown, 5000); ++attempt) {
      shown->hide();
      desktop.settle();
      shown->show();
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shown, 5000)) << "the window was never mapped";
    shown->activateWindow();
    if (!waitUntil([shown] { return shown->isActiveWindow(); }, 1000)) {
      desktop.click(shown, QPoint(shown->width() / 2, 3));
    }
    ASSERT_TRUE(waitUntil([shown] { return shown->isActiveWindow(); }));
  }

  QWidget* focused() const { return QApplication::focusWidget(); }

  // Presses `key` until `target` has the focus (at most once per control of
  // the window).
  void keyUntilFocused(const char* key, wm_testing::Held held, QWidget* target) {
    for (int i = 0; i < 30 && focused() != target; ++i) desktop.key(key, held);
    ASSERT_TRUE(waitUntil([&] { return focused() == target; }))
        << "focus on " << (focused() ? focused()->objectName().toStdString() : "nothing") << ", not "
        << target->objectName().toStdString();
  }

  // Clicks the current row of a grid (the row stays; the first row when the
  // grid has none marked), or the middle of any other control.
  void clickInto(QWidget* target) {
    if (auto* grid = qobject_cast<QTableView*>(target)) {
      const QModelIndex current =
          grid->currentIndex().isValid() ? grid->currentIndex() : grid->model()->index(0, 0);
      desktop.click(grid->viewport(), grid->visualRect(current).center());
    } else {
      desktop.click(target);
    }
  }

  // Another window of the application takes the focus (a click on it), then
  // closes; the window manager gives the activation back to the main window.
  void visitOtherWindow() {
    QLineEdit other;
    other.setWindowTitle(QStringLiteral("Outra janela"));
    other.setGeometry(window->geometry().right() - 200, window->y() + 40, 180, 30);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, 20000));
    desktop.click(&other);
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow() && other.hasFocus(); }));
    ASSERT_FALSE(window->isActiveWindow());
    other.close();
    desktop.settle();
    if (!waitUntil([&] { return window->isActiveWindow(); }, 1000)) {
      desktop.click(window.get(), QPoint(window->width() / 2, 3));
    }
    ASSERT_TRUE(waitUntil([&] { return window->isActiveWindow(); }));
  }

  // Moves the focus to `target` the way given. The keys go forward (Tab) or
  // backward (Shift+Tab) through the tab order until they reach it; the last
  // way reaches it with Shift+Tab and then lets another window have the
  // focus for a while.
  void moveFocus(Way way, QWidget* target) {
    switch (way) {
      case Way::Tab:
        ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", wm_testing::Held::Nothing, target));
        break;
      case Way::ShiftTab:
        ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", wm_testing::Held::Shift, target));
        break;
      case Way::Click:
        clickInto(target);
        break;
      case Way::SetFocus:
        target->setFocus();
        desktop.settle();
        break;
      case Way::OtherWindowAndBack:
        ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", wm_testing::Held::Shift, target));
        ASSERT_NO_FATAL_FAILURE(visitOtherWindow());
        break;
    }
    ASSERT_TRUE(waitUntil([&] { return focused() == target; }))
        << nameOf(way) << ": focus on " << (focused() ? focused()->objectName().toStdString() : "nothing")
        << ", not " << target->objectName().toStdString();
  }

  // From the brand box: the brand and the unit price typed over what the
  // panel shows, the quantity left as shown, "Gravar" pressed with the
  // keyboard. The focus ends in the brand box again.
  void proposeByKeys(const QString& brand, const QString& price) {
    TFRM_KLAVPropostas& w = *window;
    ASSERT_EQ(focused(), w.EDT_Marca);
    desktop.key("a", wm_testing::Held::Control);
    desktop.type(brand);
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", wm_testing::Held::Nothing, w.MED_ValorUnitario));
    desktop.key("a", wm_testing::Held::Control);
    desktop.type(price);
    ASSERT_NO_FATAL_FAILURE(keyUntilFocused("Tab", wm_testing::Held::Nothing, w.BBT_Gravar));
    desktop.key("space");
    ASSERT_TRUE(waitUntil([&] { return focused() == w.EDT_Marca; }));
  }

  // The item the grid shows as selected, and the quantity the entry panel
  // shows for it (the box in item mode, the panel in lot mode).
  ItemKey selectedItem() const {
    return {window->CDS_Processo.fieldByName("NRO_LOTE").asInteger(),
            window->CDS_Processo.fieldByName("NRO_ITEM").asInteger()};
  }
  std::int64_t gridItem() const {
    const QTableView* grid = window->DBG_Item;
    return grid->model()->index(grid->currentIndex().row(), 0).data().toLongLong();
  }
  double quantityShown() const {
    const QString text = window->IsLotMode() ? window->PNL_Quantidade->text() : window->MED_Quantidade->text();
    return QString(text.trimmed()).remove(u'.').replace(u',', u'.').toDouble();
  }

  // Every item's proposal as stored in the window's table (all lots).
  StoredRows storedRows() const {
    const QString snapshot = scratch.filePath(QStringLiteral("snapshot.tbl"));
    window->CDS_Processo.saveToFile(snapshot.toStdString());
    return rowsOf(snapshot);
  }

  static StoredRows rowsOf(const QString& path) {
    recordtable::Table table;
    table.loadFromFile(path.toStdString());
    StoredRows rows;
    for (table.first(); !table.eof(); table.next()) {
      rows[{table.fieldByName("NRO_LOTE").asInteger(), table.fieldByName("NRO_ITEM").asInteger()}] = {
          table.fieldByName("DES_MARCA").asText(), table.fieldByName("QTD_PROPOSTA").asFloat(),
          table.fieldByName("VLR_PROPOSTA").asFloat(), table.fieldByName("VLR_TOTALPROPOSTA").asFloat(),
          table.fieldByName("QTD_PRODUTO").asFloat()};
    }
    return rows;
  }

  wm_testing::Desktop desktop;
};

}  // namespace proposals_testing
