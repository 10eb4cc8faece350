// The JSON form: round trips of the samples and of every field kind, and the
// refusals, each naming the record and field and leaving no output behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

using nlohmann::json;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

std::vector<std::filesystem::path> sampleSources() {
  std::vector<std::filesystem::path> sources;
  for (const auto& entry : std::filesystem::directory_iterator(SAMPLES_SOURCE_DIR)) {
    if (entry.path().extension() == ".json") sources.push_back(entry.path());
  }
  std::sort(sources.begin(), sources.end());
  return sources;
}

TEST(Samples, ImportThenExportGivesTheSourceBackAndFitsTheProgram) {
  const auto sources = sampleSources();
  ASSERT_GE(sources.size(), 4u);
  TempFolder folder;
  for (const auto& source : sources) {
    SCOPED_TRACE(source.filename().string());
    const auto table = folder / (source.stem().string() + ".ZUL");
    importJsonFile(source, table);

    const std::string sourceText = readFile(source);
    const std::string exported = exportTableFile(table);
    EXPECT_EQ(parseJson(exported), parseJson(sourceText));
    // The export keeps the layout of the sources, so a diff shows changes only.
    EXPECT_EQ(exported, sourceText);

    const CheckReport report = checkTableFile(table, std::nullopt);
    ASSERT_TRUE(report.purpose.has_value());
    EXPECT_EQ(report.layoutProblems, std::vector<std::string>{});
    EXPECT_EQ(report.recordCount, parseJson(sourceText)["records"].size());
  }
}

// A document with every kind, nulls, bounds, line breaks and accents.
const char* const kEveryKind = R"({
 "fields": [
  {"name": "DES_TEXTO", "kind": "text", "size": 12},
  {"name": "NRO_PEQUENO", "kind": "int16"},
  {"name": "NRO_GRANDE", "kind": "int32"},
  {"name": "VLR_REAL", "kind": "float"},
  {"name": "DAT_MOMENTO", "kind": "datetime"},
  {"name": "DES_LONGO", "kind": "longtext"},
  {"name": "VLR_FIXO", "kind": "decimal", "size": 4}
 ],
 "records": [
  {"DES_TEXTO": "Açaí à vista", "NRO_PEQUENO": -32768, "NRO_GRANDE": 2147483647,
   "VLR_REAL": 0.1, "DAT_MOMENTO": "2012-02-29T23:59:58.125",
   "DES_LONGO": "linha 1\nlinha 2\r\nação", "VLR_FIXO": "-922337203685477.5808"},
  {"DES_TEXTO": "", "NRO_PEQUENO": 32767, "NRO_GRANDE": -2147483648,
   "VLR_REAL": -1.5e300, "DAT_MOMENTO": "0001-01-01T00:00:00",
   "DES_LONGO": "", "VLR_FIXO": "0.0000"},
  {"DES_TEXTO": null, "NRO_PEQUENO": null, "NRO_GRANDE": null,
   "VLR_REAL": null, "DAT_MOMENTO": null, "DES_LONGO": null, "VLR_FIXO": null}
 ]
})";

TEST(JsonForm, EveryKindAndNullSurvivesATableFile) {
  TempFolder folder;
  writeFile(folder / "every.json", kEveryKind);
  importJsonFile(folder / "every.json", folder / "every.zul");
  EXPECT_EQ(parseJson(exportTableFile(folder / "every.zul")), parseJson(kEveryKind));
}

TEST(JsonForm, IndexOrdersTheStoredRecordsAndEmptyValuesStayDistinctFromNull) {
  const json document = parseJson(R"({
    "fields": [{"name": "NRO_LOTE", "kind": "int16"}, {"name": "DES", "kind": "text", "size": 5}],
    "index": "NRO_LOTE",
    "records": [{"NRO_LOTE": 3, "DES": "c"}, {"NRO_LOTE": 1, "DES": ""},
                {"NRO_LOTE": null, "DES": null}]
  })");
  recordtable::Table table;
  tableFromJson(document, table);
  const json back = tableToJson(table);
  ASSERT_EQ(back["records"].size(), 3u);
  EXPECT_EQ(back["records"][0]["NRO_LOTE"], nullptr);  // nulls order first
  EXPECT_EQ(back["records"][1], json({{"NRO_LOTE", 1}, {"DES", ""}}));
  EXPECT_EQ(back["records"][2], json({{"NRO_LOTE", 3}, {"DES", "c"}}));
  EXPECT_FALSE(back.contains("index"));
}

struct RefusedCase {
  const char* name;
  const char* document;
  std::vector<const char*> expectedInMessage;
};

// The fields of the record cases below, one of each kind that refuses values.
#define CASE_FIELDS                                                                   \
  R"("fields": [{"name": "NRO_LOTE", "kind": "int16"}, {"name": "DES_LOTE", "kind": "text", "size": 4}, )" \
  R"({"name": "DAT_X", "kind": "datetime"}, {"name": "VLR_X", "kind": "float"}, )"   \
  R"({"name": "VLR_D", "kind": "decimal", "size": 2}])"
#define GOOD_RECORD R"({"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": "1.5"})"

const RefusedCase kRefused[] = {
    {"SyntaxError", "{\n \"fields\": [\n  {\"name\": }\n]}", {"JSON inválido na linha 3, coluna 12: syntax error"}},
    {"NotAnObject", "[1, 2]", {"objeto"}},
    {"UnknownTopKey", R"({"fields": [], "records": [], "extra": 1})", {"extra"}},
    {"NoFields", R"({"fields": [], "records": []})", {"fields"}},
    {"NoRecords", "{" CASE_FIELDS "}", {"records"}},
    {"UnknownKind",
     R"({"fields": [{"name": "A", "kind": "int8"}], "records": []})",
     {"Definição de campo 1 (\"A\")", "int8"}},
    {"TextWithoutSize",
     R"({"fields": [{"name": "A", "kind": "int16"}, {"name": "B", "kind": "text"}], "records": []})",
     {"Definição de campo 2 (\"B\")", "size"}},
    {"SizeOnAnInteger",
     R"({"fields": [{"name": "A", "kind": "int32", "size": 4}], "records": []})",
     {"Definição de campo 1 (\"A\")"}},
    {"BadFieldName",
     R"({"fields": [{"name": "1A", "kind": "int32"}], "records": []})",
     {"Definição de campo 1 (\"1A\")"}},
    {"RepeatedFieldName",
     R"({"fields": [{"name": "A", "kind": "int32"}, {"name": "A", "kind": "float"}], "records": []})",
     {"Definição de campo 2 (\"A\")", "repetido"}},
    {"UnknownIndexField", "{" CASE_FIELDS R"(, "index": "NRO_ITEM", "records": []})", {"NRO_ITEM"}},
    {"IntegerOutOfRange",
     "{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD
     R"(, {"NRO_LOTE": 40000, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 2", "campo NRO_LOTE"}},
    {"FractionForInteger",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1.5, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo NRO_LOTE"}},
    {"HugeUnsignedForInteger",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 18446744073709551615, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo NRO_LOTE"}},
    {"TextTooLong",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "ações", "DAT_X": null, "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo DES_LOTE"}},
    {"NumberForText",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": 12, "DAT_X": null, "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo DES_LOTE"}},
    {"ImpossibleDate",
     "{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD "," GOOD_RECORD
     R"(, {"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": "2011-02-29T10:00:00", "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 3", "campo DAT_X", "2011-02-29"}},
    {"BrazilianDate",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": "29/02/2012", "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo DAT_X"}},
    {"TextForFloat",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": "1,5", "VLR_D": null}]})",
     {"Registro 1", "campo VLR_X"}},
    {"BooleanForFloat",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": true, "VLR_D": null}]})",
     {"Registro 1", "campo VLR_X"}},
    {"DecimalTooPrecise",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": "1.234"}]})",
     {"Registro 1", "campo VLR_D"}},
    {"DecimalAsFloatNumber",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": 1.5}]})",
     {"Registro 1", "campo VLR_D"}},
    {"MissingValue",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "VLR_X": 1, "VLR_D": null}]})",
     {"Registro 1", "campo DAT_X", "null"}},
    {"UnknownField",
     "{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD
     R"(, {"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": null, "NRO_ITEM": 2}]})",
     {"Registro 2", "campo \"NRO_ITEM\""}},
    {"RepeatedKey",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": 1, "VLR_D": null, "VLR_X": 2}]})",
     {"VLR_X", "duas vezes"}},
    {"FloatBeyondDoubles",
     "{" CASE_FIELDS R"(, "records": [{"NRO_LOTE": 1, "DES_LOTE": "a", "DAT_X": null, "VLR_X": -1e400, "VLR_D": null}]})",
     {"JSON inválido", "-1e400"}},
    {"RecordNotAnObject", "{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD R"(, [1, 2]]})", {"Registro 2"}},
};

// Test names and failure output show the case's name, not its bytes.
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class Refused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Refused, NamesThePlaceAndWritesNothing) {
  const RefusedCase& c = GetParam();
  TempFolder folder;
  writeFile(folder / "in.json", c.document);
  const std::string oldBytes = "an older file that must survive";
  writeFile(folder / "old.ZUL", oldBytes);

  for (const char* target : {"old.ZUL", "new.ZUL"}) {
    SCOPED_TRACE(target);
    try {
      importJsonFile(folder / "in.json", folder / target);
      ADD_FAILURE() << "the import succeeded";
    } catch (const std::exception& error) {
      for (const char* expected : c.expectedInMessage) {
        EXPECT_NE(std::string(error.what()).find(expected), std::string::npos)
            << "message: " << error.what() << "\nexpected to contain: " << expected;
      }
    }
  }
  EXPECT_EQ(readFile(folder / "old.ZUL"), oldBytes);
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.json", "old.ZUL"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, Refused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonForm, TableIsLeftClosedAfterARefusedRecord) {
  recordtable::Table table;
  const json document = parseJson("{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD
                                  R"(, {"NRO_LOTE": "x"}]})");
  EXPECT_THROW(tableFromJson(document, table), ConversionError);
  EXPECT_FALSE(table.isOpen());
  // The same table takes a good document afterwards.
  tableFromJson(parseJson("{" CASE_FIELDS R"(, "records": [)" GOOD_RECORD "]}"), table);
  EXPECT_EQ(table.totalRecordCount(), 1u);
}

// A JSON path that is a folder is named as such, not read as empty JSON.
TEST(JsonForm, ImportFromAFolderSaysItIsAFolder) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "pasta.json");
  try {
    importJsonFile(folder / "pasta.json", folder / "out.ZUL");
    ADD_FAILURE() << "imported a folder";
  } catch (const ConversionError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("pasta.json"), std::string::npos) << message;
    EXPECT_EQ(message.find("JSON inválido"), std::string::npos) << message;
  }
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"pasta.json"});
}

TEST(CheckTableFile, ReportsFieldsThePurposeLacks) {
  TempFolder folder;
  // A quotation file checked as a bidding process lacks the PL fields.
  const auto quotation = std::filesystem::path(SAMPLES_SOURCE_DIR) / "CP_000045_2012.json";
  importJsonFile(quotation, folder / "CP_000045_2012.ZUL");
  using proposals::Purpose;
  const CheckReport asQuotation = checkTableFile(folder / "CP_000045_2012.ZUL", std::nullopt);
  EXPECT_EQ(asQuotation.purpose, Purpose::CP);
  EXPECT_TRUE(asQuotation.layoutProblems.empty());

  const CheckReport asProcess = checkTableFile(folder / "CP_000045_2012.ZUL", Purpose::PL);
  ASSERT_FALSE(asProcess.layoutProblems.empty());
  std::string all;
  for (const auto& problem : asProcess.layoutProblems) all += problem + "\n";
  EXPECT_NE(all.find("NRO_PROCESSO"), std::string::npos) << all;

  // A name without a purpose prefix is loaded but its layout not checked.
  std::filesystem::copy_file(folder / "CP_000045_2012.ZUL", folder / "tabela.zul");
  const CheckReport unnamed = checkTableFile(folder / "tabela.zul", std::nullopt);
  EXPECT_FALSE(unnamed.purpose.has_value());
  EXPECT_EQ(unnamed.recordCount, asQuotation.recordCount);
}

TEST(PurposeFromFileName, ReadsThePrefixInAnyCase) {
  using proposals::Purpose;
  EXPECT_EQ(purposeFromFileName("/x/PL_000001_2010.ZUL"), Purpose::PL);
  EXPECT_EQ(purposeFromFileName("cp_000045_2012.pro"), Purpose::CP);
  EXPECT_EQ(purposeFromFileName("PLX000001.ZUL"), std::nullopt);
  EXPECT_EQ(purposeFromFileName("AB_1.ZUL"), std::nullopt);
  EXPECT_EQ(purposeFromFileName("P"), std::nullopt);
}

}  // namespace
}  // namespace zultool
