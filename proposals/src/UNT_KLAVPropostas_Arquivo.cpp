// Opening a process file ("Abrir Processo" / "Abrir Cotação") or a proposals
// file ("Abrir Propostas") into CDS_Processo.
#include <QFileInfo>

#include <optional>

#include "ProposalRules.h"
#include "SupplierKey.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"
#include "ProposalTables.h"

namespace {

QString textOf(const recordtable::Table& table, const char* field) {
  return QString::fromStdString(table.fieldByName(field).asText());
}

QString numberOf(const recordtable::Table& table, const char* field, const char* pattern) {
  return QString::fromStdString(
      formats::formatNumber(static_cast<double>(table.fieldByName(field).asInteger()), pattern));
}

QString dateOf(const recordtable::Table& table, const char* field, const char* pattern) {
  return QString::fromStdString(formats::formatDateTime(table.fieldByName(field).asDateTime(), pattern));
}

}  // namespace

void TFRM_KLAVPropostas::BBT_ArquivoClick(QPushButton* sender) {
  const int tag = sender->property("Tag").toInt();
  OPG_Arquivo.Filter =
      QString::fromStdString(proposals::openFileFilter(tag, pickedPurpose()));
  if (!OPG_Arquivo.Execute(this)) return;
  // The chosen file replaces the open one and its unwritten proposals.
  if (!confirmDiscardingUnwritten()) return;
  try {
    readFile(tag, OPG_Arquivo.FileName);
  } catch (...) {  // any failure of the read, whatever its kind
    while (CDS_Processo.displaySuspended()) CDS_Processo.resumeDisplay();
    ShowMessageBox(QStringLiteral("ADV"), QString::fromUtf8(proposals::kReadFailureMessage.data(),
                                                            static_cast<qsizetype>(proposals::kReadFailureMessage.size())),
                   false);
    ClearForm();
    return;
  }
  startRecovery(OPG_Arquivo.FileName);
}

void TFRM_KLAVPropostas::readFile(int tag, const QString& path) {
  const std::optional<proposals::Purpose> purpose = pickedPurpose();
  // The new file replaces the open one: its lots and the lot filter go too.
  const bool wasOpen = CDS_Processo.isOpen();
  CDS_Processo.close();
  if (wasOpen) {
    CDS_Lote.close();
    CDS_Processo.setFiltered(false);
    CDS_Processo.setFilterText("");
  }
  LotGridActive = false;
  ItemGridActive = false;
  CDS_Processo.loadFromFile(QFileInfo(path).absoluteFilePath().toStdString());
  // Every field the purpose reads must be there with a usable kind, and the
  // grid's columns must take their display settings.
  if (purpose) proposals::requireProcessoFields(CDS_Processo, *purpose);
  proposals::applyProcessoDisplay(CDS_Processo);
  if (CDS_Processo.isEmpty()) throw recordtable::TableError("O arquivo não tem itens.");

  LBL_NomeEntidade->setText(textOf(CDS_Processo, "DES_TIPOENTIDADE"));
  LBL_NomeMunicipio->setText(textOf(CDS_Processo, "DES_MUNICIPIO"));
  if (tag == proposals::kTagProposals) {
    const QString supplier = textOf(CDS_Processo, "NRO_FORNECEDOR").trimmed();
    CMB_Identificacao->setCurrentIndex(proposals::indexOfIdentification(
        supplier.size() == 11 ? proposals::Identification::Cnpf : proposals::Identification::Cnpj));
    CMB_IdentificacaoClick();
    MSK_CodigoNacional->setText(textOf(CDS_Processo, "NRO_FORNECEDOR"));
    EDT_NomeFornecedor->setText(textOf(CDS_Processo, "DES_NOME"));
    // A proposals file always names its supplier; one without a valid
    // supplier is not a proposals file this program can continue.
    const QString number = NumberText();
    const bool valid = pickedIdentification() == proposals::Identification::Cnpf ? IsValidCNPF(number) : IsValidCNPJ(number);
    if (!valid || number != supplier || EDT_NomeFornecedor->text().trimmed().isEmpty()) {
      throw recordtable::TableError("O arquivo de propostas não identifica o fornecedor.");
    }
    BBT_Relatorio->setEnabled(true);
    BBT_Encerrar->setEnabled(true);
    BBT_GravarFornecedor->setEnabled(false);
  }
  fillHeader(tag);
  buildLots(tag);
  lastFolder_ = QFileInfo(path).absolutePath();
  openFile_ = QFileInfo(path).absoluteFilePath();
  openTag_ = tag;
  openPurpose_ = purpose;

  for (QWidget* panel : {PNL_Processo, PNL_ObjetoGeral, PNL_Lote, PNL_Item, PNL_Grid}) SetPanelEnabled(panel, true);
  BBT_Gravar->setEnabled(false);
  const bool lotMode =
      proposals::isLotMode(purpose, CDS_Processo.fieldByName("IDT_TIPOAPURACAO").asText());
  PNL_Lote->setVisible(lotMode);
  PNL_Quantidade->setVisible(lotMode);
  MED_Quantidade->setVisible(!lotMode);
  if (lotMode) {
    // Focus arriving from elsewhere in the window runs the grid's enter handler.
    if (DBG_Lote->hasFocus()) DBG_Lote->clearFocus();
    DBG_Lote->setFocus(Qt::OtherFocusReason);
    if (!DBG_Lote->hasFocus()) DBG_LoteEnter();
  } else {
    if (DBG_Item->hasFocus()) DBG_Item->clearFocus();
    DBG_Item->setFocus(Qt::OtherFocusReason);
    if (!DBG_Item->hasFocus()) DBG_ItemEnter();
    RefreshTotal();
  }
}

void TFRM_KLAVPropostas::fillHeader(int) {
  const QString cgc = textOf(CDS_Processo, "NRO_CGC");
  if (!cgc.trimmed().isEmpty()) {
    LBL_NumeroCNPJ->setText(QString::fromStdString(proposals::formatEntityCnpj(cgc.toStdString())));
  }
  const std::optional<proposals::Purpose> purpose = pickedPurpose();
  if (!purpose) return;
  PNL_AnoExercicioProcesso->setText(numberOf(CDS_Processo, "ANO_EXERCICIO", "0000"));
  PNL_TipoApuracao->setText(u' ' + textOf(CDS_Processo, "DES_TIPOAPURACAO"));
  RCH_Objeto->setPlainText(u' ' + textOf(CDS_Processo, "DES_OBJETO"));
  if (*purpose == proposals::Purpose::PL) {
    PNL_NumeroProcesso->setText(numberOf(CDS_Processo, "NRO_PROCESSO", "000000"));
    PNL_DataProcesso->setText(dateOf(CDS_Processo, "DAT_PROCESSO", "dd/mm/yyyy"));
    PNL_Modalidade->setText(u' ' + textOf(CDS_Processo, "DES_MODALIDADE"));
    PNL_Sequencial->setText(u' ' + numberOf(CDS_Processo, "SEQ_MODALIDADELICITACAO", "000000"));
    const auto& abertura = CDS_Processo.fieldByName("DAT_ABERTURAPROP");
    PNL_DataAberturaProposta->setText(
        abertura.isNull() ? QString() : u' ' + dateOf(CDS_Processo, "DAT_ABERTURAPROP", "dd/mm/yyyy hh:nn"));
  } else {
    PNL_NumeroProcesso->setText(numberOf(CDS_Processo, "NRO_COTACAO", "000000"));
    PNL_DataProcesso->setText(dateOf(CDS_Processo, "DAT_COTACAO", "dd/mm/yyyy"));
  }
}

// Builds CDS_Lote from the items (the first item of each lot describes it)
// and, for a process file, writes the confirmed supplier into every item.
void TFRM_KLAVPropostas::buildLots(int tag) {
  CDS_Lote.createEmpty();
  auto& itemLot = CDS_Processo.fieldByName("NRO_LOTE");
  auto& itemLotName = CDS_Processo.fieldByName("DES_LOTE");
  auto& lot = CDS_Lote.fieldByName("NRO_LOTE");
  auto& lotName = CDS_Lote.fieldByName("DES_LOTE");
  const std::string supplier = NumberText().toStdString();
  const std::string name = EDT_NomeFornecedor->text().trimmed().toStdString();
  {
    recordtable::DisplaySuspension suspended(CDS_Processo);
    recordtable::DisplaySuspension suspendedLots(CDS_Lote);
    // The items come in lot order, so a lot is looked up only where the
    // lot number changes.
    std::optional<std::int64_t> previous;
    for (CDS_Processo.first(); !CDS_Processo.eof(); CDS_Processo.next()) {
      const std::int64_t number = itemLot.asInteger();
      const bool known = previous == number || CDS_Lote.locate("NRO_LOTE", number);
      previous = number;
      if (!known) {
        CDS_Lote.append();
        lot.setInteger(number);
        lotName.setText(itemLotName.asText());
        CDS_Lote.post();
      }
      if (tag == proposals::kTagProcess) {
        CDS_Processo.edit();
        CDS_Processo.fieldByName("NRO_FORNECEDOR").setText(supplier);
        CDS_Processo.fieldByName("DES_NOME").setText(name);
        CDS_Processo.post();
      }
    }
  }
  CDS_Lote.first();
  CDS_Processo.first();
}
