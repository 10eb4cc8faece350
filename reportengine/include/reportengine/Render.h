// Rendering of laid-out pages through QPainter: the text measurer that
// matches what is drawn, a page onto any paint device, the whole document to
// a PDF file or a printer.
#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

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

// How an output ended.
enum class Outcome { Done, Cancelled, Failed };
// Called before each page is drawn, with how many are drawn so far and how
// many there are; returning false stops the output (cancelled).
using PageProgress = std::function<bool(int done, int count)>;

// Writes every page to a PDF file at `path`, replacing it only once the whole
// file is written: a failed or cancelled output leaves no file, and an older
// file of that name untouched. `error` says why when it failed.
Outcome writePdf(const Document& document, const QString& path, QString* error, const PageProgress& progress = {});
// The same without progress: false with `error` set when it cannot.
bool savePdf(const Document& document, const QString& path, QString* error);

// The pages (indexes from 0) to print, in order, as the print dialog left
// `printer`: all, a range ("De"/"Até", from 1) or the current page, each
// copy in turn (collated) or each page repeated, unless the printer makes
// the copies itself.
std::vector<int> printOrder(const QPrinter& printer, int pageCount, int currentPage);

// Prints the pages of `order` on `printer` (already set up by its dialog).
// Failed when the printer cannot be opened; a cancelled job is aborted.
Outcome printPages(const Document& document, QPrinter& printer, const std::vector<int>& order,
                   const PageProgress& progress = {});
// Every page, once. False when the printer cannot be opened.
bool printDocument(const Document& document, QPrinter& printer);

}  // namespace reportengine
