#include "reportengine/Render.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <cmath>

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

bool paintAll(const Document& document, QPainter& painter, QPagedPaintDevice& device) {
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    if (i > 0 && !device.newPage()) return false;
    renderPage(painter, document.pages[i]);
  }
  return true;
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

bool savePdf(const Document& document, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setResolution(kMeasureDpi);
    writer.setPageLayout(QPageLayout(pageSizeOf(document.setup), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Tavurel"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      if (error) *error = QStringLiteral("não foi possível gerar o PDF");
      file.cancelWriting();
      return false;
    }
    bool ok = paintAll(document, painter, writer);
    painter.end();
    if (!ok) {
      if (error) *error = QStringLiteral("não foi possível gerar o PDF");
      file.cancelWriting();
      return false;
    }
  }
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

bool printDocument(const Document& document, QPrinter& printer) {
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(pageSizeOf(document.setup), QPageLayout::Portrait, QMarginsF()));
  printer.setDocName(QString::fromStdString(document.title));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  bool ok = paintAll(document, painter, printer);
  painter.end();
  return ok;
}

}  // namespace reportengine
