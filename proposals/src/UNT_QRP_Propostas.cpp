#include "UNT_QRP_Propostas.h"

#include "ProposalTables.h"

using reportengine::Align;
using reportengine::Band;
using reportengine::ElementKind;
using reportengine::Font;

namespace {

Font arial(double size, bool bold = false) { return Font{"Arial", size, bold}; }

constexpr double kBandWidth = 195.8;
constexpr const char* kTotalPattern = "#,##0.00";
constexpr const char* kQuantityPattern = "#,##0.0000";
// Amounts and the supplier's name shrink to fit their box rather than run
// into the next column.
constexpr reportengine::TextFit kShrink = reportengine::TextFit::ShrinkToFit;
constexpr double kNameWidth = 142.0;

std::string trimmed(std::string_view text) {
  const char* blanks = " \t\r\n";
  std::size_t start = text.find_first_not_of(blanks);
  if (start == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(blanks);
  return std::string(text.substr(start, end - start + 1));
}

// Restores CDS_Processo after the walk over all its lots, also when the walk
// fails: filter on with the text it had, display resumed, first row.
class AllLotsWalk {
 public:
  explicit AllLotsWalk(recordtable::Table& table) : table_(table) {
    table_.suspendDisplay();
    table_.setFiltered(false);
  }
  ~AllLotsWalk() {
    try {
      table_.setFiltered(true);
    } catch (const recordtable::TableError&) {
      // A filter that cannot apply leaves the table showing all lots.
    }
    table_.resumeDisplay();
    if (table_.isOpen()) table_.first();
  }
  AllLotsWalk(const AllLotsWalk&) = delete;
  AllLotsWalk& operator=(const AllLotsWalk&) = delete;

 private:
  recordtable::Table& table_;
};

void copyInteger(const recordtable::Field& from, recordtable::Field& to) {
  if (!from.isNull()) to.setInteger(from.asInteger());
}
void copyFloat(const recordtable::Field& from, recordtable::Field& to) {
  if (!from.isNull()) to.setFloat(from.asFloat());
}
void copyDateTime(const recordtable::Field& from, recordtable::Field& to) {
  if (!from.isNull()) to.setDateTime(from.asDateTime());
}
void copyText(const recordtable::Field& from, recordtable::Field& to) { to.setText(from.asText()); }

}  // namespace

TQRP_Propostas::TQRP_Propostas() {
  title = "Propostas de Preços";
  baseFont = arial(9);
  proposals::defineTable(CDS_Relatorio, proposals::relatorioFields(), proposals::kRelatorioIndexFields);
  setTable(&CDS_Relatorio);
  BuildPageHeader();
  BuildColumnHeader();
  BuildLotGroup();
  BuildDetail();
  BuildSummary();
  beforeRun = [this] { QRP_PropostasBeforePrint(); };
}

void TQRP_Propostas::BuildPageHeader() {
  Band& b = setPageHeader("PHB_Propostas", 32.8);
  PHB_Propostas = &b;
  b.addLabel("QRL_Entidade", "Entidade:", 1.3, 0.3, 14.0, Align::Left, arial(9));
  b.addLabel("QRL_Municipio", "Municipío:", 1.3, 5.3, 14.8, Align::Left, arial(9));
  b.addLabel("QRL_CNPJ", "CNPJ:", 1.3, 10.6, 9.5, Align::Left, arial(9));
  // Texts are clipped to their box: the entity's and the town's names reach
  // as far as the page number's column, so that a whole name shows.
  b.addField("QRT_DES_TipoEntidade", "DES_TIPOENTIDADE", "", 17.2, 0.3, kNameWidth, Align::Left, arial(9)).fit = kShrink;
  b.addField("QRT_DES_Municipio", "DES_MUNICIPIO", "", 17.2, 5.3, kNameWidth, Align::Left, arial(9)).fit = kShrink;
  b.addField("QRT_NRO_CGC", "NRO_CGC", "", 17.2, 10.6, 36.5, Align::Left, arial(9));
  b.addSystem("QRS_Pagina", ElementKind::PageNumber, "Página: ", 160.1, 0.3, 35.2, Align::Right, arial(8));
  b.addSystem("QRS_Data", ElementKind::DateTime, "", 160.1, 5.6, 35.2, Align::Right, arial(8));
  b.addLine("QRH_Cabecalho1", 0.0, 15.3, kBandWidth);
  QRL_Titulo1 = &b.addLabel("QRL_Titulo1", "", 0.0, 16.4, kBandWidth, Align::Center, arial(9, true));
  b.addLabel("QRL_Titulo2", "Propostas de Preços", 0.0, 21.7, kBandWidth, Align::Center, arial(8, true));
  b.addLine("QRH_Cabecalho2", 0.0, 26.2, kBandWidth);
  b.addLabel("QRL_NumeroProcesso", "Número:", 1.3, 27.8, 13.0, Align::Left, arial(9));
  b.addExpression("QRE_NRO_Processo",
                  "FORMATNUMERIC('000000 / ',CDS_Relatorio.NRO_PROCESSO) + "
                  "FORMATNUMERIC('0000',CDS_Relatorio.ANO_EXERCICIO)",
                  15.9, 27.8, 23.8, Align::Left, arial(9));
  b.addLabel("QRL_DataProcesso", "Data:", 47.6, 27.8, 7.9, Align::Left, arial(9));
  b.addField("QRT_DAT_Processo", "DAT_PROCESSO", "", 56.6, 27.8, 26.2, Align::Left, arial(9));
  b.addLabel("QRL_TipoApuracao", "Tipo de Apuração:", 90.0, 27.8, 26.5, Align::Left, arial(9));
  b.addField("QRT_DES_TipoApuracao", "DES_TIPOAPURACAO", "", 117.5, 27.8, 77.3, Align::Left, arial(9));

  Band& dados = b.addChild("CHB_DadosProcesso", 10.3);
  CHB_DadosProcesso = &dados;
  dados.addLabel("QRL_Modalidade", "Modalidade:", 1.3, 0.5, 18.0, Align::Left, arial(9));
  dados.addField("QRT_DES_Modalidade", "DES_MODALIDADE", "", 20.1, 0.5, 129.6, Align::Left, arial(9));
  dados.addLabel("QRL_Sequencial", "Sequencial:", 152.7, 0.5, 17.5, Align::Left, arial(9));
  dados.addField("QRT_SEQ_Modalidade", "SEQ_MODALIDADELICITACAO", "000000", 170.9, 0.5, 23.8, Align::Left,
                 arial(9));
  dados.addLabel("QRL_DataEntrega", "Entrega:", 1.3, 5.3, 12.4, Align::Left, arial(9));
  dados.addField("QRT_DAT_Entrega", "DAT_ENTREGA", "dd/mm/yyyy hh:nn", 14.6, 5.3, 30.4, Align::Left, arial(9));
  dados.addLabel("QRL_DataAberturaDoc", "Abertura Documentação:", 55.6, 5.3, 36.2, Align::Left, arial(9));
  dados.addField("QRT_DAT_AberturaDoc", "DAT_ABERTURADOC", "dd/mm/yyyy hh:nn", 92.6, 5.3, 30.4, Align::Left,
                 arial(9));
  dados.addLabel("QRL_DataAberturaProp", "Abertura Propostas:", 134.4, 5.3, 29.1, Align::Left, arial(9));
  dados.addField("QRT_DAT_AberturaProp", "DAT_ABERTURAPROP", "dd/mm/yyyy hh:nn", 164.3, 5.3, 30.4, Align::Left,
                 arial(9));

  Band& objeto = dados.addChild("CHB_Objeto", 5.3);
  CHB_Objeto = &objeto;
  objeto.addLabel("QRL_Objeto", "Objeto:", 1.3, 0.5, 10.6, Align::Left, arial(9));
  objeto.addField("QRT_DES_Objeto", "DES_OBJETO", "", 12.7, 0.5, 182.0, Align::Left, arial(9), true);
}

void TQRP_Propostas::BuildColumnHeader() {
  Band& b = setColumnHeader("CHB_Propostas", 15.6);
  CHB_Propostas = &b;
  b.addLine("QRH_CabecalhoColuna", 0.0, 0.0, kBandWidth);
  b.addLabel("QRL_NomeFornecedor", "Nome:", 0.8, 1.1, 10.1, Align::Left, arial(9));
  b.addField("QRT_DES_Fornecedor", "DES_FORNECEDOR", "", 12.2, 1.1, 124.4, Align::Left, arial(9)).fit = kShrink;
  b.addLabel("QRL_CodigoFornecedor", "CNPJ:", 147.6, 1.1, 10.6, Align::Left, arial(9));
  b.addField("QRT_COD_Fornecedor", "COD_FORNECEDOR", "", 159.0, 1.1, 36.5, Align::Left, arial(9));
  b.addLine("QRH_Cabecalho", 0.0, 5.3, kBandWidth, true);
  b.addLabel("QRL_QuantidadeProduto1", "Quantidade", 107.4, 6.3, 21.2, Align::Right, arial(8));
  b.addLabel("QRL_Proposta", "P R O P O S T A", 129.6, 6.1, 65.6, Align::Center, arial(8));
  b.addLine("QRH_Proposta", 129.6, 10.1, 65.6);
  b.addLabel("QRL_NumeroItem", "Item", 1.3, 10.8, 9.3, Align::Center, arial(8));
  b.addLabel("QRL_CodigoProduto", "Código", 11.9, 10.8, 10.8, Align::Center, arial(8));
  b.addLabel("QRL_DescricaoProduto", "Descrição", 24.3, 10.8, 81.8, Align::Left, arial(8));
  QRL_QuantidadeProduto = &b.addLabel("QRL_QuantidadeProduto", "", 107.4, 10.6, 21.2, Align::Right, arial(8));
  b.addLabel("QRL_QuantidadeProposta", "Quantidade", 129.6, 10.8, 21.2, Align::Right, arial(8));
  b.addLabel("QRL_ValorUnitario", "Vlr Unitário", 151.9, 10.8, 21.2, Align::Right, arial(8));
  b.addLabel("QRL_ValorTotal", "Valor Total", 174.1, 10.8, 21.2, Align::Right, arial(8));
  b.addLine("QRH_CabecalhoFornecedor", 0.0, 14.8, kBandWidth);
}

void TQRP_Propostas::BuildLotGroup() {
  reportengine::Group& group = addGroup("QRG_Lote", "NRO_LOTE", 5.6);
  group.reprintOnNewPage = false;
  QRG_Lote = group.header.get();
  QRG_Lote->keep.withNext = true;  // never a bare "Lote:" at a page's foot
  QRG_Lote->addLabel("QRL_Lote", "Lote:", 1.3, 0.5, 7.4, Align::Left, arial(9));
  QRG_Lote->addExpression("QRE_Lote", "FORMATNUMERIC('0000 - ',CDS_Relatorio.NRO_LOTE) + CDS_Relatorio.DES_LOTE",
                          10.6, 0.5, 184.2, Align::Left, arial(9));
  QRG_Lote->addLine("QRH_Lote", 0.0, 4.8, kBandWidth);

  Band& footer = setGroupFooter(group, "QRB_RodapeLote", 6.9);
  QRB_RodapeLote = &footer;
  footer.addLabel("QRL_TotalLote", "Total do Lote:", 129.6, 1.1, 31.8, Align::Right, arial(10, true));
  QRL_ValorTotalLote = &footer.addLabel("QRL_ValorTotalLote", "0,00", 162.5, 1.1, 32.8, Align::Right, arial(10, true));
  QRL_ValorTotalLote->fit = kShrink;
  footer.keep.withPrevious = true;  // a lot total at a page's top would read as the next lot's
  footer.beforePrint = [this](Band& band, bool& print) { QRB_RodapeLoteBeforePrint(band, print); };
}

void TQRP_Propostas::BuildDetail() {
  Band& b = setDetail("DTB_Propostas", 4.8);
  DTB_Propostas = &b;
  b.addField("QRT_NRO_Item", "NRO_ITEM", "00000", 1.3, 0.5, 9.3, Align::Center, arial(8));
  b.addField("QRT_COD_Produto", "COD_PRODUTO", "000000", 11.9, 0.5, 10.8, Align::Center, arial(8));
  b.addField("QRT_DES_Produto", "DES_PRODUTO", "", 24.3, 0.5, 81.8, Align::Left, arial(8), true);
  b.addField("QRT_QTD_Produto", "QTD_PRODUTO", kQuantityPattern, 107.4, 0.5, 21.2, Align::Right, arial(8)).fit = kShrink;
  b.addField("QRT_QTD_Proposta", "QTD_PROPOSTA", kQuantityPattern, 129.6, 0.5, 21.2, Align::Right, arial(8)).fit =
      kShrink;
  b.addField("QRT_VLR_Proposta", "VLR_PROPOSTA", kQuantityPattern, 151.9, 0.5, 21.2, Align::Right, arial(8)).fit =
      kShrink;
  b.addField("QRT_VLR_TotalProposta", "VLR_TOTALPROPOSTA", kTotalPattern, 174.1, 0.5, 21.2, Align::Right, arial(8))
      .fit = kShrink;
  b.keep.chainTogether = true;  // the item's values, brand and technical description on one page
  b.beforePrint = [this](Band& band, bool& print) { DTB_PropostasBeforePrint(band, print); };

  Band& marca = b.addChild("CHB_Marca", 4.8);
  CHB_Marca = &marca;
  marca.addLabel("QRL_Marca", "Marca:", 1.3, 0.3, 9.8, Align::Left, arial(9));
  marca.addField("QRT_DES_Marca", "DES_MARCA", "", 24.3, 0.5, 169.3, Align::Left, arial(8), true);

  Band& especificacao = marca.addChild("CHB_Especificacao", 4.8);
  CHB_Especificacao = &especificacao;
  especificacao.addLabel("QRL_Especificacao", "Especificação:", 1.3, 0.3, 21.4, Align::Left, arial(9));
  especificacao.addField("QRT_DES_Especificacao", "DES_ESPECIFICACAO", "", 24.3, 0.5, 169.3, Align::Left,
                         arial(8), true);

  ChildBand1 = &especificacao.addChild("ChildBand1", 0.8);
  ChildBand1->addLine("QRH_Especificacao", 0.0, 0.0, kBandWidth, true);
}

void TQRP_Propostas::BuildSummary() {
  Band& b = setSummary("SUB_Propostas", 21.4);
  SUB_Propostas = &b;
  b.addLabel("QRL_TotalProposta", "Total da Proposta:", 129.6, 1.1, 31.8, Align::Right, arial(10, true));
  QRL_ValorTotalProposta =
      &b.addLabel("QRL_ValorTotalProposta", "0,00", 162.5, 1.1, 32.8, Align::Right, arial(10, true));
  QRL_ValorTotalProposta->fit = kShrink;
  // Up to the signature line, a little smaller if the font needs it.
  b.addLabel("QRL_AssinaturaResponsavel", "Assinatura do responsável:", 2.1, 16.4, 42.4, Align::Left, arial(10)).fit =
      kShrink;
  b.addShape("QRH_Assinatura", 44.5, 20.1, 86.3, 0.3);
  b.beforePrint = [this](Band& band, bool& print) { SUB_PropostasBeforePrint(band, print); };
}

void TQRP_Propostas::ConfigurarFinalidade(int purposeIndex, std::string_view idtTipoApuracao) {
  bool grouped = false;
  if (purposeIndex == kCotacaoDePrecos) {
    QRL_Titulo1->text = "COTAÇÃO DE PREÇOS";
    QRL_QuantidadeProduto->text = "da Cotação";
    grouped = idtTipoApuracao == "2";
  } else {
    QRL_Titulo1->text = "PROCESSO LICITATÓRIO";
    QRL_QuantidadeProduto->text = "do Processo";
    grouped = idtTipoApuracao == "4";
  }
  QRG_Lote->setEnabled(grouped);
  QRB_RodapeLote->setEnabled(grouped);
  CHB_DadosProcesso->setEnabled(purposeIndex == kProcessoLicitatorio);
}

void TQRP_Propostas::PreencherRelatorio(recordtable::Table& processo, const TRelatorioCabecalho& cabecalho,
                                        int purposeIndex) {
  CDS_Relatorio.close();
  CDS_Relatorio.createEmpty();
  AllLotsWalk walk(processo);
  bool bidding = purposeIndex == kProcessoLicitatorio;
  for (processo.first(); !processo.isEmpty() && !processo.eof(); processo.next()) {
    const recordtable::Field& quantity = processo.fieldByName("QTD_PROPOSTA");
    if (!quantity.isNull() && quantity.asFloat() > 0) CopyRow(processo, cabecalho, bidding);
  }
  CDS_Relatorio.first();
}

void TQRP_Propostas::CopyRow(recordtable::Table& p, const TRelatorioCabecalho& cabecalho, bool bidding) {
  recordtable::Table& r = CDS_Relatorio;
  r.append();
  try {
    r.fieldByName("DES_TIPOENTIDADE").setText(trimmed(cabecalho.NomeEntidade));
    r.fieldByName("DES_MUNICIPIO").setText(trimmed(cabecalho.NomeMunicipio));
    r.fieldByName("NRO_CGC").setText(trimmed(cabecalho.NumeroCNPJ));
    r.fieldByName("DES_TIPOAPURACAO").setText(trimmed(cabecalho.TipoApuracao));
    copyInteger(p.fieldByName("ANO_EXERCICIO"), r.fieldByName("ANO_EXERCICIO"));
    copyInteger(p.fieldByName(bidding ? "NRO_PROCESSO" : "NRO_COTACAO"), r.fieldByName("NRO_PROCESSO"));
    copyDateTime(p.fieldByName(bidding ? "DAT_PROCESSO" : "DAT_COTACAO"), r.fieldByName("DAT_PROCESSO"));
    if (bidding) {
      copyText(p.fieldByName("DES_MODALIDADE"), r.fieldByName("DES_MODALIDADE"));
      copyInteger(p.fieldByName("SEQ_MODALIDADELICITACAO"), r.fieldByName("SEQ_MODALIDADELICITACAO"));
      for (const char* date : {"DAT_ENTREGA", "DAT_ABERTURADOC", "DAT_ABERTURAPROP"})
        copyDateTime(p.fieldByName(date), r.fieldByName(date));
    }
    copyText(p.fieldByName("DES_OBJETO"), r.fieldByName("DES_OBJETO"));
    copyText(p.fieldByName("NRO_FORNECEDOR"), r.fieldByName("COD_FORNECEDOR"));
    copyText(p.fieldByName("DES_NOME"), r.fieldByName("DES_FORNECEDOR"));
    for (const char* name : {"NRO_LOTE", "NRO_ITEM", "COD_PRODUTO", "COD_UNIDADEMEDIDA"})
      copyInteger(p.fieldByName(name), r.fieldByName(name));
    for (const char* name : {"DES_LOTE", "DES_PRODUTO", "DES_UNIDADEMEDIDA", "DES_ESPECIFICACAO", "DES_MARCA"})
      copyText(p.fieldByName(name), r.fieldByName(name));
    for (const char* name : {"QTD_PRODUTO", "QTD_PROPOSTA", "VLR_PROPOSTA", "VLR_TOTALPROPOSTA"})
      copyFloat(p.fieldByName(name), r.fieldByName(name));
    r.post();
  } catch (...) {
    r.cancel();
    throw;
  }
}

void TQRP_Propostas::QRP_PropostasBeforePrint() {
  ProposalTotal = formats::Currency();
  LotTotal = formats::Currency();
}

void TQRP_Propostas::DTB_PropostasBeforePrint(Band&, bool&) {
  formats::Currency value = formats::Currency::fromDouble(CDS_Relatorio.fieldByName("VLR_TOTALPROPOSTA").asFloat());
  ProposalTotal += value;
  LotTotal += value;
}

void TQRP_Propostas::QRB_RodapeLoteBeforePrint(Band&, bool&) {
  QRL_ValorTotalLote->text = formats::formatNumber(LotTotal.toDouble(), kTotalPattern);
  LotTotal = formats::Currency();
}

void TQRP_Propostas::SUB_PropostasBeforePrint(Band&, bool&) {
  QRL_ValorTotalProposta->text = formats::formatNumber(ProposalTotal.toDouble(), kTotalPattern);
  ProposalTotal = formats::Currency();
}
