// Stored but unwritten proposals: the question before they are discarded,
// and the recovery record that every "Gravar" adds to and that a later
// opening of the same file for the same supplier offers to put back.
#include <QFileInfo>

#include <map>
#include <utility>

#include "ItemWalk.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"

namespace {

// The full path that names an opened file in the record: the same file
// reached through another link or relative path gives the same key.
QString fullPathOf(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

void TFRM_KLAVPropostas::KeepRecoveryRecordIn(const QString& folder) {
  recoveryKeeping_ = RecoveryKeeping::Folder;
  recoveryFolder_ = folder;
}

void TFRM_KLAVPropostas::KeepNoRecoveryRecord() { recoveryKeeping_ = RecoveryKeeping::None; }

// Asks before proposals stored since the file was opened or last written are
// thrown away; answered "Ok", their recovery record goes with them.
bool TFRM_KLAVPropostas::confirmDiscardingUnwritten() {
  if (!unwrittenProposals_) return true;
  const bool discard = ShowMessageBox(
      QStringLiteral("CON"),
      QStringLiteral("Existem propostas gravadas que ainda não foram salvas no arquivo de propostas.\n"
                     "Deseja descartá-las?"),
      true);
  if (!discard) return false;
  forgetRecoveryRecord();
  unwrittenProposals_ = false;
  return true;
}

// After a file has been read: the record is opened (a damaged one moved
// aside), and proposals recorded earlier for this file and supplier are
// offered back. The record never stops the file from being worked on.
void TFRM_KLAVPropostas::startRecovery(const QString& path) {
  recoveryKey_ = proposals::RecoveryKey{fullPathOf(path), NumberText()};
  if (recoveryKeeping_ == RecoveryKeeping::None) {
    recovery_.reset();
    return;
  }
  const QString folder = recoveryKeeping_ == RecoveryKeeping::Folder ? recoveryFolder_
                                                                      : proposals::RecoveryRecord::defaultFolder();
  auto wanted = std::make_unique<proposals::RecoveryRecord>(folder);
  if (!recovery_ || recovery_->filePath() != wanted->filePath()) recovery_ = std::move(wanted);
  const proposals::RecoveryOpening opening = recovery_->open();
  if (!opening.renamedTo.isEmpty()) {
    ShowMessageBox(QStringLiteral("ADV"),
                   QStringLiteral("O arquivo de recuperação estava danificado e foi renomeado para\n") +
                       opening.renamedTo + QStringLiteral("."),
                   false);
  }
  if (opening.state != proposals::RecoveryState::Ready) return;
  const std::optional<proposals::RecoveredProposals> found = recovery_->find(*recoveryKey_);
  if (!found) return;
  const bool recover = ShowMessageBox(
      QStringLiteral("CON"),
      QStringLiteral("Foram encontradas propostas não encerradas deste arquivo, gravadas em ") +
          found->lastSaved.toString(QStringLiteral("dd/MM/yyyy hh:mm")) + QStringLiteral(".\nDeseja recuperá-las?"),
      true);
  if (recover) {
    putBackRecovered(*found);
  } else {
    recovery_->remove(*recoveryKey_);
  }
}

// The current item, just stored by "Gravar", into the record.
void TFRM_KLAVPropostas::recordStoredItem() {
  unwrittenProposals_ = true;
  if (!recovery_ || !recovery_->isOpen() || !recoveryKey_) return;
  proposals::RecoveredItem item;
  item.lot = CDS_Processo.fieldByName("NRO_LOTE").asInteger();
  item.item = CDS_Processo.fieldByName("NRO_ITEM").asInteger();
  item.brand = QString::fromStdString(CDS_Processo.fieldByName("DES_MARCA").asText());
  item.quantity = CDS_Processo.fieldByName("QTD_PROPOSTA").asFloat();
  item.price = CDS_Processo.fieldByName("VLR_PROPOSTA").asFloat();
  item.total = CDS_Processo.fieldByName("VLR_TOTALPROPOSTA").asFloat();
  // A record that cannot be written costs the user nothing now: the
  // proposal is stored in memory and "Encerrar" writes it.
  recovery_->save(*recoveryKey_, item, QDateTime::currentDateTime());
}

void TFRM_KLAVPropostas::forgetRecoveryRecord() {
  if (recovery_ && recovery_->isOpen() && recoveryKey_) recovery_->remove(*recoveryKey_);
}

// Every recorded proposal back into its item, over all lots, then the view
// as after a "Gravar": its first item shown, the total and "Encerrar".
void TFRM_KLAVPropostas::putBackRecovered(const proposals::RecoveredProposals& recovered) {
  std::map<std::pair<std::int64_t, std::int64_t>, const proposals::RecoveredItem*> byItem;
  for (const proposals::RecoveredItem& item : recovered.items) byItem[{item.lot, item.item}] = &item;
  {
    proposals::AllItemsWalk walk(CDS_Processo, ItemGridActive, LotGridActive);
    auto& lot = CDS_Processo.fieldByName("NRO_LOTE");
    auto& number = CDS_Processo.fieldByName("NRO_ITEM");
    for (CDS_Processo.first(); !CDS_Processo.eof(); CDS_Processo.next()) {
      const auto found = byItem.find({lot.asInteger(), number.asInteger()});
      if (found == byItem.end()) continue;
      const proposals::RecoveredItem& item = *found->second;
      CDS_Processo.edit();
      try {
        CDS_Processo.fieldByName("DES_MARCA").setText(item.brand.toStdString());
        CDS_Processo.fieldByName("QTD_PROPOSTA").setFloat(item.quantity);
        CDS_Processo.fieldByName("VLR_PROPOSTA").setFloat(item.price);
        CDS_Processo.fieldByName("VLR_TOTALPROPOSTA").setFloat(item.total);
        CDS_Processo.post();
      } catch (...) {
        CDS_Processo.cancel();
        throw;
      }
    }
  }
  CDS_Processo.first();
  ShowCurrentItem();
  RefreshTotal();
  BBT_Encerrar->setEnabled(true);
  unwrittenProposals_ = true;
}
