// "Encerrar": the completeness check, writing the proposals file and the end
// of the program.
#include <QDir>
#include <QFileInfo>

#include "ItemWalk.h"
#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"

void TFRM_KLAVPropostas::BBT_EncerrarClick() {
  if (!CDS_Processo.isOpen()) return;
  // The supplier panel names the file and fills every row; after "Abrir
  // Propostas" it can still be edited, so it is checked as "Confirmar" does.
  if (!CheckSupplier()) return;
  bool mayClose = true;
  {
    // All items of all lots are examined; the filter comes back afterwards.
    proposals::AllItemsWalk walk(CDS_Processo, ItemGridActive, LotGridActive);
    if (IsLotMode()) {
      const proposals::PartlyPricedLots lots = proposals::findPartlyPricedLots(CDS_Processo);
      if (!lots.list.empty()) {
        mayClose = false;
        ShowMessageBox(QStringLiteral("ADV"), QString::fromStdString(proposals::partlyPricedMessage(lots)), false);
      }
    } else if (proposals::anyItemWithoutProposal(CDS_Processo)) {
      mayClose = ShowMessageBox(QStringLiteral("CON"),
                                QStringLiteral("Atenção! Existem itens sem propostas. Confirma o encerramento?."), true);
    }
  }
  ItemGridActive = true;
  LotGridActive = true;
  CDS_Processo.first();
  if (!mayClose) return;
  saveProposals();
}

void TFRM_KLAVPropostas::saveProposals() {
  // The prefix follows the purpose the open file was read under, as its
  // number and year on the panels do.
  const QString name = QString::fromStdString(proposals::proposalsFileName(
      openPurpose_, PNL_NumeroProcesso->text().toStdString(), PNL_AnoExercicioProcesso->text().toStdString(),
      NumberText().toStdString()));
  // Next to the file last opened; the engine writes a temporary file there
  // and renames it over the target, so a failure leaves no damaged file and
  // the data stays in memory for another try.
  const QString path = QDir(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_).filePath(name);
  if (!confirmReplacing(path, name)) return;
  stampSupplier();
  CDS_Processo.saveToFile(path.toStdString());
  forgetRecoveryRecord();
  unwrittenProposals_ = false;
  ShowMessageBox(QStringLiteral("INF"),
                 QStringLiteral("O arquivo\n") + name +
                     QStringLiteral("\nfoi gravado com êxito.\nO programa será encerrado."),
                 false);
  close();
}

// A file of that name other than the proposals file being worked on (a
// proposal finished earlier, say) is replaced only when the user agrees.
bool TFRM_KLAVPropostas::confirmReplacing(const QString& path, const QString& name) {
  const QFileInfo target(path);
  if (!target.exists() || target.isDir()) return true;
  const bool reopened = openTag_ == proposals::kTagProposals &&
                        target.canonicalFilePath() == QFileInfo(openFile_).canonicalFilePath();
  if (reopened) return true;
  return ShowMessageBox(QStringLiteral("CON"),
                        QStringLiteral("Já existe o arquivo\n") + name + QStringLiteral("\nDeseja substituí-lo?"),
                        true);
}

// The supplier of the panel into every item of every lot, so that the rows
// and the file name agree.
void TFRM_KLAVPropostas::stampSupplier() {
  const std::string supplier = NumberText().toStdString();
  const std::string name = EDT_NomeFornecedor->text().trimmed().toStdString();
  {
    proposals::AllItemsWalk walk(CDS_Processo, ItemGridActive, LotGridActive);
    auto& number = CDS_Processo.fieldByName("NRO_FORNECEDOR");
    auto& supplierName = CDS_Processo.fieldByName("DES_NOME");
    for (CDS_Processo.first(); !CDS_Processo.eof(); CDS_Processo.next()) {
      if (number.asText() == supplier && supplierName.asText() == name) continue;
      CDS_Processo.edit();
      number.setText(supplier);
      supplierName.setText(name);
      CDS_Processo.post();
    }
  }
  CDS_Processo.first();  // where the completeness check left the view
}
