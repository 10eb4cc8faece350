#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "LayoutFixture.h"
#include "PdfText.h"
#include "reportengine/PreviewDialog.h"

using namespace reportengine;

namespace {

Document pages(int count, const std::string& marker = "run") {
  Document document;
  document.title = "Relatorio";
  for (int p = 1; p <= count; ++p) {
    Page page;
    PageItem item;
    item.x = 10, item.y = 10, item.width = 100, item.height = 4;
    item.text = marker + " page " + std::to_string(p);
    page.items.push_back(item);
    document.pages.push_back(page);
  }
  return document;
}

QPushButton* buttonNamed(QWidget& parent, const QString& text) {
  for (QPushButton* b : parent.findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// Restores the dialog seams after each test.
class PreviewDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    PreviewDialog::printDialog = savedPrint_;
    PreviewDialog::saveDialog = savedSave_;
  }
  QTemporaryDir dir;
  int runs = 0;
  PreviewDialog::Runner runner = [this] { return pages(2, "rerun " + std::to_string(++runs)); };

 private:
  decltype(PreviewDialog::printDialog) savedPrint_ = PreviewDialog::printDialog;
  decltype(PreviewDialog::saveDialog) savedSave_ = PreviewDialog::saveDialog;
};

}  // namespace

TEST_F(PreviewDialogTest, OpensOnTheFirstPageRenderingOnlyThePagesViewed) {
  PreviewDialog dialog(pages(10000), runner);
  EXPECT_EQ(dialog.renderedPages(), 1);
  EXPECT_EQ(dialog.currentPage(), 0);
  QLabel* caption = nullptr;
  for (QLabel* l : dialog.findChildren<QLabel*>())
    if (l->text().startsWith("Página")) caption = l;
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), QStringLiteral("Página 1 de 10000"));
  EXPECT_FALSE(buttonNamed(dialog, "<")->isEnabled());
  QTest::mouseClick(buttonNamed(dialog, ">"), Qt::LeftButton);
  QTest::mouseClick(buttonNamed(dialog, ">|"), Qt::LeftButton);
  EXPECT_EQ(dialog.currentPage(), 9999);
  EXPECT_EQ(caption->text(), QStringLiteral("Página 10000 de 10000"));
  EXPECT_FALSE(buttonNamed(dialog, ">")->isEnabled());
  QTest::keyClick(&dialog, Qt::Key_PageUp);
  EXPECT_EQ(dialog.currentPage(), 9998);
  dialog.setZoom(2.0);
  EXPECT_EQ(dialog.renderedPages(), 5);
  EXPECT_EQ(runs, 0);  // viewing never runs the report again
}

TEST_F(PreviewDialogTest, SavePdfRunsTheReportAgainIntoTheChosenFile) {
  QString path = dir.filePath("relatorio.pdf");
  QString suggested;
  PreviewDialog::saveDialog = [&](QWidget*, const QString& name) {
    suggested = name;
    return path;
  };
  PreviewDialog dialog(pages(2), runner);
  QTest::mouseClick(buttonNamed(dialog, "Salvar PDF"), Qt::LeftButton);
  EXPECT_EQ(suggested, QStringLiteral("Relatorio.pdf"));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(pdfText(path).contains("rerun 1 page 2"));
  EXPECT_TRUE(dialog.saveAsPdf());
  EXPECT_EQ(runs, 2);

  PreviewDialog::saveDialog = [](QWidget*, const QString&) { return QString(); };  // cancelled
  EXPECT_FALSE(dialog.saveAsPdf());
  EXPECT_EQ(runs, 2);
}

TEST_F(PreviewDialogTest, AFailedSaveIsShownToTheUser) {
  PreviewDialog::saveDialog = [&](QWidget*, const QString&) { return dir.filePath("no/such/dir/x.pdf"); };
  PreviewDialog dialog(pages(1), runner);
  QString shown;
  dialog.showError = [&](const QString& message) { shown = message; };
  EXPECT_FALSE(dialog.saveAsPdf());
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Não foi possível salvar o arquivo"))) << shown.toStdString();
}

TEST_F(PreviewDialogTest, PrintAsksThePrintDialogThenPrintsAFreshRun) {
  QString path = dir.filePath("printed.pdf");
  bool accept = false;
  PreviewDialog::printDialog = [&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return accept;
  };
  PreviewDialog dialog(pages(2), runner);
  EXPECT_FALSE(dialog.print());  // the user cancelled the print dialog
  EXPECT_EQ(runs, 0);
  EXPECT_FALSE(QFile::exists(path));
  accept = true;
  QTest::mouseClick(buttonNamed(dialog, "Imprimir"), Qt::LeftButton);
  EXPECT_EQ(runs, 1);
  QString read = pdfText(path);
  EXPECT_TRUE(read.contains("rerun 1 page 1") && read.contains("rerun 1 page 2")) << read.toStdString();
}

namespace {

// The marker texts of each page of a PDF, in order ("run page 2" and so on).
QStringList pageMarkers(const QString& path) {
  QStringList markers;
  for (const QString& page : pdfText(path).split('\f', Qt::SkipEmptyParts))
    if (!page.trimmed().isEmpty()) markers << page.trimmed();
  return markers;
}

}  // namespace

TEST_F(PreviewDialogTest, PrintingPrintsTheRangeTheCurrentPageAndTheCopiesTheDialogChose) {
  const QString path = dir.filePath("printed.pdf");
  struct Case {
    const char* what;
    QPrinter::PrintRange range;
    int from, to, copies;
    bool collate;
    QStringList expected;
  } cases[] = {
      {"all", QPrinter::AllPages, 0, 0, 1, true, {"1", "2", "3", "4", "5"}},
      {"range", QPrinter::PageRange, 2, 3, 1, true, {"2", "3"}},
      {"range, two collated copies", QPrinter::PageRange, 2, 3, 2, true, {"2", "3", "2", "3"}},
      {"range, two copies of each page", QPrinter::PageRange, 4, 9, 2, false, {"4", "4", "5", "5"}},
      {"current page", QPrinter::CurrentPage, 0, 0, 1, true, {"4"}},
  };
  runner = [] { return pages(5); };
  for (const Case& c : cases) {
    PreviewDialog::printDialog = [&](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      printer.setPrintRange(c.range);
      if (c.range == QPrinter::PageRange) printer.setFromTo(c.from, c.to);
      printer.setCopyCount(c.copies);
      printer.setCollateCopies(c.collate);
      return true;
    };
    PreviewDialog dialog(pages(5), runner);
    dialog.showPage(3);
    ASSERT_TRUE(dialog.print()) << c.what;
    QStringList expected;
    for (const QString& page : c.expected) expected << "run page " + page;
    EXPECT_EQ(pageMarkers(path), expected) << c.what;
  }
}

TEST_F(PreviewDialogTest, ACancelledPdfLeavesNoFileAndAnOlderOneUntouched) {
  const QString path = dir.filePath("relatorio.pdf");
  PreviewDialog::saveDialog = [&](QWidget*, const QString&) { return path; };
  runner = [] { return pages(5); };
  PreviewDialog dialog(pages(5), runner);
  int calls = 0;
  dialog.onProgress = [&](QProgressDialog& progress) {
    if (++calls == 3) progress.cancel();  // while the pages are being written
  };
  EXPECT_FALSE(dialog.saveAsPdf());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(calls, 3);

  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("yesterday's report");
  old.close();
  calls = 0;
  EXPECT_FALSE(dialog.saveAsPdf());
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("yesterday's report"));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files) == QStringList{"relatorio.pdf"}) << "no temporary left";

  dialog.onProgress = nullptr;
  EXPECT_TRUE(dialog.saveAsPdf());
  EXPECT_TRUE(pdfText(path).contains("page 5"));
}

namespace {

// A report of `rows` rows, 50 to a page, whose summary prints the sum of
// VALUE kept by its hooks, and whose header prints "Página N de M".
class SummingReport {
 public:
  explicit SummingReport(int rows) {
    std::vector<Row> data;
    for (int i = 1; i <= rows; ++i) data.push_back({1, i, "item", double(i)});
    fillTable(table, data);
    report.setTable(&table);
    report.setPageHeader("PH", 9.4).addSystem("PAGES", ElementKind::PageOfPages, "Página ", 100, 0, 90, Align::Right, {});
    report.setDetail("D", 5).addField("ITEM", "ITEM", "", 0, 0, 40, Align::Left, {});
    report.detail()->beforePrint = [this](Band&, bool&) { total += table.fieldByName("VALUE").asInteger(); };
    Element& sum = report.setSummary("S", 5).addLabel("SUM", "", 0, 0, 100, Align::Left, {});
    report.summary()->beforePrint = [this, &sum](Band&, bool&) { sum.text = "Soma " + std::to_string(total); };
    report.beforeRun = [this] {
      total = 0;
      ++runs;
    };
  }
  PreviewDialog::SessionFactory sessions() {
    return [this] { return std::make_unique<LayoutSession>(report, measurer); };
  }
  recordtable::Table table{"T"};
  Report report;
  FixedMeasurer measurer;
  long long total = 0;
  int runs = 0;
};

std::string pageOfPages(const Document& d, std::size_t page) {
  for (const PageItem& item : d.pages[page].items)
    if (item.element == "PAGES") return item.text;
  return {};
}

}  // namespace

TEST_F(PreviewDialogTest, ALongReportOpensWithItsFirstPageAndLaysOutTheRestWhileShown) {
  SummingReport r(5000);  // 50 rows a page, and the summary on a page of its own
  PreviewDialog dialog(r.sessions());
  EXPECT_FALSE(dialog.layoutFinished());
  EXPECT_GE(dialog.pageCount(), 1);
  EXPECT_LT(dialog.pageCount(), 10);
  EXPECT_EQ(pageOfPages(dialog.document(), 0), "Página 1 de …");
  EXPECT_TRUE(dialog.pageCaption().contains(QStringLiteral("…"))) << dialog.pageCaption().toStdString();
  for (int slices = 0; !dialog.layoutFinished() && slices < 100000; ++slices) dialog.layoutSlice();
  ASSERT_TRUE(dialog.layoutFinished());
  EXPECT_EQ(dialog.pageCount(), 101);
  EXPECT_EQ(dialog.pageCaption(), QStringLiteral("Página 1 de 101"));
  EXPECT_EQ(pageOfPages(dialog.document(), 41), "Página 42 de 101");
  EXPECT_EQ(r.runs, 1);
}

TEST_F(PreviewDialogTest, SavingWhileThePreviewLaysOutStopsItsRunSoTotalsAreNotShared) {
  SummingReport r(5000);
  const QString path = dir.filePath("relatorio.pdf");
  PreviewDialog::saveDialog = [&](QWidget*, const QString&) { return path; };
  PreviewDialog dialog(r.sessions());
  ASSERT_FALSE(dialog.layoutFinished());
  // The progress window lets the event loop run: the preview's slices must not.
  dialog.onProgress = [](QProgressDialog&) { QCoreApplication::processEvents(); };
  ASSERT_TRUE(dialog.saveAsPdf());
  EXPECT_EQ(r.runs, 2);
  QString text = pdfText(path);
  EXPECT_TRUE(text.contains("Soma 12502500")) << "5000 × 5001 / 2";
  EXPECT_TRUE(text.contains(QStringLiteral("Página 101 de 101")));
  // The preview now shows the saved run, whole.
  EXPECT_TRUE(dialog.layoutFinished());
  EXPECT_EQ(dialog.pageCount(), 101);
}

TEST_F(PreviewDialogTest, AnErrorWhileThePreviewLaysOutIsShownAndKeepsThePagesReady) {
  SummingReport r(5000);
  r.report.detail()->beforePrint = [&r](Band&, bool&) {
    if (r.table.fieldByName("ITEM").asInteger() == 3000) throw std::runtime_error("Campo com defeito");
  };
  PreviewDialog dialog(r.sessions());
  QString shown;
  dialog.showError = [&](const QString& message) { shown = message; };
  for (int slices = 0; shown.isEmpty() && slices < 100000; ++slices) ASSERT_NO_THROW(dialog.layoutSlice());
  EXPECT_EQ(shown, QStringLiteral("Campo com defeito"));
  EXPECT_GE(dialog.pageCount(), 50);  // the pages before the failing row stay viewable
  EXPECT_FALSE(dialog.layoutFinished());
  dialog.showPage(dialog.pageCount() - 1);
}
