// The print preview: a modal window that shows the laid-out pages one at a
// time at a chosen zoom, rendering only the page on view, with page
// navigation, "Imprimir" (the print dialog, then printing the pages it
// chose) and "Salvar PDF" (a save dialog, then the PDF file). Printing and
// saving run the report again, with a progress window and "Cancelar", so
// every output is a fresh run.
//
// Given a report (a session factory), the preview opens once the first page
// is laid out and lays out the rest in slices of the event loop, showing how
// far it has got; the pages that are ready can be viewed meanwhile.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>

#include "reportengine/Layout.h"

class QComboBox;
class QLabel;
class QPrinter;
class QProgressDialog;
class QPushButton;
class QScrollArea;
class QTimer;

namespace reportengine {

class Report;

class PreviewDialog : public QDialog {
  Q_OBJECT

 public:
  using Runner = std::function<Document()>;
  using SessionFactory = std::function<std::unique_ptr<LayoutSession>()>;

  // Seams for tests: the print dialog (true when the user confirmed, with
  // the printer set up) and the save dialog (the chosen path, empty when
  // cancelled). The defaults show the platform's dialogs.
  static std::function<bool(QPrinter& printer, QWidget* parent)> printDialog;
  static std::function<QString(QWidget* parent, const QString& suggestedName)> saveDialog;
  // How previewReport shows the dialog: exec() unless a test answers it.
  static std::function<void(PreviewDialog& dialog)> showModal;
  // Shows a failure to print or save; QMessageBox::critical unless set.
  std::function<void(const QString& message)> showError;
  // Called each time the progress window of a print or a PDF moves on (a
  // test may press its "Cancelar" there).
  std::function<void(QProgressDialog& progress)> onProgress;

  // A document laid out beforehand; printing and saving call `runner`.
  PreviewDialog(Document document, Runner runner, QWidget* parent = nullptr);
  // Lays out through sessions from `sessions`: the preview's own, in slices,
  // and one per print or PDF.
  explicit PreviewDialog(SessionFactory sessions, QWidget* parent = nullptr);
  ~PreviewDialog() override;

  // The pages ready to be viewed.
  int pageCount() const;
  int currentPage() const { return current_; }  // from 0
  double zoom() const { return zoom_; }
  // Whether the preview's layout has ended (always, for a document given).
  bool layoutFinished() const;
  // Pages rendered to the screen so far (each view of a page counts once).
  int renderedPages() const { return rendered_; }
  const Document& document() const;
  QString pageCaption() const;

  void showPage(int index);
  void setZoom(double zoom);
  // Lays out the preview's next slice (the event loop does it by itself).
  void layoutSlice();
  // Run the report again and print it / save it as PDF; false when the user
  // cancelled or it failed (after showing why).
  bool print();
  bool saveAsPdf();

  // The page at `index` as a picture at `dotsPerInch` (for the screen).
  static QImage renderPageImage(const Document& document, int index, double dotsPerInch);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildControls();
  void refresh();
  void reportError(const QString& message);
  void stopLayout();
  // A fresh run to its end with a progress window; nullopt when cancelled.
  std::optional<Document> freshRun(QProgressDialog& progress);
  QProgressDialog* makeProgress(const char* caption);

  Document document_;
  Runner runner_;
  SessionFactory sessions_;
  std::unique_ptr<LayoutSession> session_;  // the preview's run, while it lays out
  QTimer* sliceTimer_ = nullptr;
  int current_ = 0;
  double zoom_ = 1.0;
  int rendered_ = 0;
  QLabel* pageView_ = nullptr;
  QLabel* pageCaption_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QPushButton* firstButton_ = nullptr;
  QPushButton* priorButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
  QPushButton* lastButton_ = nullptr;
};

// Shows the report's preview modally, laying it out with Qt's font
// measuring: it opens with the first page and lays out the rest meanwhile.
// `showError` (when set) is given to the dialog for its failures.
void previewReport(Report& report, QWidget* parent = nullptr,
                   std::function<void(const QString&)> showError = {});

}  // namespace reportengine
