// Shows the two input controls the way the program uses them: quantity and
// unit price with the mask "###,###,###,###0.0000;0", and a time box.
//
//   controls_demo                      interactive
//   controls_demo --screenshot out.png saves a picture of the window and ends
#include "controls/Memoedit.h"
#include "controls/Timemask.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

constexpr auto kQuantityMask = "###,###,###,###0.0000;0";

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int width) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setGeometry(x, y, width, 15);
  return label;
}

struct DemoWindow {
  QWidget window;
  controls::TMemoEdit* quantity = nullptr;
  controls::TMemoEdit* unitPrice = nullptr;
  controls::TTimeMaskEdit* time = nullptr;
  QLabel* values = nullptr;

  DemoWindow() {
    window.setWindowTitle(QStringLiteral("Controles de entrada"));
    window.setFixedSize(420, 110);
    caption(&window, QStringLiteral(" Quantidade"), 10, 10, 120);
    caption(&window, QStringLiteral(" Valor Unitário"), 134, 10, 120);
    caption(&window, QStringLiteral(" Hora"), 258, 10, 49);

    quantity = new controls::TMemoEdit(&window);
    quantity->setObjectName(QStringLiteral("MED_Quantidade"));
    quantity->SetMascara(QString::fromLatin1(kQuantityMask));
    quantity->setGeometry(10, 26, 120, 21);

    unitPrice = new controls::TMemoEdit(&window);
    unitPrice->setObjectName(QStringLiteral("MED_ValorUnitario"));
    unitPrice->SetMascara(QString::fromLatin1(kQuantityMask));
    unitPrice->setGeometry(134, 26, 120, 21);

    time = new controls::TTimeMaskEdit(&window);
    time->setObjectName(QStringLiteral("MSK_Hora"));
    time->move(258, 26);

    values = new QLabel(&window);
    values->setGeometry(10, 60, 400, 40);
    for (controls::TMemoEdit* edit : {quantity, unitPrice}) {
      QObject::connect(edit, &controls::TMemoEdit::OnChange, &window, [this] { showValues(); });
    }
    showValues();
  }

  void showValues() {
    values->setText(QStringLiteral("ValueText: quantidade %1, valor unitário %2")
                        .arg(quantity->ValueText(), unitPrice->ValueText()));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The program's windows use "MS Sans Serif" at 11 px (Liberation Sans here).
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  QApplication::setFont(font);
  QString screenshotPath;
  const QStringList arguments = QApplication::arguments();
  const qsizetype option = arguments.indexOf(QStringLiteral("--screenshot"));
  if (option >= 0) {
    if (option + 1 >= arguments.size()) {
      std::fprintf(stderr, "usage: controls_demo [--screenshot file.png]\n");
      return 2;
    }
    screenshotPath = arguments[option + 1];
  }

  DemoWindow demo;
  demo.window.show();
  if (screenshotPath.isEmpty()) return app.exec();

  // A value left formatted, a value being typed (the focus arrives when the
  // window is active and selects it), a time.
  demo.quantity->setText(QStringLiteral("1.234,5000"));
  demo.time->setText(QStringLiteral("08:05"));
  demo.unitPrice->setText(QStringLiteral("98765,4321"));
  demo.unitPrice->setFocus();
  demo.window.activateWindow();

  // Grab once the window is active, or after two seconds without a window
  // manager that activates it.
  int status = 0;
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &app, [&] {
    if (!demo.window.isActiveWindow() && !waited.hasExpired(2000)) return;
    poll.stop();
    if (!demo.window.grab().save(screenshotPath)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(screenshotPath));
      status = 1;
    }
    app.quit();
  });
  poll.start(20);
  app.exec();
  return status;
}
