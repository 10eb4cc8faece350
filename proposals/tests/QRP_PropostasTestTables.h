// Item tables for the report's tests: a CDS_Processo with the fields of a
// price quotation or a bidding process, filled with the items given.
#pragma once

#include <QProcess>
#include <QString>
#include <string>
#include <vector>

#include "UNT_QRP_Propostas.h"
#include "ProposalTables.h"
#include "recordtable/table.h"

struct ItemRow {
  int lot;
  std::string lotName;
  int item;
  std::string product;
  double requested;
  double proposed;  // QTD_PROPOSTA
  double price;     // VLR_PROPOSTA
  double total;     // VLR_TOTALPROPOSTA
  std::string brand = "Marca Boa";
  std::string especificacao = "Especificação curta.";
};

struct ProcessoOptions {
  proposals::Purpose purpose = proposals::Purpose::CP;
  std::string idtTipoApuracao = "2";
  bool openingOfProposals = true;  // DAT_ABERTURAPROP filled
  std::string objeto = "Aquisição de gêneros alimentícios para a merenda escolar.";
};

inline void fillProcesso(recordtable::Table& table, const ProcessoOptions& options,
                         const std::vector<ItemRow>& items) {
  using proposals::Use;
  std::vector<recordtable::FieldDef> defs;
  Use own = options.purpose == proposals::Purpose::CP ? Use::CP : Use::PL;
  for (const auto& f : proposals::processoFields())
    if (f.use == Use::Both || f.use == own) defs.push_back({std::string(f.name), f.kind, f.size});
  table.close();
  table.setFieldDefs(defs);
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
  table.createEmpty();
  bool pl = options.purpose == proposals::Purpose::PL;
  for (const ItemRow& row : items) {
    table.append();
    auto set = [&](const char* name, const std::string& text) { table.fieldByName(name).setText(text); };
    set("DES_TIPOENTIDADE", "PREFEITURA MUNICIPAL DE EXEMPLO");
    set("DES_MUNICIPIO", "EXEMPLO - RS");
    set("NRO_CGC", "92603417000167");
    table.fieldByName("ANO_EXERCICIO").setInteger(2012);
    if (pl) {
      table.fieldByName("NRO_PROCESSO").setInteger(14);
      table.fieldByName("DAT_PROCESSO").setDateTime({2011, 5, 2, 0, 0, 0, 0});
      set("DES_MODALIDADE", "PREGÃO PRESENCIAL");
      table.fieldByName("SEQ_MODALIDADELICITACAO").setInteger(7);
      table.fieldByName("DAT_ENTREGA").setDateTime({2011, 5, 20, 9, 0, 0, 0});
      table.fieldByName("DAT_ABERTURADOC").setDateTime({2011, 5, 20, 9, 30, 0, 0});
      if (options.openingOfProposals)
        table.fieldByName("DAT_ABERTURAPROP").setDateTime({2011, 5, 20, 10, 15, 0, 0});
    } else {
      table.fieldByName("NRO_COTACAO").setInteger(45);
      table.fieldByName("DAT_COTACAO").setDateTime({2012, 3, 12, 0, 0, 0, 0});
    }
    set("DES_TIPOAPURACAO", "MENOR PREÇO POR LOTE");
    set("IDT_TIPOAPURACAO", options.idtTipoApuracao);
    set("DES_OBJETO", options.objeto);
    set("NRO_FORNECEDOR", "12123123000199");
    set("DES_NOME", "FORNECEDORA EXEMPLO LTDA");
    table.fieldByName("NRO_LOTE").setInteger(row.lot);
    set("DES_LOTE", row.lotName);
    table.fieldByName("NRO_ITEM").setInteger(row.item);
    table.fieldByName("COD_PRODUTO").setInteger(5100 + row.item);
    set("DES_PRODUTO", row.product);
    table.fieldByName("COD_UNIDADEMEDIDA").setInteger(4);
    set("DES_UNIDADEMEDIDA", "KG");
    set("DES_ESPECIFICACAO", row.especificacao);
    table.fieldByName("QTD_PRODUTO").setFloat(row.requested);
    table.fieldByName("QTD_PROPOSTA").setFloat(row.proposed);
    table.fieldByName("VLR_PROPOSTA").setFloat(row.price);
    table.fieldByName("VLR_TOTALPROPOSTA").setFloat(row.total);
    set("DES_MARCA", row.proposed > 0 ? row.brand : "");
    table.post();
  }
  table.first();
}

// What the main window shows of the entity and the judgement type.
inline TRelatorioCabecalho sampleCabecalho() {
  return {"  PREFEITURA MUNICIPAL DE EXEMPLO ", "EXEMPLO - RS", "92.603.417/0001-67", " MENOR PREÇO POR LOTE"};
}

// Two lots totalling 10,00 and 5,50, an item proposed at price 0 and an
// item without a proposal.
inline std::vector<ItemRow> twoLots() {
  return {
      {1, "HORTIFRUTIGRANJEIROS", 1, "BANANA PRATA", 3200, 4, 1.5, 6.0},
      {1, "HORTIFRUTIGRANJEIROS", 2, "MAÇÃ FUJI", 1500, 2, 2.0, 4.0},
      {1, "HORTIFRUTIGRANJEIROS", 3, "LARANJA PERA", 900, 0, 0, 0},  // not proposed
      {2, "MERCEARIA", 4, "ARROZ TIPO 1", 500, 1, 5.5, 5.5},
      {2, "MERCEARIA", 5, "SAL REFINADO", 100, 3, 0, 0},  // proposed, price 0
  };
}

inline QString pdfToText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!process.waitForFinished(120000) || process.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
  return QString::fromUtf8(process.readAllStandardOutput());
}
