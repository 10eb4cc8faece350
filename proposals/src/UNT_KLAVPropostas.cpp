// The main window: its layout, tab order and handler wiring, clearing the
// form, the purpose pick, the identification and "Confirmar".
#include "UNT_KLAVPropostas.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>

#include "Appearance.h"
#include "DataSource.h"
#include "GridCellDelegate.h"
#include "GridKeys.h"
#include "ProposalRules.h"
#include "ProposalTables.h"
#include "SupplierKey.h"
#include "SystemErrorText.h"
#include "TaxNumber.h"
#include "UNT_Mensagem1.h"
#include "UNT_Tutorial.h"
#include "WindowPlacement.h"
#include "controls/ErrorBox.h"
#include "controls/WindowFocusOf.h"
#include "recordtable/error.h"

TFRM_KLAVPropostas* FRM_KLAVPropostas = nullptr;

// The button pictures are a resource of the static library, which must be
// registered by name (outside any namespace).
static void initWindowResources() { Q_INIT_RESOURCE(window); }

using proposals::GridColumn;
using proposals::TDataSource;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);

QFont fontOf(const QString& family, int pixels, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  // Labels on the window's button-face background draw in the button-text colour.
  palette.setColor(QPalette::ButtonText, colour);
  widget->setPalette(palette);
}

// A container panel of the window, raised like the toolkit's panels.
QFrame* makePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return panel;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font, const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  setTextColour(label, colour);
  if (geometry.width() > 0) {
    label->setGeometry(geometry);
  } else {
    label->move(geometry.topLeft());
    label->adjustSize();
  }
  return label;
}

// A caption box: static text with a sunken border, a column title above a field.
QLabel* makeCaptionBox(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                       const QFont& font) {
  QLabel* box = makeLabel(parent, name, text, geometry, font, kNavy);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return box;
}

// A value panel: a lowered panel that shows a value as its caption.
QLabel* makeValuePanel(QWidget* parent, const char* name, const QRect& geometry, const QFont& font,
                       const QColor& colour, Qt::Alignment alignment) {
  QLabel* panel = makeLabel(parent, name, QString(), geometry, font, colour);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(alignment | Qt::AlignVCenter);
  return panel;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                        const QString& picture) {
  auto* button = new QPushButton(QIcon(picture), caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setIconSize(QSize(16, 16));
  button->setAutoDefault(false);
  return button;
}

QTextEdit* makeRichText(QWidget* parent, const char* name, const QRect& geometry) {
  auto* text = new QTextEdit(parent);
  text->setObjectName(QLatin1String(name));
  text->setGeometry(geometry);
  text->setReadOnly(true);
  text->setFrameStyle(QFrame::NoFrame);
  text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text->setFocusPolicy(Qt::NoFocus);
  text->setAcceptRichText(false);
  QPalette palette = text->palette();
  palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
  text->setPalette(palette);
  return text;
}

QTableView* makeGrid(QWidget* parent, const char* name, const QRect& geometry) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(QLatin1String(name));
  grid->setGeometry(geometry);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setShowGrid(true);
  grid->setWordWrap(false);
  grid->setItemDelegate(new proposals::GridCellDelegate(grid));  // whole text of a cut cell as a tool tip
  grid->setTabKeyNavigation(false);
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setDefaultSectionSize(18);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setStretchLastSection(false);
  // The selected row keeps the selection colour when the grid loses the focus.
  QPalette palette = grid->palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  grid->setPalette(palette);
  return grid;
}

void bindGrid(QTableView* grid, TDataSource* source) {
  grid->setModel(source);
  for (int column = 0; column < static_cast<int>(source->columns().size()); ++column) {
    grid->setColumnWidth(column, source->columns()[static_cast<std::size_t>(column)].width);
  }
  // The grid shows the table's current record as its selected row.
  QObject::connect(source, &TDataSource::currentRowChanged, grid, [grid, source](int row) {
    if (row < 0) {
      grid->selectionModel()->clearSelection();
      return;
    }
    const QModelIndex current = source->index(row, qMax(grid->currentIndex().column(), 0));
    if (grid->currentIndex() != current) {
      grid->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    } else {
      grid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    grid->scrollTo(current);
  });
}

const QString kMaskNumber = QStringLiteral("###,###,###,###0.0000;0");

// "Unid Med" holds ten capitals ("COMPRIMIDO") in the window's font; the
// room comes from "Descrição", so the grid keeps its width.
constexpr int kUnidadeWidth = 78;
constexpr int kDescricaoWidth = 450 - (kUnidadeWidth - 60);

constexpr QSize kClientSize(1009, 646);

}  // namespace

TFRM_KLAVPropostas::TFRM_KLAVPropostas(QWidget* parent) : QWidget(parent) {
  initWindowResources();
  proposals::prepareDesktop();
  setObjectName(QStringLiteral("FRM_KLAVPropostas"));
  setWindowTitle(QStringLiteral("Tavurel - Registro de Propostas"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(fontOf(QStringLiteral("MS Sans Serif"), 11));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  buildClientArea();

  proposals::defineTable(CDS_Lote, proposals::loteFields(), proposals::kLoteIndexFields);
  CDS_Processo.setIndexFieldNames(proposals::kProcessoIndexFields);
  OPG_Arquivo.DefaultExt = QStringLiteral("*.ZUL");
  OPG_Arquivo.FilterIndex = 0;

  buildEntidade();
  buildChave1();
  buildProcesso();
  buildObjetoGeral();
  buildGrids();
  buildItem();
  buildBotoes();
  layoutPanels();
  applyTabOrder();
  connectHandlers();

  placeOnScreen();
}

TFRM_KLAVPropostas::~TFRM_KLAVPropostas() {
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  // The data sources observe the tables, which are members destroyed after them.
  delete DST_Processo;
  delete DST_Lote;
  DST_Processo = nullptr;
  DST_Lote = nullptr;
  if (FRM_KLAVPropostas == this) FRM_KLAVPropostas = nullptr;
}

// ---- layout -------------------------------------------------------------

void TFRM_KLAVPropostas::buildEntidade() {
  PNL_Entidade = makePanel(client_, "PNL_Entidade");
  const QString arial = QStringLiteral("Arial");
  LBL_Entidade = makeLabel(PNL_Entidade, "LBL_Entidade", QStringLiteral("Entidade:"), QRect(5, 2, 0, 0),
                           fontOf(arial, 12), kMaroon);
  LBL_NomeEntidade = makeLabel(PNL_Entidade, "LBL_NomeEntidade", QString(), QRect(62, 2, 410, 14),
                               fontOf(arial, 12, true), kMaroon);
  LBL_Municipio = makeLabel(PNL_Entidade, "LBL_Municipio", QStringLiteral("Município:"), QRect(500, 2, 0, 0),
                            fontOf(arial, 12), kMaroon);
  LBL_NomeMunicipio = makeLabel(PNL_Entidade, "LBL_NomeMunicipio", QString(), QRect(560, 2, 440, 14),
                                fontOf(arial, 12, true), kMaroon);
  LBL_CNPJ = makeLabel(PNL_Entidade, "LBL_CNPJ", QStringLiteral("CNPJ:"), QRect(438, 17, 0, 0), fontOf(arial, 11),
                       kMaroon);
  LBL_NumeroCNPJ = makeLabel(PNL_Entidade, "LBL_NumeroCNPJ", QString(), QRect(470, 17, 100, 14),
                             fontOf(arial, 11, true), kMaroon);
  LBL_NumeroCNPJ->setIndent(3);  // "CNPJ:" takes the 32 px up to the number's left edge
}

void TFRM_KLAVPropostas::buildChave1() {
  PNL_Chave1 = makePanel(client_, "PNL_Chave1");
  const QFont caption = fontOf(QStringLiteral("MS Sans Serif"), 11);
  STT_Finalidade = makeCaptionBox(PNL_Chave1, "STT_Finalidade", QStringLiteral(" Finalidade"),
                                  QRect(5, 5, 126, 16), caption);
  CMB_Finalidade = new QComboBox(PNL_Chave1);
  CMB_Finalidade->setObjectName(QStringLiteral("CMB_Finalidade"));
  CMB_Finalidade->addItems({QStringLiteral("Cotação de Preços"), QStringLiteral("Processo Licitatório")});
  CMB_Finalidade->setGeometry(5, 20, 126, 21);

  STT_Identificacao = makeCaptionBox(PNL_Chave1, "STT_Identificacao", QStringLiteral(" Identificação"),
                                     QRect(135, 5, 80, 16), caption);
  CMB_Identificacao = new QComboBox(PNL_Chave1);
  CMB_Identificacao->setObjectName(QStringLiteral("CMB_Identificacao"));
  CMB_Identificacao->addItems({QStringLiteral("C N P F"), QStringLiteral("C N P J")});
  CMB_Identificacao->setGeometry(135, 20, 80, 21);

  STT_CodigoNacional = makeCaptionBox(PNL_Chave1, "STT_CodigoNacional", QString(), QRect(219, 5, 120, 16), caption);
  MSK_CodigoNacional = new QLineEdit(PNL_Chave1);
  MSK_CodigoNacional->setObjectName(QStringLiteral("MSK_CodigoNacional"));
  MSK_CodigoNacional->setGeometry(219, 20, 120, 21);

  STT_NomeFornecedor = makeCaptionBox(PNL_Chave1, "STT_NomeFornecedor", QString(), QRect(343, 5, 557, 16), caption);
  EDT_NomeFornecedor = new QLineEdit(PNL_Chave1);
  EDT_NomeFornecedor->setObjectName(QStringLiteral("EDT_NomeFornecedor"));
  EDT_NomeFornecedor->setGeometry(343, 20, 557, 21);
  EDT_NomeFornecedor->setMaxLength(100);

  BBT_GravarFornecedor = makeButton(PNL_Chave1, "BBT_GravarFornecedor", QStringLiteral("Confirmar"),
                                    QRect(904, 16, 100, 25), QStringLiteral(":/window/dialog-ok-apply.png"));
}

void TFRM_KLAVPropostas::buildProcesso() {
  PNL_Processo = makePanel(client_, "PNL_Processo");
  const QFont caption = fontOf(QStringLiteral("Arial"), 11);
  const QFont value = fontOf(QStringLiteral("Arial"), 11, true);
  struct Pair {
    const char* captionName;
    QString text;
    QLabel** captionBox;
    const char* panelName;
    QLabel** panel;
    int left, width;
    Qt::Alignment alignment;
  };
  const Pair pairs[] = {
      {"STT_AnoExercicioProcesso", QStringLiteral(" Exercício"), &STT_AnoExercicioProcesso,
       "PNL_AnoExercicioProcesso", &PNL_AnoExercicioProcesso, 5, 54, Qt::AlignHCenter},
      {"STT_NumeroProcesso", QStringLiteral(" Processo"), &STT_NumeroProcesso, "PNL_NumeroProcesso",
       &PNL_NumeroProcesso, 63, 54, Qt::AlignHCenter},
      {"STT_DataProcesso", QStringLiteral(" Data"), &STT_DataProcesso, "PNL_DataProcesso", &PNL_DataProcesso, 121,
       76, Qt::AlignHCenter},
      {"STT_TipoApuracao", QStringLiteral(" Tipo de Apuração"), &STT_TipoApuracao, "PNL_TipoApuracao",
       &PNL_TipoApuracao, 201, 295, Qt::AlignLeft},
      {"STT_Modalidade", QStringLiteral(" Modalidade"), &STT_Modalidade, "PNL_Modalidade", &PNL_Modalidade, 500,
       302, Qt::AlignLeft},
      {"STT_Sequencial", QStringLiteral(" Sequencial"), &STT_Sequencial, "PNL_Sequencial", &PNL_Sequencial, 806, 64,
       Qt::AlignHCenter},
      {"STT_DataAberturaProposta", QStringLiteral(" Abertura Propostas"), &STT_DataAberturaProposta,
       "PNL_DataAberturaProposta", &PNL_DataAberturaProposta, 874, 130, Qt::AlignHCenter},
  };
  for (const Pair& pair : pairs) {
    *pair.captionBox =
        makeCaptionBox(PNL_Processo, pair.captionName, pair.text, QRect(pair.left, 5, pair.width, 15), caption);
    *pair.panel = makeValuePanel(PNL_Processo, pair.panelName, QRect(pair.left, 19, pair.width, 19), value, kNavy,
                                 pair.alignment);
  }
}

void TFRM_KLAVPropostas::buildObjetoGeral() {
  PNL_ObjetoGeral = makePanel(client_, "PNL_ObjetoGeral");
  STT_Objeto = makeCaptionBox(PNL_ObjetoGeral, "STT_Objeto", QStringLiteral(" Objeto"), QRect(5, 5, 999, 15),
                              fontOf(QStringLiteral("Arial"), 11));
  PNL_Objeto = new QFrame(PNL_ObjetoGeral);
  PNL_Objeto->setObjectName(QStringLiteral("PNL_Objeto"));
  PNL_Objeto->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PNL_Objeto->setGeometry(5, 19, 999, 45);
  RCH_Objeto = makeRichText(PNL_Objeto, "RCH_Objeto", QRect(1, 1, 997, 42));
}

void TFRM_KLAVPropostas::buildGrids() {
  PNL_Lote = makePanel(client_, "PNL_Lote");
  DBG_Lote = makeGrid(PNL_Lote, "DBG_Lote", QRect(5, 5, 999, 76));
  DST_Lote = new TDataSource(CDS_Lote,
                             {{"NRO_LOTE", QStringLiteral("Número"), Qt::AlignHCenter, 55},
                              {"DES_LOTE", QStringLiteral("Descrição do Lote"), Qt::AlignLeft, 922}});
  DST_Lote->setObjectName(QStringLiteral("DST_Lote"));
  bindGrid(DBG_Lote, DST_Lote);

  PNL_Grid = makePanel(client_, "PNL_Grid");
  DBG_Item = makeGrid(PNL_Grid, "DBG_Item", QRect(5, 5, 999, 313));
  DST_Processo = new TDataSource(CDS_Processo, {
                                                   {"NRO_ITEM", QStringLiteral("Item"), Qt::AlignRight, 39},
                                                   {"COD_PRODUTO", QStringLiteral("Código"), Qt::AlignRight, 41},
                                                   {"DES_PRODUTO", QStringLiteral("Descrição"), Qt::AlignLeft, kDescricaoWidth},
                                                   {"DES_UNIDADEMEDIDA", QStringLiteral("Unid Med"), Qt::AlignLeft, kUnidadeWidth},
                                                   {"QTD_PRODUTO", QStringLiteral("Quantidade"), Qt::AlignRight, 90},
                                                   {"QTD_PROPOSTA", QStringLiteral("Proposta"), Qt::AlignRight, 90},
                                                   {"VLR_PROPOSTA", QStringLiteral("Valor Unitário"), Qt::AlignRight, 100},
                                                   {"VLR_TOTALPROPOSTA", QStringLiteral("Valor Total"), Qt::AlignRight, 100},
                                               });
  DST_Processo->setObjectName(QStringLiteral("DST_Processo"));
  bindGrid(DBG_Item, DST_Processo);
}

void TFRM_KLAVPropostas::buildItem() {
  PNL_Item = makePanel(client_, "PNL_Item");
  const QFont sans = fontOf(QStringLiteral("MS Sans Serif"), 11);
  const QFont sansBold = fontOf(QStringLiteral("MS Sans Serif"), 11, true);
  STT_Especificacao = makeCaptionBox(PNL_Item, "STT_Especificacao", QStringLiteral(" Especificação"),
                                     QRect(5, 5, 999, 15), fontOf(QStringLiteral("Arial"), 11));
  PNL_Especificacao = new QFrame(PNL_Item);
  PNL_Especificacao->setObjectName(QStringLiteral("PNL_Especificacao"));
  PNL_Especificacao->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PNL_Especificacao->setGeometry(5, 19, 999, 31);
  RCH_Especificacao = makeRichText(PNL_Especificacao, "RCH_Especificacao", QRect(1, 1, 995, 28));

  STT_Marca = makeCaptionBox(PNL_Item, "STT_Marca", QStringLiteral(" Marca"), QRect(5, 54, 534, 16), sans);
  EDT_Marca = new QLineEdit(PNL_Item);
  EDT_Marca->setObjectName(QStringLiteral("EDT_Marca"));
  EDT_Marca->setGeometry(5, 69, 534, 21);
  EDT_Marca->setMaxLength(100);

  STT_Quantidade =
      makeCaptionBox(PNL_Item, "STT_Quantidade", QStringLiteral(" Quantidade"), QRect(543, 54, 120, 16), sans);
  MED_Quantidade = new controls::TMemoEdit(PNL_Item);
  MED_Quantidade->setObjectName(QStringLiteral("MED_Quantidade"));
  MED_Quantidade->setGeometry(543, 69, 120, 21);
  MED_Quantidade->SetMascara(kMaskNumber);
  MED_Quantidade->setMaxLength(20);
  PNL_Quantidade = makeValuePanel(PNL_Item, "PNL_Quantidade", QRect(543, 69, 120, 21), sansBold, Qt::black,
                                  Qt::AlignRight);

  STT_ValorUnitario = makeCaptionBox(PNL_Item, "STT_ValorUnitario", QStringLiteral(" Valor Unitário"),
                                     QRect(667, 54, 120, 16), sans);
  MED_ValorUnitario = new controls::TMemoEdit(PNL_Item);
  MED_ValorUnitario->setObjectName(QStringLiteral("MED_ValorUnitario"));
  MED_ValorUnitario->setGeometry(667, 69, 120, 21);
  MED_ValorUnitario->SetMascara(kMaskNumber);
  MED_ValorUnitario->setMaxLength(20);

  BBT_Gravar = makeButton(PNL_Item, "BBT_Gravar", QStringLiteral("Gravar"), QRect(797, 65, 75, 25),
                          QStringLiteral(":/window/document-save.png"));
  STT_ValorTotal =
      makeCaptionBox(PNL_Item, "STT_ValorTotal", QStringLiteral(" Valor Total"), QRect(884, 54, 120, 16), sans);
  PNL_ValorTotal = makeValuePanel(PNL_Item, "PNL_ValorTotal", QRect(884, 69, 120, 21), sansBold, Qt::black,
                                  Qt::AlignRight);
}

void TFRM_KLAVPropostas::buildBotoes() {
  PNL_Botoes = makePanel(client_, "PNL_Botoes");
  BBT_Limpar = makeButton(PNL_Botoes, "BBT_Limpar", QStringLiteral("Limpar"), QRect(5, 5, 110, 25),
                          QStringLiteral(":/window/document-new.png"));
  BBT_Arquivo = makeButton(PNL_Botoes, "BBT_Arquivo", QStringLiteral("Abrir Processo"), QRect(120, 5, 110, 25),
                           QStringLiteral(":/window/document-open-folder.png"));
  BBT_Arquivo->setProperty("Tag", proposals::kTagProcess);
  BBT_Proposta = makeButton(PNL_Botoes, "BBT_Proposta", QStringLiteral("Abrir Propostas"), QRect(235, 5, 110, 25),
                            QStringLiteral(":/window/document-open.png"));
  BBT_Proposta->setProperty("Tag", proposals::kTagProposals);
  BBT_Relatorio = makeButton(PNL_Botoes, "BBT_Relatorio", QStringLiteral("Relatorio"), QRect(350, 5, 110, 25),
                             QStringLiteral(":/window/document-print.png"));
  BBT_Encerrar = makeButton(PNL_Botoes, "BBT_Encerrar", QStringLiteral("Encerrar"), QRect(465, 5, 110, 25),
                            QStringLiteral(":/window/dialog-ok-apply.png"));
  SPB_Tutorial = new QToolButton(PNL_Botoes);
  SPB_Tutorial->setObjectName(QStringLiteral("SPB_Tutorial"));
  SPB_Tutorial->setText(QStringLiteral("F1 - Tutorial"));
  SPB_Tutorial->setIcon(QIcon(QStringLiteral(":/window/help-contents.png")));
  SPB_Tutorial->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  SPB_Tutorial->setAutoRaise(true);
  SPB_Tutorial->setFocusPolicy(Qt::NoFocus);
  SPB_Tutorial->setGeometry(894, 5, 110, 25);
}

// The panels live on a client area of the window's full size inside a
// scroll area without a frame: where the screen holds the whole window the
// two coincide; on a smaller screen the client area scrolls.
void TFRM_KLAVPropostas::buildClientArea() {
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName(QStringLiteral("SCR_Janela"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setFocusPolicy(Qt::NoFocus);  // not a stop of the tab order
  scroller->setBackgroundRole(QPalette::Button);
  client_ = new QWidget;
  client_->setObjectName(QStringLiteral("PNL_Janela"));
  client_->setFixedSize(kClientSize);
  client_->setBackgroundRole(QPalette::Button);
  client_->setAutoFillBackground(true);
  scroller->setWidget(client_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroller);
}

void TFRM_KLAVPropostas::placeOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const proposals::WindowPlace place =
      screen != nullptr ? proposals::placeWindow(screen->availableGeometry(), kClientSize, proposals::kAssumedFrame)
                        : proposals::WindowPlace{QPoint(0, 0), kClientSize};
  setFixedSize(place.shown);
  move(place.position);
}

// Top panels stack from the top, bottom panels from the bottom, and the grid
// panel fills what is left; a hidden panel takes no room.
void TFRM_KLAVPropostas::layoutPanels() {
  int top = 0;
  for (QWidget* panel : {static_cast<QWidget*>(PNL_Entidade), static_cast<QWidget*>(PNL_Chave1),
                         static_cast<QWidget*>(PNL_Processo), static_cast<QWidget*>(PNL_ObjetoGeral),
                         static_cast<QWidget*>(PNL_Lote)}) {
    static const QHash<QString, int> heights{{QStringLiteral("PNL_Entidade"), 35}, {QStringLiteral("PNL_Chave1"), 46},
                                             {QStringLiteral("PNL_Processo"), 43},
                                             {QStringLiteral("PNL_ObjetoGeral"), 69}, {QStringLiteral("PNL_Lote"), 86}};
    const int height = heights.value(panel->objectName());
    panel->setGeometry(0, top, client_->width(), height);
    if (!panel->isHidden()) top += height;
  }
  int bottom = client_->height();
  PNL_Botoes->setGeometry(0, bottom - 35, client_->width(), 35);
  bottom -= 35;
  PNL_Item->setGeometry(0, bottom - 95, client_->width(), 95);
  bottom -= 95;
  PNL_Grid->setGeometry(0, top, client_->width(), bottom - top);
}

void TFRM_KLAVPropostas::applyTabOrder() {
  const QList<QWidget*> order{CMB_Finalidade, CMB_Identificacao, MSK_CodigoNacional, EDT_NomeFornecedor,
                              BBT_GravarFornecedor, DBG_Lote, DBG_Item, EDT_Marca, MED_Quantidade,
                              MED_ValorUnitario, BBT_Gravar, BBT_Arquivo, BBT_Proposta, BBT_Relatorio,
                              BBT_Encerrar, BBT_Limpar};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TFRM_KLAVPropostas::guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const recordtable::SaveError& error) {
    // The system's cause in Portuguese, under the bare name of the file.
    const std::string name = std::filesystem::path(error.path()).filename().string();
    controls::showErrorBox(this, QString::fromStdString(proposals::writeFailureMessage(name, error.systemError())));
  } catch (const std::exception& error) {
    controls::showErrorBox(this, QString::fromUtf8(error.what()));
  } catch (...) {
    controls::showErrorBox(this, QString());
  }
}

void TFRM_KLAVPropostas::connectHandlers() {
  auto on = [this](auto* sender, auto signal, void (TFRM_KLAVPropostas::*handler)()) {
    connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
  };
  on(BBT_Limpar, &QPushButton::clicked, &TFRM_KLAVPropostas::BBT_LimparClick);
  on(CMB_Finalidade, &QComboBox::activated, &TFRM_KLAVPropostas::CMB_FinalidadeClick);
  on(CMB_Identificacao, &QComboBox::activated, &TFRM_KLAVPropostas::CMB_IdentificacaoClick);
  on(BBT_GravarFornecedor, &QPushButton::clicked, &TFRM_KLAVPropostas::BBT_GravarFornecedorClick);
  on(SPB_Tutorial, &QToolButton::clicked, &TFRM_KLAVPropostas::SPB_TutorialClick);
  on(BBT_Gravar, &QPushButton::clicked, &TFRM_KLAVPropostas::BBT_GravarClick);
  on(BBT_Encerrar, &QPushButton::clicked, &TFRM_KLAVPropostas::BBT_EncerrarClick);
  on(BBT_Relatorio, &QPushButton::clicked, &TFRM_KLAVPropostas::BBT_RelatorioClick);
  on(MED_Quantidade, &controls::TMemoEdit::OnExit, &TFRM_KLAVPropostas::MED_QuantidadeExit);
  on(DST_Lote, &TDataSource::afterScroll, &TFRM_KLAVPropostas::CDS_LoteAfterScroll);
  on(DST_Processo, &TDataSource::afterScroll, &TFRM_KLAVPropostas::CDS_ProcessoAfterScroll);
  for (QPushButton* button : {BBT_Arquivo, BBT_Proposta}) {
    connect(button, &QPushButton::clicked, this, [this, button] { guarded([this, button] { BBT_ArquivoClick(button); }); });
  }
  // A row picked in a grid (mouse, keys, wheel) becomes the table's current record.
  for (auto [grid, source] : {std::pair{DBG_Lote, DST_Lote}, std::pair{DBG_Item, DST_Processo}}) {
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, source = source](const QModelIndex& current) {
              if (current.isValid()) guarded([&] { source->moveToRow(current.row()); });
            });
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
  }
  PNL_Grid->installEventFilter(this);
  PNL_Lote->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, &TFRM_KLAVPropostas::followFocusChange);
}

bool TFRM_KLAVPropostas::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PNL_Grid && event->type() == QEvent::Resize) {
    guarded([this] { PNL_GridResize(); });
  } else if (watched == PNL_Lote && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
    layoutPanels();
  } else if (event->type() == QEvent::Wheel &&
             (watched == DBG_Lote->viewport() || watched == DBG_Item->viewport())) {
    // The wheel moves the current row, one row per notch, as the arrows do.
    auto* grid = watched == DBG_Lote->viewport() ? DBG_Lote : DBG_Item;
    const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
    const int rows = grid->model()->rowCount();
    if (notches != 0 && rows > 0) {
      const int row = std::clamp(grid->currentIndex().row() - notches, 0, rows - 1);
      grid->setCurrentIndex(grid->model()->index(row, qMax(grid->currentIndex().column(), 0)));
    }
    return true;
  } else if (watched == DBG_Lote || watched == DBG_Item) {
    const bool lote = watched == DBG_Lote;
    controls::FocusVisit& visit = lote ? loteVisit_ : itemVisit_;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (proposals::isDiscardedGridKey(key->key(), key->modifiers())) {
        event->accept();
        return true;
      }
    } else if (event->type() == QEvent::FocusIn) {
      if (visit.focusIn()) guarded([this, lote] { lote ? DBG_LoteEnter() : DBG_ItemEnter(); });
    } else if (event->type() == QEvent::FocusOut) {
      // Left is a grid that is no longer its window's focus widget, whatever
      // moved the focus (Tab, Shift+Tab, a click, the program); another
      // window or a dialog in front takes the keyboard focus but not that.
      if (visit.focusOut(controls::windowFocusOf(*static_cast<QWidget*>(watched)))) {
        guarded([this, lote] { lote ? DBG_LoteExit() : DBG_ItemExit(); });
      }
    } else if (event->type() == QEvent::Hide) {
      visit.reset();
    }
  }
  return QWidget::eventFilter(watched, event);
}

// The supplier panel is left when the window's focus moves from one of its
// controls to a control outside it. The focus held by dialogs in front, and
// the moments when no control has it (the panel was just disabled), do not
// count: the last control of this window that had the focus is compared.
void TFRM_KLAVPropostas::followFocusChange(QWidget*, QWidget* now) {
  if (!now || now->window() != this) return;
  const QPointer<QWidget> before = lastFocus_;
  lastFocus_ = now;
  if (before && PNL_Chave1->isAncestorOf(before) && !PNL_Chave1->isAncestorOf(now)) {
    guarded([this] { PNL_Chave1Exit(); });
  }
}

void TFRM_KLAVPropostas::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  guarded([this] { FormShow(); });
}

void TFRM_KLAVPropostas::closeEvent(QCloseEvent* event) {
  bool closing = true;
  guarded([this, &closing] { closing = confirmDiscardingUnwritten(); });
  if (!closing) {
    event->ignore();
    return;
  }
  guarded([this] { FormClose(); });
  event->accept();
}

// ---- operations ----------------------------------------------------------

void TFRM_KLAVPropostas::SetPanelEnabled(QWidget* panel, bool enabled) {
  for (QObject* child : panel->children()) {
    if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow()) widget->setEnabled(enabled);
  }
  panel->setEnabled(enabled);
}

void TFRM_KLAVPropostas::ClearForm() {
  CDS_Processo.close();
  CDS_Processo.setFiltered(false);
  CDS_Processo.setFilterText("");
  CDS_Lote.close();
  MSK_CodigoNacional->clear();
  EDT_NomeFornecedor->clear();
  for (QLabel* panel : {PNL_AnoExercicioProcesso, PNL_NumeroProcesso, PNL_DataProcesso, PNL_TipoApuracao,
                        PNL_Modalidade, PNL_Sequencial, PNL_DataAberturaProposta}) {
    panel->clear();
  }
  RCH_Objeto->clear();
  RCH_Especificacao->clear();
  EDT_Marca->clear();
  MED_Quantidade->clear();
  PNL_Quantidade->hide();
  MED_Quantidade->show();
  MED_ValorUnitario->clear();
  PNL_ValorTotal->setText(QStringLiteral("0,00 "));
  LBL_NomeEntidade->clear();
  LBL_NomeMunicipio->clear();
  LBL_NumeroCNPJ->clear();
  PNL_Lote->hide();
  for (QWidget* button : {BBT_Gravar, BBT_Arquivo, BBT_Proposta, BBT_Relatorio, BBT_Encerrar}) {
    button->setEnabled(false);
  }
  for (QWidget* panel : {PNL_Processo, PNL_ObjetoGeral, PNL_Lote, PNL_Item, PNL_Grid}) SetPanelEnabled(panel, false);
  CMB_Finalidade->setCurrentIndex(-1);
  CMB_Identificacao->setCurrentIndex(proposals::indexOfIdentification(proposals::Identification::Cnpj));
  CMB_IdentificacaoClick();
  BBT_Limpar->setEnabled(false);
  PNL_Chave1->setEnabled(true);
  LotGridActive = false;
  unwrittenProposals_ = false;
  recoveryKey_.reset();
  openFile_.clear();
  openTag_ = -1;
  openPurpose_.reset();
  CMB_Finalidade->setFocus(Qt::OtherFocusReason);
}

bool TFRM_KLAVPropostas::IsValidCNPF(QString number) const { return ::IsValidCNPF(number); }
bool TFRM_KLAVPropostas::IsValidCNPJ(QString number) const { return ::IsValidCNPJ(number); }

QString TFRM_KLAVPropostas::NumberText() const {
  return proposals::numberTextFromDisplay(MSK_CodigoNacional->displayText());
}

std::optional<proposals::Purpose> TFRM_KLAVPropostas::pickedPurpose() const {
  return proposals::purposeAtIndex(CMB_Finalidade->currentIndex());
}

proposals::Identification TFRM_KLAVPropostas::pickedIdentification() const {
  return proposals::identificationAtIndex(CMB_Identificacao->currentIndex());
}

// ---- handlers of the window -------------------------------------------------

void TFRM_KLAVPropostas::FormShow() { ClearForm(); }

void TFRM_KLAVPropostas::BBT_LimparClick() {
  if (!confirmDiscardingUnwritten()) return;
  ClearForm();
}

void TFRM_KLAVPropostas::PNL_Chave1Exit() { BBT_Limpar->setEnabled(true); }

void TFRM_KLAVPropostas::CMB_FinalidadeClick() {
  const bool licitacao = pickedPurpose() == proposals::Purpose::PL;
  BBT_Arquivo->setText(licitacao ? QStringLiteral("Abrir Processo") : QStringLiteral("Abrir Cotação"));
  STT_NumeroProcesso->setText(licitacao ? QStringLiteral(" Processo") : QStringLiteral(" Cotação"));
  for (QWidget* control : {static_cast<QWidget*>(STT_Modalidade), static_cast<QWidget*>(PNL_Modalidade),
                           static_cast<QWidget*>(PNL_Sequencial), static_cast<QWidget*>(STT_Sequencial),
                           static_cast<QWidget*>(STT_DataAberturaProposta),
                           static_cast<QWidget*>(PNL_DataAberturaProposta)}) {
    control->setVisible(licitacao);
  }
  BBT_GravarFornecedor->setEnabled(true);
  BBT_Proposta->setEnabled(true);
}

void TFRM_KLAVPropostas::PNL_GridResize() { DBG_Item->resize(DBG_Item->width(), PNL_Grid->height() - 10); }

void TFRM_KLAVPropostas::SPB_TutorialClick() {
  auto tutorial = std::make_unique<TFRM_Tutorial>();
  tutorial->setAttribute(Qt::WA_DeleteOnClose, false);
  tutorial->exec();
}

void TFRM_KLAVPropostas::FormClose() { CDS_Lote.close(); }

// ---- supplier identification ---------------------------------------------------

void TFRM_KLAVPropostas::CMB_IdentificacaoClick() {
  const bool cnpf = pickedIdentification() == proposals::Identification::Cnpf;
  STT_CodigoNacional->setText(cnpf ? QStringLiteral(" C N P F") : QStringLiteral(" C N P J"));
  // Changing the mask keeps what fits of the number typed so far.
  const QString number = NumberText();
  MSK_CodigoNacional->setInputMask(proposals::supplierInputMask(pickedIdentification()));
  MSK_CodigoNacional->setText(number);
  STT_NomeFornecedor->setText(cnpf ? QStringLiteral(" Nome") : QStringLiteral(" Razão Social"));
}

void TFRM_KLAVPropostas::BBT_GravarFornecedorClick() {
  if (!CheckSupplier()) return;
  BBT_Arquivo->setEnabled(true);
  PNL_Chave1->setEnabled(false);
  BBT_Arquivo->setFocus();
}

bool TFRM_KLAVPropostas::checkSupplierNumberGiven() {
  if (!NumberText().trimmed().isEmpty()) return true;
  MSK_CodigoNacional->setFocus();
  ShowMessageBox(QStringLiteral("ADV"),
                 pickedIdentification() == proposals::Identification::Cnpf
                     ? QStringLiteral("O número do CNPF deve ser informado.")
                     : QStringLiteral("O número do CNPJ deve ser informado."),
                 false);
  MSK_CodigoNacional->setFocus();
  return false;
}

bool TFRM_KLAVPropostas::CheckSupplier() {
  if (!checkSupplierNumberGiven()) return false;
  const bool cnpf = pickedIdentification() == proposals::Identification::Cnpf;
  const QString number = NumberText();
  if (cnpf ? !IsValidCNPF(number) : !IsValidCNPJ(number)) {
    MSK_CodigoNacional->setFocus();
    ShowMessageBox(QStringLiteral("ERR"),
                   cnpf ? QStringLiteral("Número do CNPF inválido") : QStringLiteral("Número do CNPJ inválido"), false);
    MSK_CodigoNacional->setFocus();
    return false;
  }
  if (EDT_NomeFornecedor->text().trimmed().isEmpty()) {
    EDT_NomeFornecedor->setFocus();
    ShowMessageBox(QStringLiteral("ADV"), QStringLiteral("O nome / razão social do fornecedor deve ser informado."),
                   false);
    EDT_NomeFornecedor->setFocus();
    return false;
  }
  return true;
}
