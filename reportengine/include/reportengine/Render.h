// Rendering of laid-out pages through QPainter: the text measurer that
// matches what is drawn, a page onto any paint device, the whole document to
// a PDF file or a printer.
#pragma once

#include <QFont>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "reportengine/Layout.h"

class QPainter;
class QPrinter;
class QFontMetricsF;
class QImage;

namespace reportengine {

// The QFont of a report font: sizes in points, no hinting, so that widths
// scale linearly with the resolution and what is measured is what is drawn.
QFont toQFont(const Font& font);

// Measures with the fonts as they are drawn on a 1200 dpi device (the PDF
// writer's resolution); widths and heights come back in millimetres.
class QtTextMeasurer : public TextMeasurer {
 public:
  QtTextMeasurer();
  ~QtTextMeasurer() override;
  double textWidth(const Font& font, std::string_view utf8) const override;
  double lineHeight(const Font& font) const override;

 private:
  // Per font: its metrics, and the widths of short texts (words) already
  // measured, since the same words come back row after row.
  struct FontCache {
    std::unique_ptr<QFontMetricsF> metrics;
    std::unordered_map<std::string, double> shortTexts;
  };
  FontCache& cacheFor(const Font& font) const;
  std::unique_ptr<QImage> device_;
  using FontKey = std::tuple<std::string, double, bool>;
  mutable std::map<FontKey, FontCache> cache_;
};

// Draws one page; the painter's device decides the scale (its logical dpi),
// and (0, 0) is the paper's top-left corner.
void renderPage(QPainter& painter, const Page& page);

// Writes every page to a PDF file at `path`, replacing it only once the whole
// file is written. False with `error` set when it cannot.
bool savePdf(const Document& document, const QString& path, QString* error);

// Prints every page on `printer` (already set up by its dialog). False when
// the printer cannot be opened.
bool printDocument(const Document& document, QPrinter& printer);

}  // namespace reportengine
