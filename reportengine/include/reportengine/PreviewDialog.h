// The print preview: a modal window that shows the laid-out pages one at a
// time at a chosen zoom, rendering only the page on view, with page
// navigation, "Imprimir" (the print dialog, then printing) and "Salvar PDF"
// (a save dialog, then the PDF file). Printing and saving run the report
// again through the runner, so every output is a fresh run.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "reportengine/Layout.h"

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace reportengine {

class Report;

class PreviewDialog : public QDialog {
  Q_OBJECT

 public:
  using Runner = std::function<Document()>;

  // Seams for tests: the print dialog (true when the user confirmed, with
  // the printer set up) and the save dialog (the chosen path, empty when
  // cancelled). The defaults show the platform's dialogs.
  static std::function<bool(QPrinter& printer, QWidget* parent)> printDialog;
  static std::function<QString(QWidget* parent, const QString& suggestedName)> saveDialog;
  // How previewReport shows the dialog: exec() unless a test answers it.
  static std::function<void(PreviewDialog& dialog)> showModal;
  // Shows a failure to print or save; QMessageBox::critical unless set.
  std::function<void(const QString& message)> showError;

  PreviewDialog(Document document, Runner runner, QWidget* parent = nullptr);

  int pageCount() const { return static_cast<int>(document_.pages.size()); }
  int currentPage() const { return current_; }  // from 0
  double zoom() const { return zoom_; }
  // Pages rendered to the screen so far (each view of a page counts once).
  int renderedPages() const { return rendered_; }
  const Document& document() const { return document_; }

  void showPage(int index);
  void setZoom(double zoom);
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

  Document document_;
  Runner runner_;
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

// Lays the report out with Qt's font measuring and shows the preview
// modally; printing and saving from it run the report again.
// `showError` (when set) is given to the dialog for its failures.
void previewReport(Report& report, QWidget* parent = nullptr,
                   std::function<void(const QString&)> showError = {});

}  // namespace reportengine
