// The proposal program's table definitions, the fields a process file must
// carry per purpose, and the display settings of the item grid.
#include "ProposalTables.h"

#include "recordtable/message_text.h"
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

using K = FieldKind;

FieldSpec spec(std::string name, FieldKind kind, int size = 0, DisplaySettings display = {}) {
  return FieldSpec{FieldDef{std::move(name), kind, size}, std::move(display)};
}

DisplaySettings pattern(std::string p, std::optional<Alignment> alignment = std::nullopt) {
  DisplaySettings d;
  d.pattern = std::move(p);
  d.alignment = alignment;
  return d;
}

DisplaySettings width(int characters) {
  DisplaySettings d;
  d.displayWidth = characters;
  return d;
}

const char* ruleText(KindRule rule) {
  switch (rule) {
    case KindRule::Integer:
      return "um inteiro (int16 ou int32)";
    case KindRule::Text:
      return "um texto";
    case KindRule::Float:
      return "um número de ponto flutuante (float)";
    default:
      return "de qualquer tipo";
  }
}

bool fitsRule(const FieldDef& def, KindRule rule, int minTextSize) {
  switch (rule) {
    case KindRule::Integer:
      return def.kind == K::Int16 || def.kind == K::Int32;
    case KindRule::Text:
      return def.kind == K::Text && def.size >= minTextSize;
    case KindRule::Float:
      return def.kind == K::Float;
    default:
      return true;
  }
}

const FieldDef* findDef(const Table& table, std::string_view name) {
  const Field* field = table.findField(name);
  return field == nullptr ? nullptr : &field->def();
}

}  // namespace

const std::vector<FieldSpec>& loteFields() {
  static const std::vector<FieldSpec> fields = {
      spec("NRO_LOTE", K::Int16, 0, pattern("0000", Alignment::Center)),
      spec("DES_LOTE", K::Text, 100),
  };
  return fields;
}

const std::vector<FieldSpec>& relatorioFields() {
  static const DisplaySettings dateAndTime = pattern("dd/mm/yyyy hh:nn");
  static const std::vector<FieldSpec> fields = {
      spec("DES_TIPOENTIDADE", K::Text, 100),
      spec("DES_MUNICIPIO", K::Text, 100),
      spec("NRO_CGC", K::Text, 30),
      spec("ANO_EXERCICIO", K::Int16),
      spec("NRO_PROCESSO", K::Int32),
      spec("DES_MODALIDADE", K::Text, 100),
      spec("SEQ_MODALIDADELICITACAO", K::Int32),
      spec("DAT_PROCESSO", K::DateTime),
      spec("DAT_ENTREGA", K::DateTime, 0, dateAndTime),
      spec("DAT_ABERTURADOC", K::DateTime, 0, dateAndTime),
      spec("DAT_ABERTURAPROP", K::DateTime, 0, dateAndTime),
      spec("DES_TIPOAPURACAO", K::Text, 100),
      spec("DES_OBJETO", K::LongText),
      spec("COD_FORNECEDOR", K::Text, 300),
      spec("DES_FORNECEDOR", K::Text, 100),
      spec("NRO_LOTE", K::Int16),
      spec("DES_LOTE", K::Text, 100),
      spec("NRO_ITEM", K::Int32),
      spec("COD_PRODUTO", K::Int32),
      spec("DES_PRODUTO", K::Text, 100),
      spec("COD_UNIDADEMEDIDA", K::Int16),
      spec("DES_UNIDADEMEDIDA", K::Text, 100),
      spec("DES_ESPECIFICACAO", K::LongText),
      spec("QTD_PRODUTO", K::Float),
      spec("QTD_PROPOSTA", K::Float),
      spec("VLR_PROPOSTA", K::Float),
      spec("VLR_TOTALPROPOSTA", K::Float),
      spec("DES_MARCA", K::Text, 100),
  };
  return fields;
}

void defineTable(Table& table, const std::vector<FieldSpec>& specs, std::string_view indexFieldNames) {
  std::vector<FieldDef> defs;
  defs.reserve(specs.size());
  for (const FieldSpec& s : specs) defs.push_back(s.def);
  table.setFieldDefs(std::move(defs));
  for (std::size_t i = 0; i < specs.size(); ++i) table.field(i).setDisplay(specs[i].display);
  table.setIndexFieldNames(indexFieldNames);
}

const std::vector<ProcessoField>& processoFields() {
  using R = KindRule;
  static const std::vector<ProcessoField> fields = {
      {"DES_TIPOENTIDADE", Use::Both, R::Any, 0, K::Text, 100},
      {"DES_MUNICIPIO", Use::Both, R::Any, 0, K::Text, 100},
      {"NRO_CGC", Use::Both, R::Any, 0, K::Text, 30},
      {"ANO_EXERCICIO", Use::Both, R::Any, 0, K::Int16, 0},
      {"NRO_PROCESSO", Use::PL, R::Any, 0, K::Int32, 0},
      {"DAT_PROCESSO", Use::PL, R::Any, 0, K::DateTime, 0},
      {"DES_MODALIDADE", Use::PL, R::Any, 0, K::Text, 100},
      {"SEQ_MODALIDADELICITACAO", Use::PL, R::Any, 0, K::Int32, 0},
      {"DAT_ENTREGA", Use::PL, R::Any, 0, K::DateTime, 0},
      {"DAT_ABERTURADOC", Use::PL, R::Any, 0, K::DateTime, 0},
      {"DAT_ABERTURAPROP", Use::PL, R::Any, 0, K::DateTime, 0},
      {"NRO_COTACAO", Use::CP, R::Any, 0, K::Int32, 0},
      {"DAT_COTACAO", Use::CP, R::Any, 0, K::DateTime, 0},
      {"DES_TIPOAPURACAO", Use::Both, R::Any, 0, K::Text, 100},
      {"IDT_TIPOAPURACAO", Use::Both, R::Any, 0, K::Text, 2},
      {"DES_OBJETO", Use::Both, R::Any, 0, K::LongText, 0},
      {"NRO_FORNECEDOR", Use::Both, R::Text, 14, K::Text, 14},
      {"DES_NOME", Use::Both, R::Text, 100, K::Text, 100},
      {"NRO_LOTE", Use::Both, R::Any, 0, K::Int16, 0},
      {"DES_LOTE", Use::Both, R::Any, 0, K::Text, 100},
      {"NRO_ITEM", Use::Both, R::Integer, 0, K::Int32, 0},
      {"COD_PRODUTO", Use::Both, R::Integer, 0, K::Int32, 0},
      {"DES_PRODUTO", Use::Both, R::Text, 0, K::Text, 100},
      {"COD_UNIDADEMEDIDA", Use::Both, R::Any, 0, K::Int16, 0},
      {"DES_UNIDADEMEDIDA", Use::Both, R::Text, 0, K::Text, 100},
      {"DES_ESPECIFICACAO", Use::Both, R::Any, 0, K::LongText, 0},
      {"QTD_PRODUTO", Use::Both, R::Float, 0, K::Float, 0},
      {"QTD_PROPOSTA", Use::Both, R::Float, 0, K::Float, 0},
      {"VLR_PROPOSTA", Use::Both, R::Float, 0, K::Float, 0},
      {"VLR_TOTALPROPOSTA", Use::Both, R::Float, 0, K::Float, 0},
      {"DES_MARCA", Use::Both, R::Any, 0, K::Text, 100},
  };
  return fields;
}

std::vector<std::string> processoFieldProblems(const Table& table, Purpose purpose) {
  const Use skipped = purpose == Purpose::PL ? Use::CP : Use::PL;
  std::vector<std::string> problems;
  for (const ProcessoField& f : processoFields()) {
    if (f.use == skipped) continue;
    const FieldDef* def = findDef(table, f.name);
    if (def == nullptr) {
      problems.push_back("O campo " + recordtable::quotedForMessage(f.name) + " não existe no arquivo.");
    } else if (!fitsRule(*def, f.rule, f.minTextSize)) {
      std::string need = ruleText(f.rule);
      if (f.rule == KindRule::Text && f.minTextSize > 0) {
        need += " de pelo menos " + std::to_string(f.minTextSize) + " caracteres";
      }
      problems.push_back("O campo " + recordtable::quotedForMessage(f.name) + " é do tipo " +
                         std::string(recordtable::kindName(def->kind)) + " mas deve ser " + need + ".");
    }
  }
  return problems;
}

void requireProcessoFields(const Table& table, Purpose purpose) {
  const std::vector<std::string> problems = processoFieldProblems(table, purpose);
  if (!problems.empty()) throw TableError(problems.front());
}

const std::vector<ProcessoDisplay>& processoDisplay() {
  using R = KindRule;
  static const std::vector<ProcessoDisplay> settings = {
      {"NRO_ITEM", R::Integer, pattern("0000")},
      {"COD_PRODUTO", R::Integer, pattern("000000")},
      {"DES_PRODUTO", R::Text, width(60)},
      {"DES_UNIDADEMEDIDA", R::Text, width(10)},
      {"QTD_PRODUTO", R::Float, pattern("#,##0.0000")},
      {"QTD_PROPOSTA", R::Float, pattern("#,##0.0000")},
      {"VLR_PROPOSTA", R::Float, pattern("#,##0.0000")},
      {"VLR_TOTALPROPOSTA", R::Float, pattern("#,##0.00")},
  };
  return settings;
}

void applyProcessoDisplay(Table& table) {
  for (const ProcessoDisplay& s : processoDisplay()) {
    Field& field = table.fieldByName(s.name);
    if (!fitsRule(field.def(), s.rule, 0)) {
      throw TableError("O campo " + recordtable::quotedForMessage(s.name) + " é do tipo " +
                       std::string(recordtable::kindName(field.kind())) + " e não aceita a exibição de " +
                       ruleText(s.rule) + ".");
    }
    field.setDisplay(s.display);
  }
}

}  // namespace proposals
