// The print preview, its progressive layout, and printing and saving from it.
#include "reportengine/PreviewDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <exception>
#include <cmath>

#include "reportengine/Messages.h"
#include "reportengine/Render.h"

namespace reportengine {
namespace {

constexpr double kScreenDpi = 96.0;
constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
// Rows laid out between two looks at the clock, and the time one slice of
// the preview's layout may take from the event loop.
constexpr std::size_t kRowsPerStep = 8;
constexpr auto kSliceTime = std::chrono::milliseconds(25);

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

bool defaultPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(text(messages::kPrint));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
  if (auto* preview = qobject_cast<PreviewDialog*>(parent)) dialog.setMinMax(1, std::max(1, preview->pageCount()));
  return dialog.exec() == QDialog::Accepted;
}

QString defaultSaveDialog(QWidget* parent, const QString& suggestedName) {
  return QFileDialog::getSaveFileName(parent, text(messages::kSavePdf), suggestedName, text(messages::kPdfFilter));
}

}  // namespace

std::function<bool(QPrinter&, QWidget*)> PreviewDialog::printDialog = defaultPrintDialog;
std::function<QString(QWidget*, const QString&)> PreviewDialog::saveDialog = defaultSaveDialog;
std::function<void(PreviewDialog&)> PreviewDialog::showModal = [](PreviewDialog& dialog) { dialog.exec(); };

PreviewDialog::PreviewDialog(Document document, Runner runner, QWidget* parent)
    : QDialog(parent), document_(std::move(document)), runner_(std::move(runner)) {
  document_.complete = true;
  setWindowTitle(text(messages::kPreviewTitle));
  setModal(true);
  buildControls();
  resize(900, 760);
  refresh();
}

PreviewDialog::PreviewDialog(SessionFactory sessions, QWidget* parent)
    : QDialog(parent), sessions_(std::move(sessions)), session_(sessions_()) {
  setWindowTitle(text(messages::kPreviewTitle));
  setModal(true);
  buildControls();
  resize(900, 760);
  // Open with the first page: it is final once a second one has begun.
  while (!session_->advance(1) && session_->document().pages.size() < 2) {
  }
  sliceTimer_ = new QTimer(this);
  sliceTimer_->setInterval(0);
  connect(sliceTimer_, &QTimer::timeout, this, &PreviewDialog::layoutSlice);
  if (session_->finished()) {
    document_ = session_->take();
    session_.reset();
  } else {
    sliceTimer_->start();
  }
  refresh();
}

PreviewDialog::~PreviewDialog() = default;

int PreviewDialog::pageCount() const {
  if (session_) return std::max(0, static_cast<int>(session_->document().pages.size()) - 1);
  return static_cast<int>(document_.pages.size());
}

bool PreviewDialog::layoutFinished() const { return !session_ && document_.complete; }

const Document& PreviewDialog::document() const { return session_ ? session_->document() : document_; }

void PreviewDialog::layoutSlice() {
  if (!session_) return;
  auto start = std::chrono::steady_clock::now();
  bool done = false;
  try {
    while (!(done = session_->advance(kRowsPerStep)) && std::chrono::steady_clock::now() - start < kSliceTime) {
    }
  } catch (const std::exception& error) {
    // An error of the data (a missing field) ends the preview's run where
    // it is, and is shown: an exception must not cross the event loop.
    stopLayout();
    refresh();
    reportError(QString::fromUtf8(error.what()));
    return;
  }
  if (done) {
    sliceTimer_->stop();
    document_ = session_->take();
    session_.reset();
    refresh();  // the page on view now has its page count
    return;
  }
  pageCaption_->setText(pageCaption());
  nextButton_->setEnabled(current_ + 1 < pageCount());
  lastButton_->setEnabled(current_ + 1 < pageCount());
}

// The preview's run stops here, keeping the pages it has made: the run that
// prints or saves must be the only one updating the report's totals.
void PreviewDialog::stopLayout() {
  if (!session_) return;
  sliceTimer_->stop();
  int ready = pageCount();
  document_ = session_->take();
  document_.pages.resize(static_cast<std::size_t>(ready));
  document_.complete = false;
  session_.reset();
}

QString PreviewDialog::pageCaption() const {
  int count = pageCount();
  int page = count ? current_ + 1 : 0;
  if (!session_) return text(messages::kPageOf).arg(page).arg(count);
  std::size_t rows = std::max<std::size_t>(1, session_->rowCount());
  return text(messages::kPageOfSoFar).arg(page).arg(count).arg(session_->rowsDone() * 100 / rows);
}

QProgressDialog* PreviewDialog::makeProgress(const char* caption) {
  auto* progress = new QProgressDialog(text(caption), text(messages::kCancel), 0, 100, this);
  progress->setWindowModality(Qt::WindowModal);
  progress->setMinimumDuration(300);
  progress->setAutoClose(false);
  progress->setAutoReset(false);
  progress->setAttribute(Qt::WA_DeleteOnClose, false);
  return progress;
}

std::optional<Document> PreviewDialog::freshRun(QProgressDialog& progress) {
  if (!sessions_) return runner_ ? runner_() : document_;
  std::unique_ptr<LayoutSession> run = sessions_();
  try {
    while (!run->advance(kRowsPerStep)) {
      progress.setMaximum(static_cast<int>(std::max<std::size_t>(1, run->rowCount())));
      progress.setValue(static_cast<int>(run->rowsDone()));
      if (onProgress) onProgress(progress);
      if (progress.wasCanceled()) return std::nullopt;
    }
  } catch (const std::exception& error) {
    reportError(QString::fromUtf8(error.what()));
    return std::nullopt;
  }
  return run->take();
}

void PreviewDialog::buildControls() {
  auto* bar = new QHBoxLayout;
  auto button = [&](const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, this);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    bar->addWidget(b);
    return b;
  };
  firstButton_ = button(QStringLiteral("|<"), text(messages::kFirstPage));
  priorButton_ = button(QStringLiteral("<"), text(messages::kPriorPage));
  pageCaption_ = new QLabel(this);
  pageCaption_->setMinimumWidth(210);  // room for "Página 100 de 1000… (99%)"
  pageCaption_->setAlignment(Qt::AlignCenter);
  bar->addWidget(pageCaption_);
  nextButton_ = button(QStringLiteral(">"), text(messages::kNextPage));
  lastButton_ = button(QStringLiteral(">|"), text(messages::kLastPage));
  bar->addSpacing(16);
  bar->addWidget(new QLabel(text(messages::kZoom), this));
  zoomBox_ = new QComboBox(this);
  for (double z : kZooms) zoomBox_->addItem(QString::number(std::lround(z * 100)) + "%", z);
  zoomBox_->setCurrentIndex(2);
  bar->addWidget(zoomBox_);
  bar->addStretch();
  QPushButton* printButton = button(text(messages::kPrint), text(messages::kPrintTip));
  QPushButton* pdfButton = button(text(messages::kSavePdf), text(messages::kSavePdfTip));
  QPushButton* closeButton = button(text(messages::kClose), text(messages::kCloseTip));

  pageView_ = new QLabel;
  pageView_->setAlignment(Qt::AlignCenter);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(pageView_);
  scroll_->setWidgetResizable(true);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(scroll_, 1);

  connect(firstButton_, &QPushButton::clicked, this, [this] { showPage(0); });
  connect(priorButton_, &QPushButton::clicked, this, [this] { showPage(current_ - 1); });
  connect(nextButton_, &QPushButton::clicked, this, [this] { showPage(current_ + 1); });
  connect(lastButton_, &QPushButton::clicked, this, [this] { showPage(pageCount() - 1); });
  connect(zoomBox_, &QComboBox::activated, this,
          [this](int index) { setZoom(zoomBox_->itemData(index).toDouble()); });
  connect(printButton, &QPushButton::clicked, this, [this] { print(); });
  connect(pdfButton, &QPushButton::clicked, this, [this] { saveAsPdf(); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void PreviewDialog::showPage(int index) {
  index = std::clamp(index, 0, std::max(0, pageCount() - 1));
  if (index == current_) return;
  current_ = index;
  refresh();
}

void PreviewDialog::setZoom(double zoom) {
  zoom = std::clamp(zoom, 0.25, 4.0);
  if (zoom == zoom_) return;
  zoom_ = zoom;
  int found = zoomBox_->findData(zoom);
  if (found >= 0) zoomBox_->setCurrentIndex(found);
  refresh();
}

QImage PreviewDialog::renderPageImage(const Document& document, int index, double dotsPerInch) {
  double scale = dotsPerInch / 25.4;
  QImage image(static_cast<int>(std::lround(document.setup.width * scale)),
               static_cast<int>(std::lround(document.setup.height * scale)), QImage::Format_RGB32);
  int dotsPerMeter = static_cast<int>(std::lround(scale * 1000.0));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  if (index >= 0 && index < static_cast<int>(document.pages.size())) {
    QPainter painter(&image);
    renderPage(painter, document.pages[static_cast<std::size_t>(index)]);
  }
  return image;
}

void PreviewDialog::refresh() {
  int count = pageCount();
  pageCaption_->setText(pageCaption());
  firstButton_->setEnabled(current_ > 0);
  priorButton_->setEnabled(current_ > 0);
  nextButton_->setEnabled(current_ + 1 < count);
  lastButton_->setEnabled(current_ + 1 < count);
  if (current_ < count) pageView_->setPixmap(QPixmap::fromImage(renderPageImage(document(), current_, kScreenDpi * zoom_)));
  ++rendered_;
}

void PreviewDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageDown: showPage(current_ + 1); return;
    case Qt::Key_PageUp: showPage(current_ - 1); return;
    case Qt::Key_Home: showPage(0); return;
    case Qt::Key_End: showPage(pageCount() - 1); return;
    default: QDialog::keyPressEvent(event);
  }
}

void PreviewDialog::reportError(const QString& message) {
  if (showError)
    showError(message);
  else
    QMessageBox::critical(this, windowTitle(), message);
}

bool PreviewDialog::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(document().title));
  if (!printDialog(printer, this)) return false;
  stopLayout();
  std::unique_ptr<QProgressDialog> progress(makeProgress(messages::kLayingOut));
  std::optional<Document> fresh = freshRun(*progress);
  if (!fresh) return false;
  std::vector<int> order = printOrder(printer, static_cast<int>(fresh->pages.size()), current_);
  progress->setLabelText(text(messages::kPrinting));
  Outcome outcome = printPages(*fresh, printer, order, [&](int done, int count) {
    progress->setMaximum(std::max(1, count));
    progress->setValue(done);
    if (onProgress) onProgress(*progress);
    return !progress->wasCanceled();
  });
  if (outcome == Outcome::Failed) reportError(text(messages::kPrintFailed));
  if (!document_.complete && outcome == Outcome::Done) document_ = std::move(*fresh), refresh();
  return outcome == Outcome::Done;
}

bool PreviewDialog::saveAsPdf() {
  QString suggested = QString::fromStdString(document().title);
  if (suggested.isEmpty()) suggested = text(messages::kDefaultDocumentName);
  QString path = saveDialog(this, suggested + QStringLiteral(".pdf"));
  if (path.isEmpty()) return false;
  stopLayout();
  std::unique_ptr<QProgressDialog> progress(makeProgress(messages::kLayingOut));
  std::optional<Document> fresh = freshRun(*progress);
  if (!fresh) return false;
  progress->setLabelText(text(messages::kWritingPdf));
  QString error;
  Outcome outcome = writePdf(*fresh, path, &error, [&](int done, int count) {
    progress->setMaximum(std::max(1, count));
    progress->setValue(done);
    if (onProgress) onProgress(*progress);
    return !progress->wasCanceled();
  });
  if (outcome == Outcome::Failed) reportError(text(messages::kSaveFailed).arg(path, error));
  if (!document_.complete && outcome == Outcome::Done) document_ = std::move(*fresh), refresh();
  return outcome == Outcome::Done;
}

void previewReport(Report& report, QWidget* parent, std::function<void(const QString&)> showError) {
  QtTextMeasurer measurer;
  PreviewDialog dialog([&report, &measurer] { return std::make_unique<LayoutSession>(report, measurer); }, parent);
  dialog.showError = std::move(showError);
  PreviewDialog::showModal(dialog);
}

}  // namespace reportengine
