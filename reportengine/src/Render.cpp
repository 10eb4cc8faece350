// Rendering of laid-out pages: measuring, drawing, PDF files and printers.
#include "reportengine/Render.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "reportengine/Messages.h"

namespace reportengine {
namespace {

constexpr int kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;
constexpr double kLinePenWidth = 0.2;  // mm
// Texts up to this many bytes have their widths remembered, up to this many per font.
constexpr std::size_t kShortText = 24;
constexpr std::size_t kMaxCachedTexts = 100000;

QString qtext(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Qt::Alignment toQtAlignment(Align align) {
  switch (align) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
  }
  return Qt::AlignLeft;
}

QPageSize pageSizeOf(const PageSetup& setup) {
  QPageSize letter(QPageSize::Letter);
  QSizeF mm = letter.size(QPageSize::Millimeter);
  if (std::abs(mm.width() - setup.width) < 0.1 && std::abs(mm.height() - setup.height) < 0.1) return letter;
  return QPageSize(QSizeF(setup.width, setup.height), QPageSize::Millimeter, QString(),
                   QPageSize::ExactMatch);
}

void drawItem(QPainter& painter, const PageItem& item, double scale) {
  QRectF rect(item.x * scale, item.y * scale, item.width * scale, item.height * scale);
  switch (item.kind) {
    case PageItem::Kind::Text:
      painter.setFont(toQFont(item.font));
      painter.drawText(rect, toQtAlignment(item.align) | Qt::AlignTop | Qt::TextSingleLine,
                       qtext(item.text));
      break;
    case PageItem::Kind::Line:
    case PageItem::Kind::DottedLine: {
      QPen pen(Qt::black, kLinePenWidth * scale,
               item.kind == PageItem::Kind::Line ? Qt::SolidLine : Qt::DotLine, Qt::FlatCap);
      painter.setPen(pen);
      double y = rect.center().y();
      painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
      painter.setPen(Qt::black);
      break;
    }
    case PageItem::Kind::Rect:
      painter.setPen(QPen(Qt::black, kLinePenWidth * scale));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect);
      painter.setPen(Qt::black);
      break;
  }
}

// Paints `order`'s pages, a new sheet before each but the first.
Outcome paintPages(const Document& document, const std::vector<int>& order, QPainter& painter,
                   QPagedPaintDevice& device, const PageProgress& progress) {
  const int count = static_cast<int>(order.size());
  for (int i = 0; i < count; ++i) {
    if (progress && !progress(i, count)) return Outcome::Cancelled;
    if (i > 0 && !device.newPage()) return Outcome::Failed;
    renderPage(painter, document.pages[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])]);
  }
  if (progress) progress(count, count);
  return Outcome::Done;
}

std::vector<int> allPages(const Document& document) {
  std::vector<int> order(document.pages.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  return order;
}

}  // namespace

QFont toQFont(const Font& font) {
  QFont qfont(QString::fromStdString(font.family));
  qfont.setPointSizeF(font.pointSize);
  qfont.setBold(font.bold);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  return qfont;
}

QtTextMeasurer::QtTextMeasurer() : device_(std::make_unique<QImage>(1, 1, QImage::Format_RGB32)) {
  int dotsPerMeter = static_cast<int>(std::lround(kMeasureDpi / kMmPerInch * 1000.0));
  device_->setDotsPerMeterX(dotsPerMeter);
  device_->setDotsPerMeterY(dotsPerMeter);
}

QtTextMeasurer::~QtTextMeasurer() = default;

QtTextMeasurer::FontCache& QtTextMeasurer::cacheFor(const Font& font) const {
  FontCache& slot = cache_[FontKey{font.family, font.pointSize, font.bold}];
  if (!slot.metrics) slot.metrics = std::make_unique<QFontMetricsF>(toQFont(font), device_.get());
  return slot;
}

double QtTextMeasurer::textWidth(const Font& font, std::string_view utf8) const {
  FontCache& cache = cacheFor(font);
  const double mmPerDot = kMmPerInch / device_->logicalDpiX();
  if (utf8.size() > kShortText) return cache.metrics->horizontalAdvance(qtext(utf8)) * mmPerDot;
  std::string key(utf8);
  auto found = cache.shortTexts.find(key);
  if (found != cache.shortTexts.end()) return found->second;
  if (cache.shortTexts.size() >= kMaxCachedTexts) cache.shortTexts.clear();
  double width = cache.metrics->horizontalAdvance(qtext(utf8)) * mmPerDot;
  cache.shortTexts.emplace(std::move(key), width);
  return width;
}

double QtTextMeasurer::lineHeight(const Font& font) const {
  double dpi = device_->logicalDpiY();
  return cacheFor(font).metrics->lineSpacing() * kMmPerInch / dpi;
}

void renderPage(QPainter& painter, const Page& page) {
  double scale = painter.device()->logicalDpiX() / kMmPerInch;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::black);
  for (const PageItem& item : page.items) drawItem(painter, item, scale);
  painter.restore();
}

Outcome writePdf(const Document& document, const QString& path, QString* error, const PageProgress& progress) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return Outcome::Failed;
  }
  Outcome outcome = Outcome::Done;
  {
    QPdfWriter writer(&file);
    writer.setResolution(kMeasureDpi);
    writer.setPageLayout(QPageLayout(pageSizeOf(document.setup), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Tavurel"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      outcome = Outcome::Failed;
    } else {
      outcome = paintPages(document, allPages(document), painter, writer, progress);
      painter.end();
    }
  }
  if (outcome != Outcome::Done) {
    if (outcome == Outcome::Failed && error) *error = QString::fromUtf8(messages::kPdfFailed);
    file.cancelWriting();
    return outcome;
  }
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return Outcome::Failed;
  }
  return Outcome::Done;
}

bool savePdf(const Document& document, const QString& path, QString* error) {
  return writePdf(document, path, error) == Outcome::Done;
}

std::vector<int> printOrder(const QPrinter& printer, int pageCount, int currentPage) {
  int from = 1, to = pageCount;
  switch (printer.printRange()) {
    case QPrinter::PageRange:
      if (printer.fromPage() > 0) from = printer.fromPage();
      if (printer.toPage() > 0) to = std::min(pageCount, printer.toPage());
      break;
    case QPrinter::CurrentPage: from = to = std::clamp(currentPage + 1, 1, std::max(1, pageCount)); break;
    case QPrinter::AllPages:
    case QPrinter::Selection: break;
  }
  std::vector<int> pages;
  for (int p = from; p <= to && p <= pageCount; ++p) pages.push_back(p - 1);
  // A PDF file cannot make copies; a printer that can makes them itself.
  bool printerCopies = printer.outputFormat() == QPrinter::NativeFormat && printer.supportsMultipleCopies();
  int copies = printerCopies ? 1 : std::max(1, printer.copyCount());
  std::vector<int> order;
  if (printer.collateCopies()) {
    for (int c = 0; c < copies; ++c) order.insert(order.end(), pages.begin(), pages.end());
  } else {
    for (int page : pages) order.insert(order.end(), static_cast<std::size_t>(copies), page);
  }
  return order;
}

Outcome printPages(const Document& document, QPrinter& printer, const std::vector<int>& order,
                   const PageProgress& progress) {
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(pageSizeOf(document.setup), QPageLayout::Portrait, QMarginsF()));
  printer.setDocName(QString::fromStdString(document.title));
  QPainter painter;
  if (!painter.begin(&printer)) return Outcome::Failed;
  Outcome outcome = paintPages(document, order, painter, printer, progress);
  if (outcome == Outcome::Cancelled) printer.abort();
  painter.end();
  return outcome;
}

bool printDocument(const Document& document, QPrinter& printer) {
  return printPages(document, printer, allPages(document)) == Outcome::Done;
}

}  // namespace reportengine
