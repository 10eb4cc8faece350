// The proposal report: laying out and rendering to PDF the report of 100,
// 1 000 and 10 000 proposed items, against the baseline of rendering the same
// texts, lines and shapes at positions already known (no layout), measured
// in the same process.
//
// Counter "x_texts_only": time of layout + PDF divided by the time of the
// baseline PDF of the same pages, one baseline made after each iteration.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "UNT_QRP_Propostas.h"
#include "recordtable/proposal_tables.h"
#include "reportengine/Layout.h"
#include "reportengine/Render.h"

namespace {

using Clock = std::chrono::steady_clock;

QString outputPath(const char* what) {
  return QString::fromStdString((std::filesystem::temp_directory_path() /
                                 ("tavurel-bench-report-" + std::to_string(::getpid()) + "-" + what + ".pdf"))
                                    .string());
}

std::string especificacao(int item) {
  return "Item " + std::to_string(item) +
         ": produto de primeira qualidade, embalagem original do fabricante com identificação do lote, "
         "data de fabricação e validade. Validade mínima de 12 meses na data da entrega; registro no "
         "órgão competente quando exigido.";
}

// A bidding process of `items` proposed items in lots of 50, filled into a
// report once per size; they live until main() ends, before the application.
std::map<int, std::unique_ptr<TQRP_Propostas>> reports;

TQRP_Propostas& reportOf(int items) {
  auto& slot = reports[items];
  if (slot) return *slot;
  recordtable::Table processo("CDS_Processo");
  std::vector<recordtable::FieldDef> defs;
  for (const auto& f : recordtable::proposal::processoFields()) defs.push_back({std::string(f.name), f.kind, f.size});
  processo.setFieldDefs(defs);
  processo.setIndexFieldNames(recordtable::proposal::kProcessoIndexFields);
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
    text("DES_ESPECIFICACAO", especificacao(i));
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

}  // namespace

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
