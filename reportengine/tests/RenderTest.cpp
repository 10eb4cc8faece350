#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "PdfText.h"
#include "reportengine/Render.h"

using namespace reportengine;

namespace {

PageItem text(double x, double y, double width, std::string s, Align align, Font font = {}) {
  PageItem item;
  item.kind = PageItem::Kind::Text;
  item.x = x, item.y = y, item.width = width, item.height = 4;
  item.text = std::move(s);
  item.align = align;
  item.font = font;
  return item;
}

// The right edge, in mm, of the ink of a picture drawn at `dpi`.
double inkRight(const QImage& image, double dpi) {
  for (int x = image.width() - 1; x >= 0; --x)
    for (int y = 0; y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 128) return (x + 1) * 25.4 / dpi;
  return 0;
}

}  // namespace

TEST(Render, TextIsDrawnAsWideAsItIsMeasured) {
  QtTextMeasurer measurer;
  const double dpi = 1200;  // the PDF writer's resolution
  for (Font font : {Font{"Arial", 8, false}, Font{"Arial", 10, true}}) {
    for (std::string s : {"1.234.567,8900", "Especificação do produto com acentuação"}) {
      QImage image(int(200 / 25.4 * dpi), int(10 / 25.4 * dpi), QImage::Format_RGB32);
      image.setDotsPerMeterX(int(dpi / 0.0254));
      image.setDotsPerMeterY(int(dpi / 0.0254));
      image.fill(Qt::white);
      Page page;
      page.items.push_back(text(0, 1, 190, s, Align::Left, font));
      QPainter painter(&image);
      renderPage(painter, page);
      painter.end();
      // Ink ends within a fraction of a millimetre of the measured advance.
      EXPECT_NEAR(inkRight(image, dpi), measurer.textWidth(font, s), 0.35) << s << " " << font.pointSize;
    }
  }
  EXPECT_GT(measurer.lineHeight(Font{"Arial", 9, false}), 3.0);
  EXPECT_LT(measurer.lineHeight(Font{"Arial", 9, false}), 4.5);
}

TEST(Render, PdfHoldsEveryPageAndItsTexts) {
  QTemporaryDir dir;
  Document document;
  for (int p = 1; p <= 3; ++p) {
    Page page;
    page.items.push_back(text(10, 10, 195.8, "Página: " + std::to_string(p), Align::Right));
    page.items.push_back(text(10, 20, 195.8, "Cotação de Preços", Align::Center));
    PageItem line;
    line.kind = PageItem::Kind::DottedLine;
    line.x = 10, line.y = 30, line.width = 195.8, line.height = 0.8;
    page.items.push_back(line);
    document.pages.push_back(page);
  }
  QString path = dir.filePath("out.pdf");
  QString error;
  ASSERT_TRUE(savePdf(document, path, &error)) << error.toStdString();
  QString read = pdfText(path);
  for (int p = 1; p <= 3; ++p) EXPECT_TRUE(read.contains(QStringLiteral("Página: %1").arg(p))) << read.toStdString();
  EXPECT_EQ(read.count(QStringLiteral("Cotação de Preços")), 3);
  EXPECT_EQ(read.count(QChar('\f')), 3);  // one form feed per page
}

TEST(Render, AFailedSaveReportsWhyAndLeavesNoFile) {
  QTemporaryDir dir;
  Document document;
  document.pages.emplace_back();
  QString path = dir.filePath("missing/folder/out.pdf");
  QString error;
  EXPECT_FALSE(savePdf(document, path, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}
