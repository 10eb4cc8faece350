// The proposal report: laying out and rendering to PDF the report of 100,
// 1 000 and 10 000 proposed items, against the baseline of rendering the same
// texts, lines and shapes at positions already known (no layout), measured
// in the same process.
//
// Counter "x_texts_only": time of layout + PDF divided by the time of the
// baseline PDF of the same pages, one baseline made after each iteration.
// "x_one_page" (BM_FirstPageReady): the time until the preview's first page
// is ready divided by the average time one page of the whole layout takes.
// "x_ordinary" (BM_LongWords): layout of items whose technical description is
// one word of 2 000 characters, divided by the layout of the same number of
// characters in ordinary words.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "UNT_QRP_Propostas.h"
#include "ProposalTables.h"
#include "reportengine/Layout.h"
#include "reportengine/Render.h"

namespace {

using Clock = std::chrono::steady_clock;

QString outputPath(const char* what) {
  return QString::fromStdString((std::filesystem::temp_directory_path() /
                                 ("tavurel-bench-report-" + std::to_string(::getpid()) + "-" + what + ".pdf"))
                                    .string());
}

// The technical descriptions: about 200 characters of ordinary text, or
// 2 000 characters as one word or as ordinary words.
enum class Text { Usual, LongWord, LongOrdinary };

std::string especificacao(int item, Text kind) {
  std::string usual = "Item " + std::to_string(item) +
                      ": produto de primeira qualidade, embalagem original do fabricante com identificação do lote, "
                      "data de fabricação e validade. Validade mínima de 12 meses na data da entrega; registro no "
                      "órgão competente quando exigido.";
  if (kind == Text::Usual) return usual;
  std::string text = std::to_string(item);
  const std::string words = kind == Text::LongWord ? "ABCDEFGHIJ0123456789abcdefghij" : "abcde fghij klmno pqrst 1234 ";
  while (text.size() < 2000) text += words;
  text.resize(2000);
  return text;
}

// A bidding process of `items` proposed items in lots of 50, filled into a
// report once per size; they live until main() ends, before the application.
std::map<std::pair<int, Text>, std::unique_ptr<TQRP_Propostas>> reports;

TQRP_Propostas& reportOf(int items, Text kind = Text::Usual) {
  auto& slot = reports[{items, kind}];
  if (slot) return *slot;
  recordtable::Table processo("CDS_Processo");
  std::vector<recordtable::FieldDef> defs;
  for (const auto& f : proposals::processoFields()) defs.push_back({std::string(f.name), f.kind, f.size});
  processo.setFieldDefs(defs);
  processo.setIndexFieldNames(proposals::kProcessoIndexFields);
  processo.createEmpty();
  for (int i = 1; i <= items; ++i) {
    processo.append();
    auto text = [&](const char* field, const std::string& value) { processo.fieldByName(field).setText(value); };
    text("DES_TIPOENTIDADE", "PREFEITURA MUNICIPAL DE EXEMPLO");
    text("DES_MUNICIPIO", "EXEMPLO - RS");
    text("NRO_CGC", "92603417000167");
    processo.fieldByName("ANO_EXERCICIO").setInteger(2011);
    processo.fieldByName("NRO_PROCESSO").setInteger(14);
    processo.fieldByName("DAT_PROCESSO").setDateTime({2011, 5, 2, 0, 0, 0, 0});
    text("DES_MODALIDADE", "PREGÃO PRESENCIAL");
    processo.fieldByName("SEQ_MODALIDADELICITACAO").setInteger(7);
    processo.fieldByName("DAT_ENTREGA").setDateTime({2011, 5, 20, 9, 0, 0, 0});
    text("DES_TIPOAPURACAO", "MENOR PREÇO POR LOTE");
    text("IDT_TIPOAPURACAO", "4");
    text("DES_OBJETO", "Aquisição de medicamentos e material hospitalar para as Unidades Básicas de Saúde.");
    text("NRO_FORNECEDOR", "12123123000199");
    text("DES_NOME", "FORNECEDORA EXEMPLO LTDA");
    processo.fieldByName("NRO_LOTE").setInteger(1 + (i - 1) / 50);
    text("DES_LOTE", "LOTE DE MEDICAMENTOS " + std::to_string(1 + (i - 1) / 50));
    processo.fieldByName("NRO_ITEM").setInteger(i);
    processo.fieldByName("COD_PRODUTO").setInteger(20000 + i);
    text("DES_PRODUTO", "PRODUTO " + std::to_string(i) + " COMPRIMIDO 500 MG CAIXA COM 20 UNIDADES");
    processo.fieldByName("COD_UNIDADEMEDIDA").setInteger(4);
    text("DES_UNIDADEMEDIDA", "CX");
    text("DES_ESPECIFICACAO", especificacao(i, kind));
    processo.fieldByName("QTD_PRODUTO").setFloat(100 + i % 900);
    processo.fieldByName("QTD_PROPOSTA").setFloat(100 + i % 900);
    processo.fieldByName("VLR_PROPOSTA").setFloat(1.25);
    processo.fieldByName("VLR_TOTALPROPOSTA").setFloat(1.25 * (100 + i % 900));
    text("DES_MARCA", "LABORATÓRIO EXEMPLO");
    processo.post();
  }
  slot = std::make_unique<TQRP_Propostas>();
  slot->ConfigurarFinalidade(TQRP_Propostas::kProcessoLicitatorio, "4");
  slot->PreencherRelatorio(processo,
                           {"PREFEITURA MUNICIPAL DE EXEMPLO", "EXEMPLO - RS", "92.603.417/0001-67",
                            " MENOR PREÇO POR LOTE"},
                           TQRP_Propostas::kProcessoLicitatorio);
  return *slot;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void savePdfOrFail(const reportengine::Document& document, const QString& path, benchmark::State& state) {
  QString error;
  if (!reportengine::savePdf(document, path, &error)) state.SkipWithError(error.toStdString().c_str());
}

// Baseline alone: the PDF of pages laid out beforehand.
void BM_TextsOnlyPdf(benchmark::State& state) {
  reportengine::QtTextMeasurer measurer;
  reportengine::Document document = reportengine::layoutReport(reportOf(int(state.range(0))), measurer);
  QString path = outputPath("texts");
  for (auto _ : state) savePdfOrFail(document, path, state);
  state.counters["pages"] = double(document.pages.size());
  std::filesystem::remove(path.toStdString());
}

// Layout (the report's run over its table, wrapping and pagination) and the PDF.
void BM_LayoutAndPdf(benchmark::State& state) {
  TQRP_Propostas& report = reportOf(int(state.range(0)));
  QString path = outputPath("report");
  QString baselinePath = outputPath("baseline");
  double layoutSeconds = 0, totalSeconds = 0, baselineSeconds = 0;
  std::size_t pages = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    reportengine::QtTextMeasurer measurer;
    reportengine::Document document = reportengine::layoutReport(report, measurer);
    auto laidOut = Clock::now();
    savePdfOrFail(document, path, state);
    auto done = Clock::now();
    layoutSeconds += seconds(laidOut - start);
    totalSeconds += seconds(done - start);
    pages = document.pages.size();

    state.PauseTiming();
    auto baselineStart = Clock::now();
    savePdfOrFail(document, baselinePath, state);
    baselineSeconds += seconds(Clock::now() - baselineStart);
    state.ResumeTiming();
  }
  double n = double(state.iterations());
  state.counters["pages"] = double(pages);
  state.counters["layout_ms"] = layoutSeconds / n * 1000;
  state.counters["texts_only_ms"] = baselineSeconds / n * 1000;
  state.counters["x_texts_only"] = totalSeconds / baselineSeconds;
  std::filesystem::remove(path.toStdString());
  std::filesystem::remove(baselinePath.toStdString());
}

// The preview's first page: a session advanced row by row until its first
// page is final, against the average time a page of the whole layout takes.
void BM_FirstPageReady(benchmark::State& state) {
  TQRP_Propostas& report = reportOf(int(state.range(0)));
  double firstSeconds = 0, wholeSeconds = 0;
  std::size_t pages = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    reportengine::QtTextMeasurer measurer;
    reportengine::LayoutSession session(report, measurer);
    while (!session.advance(1) && session.document().pages.size() < 2) {
    }
    firstSeconds += seconds(Clock::now() - start);

    state.PauseTiming();
    auto wholeStart = Clock::now();
    reportengine::QtTextMeasurer wholeMeasurer;
    pages = reportengine::layoutReport(report, wholeMeasurer).pages.size();
    wholeSeconds += seconds(Clock::now() - wholeStart);
    state.ResumeTiming();
  }
  double n = double(state.iterations());
  state.counters["pages"] = double(pages);
  state.counters["first_page_ms"] = firstSeconds / n * 1000;
  state.counters["page_avg_ms"] = wholeSeconds / n / double(pages) * 1000;
  state.counters["x_one_page"] = firstSeconds / (wholeSeconds / double(pages));
}

// Layout of technical descriptions that are one 2 000-character word, then
// (outside the timer) of 2 000 characters of ordinary words.
void BM_LongWords(benchmark::State& state) {
  TQRP_Propostas& longWords = reportOf(int(state.range(0)), Text::LongWord);
  TQRP_Propostas& ordinary = reportOf(int(state.range(0)), Text::LongOrdinary);
  double longSeconds = 0, ordinarySeconds = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    reportengine::QtTextMeasurer measurer;
    benchmark::DoNotOptimize(reportengine::layoutReport(longWords, measurer));
    longSeconds += seconds(Clock::now() - start);

    state.PauseTiming();
    auto ordinaryStart = Clock::now();
    reportengine::QtTextMeasurer ordinaryMeasurer;
    benchmark::DoNotOptimize(reportengine::layoutReport(ordinary, ordinaryMeasurer));
    ordinarySeconds += seconds(Clock::now() - ordinaryStart);
    state.ResumeTiming();
  }
  double n = double(state.iterations());
  state.counters["long_word_ms"] = longSeconds / n * 1000;
  state.counters["ordinary_ms"] = ordinarySeconds / n * 1000;
  state.counters["x_ordinary"] = longSeconds / ordinarySeconds;
}

}  // namespace

BENCHMARK(BM_FirstPageReady)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongWords)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextsOnlyPdf)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LayoutAndPdf)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Fonts need a GUI application for the whole run; it outlives every report.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  reports.clear();
  return 0;
}
