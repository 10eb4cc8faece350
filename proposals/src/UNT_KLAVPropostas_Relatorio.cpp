// "Relatorio": the proposal report. The items with a proposed quantity are
// copied into the report's own table and the report is previewed; printing
// and saving as PDF start from the preview.
#include <memory>

#include "ItemWalk.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"
#include "UNT_QRP_Propostas.h"
#include "reportengine/PreviewDialog.h"

void TFRM_KLAVPropostas::BBT_RelatorioClick() {
  if (!CDS_Processo.isOpen()) return;
  auto report = std::make_unique<TQRP_Propostas>();
  const int purpose = CMB_Finalidade->currentIndex() == TQRP_Propostas::kCotacaoDePrecos
                          ? TQRP_Propostas::kCotacaoDePrecos
                          : TQRP_Propostas::kProcessoLicitatorio;
  report->ConfigurarFinalidade(purpose, CDS_Processo.fieldByName("IDT_TIPOAPURACAO").asText());
  const TRelatorioCabecalho cabecalho{LBL_NomeEntidade->text().toStdString(), LBL_NomeMunicipio->text().toStdString(),
                                      LBL_NumeroCNPJ->text().toStdString(), PNL_TipoApuracao->text().toStdString()};
  {
    proposals::FollowPause paused(ItemGridActive, LotGridActive);
    report->PreencherRelatorio(CDS_Processo, cabecalho, purpose);
  }
  // The walk left the table on its first row on view; moving there again
  // with the flags back shows that row in the entry panel.
  CDS_Processo.first();
  reportengine::previewReport(*report, this,
                              [](const QString& message) { ShowMessageBox(QStringLiteral("ERR"), message, false); });
  report->CDS_Relatorio.close();
}
