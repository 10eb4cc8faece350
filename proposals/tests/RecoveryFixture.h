// Window tests around stored but unwritten proposals and "Encerrar": a data
// folder of the test's own (the recovery record lives there), proposals
// entered with key presses, a fresh window as after starting the program
// again, proposals files made from the samples, and reading back what a
// file or the recovery record holds.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <map>
#include <string>

#include "ProposalRules.h"
#include "RecoveryRecord.h"
#include "WindowFixture.h"
#include "recordtable/table.h"

namespace proposals_testing {

inline constexpr const char* kSupplierCnpj = "12345678000195";

// One stored row of a proposals file, by lot and item.
struct StoredRow {
  std::string supplier;
  std::string name;
  std::string brand;
  double quantity = 0;
  double price = 0;
  double total = 0;
};
using StoredRows = std::map<std::pair<std::int64_t, std::int64_t>, StoredRow>;

class RecoveryWindowTest : public WindowTest {
 public:
  void SetUp() override {
    WindowTest::SetUp();
    if (HasFatalFailure()) return;
    // The user's data folder of this test (the process-wide one is already
    // a scratch folder; this keeps the tests of one run apart).
    previousDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
  }

  void TearDown() override {
    WindowTest::TearDown();
    qputenv("XDG_DATA_HOME", previousDataHome_);
  }

  // Waits, running events, until `done` holds or `milliseconds` pass.
  static bool waitFor(const std::function<bool()>& done, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > milliseconds) return false;
      QTest::qWait(10);
    }
    return true;
  }

  // A new window in place of the old, as when the program is started again.
  void newWindow() {
    window = std::make_unique<TFRM_KLAVPropostas>();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    messages.clear();
  }

  // Types brand and price (and quantity when given) and clicks "Gravar".
  void propose(const QString& brand, const QString& price, const QString& quantity = {}) {
    TFRM_KLAVPropostas& w = *window;
    typeInto(w.EDT_Marca, brand);
    if (!quantity.isNull()) typeInto(w.MED_Quantidade, quantity);
    typeInto(w.MED_ValorUnitario, price);
    click(w.BBT_Gravar);
  }

  // A proposals file made from a sample: the supplier filled in, no price.
  QString proposalsFixture(const QString& sampleName, const QString& targetName,
                           const QByteArray& supplier = kSupplierCnpj,
                           const QByteArray& name = "Papelaria Central Ltda") {
    return fixture(sampleName, targetName, [&](QByteArray& json) {
      json.replace("\"NRO_FORNECEDOR\": \"\"", "\"NRO_FORNECEDOR\": \"" + supplier + "\"");
      json.replace("\"DES_NOME\": \"\"", "\"DES_NOME\": \"" + name + "\"");
    });
  }

  // The recovery record as the window keeps it in the test's data folder.
  static QString recoveryFolder() { return proposals::RecoveryRecord::defaultFolder(); }

  static proposals::RecoveryKey keyOf(const QString& file, const QString& supplier = kSupplierCnpj) {
    return {QFileInfo(file).canonicalFilePath(), supplier};
  }

  // What the record holds for `key`, read through a connection of its own.
  static std::optional<proposals::RecoveredProposals> recorded(const proposals::RecoveryKey& key) {
    proposals::RecoveryRecord record(recoveryFolder());
    if (record.open().state != proposals::RecoveryState::Ready) return std::nullopt;
    return record.find(key);
  }

  // Every row of a table file, read with the record table engine.
  static StoredRows storedRows(const QString& path) {
    recordtable::Table table;
    table.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
    table.loadFromFile(path.toStdString());
    StoredRows rows;
    for (table.first(); !table.eof(); table.next()) {
      rows[{table.fieldByName("NRO_LOTE").asInteger(), table.fieldByName("NRO_ITEM").asInteger()}] = {
          table.fieldByName("NRO_FORNECEDOR").asText(), table.fieldByName("DES_NOME").asText(),
          table.fieldByName("DES_MARCA").asText(),      table.fieldByName("QTD_PROPOSTA").asFloat(),
          table.fieldByName("VLR_PROPOSTA").asFloat(),  table.fieldByName("VLR_TOTALPROPOSTA").asFloat()};
    }
    return rows;
  }

  static QByteArray bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }

 private:
  QByteArray previousDataHome_;
};

}  // namespace proposals_testing
