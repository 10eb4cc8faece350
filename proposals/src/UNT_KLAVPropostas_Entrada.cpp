// Entry of one item's proposal: showing the current item, the running total,
// the quantity check and "Gravar".
#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"

namespace {

QString formatted(double value, const char* pattern) {
  return QString::fromStdString(formats::formatNumber(value, pattern));
}

// The number in a numeric entry control's ValueText ("1234,5000", "0").
double valueOf(const controls::TMemoEdit* edit) {
  const auto value = formats::readNumber(edit->ValueText().toStdString());
  return value.value_or(0.0);
}

}  // namespace

void TFRM_KLAVPropostas::setQuantityShown(double quantity) {
  MED_Quantidade->setText(formatted(quantity, "#,##0.0000"));
  PNL_Quantidade->setText(formatted(quantity, "#,##0.0000 "));
}

void TFRM_KLAVPropostas::ShowCurrentItem() {
  if (!ItemGridActive || !CDS_Processo.isOpen() || CDS_Processo.isEmpty()) return;
  RCH_Especificacao->setPlainText(QString::fromStdString(CDS_Processo.fieldByName("DES_ESPECIFICACAO").asText()));
  EDT_Marca->setText(QString::fromStdString(CDS_Processo.fieldByName("DES_MARCA").asText()));
  const double proposed = CDS_Processo.fieldByName("QTD_PROPOSTA").asFloat();
  setQuantityShown(proposed > 0 ? proposed : CDS_Processo.fieldByName("QTD_PRODUTO").asFloat());
  MED_ValorUnitario->setText(formatted(CDS_Processo.fieldByName("VLR_PROPOSTA").asFloat(), "#,##0.0000"));
}

void TFRM_KLAVPropostas::RefreshTotal() {
  formats::Currency total;
  if (CDS_Processo.isOpen() && !CDS_Processo.isEmpty()) {
    // Neither the grid nor the entry panel follows the walk row by row: the
    // walk ends on the remembered row, whose after-scroll shows it again.
    recordtable::DisplaySuspension suspended(CDS_Processo);
    const recordtable::Bookmark mark = CDS_Processo.bookmark();
    walkingItems_ = true;
    try {
      total = proposals::sumItemTotals(CDS_Processo);
    } catch (...) {
      walkingItems_ = false;
      throw;
    }
    walkingItems_ = false;
    if (mark.isSet()) {
      CDS_Processo.gotoBookmark(mark);
      recordtable::Bookmark released = mark;
      CDS_Processo.releaseBookmark(released);
    }
  }
  PNL_ValorTotal->setText(formatted(total.toDouble(), "#,##0.00 "));
  BBT_Relatorio->setEnabled(total > formats::Currency());
}

void TFRM_KLAVPropostas::MED_QuantidadeExit() {
  if (!CDS_Processo.isOpen() || CDS_Processo.isEmpty()) return;
  const double tendered = CDS_Processo.fieldByName("QTD_PRODUTO").asFloat();
  if (formats::Currency::fromDouble(valueOf(MED_Quantidade)) > formats::Currency::fromDouble(tendered)) {
    MED_Quantidade->setFocus();
    ShowMessageBox(QStringLiteral("ADV"),
                   QStringLiteral("A quantidade proposta não pode ser maior do que a quantidade licitada."), false);
    setQuantityShown(tendered);
    MED_Quantidade->setFocus();
    MED_Quantidade->selectAll();
  }
}

void TFRM_KLAVPropostas::BBT_GravarClick() {
  if (!checkSupplierNumberGiven()) return;
  const double quantity = valueOf(MED_Quantidade);
  if (!(quantity > 0)) {
    if (MED_Quantidade->isVisible()) MED_Quantidade->setFocus();
    ShowMessageBox(QStringLiteral("ERR"), QStringLiteral("A quantidade deve ser maior que 0 ( zero )."), false);
    if (MED_Quantidade->isVisible()) MED_Quantidade->setFocus();
    return;
  }
  const double price = valueOf(MED_ValorUnitario);
  if (price < 0) {
    MED_ValorUnitario->setFocus();
    ShowMessageBox(QStringLiteral("ERR"), QStringLiteral("O valor unitário não pode ser negativo."), false);
    MED_ValorUnitario->setFocus();
    return;
  }
  if (price == 0) {
    const bool confirmed = ShowMessageBox(QStringLiteral("CON"),
                                          QStringLiteral("O valor unitário deve ser maior que 0 ( zero )\n"
                                                         "Um valor igual a 0 anulará a proposta do item. Confirma?"),
                                          true);
    if (!confirmed) {
      MED_ValorUnitario->setFocus();
      return;
    }
  }
  if (!CDS_Processo.isOpen() || CDS_Processo.isEmpty()) return;
  const formats::Currency total = proposals::itemTotal(quantity, price);
  CDS_Processo.edit();
  try {
    CDS_Processo.fieldByName("DES_MARCA").setText(EDT_Marca->text().trimmed().toStdString());
    CDS_Processo.fieldByName("QTD_PROPOSTA").setFloat(quantity);
    CDS_Processo.fieldByName("VLR_PROPOSTA").setFloat(price);
    CDS_Processo.fieldByName("VLR_TOTALPROPOSTA").setFloat(total.toDouble());
    CDS_Processo.post();
  } catch (...) {
    CDS_Processo.cancel();
    throw;
  }
  recordStoredItem();
  advanceAfterSave();
  ItemGridActive = false;
  RefreshTotal();
  BBT_Encerrar->setEnabled(true);
  EDT_Marca->setFocus();
}

// Moves to the next item; past the last item of the view, to the first item
// and the next lot (or the first lot after the last), which filters the items.
void TFRM_KLAVPropostas::advanceAfterSave() {
  ItemGridActive = true;
  CDS_Processo.next();
  if (!CDS_Processo.eof()) return;
  CDS_Processo.first();
  LotGridActive = true;
  CDS_Lote.next();
  if (CDS_Lote.eof()) CDS_Lote.first();
  LotGridActive = false;
}
