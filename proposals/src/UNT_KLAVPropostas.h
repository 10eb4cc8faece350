// TFRM_KLAVPropostas: the proposal program's one window. It carries the whole
// workflow from top to bottom: the buyer, the purpose and the supplier, the
// purchase header, the lots, the items, the entry of one item's proposal and
// the bar of action buttons. Every action is a handler of this window; an
// error that escapes a handler is shown in the application's standard error
// box and the window goes on.
//
// The controls and tables are public members so that the report and the
// tests reach them by name. GUI thread only.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "OpenDialog.h"
#include "ProposalTables.h"
#include "RecoveryRecord.h"
#include "SupplierKey.h"
#include "controls/FocusVisit.h"
#include "controls/Memoedit.h"
#include "recordtable/table.h"

namespace proposals {
class TDataSource;
}

class TFRM_KLAVPropostas : public QWidget {
  Q_OBJECT

 public:
  explicit TFRM_KLAVPropostas(QWidget* parent = nullptr);
  ~TFRM_KLAVPropostas() override;

  // ---- tables, data sources, dialog, flags ------------------------------
  recordtable::Table CDS_Processo{"CDS_Processo"};
  recordtable::Table CDS_Lote{"CDS_Lote"};
  proposals::TDataSource* DST_Processo = nullptr;
  proposals::TDataSource* DST_Lote = nullptr;
  proposals::TOpenDialog OPG_Arquivo;
  bool ItemGridActive = false;
  bool LotGridActive = false;

  // ---- PNL_Entidade -----------------------------------------------------
  QFrame* PNL_Entidade = nullptr;
  QLabel* LBL_Entidade = nullptr;
  QLabel* LBL_NomeEntidade = nullptr;
  QLabel* LBL_Municipio = nullptr;
  QLabel* LBL_NomeMunicipio = nullptr;
  QLabel* LBL_CNPJ = nullptr;
  QLabel* LBL_NumeroCNPJ = nullptr;

  // ---- PNL_Chave1 -------------------------------------------------------
  QFrame* PNL_Chave1 = nullptr;
  QLabel* STT_Finalidade = nullptr;
  QComboBox* CMB_Finalidade = nullptr;
  QLabel* STT_Identificacao = nullptr;
  QComboBox* CMB_Identificacao = nullptr;
  QLabel* STT_CodigoNacional = nullptr;
  QLineEdit* MSK_CodigoNacional = nullptr;
  QLabel* STT_NomeFornecedor = nullptr;
  QLineEdit* EDT_NomeFornecedor = nullptr;
  QPushButton* BBT_GravarFornecedor = nullptr;

  // ---- PNL_Processo -----------------------------------------------------
  QFrame* PNL_Processo = nullptr;
  QLabel* STT_AnoExercicioProcesso = nullptr;
  QLabel* PNL_AnoExercicioProcesso = nullptr;
  QLabel* STT_NumeroProcesso = nullptr;
  QLabel* PNL_NumeroProcesso = nullptr;
  QLabel* STT_DataProcesso = nullptr;
  QLabel* PNL_DataProcesso = nullptr;
  QLabel* STT_TipoApuracao = nullptr;
  QLabel* PNL_TipoApuracao = nullptr;
  QLabel* STT_Modalidade = nullptr;
  QLabel* PNL_Modalidade = nullptr;
  QLabel* STT_Sequencial = nullptr;
  QLabel* PNL_Sequencial = nullptr;
  QLabel* STT_DataAberturaProposta = nullptr;
  QLabel* PNL_DataAberturaProposta = nullptr;

  // ---- PNL_ObjetoGeral --------------------------------------------------
  QFrame* PNL_ObjetoGeral = nullptr;
  QLabel* STT_Objeto = nullptr;
  QFrame* PNL_Objeto = nullptr;
  QTextEdit* RCH_Objeto = nullptr;

  // ---- PNL_Lote, PNL_Grid -----------------------------------------------
  QFrame* PNL_Lote = nullptr;
  QTableView* DBG_Lote = nullptr;
  QFrame* PNL_Grid = nullptr;
  QTableView* DBG_Item = nullptr;

  // ---- PNL_Item ---------------------------------------------------------
  QFrame* PNL_Item = nullptr;
  QLabel* STT_Especificacao = nullptr;
  QFrame* PNL_Especificacao = nullptr;
  QTextEdit* RCH_Especificacao = nullptr;
  QLabel* STT_Marca = nullptr;
  QLineEdit* EDT_Marca = nullptr;
  QLabel* STT_Quantidade = nullptr;
  controls::TMemoEdit* MED_Quantidade = nullptr;
  QLabel* PNL_Quantidade = nullptr;
  QLabel* STT_ValorUnitario = nullptr;
  controls::TMemoEdit* MED_ValorUnitario = nullptr;
  QPushButton* BBT_Gravar = nullptr;
  QLabel* STT_ValorTotal = nullptr;
  QLabel* PNL_ValorTotal = nullptr;

  // ---- PNL_Botoes -------------------------------------------------------
  QFrame* PNL_Botoes = nullptr;
  QPushButton* BBT_Limpar = nullptr;
  QPushButton* BBT_Arquivo = nullptr;
  QPushButton* BBT_Proposta = nullptr;
  QPushButton* BBT_Relatorio = nullptr;
  QPushButton* BBT_Encerrar = nullptr;
  QToolButton* SPB_Tutorial = nullptr;

  // ---- operations used across the window ----------------------------------
  // Enables or disables each direct child control of `panel`, in child
  // order, then the panel itself.
  static void SetPanelEnabled(QWidget* panel, bool enabled);
  void ClearForm();
  bool IsValidCNPF(QString number) const;
  bool IsValidCNPJ(QString number) const;
  // The supplier's number text (digits, or letters and digits of an
  // alphanumeric CNPJ, without separators).
  QString NumberText() const;
  // The purpose and the identification picked in their lists.
  std::optional<proposals::Purpose> pickedPurpose() const;
  proposals::Identification pickedIdentification() const;
  // Lot mode: the lot panel is shown (not hidden).
  bool IsLotMode() const { return !PNL_Lote->isHidden(); }
  // The folder of the file last opened, where "Encerrar" writes.
  QString LastFolder() const { return lastFolder_; }

  // The checks of "Confirmar" on the supplier panel: the number is given,
  // its check digits hold and the name is given. Shows the first failure
  // and puts the focus on the field to correct; true when all hold.
  bool CheckSupplier();
  // The first of those checks, which "Gravar" makes too: the number is
  // given. Shows the warning and puts the focus on the number when not.
  bool checkSupplierNumberGiven();

  // The record of stored but unwritten proposals: by default in the user's
  // data folder; KeepNoRecoveryRecord runs without one (a baseline for
  // measuring its cost). Takes effect at the next file opened.
  void KeepRecoveryRecordIn(const QString& folder);
  void KeepNoRecoveryRecord();
  // Proposals stored by "Gravar" (or recovered) that "Encerrar" has not
  // written yet.
  bool HasUnwrittenProposals() const { return unwrittenProposals_; }

  void ApplyLotFilter();
  void ShowCurrentItem();
  void RefreshTotal();

  // ---- handlers -----------------------------------------------------------
  void FormShow();
  void FormClose();
  void BBT_LimparClick();
  void PNL_Chave1Exit();
  void CMB_FinalidadeClick();
  void CMB_IdentificacaoClick();
  void BBT_GravarFornecedorClick();
  void PNL_GridResize();
  void SPB_TutorialClick();
  void BBT_ArquivoClick(QPushButton* sender);
  void DBG_LoteEnter();
  void DBG_LoteExit();
  void DBG_ItemEnter();
  void DBG_ItemExit();
  void CDS_LoteAfterScroll();
  void CDS_ProcessoAfterScroll();
  void MED_QuantidadeExit();
  void BBT_GravarClick();
  void BBT_EncerrarClick();
  // Defined in UNT_KLAVPropostas_Relatorio.cpp.
  void BBT_RelatorioClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildClientArea();
  void placeOnScreen();
  void buildEntidade();
  void buildChave1();
  void buildProcesso();
  void buildObjetoGeral();
  void buildGrids();
  void buildItem();
  void buildBotoes();
  void applyTabOrder();
  void connectHandlers();
  void layoutPanels();

  // Runs a handler; an error escaping it goes to the standard error box.
  void guarded(const std::function<void()>& handler);

  void readFile(int tag, const QString& path);
  void fillHeader(int tag);
  void buildLots(int tag);
  void emptyEntryPanel();
  void setQuantityShown(double quantity);
  void advanceAfterSave();
  void saveProposals();
  void followFocusChange(QWidget* old, QWidget* now);
  void stampSupplier();
  bool confirmReplacing(const QString& path, const QString& name);

  // Recovery record (UNT_KLAVPropostas_Recuperacao.cpp).
  bool confirmDiscardingUnwritten();
  void startRecovery(const QString& path);
  void recordStoredItem();
  void forgetRecoveryRecord();
  void putBackRecovered(const proposals::RecoveredProposals& recovered);

  enum class RecoveryKeeping { UserDataFolder, Folder, None };
  RecoveryKeeping recoveryKeeping_ = RecoveryKeeping::UserDataFolder;
  QString recoveryFolder_;
  std::unique_ptr<proposals::RecoveryRecord> recovery_;
  std::optional<proposals::RecoveryKey> recoveryKey_;  // of the open file
  bool unwrittenProposals_ = false;
  // The open file: its full path, the button that read it and the purpose
  // it was read under (which names the proposals file).
  QString openFile_;
  int openTag_ = -1;
  std::optional<proposals::Purpose> openPurpose_;

  QWidget* client_ = nullptr;  // holds the panels at the window's full size; scrolled on a small screen
  bool shown_ = false;
  bool walkingItems_ = false;  // RefreshTotal is summing the items on view
  controls::FocusVisit loteVisit_;
  controls::FocusVisit itemVisit_;
  QString lastFolder_;
  QPointer<QWidget> lastFocus_;
};

// The window created by start-up (null before and after).
extern TFRM_KLAVPropostas* FRM_KLAVPropostas;
