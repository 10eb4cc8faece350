// The proposal program's tables as data, and the checks of a process file's
// fields per purpose.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include "ProposalTables.h"
#include "recordtable/table.h"

namespace proposals {
namespace {

using recordtable::Alignment;
using recordtable::DisplaySettings;
using recordtable::Field;
using recordtable::FieldDef;
using recordtable::FieldKind;
using recordtable::Table;
using recordtable::TableError;

// A process table with the fields a writer gives for `purpose` (or both).
std::vector<FieldDef> processoDefs(std::optional<Purpose> purpose) {
  std::vector<FieldDef> defs;
  for (const ProcessoField& f : processoFields()) {
    if (purpose == Purpose::CP && f.use == Use::PL) continue;
    if (purpose == Purpose::PL && f.use == Use::CP) continue;
    defs.push_back({std::string(f.name), f.kind, f.size});
  }
  return defs;
}

TEST(ProposalTables, LoteAndRelatorioDefinitions) {
  Table lote("CDS_Lote");
  defineTable(lote, loteFields(), kLoteIndexFields);
  lote.createEmpty();
  EXPECT_EQ(lote.fieldByName("NRO_LOTE").display().pattern, "0000");
  EXPECT_EQ(lote.fieldByName("NRO_LOTE").alignment(), Alignment::Center);
  EXPECT_EQ(lote.fieldByName("DES_LOTE").size(), 100);

  Table relatorio("CDS_Relatorio");
  defineTable(relatorio, relatorioFields(), kRelatorioIndexFields);
  relatorio.createEmpty();
  ASSERT_EQ(relatorio.fieldCount(), 28u);
  EXPECT_EQ(relatorio.field(0).name(), "DES_TIPOENTIDADE");
  EXPECT_EQ(relatorio.field(27).name(), "DES_MARCA");
  EXPECT_EQ(relatorio.fieldByName("COD_FORNECEDOR").size(), 300);
  EXPECT_EQ(relatorio.fieldByName("DAT_ABERTURAPROP").display().pattern, "dd/mm/yyyy hh:nn");
  EXPECT_EQ(relatorio.fieldByName("DAT_PROCESSO").display().pattern, "");
  EXPECT_EQ(relatorio.indexFieldNames(), "NRO_LOTE; NRO_ITEM");
}

TEST(ProposalTables, ProcessoFieldsPerPurpose) {
  EXPECT_EQ(processoFields().size(), 31u);
  Table cp("CDS_Processo");
  cp.setFieldDefs(processoDefs(Purpose::CP));
  EXPECT_TRUE(processoFieldProblems(cp, Purpose::CP).empty());
  // A quotation file lacks the bidding fields: refused for a bidding process.
  const std::vector<std::string> problems = processoFieldProblems(cp, Purpose::PL);
  ASSERT_EQ(problems.size(), 7u);
  EXPECT_NE(problems.front().find("NRO_PROCESSO"), std::string::npos) << problems.front();
  EXPECT_THROW(requireProcessoFields(cp, Purpose::PL), TableError);

  Table pl("CDS_Processo");
  pl.setFieldDefs(processoDefs(Purpose::PL));
  EXPECT_NO_THROW(requireProcessoFields(pl, Purpose::PL));
  EXPECT_EQ(processoFieldProblems(pl, Purpose::CP).size(), 2u);
}

// A decimal where a float is required is a valid table (it loads) but the
// program's check and its display settings refuse it.
TEST(ProposalTables, DecimalWhereAFloatIsRequiredIsDetected) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  const std::filesystem::path file = std::filesystem::path(scratch.path().toStdString()) / "CP_000045_2012.ZUL";
  std::vector<FieldDef> defs = processoDefs(Purpose::CP);
  for (FieldDef& def : defs) {
    if (def.name == "QTD_PROPOSTA") def = {"QTD_PROPOSTA", FieldKind::Decimal, 4};
  }
  Table writer;
  writer.setFieldDefs(defs);
  writer.createEmpty();
  writer.append();
  writer.fieldByName("QTD_PROPOSTA").setText("1,5");
  writer.post();
  writer.saveToFile(file);

  Table table("CDS_Processo");
  table.setIndexFieldNames(kProcessoIndexFields);
  table.loadFromFile(file);
  EXPECT_EQ(table.fieldByName("QTD_PROPOSTA").kind(), FieldKind::Decimal);
  EXPECT_EQ(table.fieldByName("QTD_PROPOSTA").asFloat(), 1.5);
  const auto problems = processoFieldProblems(table, Purpose::CP);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("QTD_PROPOSTA"), std::string::npos);
  EXPECT_THROW(applyProcessoDisplay(table), TableError);
}

TEST(ProposalTables, ProcessoDisplaySettingsApply) {
  Table table("CDS_Processo");
  table.setFieldDefs(processoDefs(Purpose::PL));
  table.setIndexFieldNames(kProcessoIndexFields);
  table.createEmpty();
  applyProcessoDisplay(table);
  table.append();
  table.fieldByName("NRO_ITEM").setInteger(7);
  table.fieldByName("COD_PRODUTO").setInteger(123);
  table.fieldByName("QTD_PRODUTO").setFloat(1234.5);
  table.fieldByName("VLR_TOTALPROPOSTA").setFloat(12345.675);
  table.post();
  EXPECT_EQ(table.fieldByName("NRO_ITEM").displayText(), "0007");
  EXPECT_EQ(table.fieldByName("COD_PRODUTO").displayText(), "000123");
  EXPECT_EQ(table.fieldByName("QTD_PRODUTO").displayText(), "1.234,5000");
  EXPECT_EQ(table.fieldByName("VLR_TOTALPROPOSTA").displayText(), "12.345,68");
  EXPECT_EQ(table.fieldByName("DES_PRODUTO").display().displayWidth, 60);
  EXPECT_EQ(table.fieldByName("DES_UNIDADEMEDIDA").display().displayWidth, 10);

  Table missing("CDS_Processo");
  std::vector<FieldDef> defs = processoDefs(Purpose::PL);
  std::erase_if(defs, [](const FieldDef& d) { return d.name == "DES_UNIDADEMEDIDA"; });
  missing.setFieldDefs(defs);
  EXPECT_THROW(applyProcessoDisplay(missing), TableError);
}

}  // namespace
}  // namespace proposals
