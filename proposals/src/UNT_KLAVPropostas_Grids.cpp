// The lot and item grids: the lot filter and the follow rules between the
// grids and the entry panel.
#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"

void TFRM_KLAVPropostas::ApplyLotFilter() {
  {
    // The item grid shows the new lot once, not all items in between.
    recordtable::DisplaySuspension suspended(CDS_Processo);
    CDS_Processo.setFiltered(false);
    CDS_Processo.setFilterText(proposals::lotFilterText(CDS_Lote.fieldByName("NRO_LOTE").asInteger()));
    CDS_Processo.setFiltered(true);
  }
  RefreshTotal();
}

void TFRM_KLAVPropostas::emptyEntryPanel() {
  RCH_Especificacao->clear();
  EDT_Marca->clear();
  MED_Quantidade->clear();
  MED_Quantidade->setValueText(QStringLiteral("0"));
  PNL_Quantidade->clear();
  MED_ValorUnitario->clear();
  MED_ValorUnitario->setValueText(QStringLiteral("0"));
  PNL_ValorTotal->clear();
}

void TFRM_KLAVPropostas::DBG_LoteEnter() {
  emptyEntryPanel();
  BBT_Gravar->setEnabled(false);
  if (!CDS_Lote.isOpen() || CDS_Lote.isEmpty()) return;
  LotGridActive = true;
  ApplyLotFilter();
}

void TFRM_KLAVPropostas::DBG_LoteExit() { LotGridActive = false; }

void TFRM_KLAVPropostas::CDS_LoteAfterScroll() {
  if (!LotGridActive || !CDS_Lote.isOpen() || CDS_Lote.isEmpty()) return;
  ApplyLotFilter();
}

void TFRM_KLAVPropostas::DBG_ItemEnter() {
  if (!CDS_Processo.isOpen() || CDS_Processo.isEmpty()) return;
  ItemGridActive = true;
  BBT_Gravar->setEnabled(true);
  ShowCurrentItem();
}

void TFRM_KLAVPropostas::DBG_ItemExit() { ItemGridActive = false; }

void TFRM_KLAVPropostas::CDS_ProcessoAfterScroll() {
  if (!walkingItems_) ShowCurrentItem();
}
