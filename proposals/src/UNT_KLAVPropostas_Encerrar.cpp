// "Encerrar": the completeness check, writing the proposals file and the end
// of the program.
#include <QDir>

#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"

void TFRM_KLAVPropostas::BBT_EncerrarClick() {
  if (!CDS_Processo.isOpen()) return;
  ItemGridActive = false;
  LotGridActive = false;
  bool mayClose = true;
  {
    // All items of all lots are examined; the filter comes back afterwards.
    recordtable::DisplaySuspension suspended(CDS_Processo);
    const std::string filterText = CDS_Processo.filterText();
    const bool filtered = CDS_Processo.filtered();
    CDS_Processo.setFiltered(false);
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
    CDS_Processo.setFilterText(filterText);
    CDS_Processo.setFiltered(filtered);
  }
  ItemGridActive = true;
  LotGridActive = true;
  CDS_Processo.first();
  if (!mayClose) return;
  SaveProposals();
}

void TFRM_KLAVPropostas::SaveProposals() {
  const std::string name = proposals::proposalsFileName(
      CMB_Finalidade->currentIndex(), PNL_NumeroProcesso->text().toStdString(),
      PNL_AnoExercicioProcesso->text().toStdString(), NumberText().toStdString());
  // Next to the file last opened; the engine writes a temporary file there
  // and renames it over the target, so a failure leaves no damaged file and
  // the data stays in memory for another try.
  const QString path = QDir(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_)
                           .filePath(QString::fromStdString(name));
  CDS_Processo.saveToFile(path.toStdString());
  ForgetRecoveryRecord();
  unwrittenProposals_ = false;
  ShowMessageBox(QStringLiteral("INF"),
                 QStringLiteral("O arquivo\n") + QString::fromStdString(name) +
                     QStringLiteral("\nfoi gravado com êxito.\nO programa será encerrado."),
                 false);
  close();
}
