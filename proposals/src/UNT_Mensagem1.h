// The program's message dialog and ShowMessageBox, the one way its windows
// show a warning, an error, a confirmation or an information.
//
// ShowMessageBox builds a TFRM_Mensagem1 for each message, shows it modally
// and destroys it before it returns; nothing of the dialog lives between two
// messages. Call from the GUI thread only.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

// Fixed-size white window: the text in LBL_Mensagem (plain text, centred,
// word-wrapped also after each "-", line feeds start new lines; a text
// longer than the label holds scrolls inside the label's room),
// one of four icons chosen by the kind, and in PNL_Botoes "Ok" and, when
// asked for, "Cancelar". Closes with Accepted only through "Ok" (click, or
// Enter while "Ok" has the focus); "Cancelar", Esc (only while "Cancelar" is
// offered) and the title bar's close box give Rejected.
class TFRM_Mensagem1 : public QDialog {
  Q_OBJECT

 public:
  // The message kinds; compared as exact, case-sensitive text.
  static const QString KindConfirmation;  // "CON"
  static const QString KindError;         // "ERR"
  static const QString KindInformation;   // "INF"
  static const QString KindWarning;       // "ADV"

  explicit TFRM_Mensagem1(QWidget* parent = nullptr);

  // Set before the dialog is shown; the show step applies them.
  void setKind(const QString& kind) { kind_ = kind; }
  void setWithCancel(bool withCancel) { withCancel_ = withCancel; }
  // Shown as it is, never as markup; a line may also end after a "-".
  void setText(const QString& text);
  QString text() const { return text_; }

  QString kind() const { return kind_; }
  bool withCancel() const { return withCancel_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormShow();
  QLabel* makeIcon(const char* objectName, const char* picture);

  QString kind_;
  QString text_;
  bool withCancel_ = false;

  QScrollArea* SCR_Mensagem = nullptr;  // holds LBL_Mensagem
  QLabel* LBL_Mensagem = nullptr;
  QLabel* IMG_Confirmacao = nullptr;
  QLabel* IMG_Informacao = nullptr;
  QLabel* IMG_Erro = nullptr;
  QLabel* IMG_Advertencia = nullptr;
  QWidget* PNL_Botoes = nullptr;
  QPushButton* BBT_Ok = nullptr;
  QPushButton* BBT_Cancelar = nullptr;
};

// Shows `Text` in a message dialog of `Kind` ("CON", "ERR", "INF", "ADV"),
// with "Cancelar" when `WithCancel`, and waits until it closes. Returns true
// only when the user pressed "Ok"; "Cancelar", Esc and the close box give
// false. While a hook is set the hook answers instead and no dialog is shown.
bool ShowMessageBox(const QString& Kind, const QString& Text, bool WithCancel);

// Answers ShowMessageBox in place of the real dialog (tests). An empty hook
// restores the real dialog.
using MessageBoxHook = std::function<bool(const QString& kind, const QString& text, bool withCancel)>;
void setMessageBoxHook(MessageBoxHook hook);
