#include "UNT_Mensagem1.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>

#include <utility>

#include "Appearance.h"
#include "MessageText.h"

// The pictures live in a static library: naming their resource here keeps
// the linker from dropping it. Must be called outside any namespace.
static int registerDialogPictures() {
  Q_INIT_RESOURCE(dialogs);
  return 0;
}
static void loadDialogPictures() { [[maybe_unused]] static const int once = registerDialogPictures(); }

namespace {

// Geometry of the window, laid out in pixels at 96 dots per inch.
constexpr int kClientWidth = 362;
constexpr int kClientHeight = 106;
constexpr int kPanelHeight = 35;
constexpr int kButtonTop = 5;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kOkLeftBesideCancel = 96;
constexpr int kOkLeftAlone = 141;  // centred in the window
constexpr int kCancelLeft = 186;
constexpr QRect kMessageArea(50, 0, 307, 71);

QFont pixelFont(const QString& family, int pixelSize) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

MessageBoxHook& installedHook() {
  static MessageBoxHook hook;
  return hook;
}

}  // namespace

const QString TFRM_Mensagem1::KindConfirmation = QStringLiteral("CON");
const QString TFRM_Mensagem1::KindError = QStringLiteral("ERR");
const QString TFRM_Mensagem1::KindInformation = QStringLiteral("INF");
const QString TFRM_Mensagem1::KindWarning = QStringLiteral("ADV");

TFRM_Mensagem1::TFRM_Mensagem1(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  loadDialogPictures();
  proposals::prepareDesktop();
  setObjectName(QStringLiteral("FRM_Mensagem1"));
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  // The label sits in a frameless scroll area of its size: a text longer
  // than the label holds scrolls inside it, and the window never grows.
  SCR_Mensagem = new QScrollArea(this);
  SCR_Mensagem->setObjectName(QStringLiteral("SCR_Mensagem"));
  SCR_Mensagem->setGeometry(kMessageArea);
  SCR_Mensagem->setFrameShape(QFrame::NoFrame);
  SCR_Mensagem->setFocusPolicy(Qt::NoFocus);  // the buttons keep the tab order to themselves
  SCR_Mensagem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SCR_Mensagem->setWidgetResizable(true);
  SCR_Mensagem->viewport()->setBackgroundRole(QPalette::Window);
  LBL_Mensagem = new QLabel;
  LBL_Mensagem->setObjectName(QStringLiteral("LBL_Mensagem"));
  LBL_Mensagem->setAlignment(Qt::AlignCenter);
  LBL_Mensagem->setWordWrap(true);
  // A message may quote a file name or a value typed by the user: shown as
  // it is, never read as markup.
  LBL_Mensagem->setTextFormat(Qt::PlainText);
  LBL_Mensagem->setFont(pixelFont(QStringLiteral("Arial"), 12));
  QPalette red = LBL_Mensagem->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  LBL_Mensagem->setPalette(red);
  SCR_Mensagem->setWidget(LBL_Mensagem);

  IMG_Confirmacao = makeIcon("IMG_Confirmacao", ":/dialogs/confirmacao.png");
  IMG_Informacao = makeIcon("IMG_Informacao", ":/dialogs/informacao.png");
  IMG_Erro = makeIcon("IMG_Erro", ":/dialogs/erro.png");
  IMG_Advertencia = makeIcon("IMG_Advertencia", ":/dialogs/advertencia.png");

  PNL_Botoes = new QWidget(this);
  PNL_Botoes->setObjectName(QStringLiteral("PNL_Botoes"));
  PNL_Botoes->setGeometry(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);

  // Created Cancelar first: the tab order runs Cancelar, then Ok.
  BBT_Cancelar = new QPushButton(QStringLiteral("Cancelar"), PNL_Botoes);
  BBT_Cancelar->setObjectName(QStringLiteral("BBT_Cancelar"));
  BBT_Cancelar->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
  BBT_Ok = new QPushButton(QStringLiteral("Ok"), PNL_Botoes);
  BBT_Ok->setObjectName(QStringLiteral("BBT_Ok"));
  BBT_Ok->setGeometry(kOkLeftAlone, kButtonTop, kButtonWidth, kButtonHeight);
  BBT_Ok->setDefault(true);
  setTabOrder(BBT_Cancelar, BBT_Ok);

  connect(BBT_Ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(BBT_Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* TFRM_Mensagem1::makeIcon(const char* objectName, const char* picture) {
  auto* icon = new QLabel(this);
  icon->setObjectName(QLatin1String(objectName));
  const QPixmap pixmap(QString::fromLatin1(picture));
  Q_ASSERT(!pixmap.isNull());
  icon->setPixmap(pixmap);  // no fill behind it: the picture's clear parts show the window
  icon->setGeometry(5, 5, pixmap.width(), pixmap.height());
  icon->hide();
  return icon;
}

void TFRM_Mensagem1::setText(const QString& text) {
  text_ = text;
  LBL_Mensagem->setText(proposals::withBreaksAfterHyphens(text));
}

void TFRM_Mensagem1::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFRM_Mensagem1::FormShow() {
  BBT_Cancelar->setVisible(withCancel_);
  BBT_Ok->move(withCancel_ ? kOkLeftBesideCancel : kOkLeftAlone, kButtonTop);
  IMG_Confirmacao->setVisible(kind_ == KindConfirmation);
  IMG_Erro->setVisible(kind_ == KindError);
  IMG_Informacao->setVisible(kind_ == KindInformation);
  IMG_Advertencia->setVisible(kind_ == KindWarning);
  if (kind_ == KindConfirmation) {
    setWindowTitle(QStringLiteral("Confirmação . . ."));
  } else if (kind_ == KindError) {
    setWindowTitle(QStringLiteral("Erro . . ."));
  } else if (kind_ == KindInformation) {
    setWindowTitle(QStringLiteral("Informação . . ."));
  } else if (kind_ == KindWarning) {
    setWindowTitle(QStringLiteral("Advertência . . ."));
  }
  // The first button in the tab order that is shown starts with the focus.
  (withCancel_ ? BBT_Cancelar : BBT_Ok)->setFocus(Qt::TabFocusReason);
}

void TFRM_Mensagem1::keyPressEvent(QKeyEvent* event) {
  // Esc is the key of "Cancelar": without that button it does nothing.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !BBT_Cancelar->isVisible()) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool ShowMessageBox(const QString& Kind, const QString& Text, bool WithCancel) {
  if (const MessageBoxHook hook = installedHook()) {  // a copy: the hook may replace itself
    return hook(Kind, Text, WithCancel);
  }
  TFRM_Mensagem1 dialog;
  dialog.setWithCancel(WithCancel);
  dialog.setText(Text);
  dialog.setKind(Kind);
  return dialog.exec() == QDialog::Accepted;
}

void setMessageBoxHook(MessageBoxHook hook) { installedHook() = std::move(hook); }
