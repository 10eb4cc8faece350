#include "UNT_Tutorial.h"

#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QPalette>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include <iterator>

namespace {

// Geometry, in pixels at 96 dots per inch.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 547;
constexpr int kButtonPanelHeight = 35;

QFont pixelFont(const QString& family, int pixelSize) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

// One entry per line of the text, trailing blanks included.
const char* const kTutorialLines[] = {
    "KLAVRegistraPropostas: Programa para digitação de ",
    "propostas para Cotação de Preços ou Processos ",
    "Licitatórios.",
    "",
    "Sequência operacional",
    "",
    "1. Selecionar a finalidade para as propostas: Cotação de ",
    "Preços ou Processo Licitatótio.",
    "2. Selecionar a identificação ( natureza jurídica ) do ",
    "Fornecedor: CNPJ para as Pessoas Jurídicas ou CNPF ",
    "para as Pessoas Físicas.",
    "3. Digitar o número do CNPJ ou do CNPF do Fornecedor.",
    "4. Digitar o Nome ou a Razão Social do Fornecedor.",
    "5. Clicar o botão Confirmar para a confirmação dos dados ",
    "informados.",
    "6. Clicar o botão Limpar para reiniciar a operação: voltar ao ",
    "item 1.",
    "7. Clicar o botão Abrir Cotação ou Abrir Processo para ",
    "selecionar e abrir o arquivo com os itens da Cotação de ",
    "Preços ou do Processo Licitatório. O nome do arquivo tem ",
    "a seguinte composição: PL_000001_2010.ZUL, onde:",
    "- PL ou CP: identifica se o arquivo pertence a um Processo ",
    "Licitatório ou Cotação de Preços;",
    "- 000001: identifica o número do Processo Licitatório ou da ",
    "Cotação de Preços;",
    "- 2010: identifica o ano do exercício do Processo Licitatório ",
    "ou da Cotação de Preços;",
    "- ZUL: extensão do nome do arquivo.",
    "8. Selecionar os itens através do grid.",
    "9. Digitar a Marca do produto descrito.",
    "10. Digitar a Quantidade proposta para o item.",
    "11. Digitar o Valor Unitário proposto para o item.",
    "12. Clicar o botão Gravar para confirmar os dados digitados ",
    "para o item.",
    "13. Repetir os itens 8, 9, 10, 11 e 12 deste tutorial para ",
    "todos os itens da Cotação de Preços ou do Processo ",
    "Licitatório.",
    "14. Clicar o botão Relatório para emitir um relatório para ",
    "controle e conferências das propostas digitadas.",
    "15. Clicar o botão Abrir Propostas para abrir um arquivo já ",
    "começado de propostas de uma Cotação de Preços ou de ",
    "uma Processo Licitatório e dar continuidade à digitação. O ",
    "nome do arquivo tem a seguinte composição: PL_000001_",
    "2010_12123123000199.PRO, onde",
    "- PL ou CP: identifica se o arquivo pertence a um Processo ",
    "Licitatório ou Cotação de Preços;",
    "- 000001: identifica o número do Processo Licitatório ou da ",
    "Cotação de Preços;",
    "- 2010: identifica o ano do exercício do Processo Licitatório ",
    "ou da Cotação de Preços;",
    "- 12123123000199: identifica o número do CNPJ ou do ",
    "CNPF do Fornecedor;",
    "- PRO: extensão do nome do arquivo.",
    "16. Clicar o botão Encerrar para finalizar a digitação das ",
    "propostas e gravar o arquivo que deverá ser enviado para o ",
    "órgão público solicitante. O arquivo será gravado na ",
    "mesma pasta aonde se encontra o programa ",
    "KLAVRegistraProposta.exe e o nome tem a mesma ",
    "composição descrita no item 15 deste tutorial.",
    "",
};
static_assert(std::size(kTutorialLines) == 60);

}  // namespace

QString TFRM_Tutorial::tutorialText() {
  QStringList lines;
  for (const char* line : kTutorialLines) lines.append(QString::fromUtf8(line));
  return lines.join(u'\n');
}

TFRM_Tutorial::TFRM_Tutorial(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("FRM_Tutorial"));
  setWindowTitle(QStringLiteral("Tutorial"));
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

  PNL_Tutorial = new QWidget(this);
  PNL_Tutorial->setObjectName(QStringLiteral("PNL_Tutorial"));
  PNL_Tutorial->setGeometry(0, 0, kClientWidth, kClientHeight - kButtonPanelHeight);

  RCH_Tutorial = new QTextEdit(PNL_Tutorial);
  RCH_Tutorial->setObjectName(QStringLiteral("RCH_Tutorial"));
  RCH_Tutorial->setGeometry(5, 5, 350, 501);
  RCH_Tutorial->setAcceptRichText(false);
  RCH_Tutorial->setFont(pixelFont(QStringLiteral("Arial"), 12));
  QPalette colours = RCH_Tutorial->palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::Text, QColor(0x80, 0x00, 0x00));  // maroon
  RCH_Tutorial->setPalette(colours);
  RCH_Tutorial->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RCH_Tutorial->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RCH_Tutorial->setPlainText(tutorialText());
  // Read-only, yet the reader may select and copy with mouse and keyboard.
  RCH_Tutorial->setReadOnly(true);
  RCH_Tutorial->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  RCH_Tutorial->setTabChangesFocus(true);

  PNL_Botoes = new QWidget(this);
  PNL_Botoes->setObjectName(QStringLiteral("PNL_Botoes"));
  PNL_Botoes->setGeometry(0, kClientHeight - kButtonPanelHeight, kClientWidth, kButtonPanelHeight);

  BBT_Fechar = new QPushButton(QStringLiteral("&Fechar"), PNL_Botoes);
  BBT_Fechar->setObjectName(QStringLiteral("BBT_Fechar"));
  BBT_Fechar->setGeometry(130, 5, 75, 25);
  // Not the window's default button: Enter in the text closes nothing.
  BBT_Fechar->setAutoDefault(false);
  connect(BBT_Fechar, &QPushButton::clicked, this, &QDialog::accept);

  setTabOrder(RCH_Tutorial, BBT_Fechar);
  RCH_Tutorial->setFocus(Qt::OtherFocusReason);
}

void TFRM_Tutorial::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      event->accept();  // Esc does not close the tutorial
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (focusWidget() == BBT_Fechar) BBT_Fechar->click();
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}
