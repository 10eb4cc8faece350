#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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
