// The tutorial window: a fixed text that explains the program step by step
// and a close button. Reads nothing and changes nothing.
//
// The main window creates one for each click of its tutorial button, shows
// it modally and destroys it when it closes. GUI thread only.
#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;
class QWidget;

// Fixed-size window with the text in RCH_Tutorial (read-only, selectable and
// copyable, scrolled to the top, has the focus when the window opens) and
// BBT_Fechar ("&Fechar": click, Space on it or Alt+F closes the window).
// Esc does not close it; the title bar's close box does.
class TFRM_Tutorial : public QDialog {
  Q_OBJECT

 public:
  explicit TFRM_Tutorial(QWidget* parent = nullptr);

  // The tutorial text, lines separated by line feeds; some lines end with a
  // blank and the last line is empty.
  static QString tutorialText();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* PNL_Tutorial = nullptr;
  QTextEdit* RCH_Tutorial = nullptr;
  QWidget* PNL_Botoes = nullptr;
  QPushButton* BBT_Fechar = nullptr;
};
