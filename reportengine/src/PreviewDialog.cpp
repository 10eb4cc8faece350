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
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

#include "reportengine/Render.h"

namespace reportengine {
namespace {

constexpr double kScreenDpi = 96.0;
constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

bool defaultPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Imprimir"));
  return dialog.exec() == QDialog::Accepted;
}

QString defaultSaveDialog(QWidget* parent, const QString& suggestedName) {
  return QFileDialog::getSaveFileName(parent, QStringLiteral("Salvar PDF"), suggestedName,
                                      QStringLiteral("Documento PDF (*.pdf)"));
}

}  // namespace

std::function<bool(QPrinter&, QWidget*)> PreviewDialog::printDialog = defaultPrintDialog;
std::function<QString(QWidget*, const QString&)> PreviewDialog::saveDialog = defaultSaveDialog;
std::function<void(PreviewDialog&)> PreviewDialog::showModal = [](PreviewDialog& dialog) { dialog.exec(); };

PreviewDialog::PreviewDialog(Document document, Runner runner, QWidget* parent)
    : QDialog(parent), document_(std::move(document)), runner_(std::move(runner)) {
  setWindowTitle(QStringLiteral("Visualização do Relatório"));
  setModal(true);
  buildControls();
  resize(900, 760);
  refresh();
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
  firstButton_ = button(QStringLiteral("|<"), QStringLiteral("Primeira página"));
  priorButton_ = button(QStringLiteral("<"), QStringLiteral("Página anterior"));
  pageCaption_ = new QLabel(this);
  pageCaption_->setMinimumWidth(120);
  pageCaption_->setAlignment(Qt::AlignCenter);
  bar->addWidget(pageCaption_);
  nextButton_ = button(QStringLiteral(">"), QStringLiteral("Próxima página"));
  lastButton_ = button(QStringLiteral(">|"), QStringLiteral("Última página"));
  bar->addSpacing(16);
  bar->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
  zoomBox_ = new QComboBox(this);
  for (double z : kZooms) zoomBox_->addItem(QString::number(std::lround(z * 100)) + "%", z);
  zoomBox_->setCurrentIndex(2);
  bar->addWidget(zoomBox_);
  bar->addStretch();
  QPushButton* printButton = button(QStringLiteral("Imprimir"), QStringLiteral("Imprimir o relatório"));
  QPushButton* pdfButton = button(QStringLiteral("Salvar PDF"), QStringLiteral("Salvar o relatório em PDF"));
  QPushButton* closeButton = button(QStringLiteral("Fechar"), QStringLiteral("Fechar a visualização"));

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
  pageCaption_->setText(QStringLiteral("Página %1 de %2").arg(count ? current_ + 1 : 0).arg(count));
  firstButton_->setEnabled(current_ > 0);
  priorButton_->setEnabled(current_ > 0);
  nextButton_->setEnabled(current_ + 1 < count);
  lastButton_->setEnabled(current_ + 1 < count);
  pageView_->setPixmap(QPixmap::fromImage(renderPageImage(document_, current_, kScreenDpi * zoom_)));
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
  printer.setDocName(QString::fromStdString(document_.title));
  if (!printDialog(printer, this)) return false;
  Document fresh = runner_ ? runner_() : document_;
  if (!printDocument(fresh, printer)) {
    reportError(QStringLiteral("Não foi possível imprimir o relatório."));
    return false;
  }
  return true;
}

bool PreviewDialog::saveAsPdf() {
  QString suggested = QString::fromStdString(document_.title);
  if (suggested.isEmpty()) suggested = QStringLiteral("Relatorio");
  QString path = saveDialog(this, suggested + QStringLiteral(".pdf"));
  if (path.isEmpty()) return false;
  Document fresh = runner_ ? runner_() : document_;
  QString error;
  if (!savePdf(fresh, path, &error)) {
    reportError(QStringLiteral("Não foi possível salvar o arquivo %1: %2").arg(path, error));
    return false;
  }
  return true;
}

void previewReport(Report& report, QWidget* parent, std::function<void(const QString&)> showError) {
  QtTextMeasurer measurer;
  auto run = [&report, &measurer] { return layoutReport(report, measurer); };
  PreviewDialog dialog(run(), run, parent);
  dialog.showError = std::move(showError);
  PreviewDialog::showModal(dialog);
}

}  // namespace reportengine
