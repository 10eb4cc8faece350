// TQRP_Propostas: the proposal report. A banded report over its own table
// CDS_Relatorio, filled from the items of CDS_Processo that carry a proposed
// quantity: page header with the entity and the purchase, the process data
// (bidding processes only), the object, the supplier and the column heading,
// one block per item (values, brand, technical description), optional lot headers
// and lot totals, and the proposal's total with a signature line.
#pragma once

#include <string>
#include <string_view>

#include "formats/formats.h"
#include "recordtable/table.h"
#include "reportengine/Model.h"

// Texts of the main window that the report prints as they are shown there.
struct TRelatorioCabecalho {
  std::string NomeEntidade;   // LBL_NomeEntidade
  std::string NomeMunicipio;  // LBL_NomeMunicipio
  std::string NumeroCNPJ;     // LBL_NumeroCNPJ, as 99.999.999/9999-99
  std::string TipoApuracao;   // PNL_TipoApuracao (with its leading blank)
};

class TQRP_Propostas : public reportengine::Report {
 public:
  // Purpose indexes of CMB_Finalidade.
  static constexpr int kCotacaoDePrecos = 0;
  static constexpr int kProcessoLicitatorio = 1;

  TQRP_Propostas();

  recordtable::Table CDS_Relatorio{"CDS_Relatorio"};
  formats::Currency ProposalTotal;
  formats::Currency LotTotal;

  reportengine::Band* PHB_Propostas = nullptr;
  reportengine::Band* CHB_DadosProcesso = nullptr;
  reportengine::Band* CHB_Objeto = nullptr;
  reportengine::Band* CHB_Propostas = nullptr;
  reportengine::Band* QRG_Lote = nullptr;
  reportengine::Band* DTB_Propostas = nullptr;
  reportengine::Band* CHB_Marca = nullptr;
  reportengine::Band* CHB_Especificacao = nullptr;
  reportengine::Band* ChildBand1 = nullptr;
  reportengine::Band* QRB_RodapeLote = nullptr;
  reportengine::Band* SUB_Propostas = nullptr;

  reportengine::Element* QRL_Titulo1 = nullptr;
  reportengine::Element* QRL_QuantidadeProduto = nullptr;
  reportengine::Element* QRL_ValorTotalLote = nullptr;
  reportengine::Element* QRL_ValorTotalProposta = nullptr;

  // Titles by purpose, lot grouping (a price quotation judged by lot "2", a
  // bidding process by "4") and the process data band (bidding only).
  void ConfigurarFinalidade(int purposeIndex, std::string_view idtTipoApuracao);

  // Creates CDS_Relatorio empty and appends one row per item of `processo`
  // with a proposed quantity, walking all lots with its display suspended
  // and its filter off; afterwards its filter is on again (same text) and it
  // stands on its first row, also when filling fails.
  void PreencherRelatorio(recordtable::Table& processo, const TRelatorioCabecalho& cabecalho,
                          int purposeIndex);

  // Hooks called by the report engine.
  void QRP_PropostasBeforePrint();
  void DTB_PropostasBeforePrint(reportengine::Band& band, bool& printBand);
  void QRB_RodapeLoteBeforePrint(reportengine::Band& band, bool& printBand);
  void SUB_PropostasBeforePrint(reportengine::Band& band, bool& printBand);

 private:
  void BuildPageHeader();
  void BuildColumnHeader();
  void BuildLotGroup();
  void BuildDetail();
  void BuildSummary();
  void CopyRow(recordtable::Table& processo, const TRelatorioCabecalho& cabecalho, bool bidding);
};
