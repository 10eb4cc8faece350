// The main window at start-up, its layout, phases and transitions, and the
// supplier identification with every message.
#include <QHeaderView>

#include "ProposalRules.h"
#include "SupplierKey.h"
#include "WindowFixture.h"

namespace proposals_testing {
namespace {

// Enabled state of the action controls, as the user can reach them.
struct Usable {
  bool confirmar, arquivo, proposta, relatorio, encerrar, limpar, gravar, panels;
};

void expectUsable(TFRM_KLAVPropostas& w, const Usable& u, const char* phase) {
  SCOPED_TRACE(phase);
  // Its own state; inside the locked panel it cannot be reached either way.
  EXPECT_EQ(!w.BBT_GravarFornecedor->testAttribute(Qt::WA_ForceDisabled), u.confirmar);
  EXPECT_EQ(w.BBT_Arquivo->isEnabled(), u.arquivo);
  EXPECT_EQ(w.BBT_Proposta->isEnabled(), u.proposta);
  EXPECT_EQ(w.BBT_Relatorio->isEnabled(), u.relatorio);
  EXPECT_EQ(w.BBT_Encerrar->isEnabled(), u.encerrar);
  EXPECT_EQ(w.BBT_Limpar->isEnabled(), u.limpar);
  EXPECT_EQ(!w.BBT_Gravar->testAttribute(Qt::WA_ForceDisabled), u.gravar);
  for (QWidget* panel : {w.PNL_Processo, w.PNL_ObjetoGeral, w.PNL_Lote, w.PNL_Item, w.PNL_Grid}) {
    EXPECT_EQ(panel->isEnabled(), u.panels) << panel->objectName().toStdString();
  }
  EXPECT_TRUE(w.SPB_Tutorial->isEnabled());
}

TEST_F(WindowTest, StartStateAndLayout) {
  TFRM_KLAVPropostas& w = *window;
  EXPECT_EQ(w.size(), QSize(1009, 646));
  EXPECT_EQ(w.windowTitle(), u"Tavurel - Registro de Propostas");
  EXPECT_TRUE(w.CMB_Finalidade->hasFocus());
  EXPECT_EQ(w.CMB_Finalidade->currentIndex(), -1);
  EXPECT_EQ(w.CMB_Identificacao->currentText(), u"C N P J");
  EXPECT_EQ(w.STT_CodigoNacional->text(), u" C N P J");
  EXPECT_EQ(w.STT_NomeFornecedor->text(), u" Razão Social");
  EXPECT_EQ(w.PNL_ValorTotal->text(), u"0,00 ");
  EXPECT_EQ(w.BBT_Arquivo->text(), u"Abrir Processo");
  expectUsable(w, {true, false, false, false, false, false, false, false}, "start");
  EXPECT_TRUE(w.PNL_Chave1->isEnabled());

  // Panels stacked from the top and the bottom; the grid panel fills the rest.
  EXPECT_EQ(w.PNL_Entidade->geometry(), QRect(0, 0, 1009, 35));
  EXPECT_EQ(w.PNL_Chave1->geometry(), QRect(0, 35, 1009, 46));
  EXPECT_EQ(w.PNL_Processo->geometry(), QRect(0, 81, 1009, 43));
  EXPECT_EQ(w.PNL_ObjetoGeral->geometry(), QRect(0, 124, 1009, 69));
  EXPECT_TRUE(w.PNL_Lote->isHidden());
  EXPECT_EQ(w.PNL_Grid->geometry(), QRect(0, 193, 1009, 323));
  EXPECT_EQ(w.DBG_Item->geometry(), QRect(5, 5, 999, 313));
  EXPECT_EQ(w.PNL_Item->geometry(), QRect(0, 516, 1009, 95));
  EXPECT_EQ(w.PNL_Botoes->geometry(), QRect(0, 611, 1009, 35));
  EXPECT_EQ(w.MED_Quantidade->geometry(), QRect(543, 69, 120, 21));
  EXPECT_EQ(w.PNL_Quantidade->geometry(), w.MED_Quantidade->geometry());
  EXPECT_EQ(w.SPB_Tutorial->focusPolicy(), Qt::NoFocus);

  // Column titles and widths of both grids.
  const QStringList itemTitles{"Item", "Código", "Descrição", "Unid Med", "Quantidade", "Proposta",
                               "Valor Unitário", "Valor Total"};
  // "Unid Med" holds ten capitals; "Descrição" gives it the room.
  const int itemWidths[] = {39, 41, 432, 78, 90, 90, 100, 100};
  for (int c = 0; c < itemTitles.size(); ++c) {
    EXPECT_EQ(w.DBG_Item->model()->headerData(c, Qt::Horizontal).toString(), itemTitles[c]);
    EXPECT_EQ(w.DBG_Item->columnWidth(c), itemWidths[c]);
  }
  EXPECT_EQ(w.DBG_Lote->model()->headerData(1, Qt::Horizontal).toString(), u"Descrição do Lote");
  EXPECT_EQ(w.DBG_Lote->columnWidth(0), 55);

  // Moving inside the supplier panel does not make "Limpar" usable.
  QTest::keyClick(w.CMB_Finalidade, Qt::Key_Tab);
  EXPECT_TRUE(w.CMB_Identificacao->hasFocus());
  EXPECT_FALSE(w.BBT_Limpar->isEnabled());
}

TEST_F(WindowTest, PurposePickAndTheSelectionsTheProgramSets) {
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::Purpose::CP);
  EXPECT_EQ(w.BBT_Arquivo->text(), u"Abrir Cotação");
  EXPECT_EQ(w.STT_NumeroProcesso->text(), u" Cotação");
  EXPECT_TRUE(w.PNL_Modalidade->isHidden());
  EXPECT_TRUE(w.STT_DataAberturaProposta->isHidden());
  // Picking a purpose makes "Abrir Propostas" usable before any supplier.
  EXPECT_TRUE(w.BBT_Proposta->isEnabled());
  EXPECT_FALSE(w.BBT_Arquivo->isEnabled());

  // "Limpar" clears the selection without running the pick handler: the
  // captions of the last pick stay.
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP));
  click(w.BBT_Limpar);
  EXPECT_EQ(w.CMB_Finalidade->currentIndex(), -1);
  EXPECT_EQ(w.BBT_Arquivo->text(), u"Abrir Cotação");
  EXPECT_TRUE(w.PNL_Modalidade->isHidden());
  EXPECT_FALSE(w.BBT_Proposta->isEnabled());
  EXPECT_TRUE(w.CMB_Finalidade->hasFocus());

  pickPurpose(proposals::Purpose::PL);
  EXPECT_EQ(w.BBT_Arquivo->text(), u"Abrir Processo");
  EXPECT_EQ(w.STT_NumeroProcesso->text(), u" Processo");
  EXPECT_FALSE(w.PNL_Modalidade->isHidden());
}

TEST_F(WindowTest, IdentificationSetsCaptionsAndMaskAndKeepsTheNumber) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12345678000195")));
  EXPECT_EQ(w.MSK_CodigoNacional->displayText(), u"12.345.678/0001-95");
  EXPECT_EQ(w.NumberText(), u"12345678000195");
  pickIdentification(proposals::Identification::Cnpf);
  EXPECT_EQ(w.STT_CodigoNacional->text(), u" C N P F");
  EXPECT_EQ(w.STT_NomeFornecedor->text(), u" Nome");
  EXPECT_EQ(w.MSK_CodigoNacional->displayText(), u"123.456.780-00");
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("1a2b3.4")));  // letters are refused in a CNPF
  EXPECT_EQ(w.NumberText(), u"1234");
}

TEST_F(WindowTest, AlphanumericCnpjIsTypedInUpperCaseAndAccepted) {
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::Purpose::PL);
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12abc34501de35")));
  EXPECT_EQ(w.MSK_CodigoNacional->displayText(), u"12.ABC.345/01DE-35");
  EXPECT_EQ(w.NumberText(), u"12ABC34501DE35");
  // Letters do not go into the last two positions.
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12abc34501deXY")));
  EXPECT_EQ(w.NumberText(), u"12ABC34501DE");
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12abc34501de35")));
  ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_NomeFornecedor, QStringLiteral("Comércio Alfa")));
  click(w.BBT_GravarFornecedor);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(w.PNL_Chave1->isEnabled());
  EXPECT_TRUE(w.BBT_Arquivo->hasFocus());
}

TEST_F(WindowTest, ConfirmationMessagesKindsAndFocus) {
  struct Case {
    int identification;
    const char* number;
    const char* name;
    const char* kind;
    const char* text;
    const char* focus;
  };
  const Case cases[] = {
      {1, "", "Fornecedor", "ADV", "O número do CNPJ deve ser informado.", "MSK_CodigoNacional"},
      {0, "", "Fornecedor", "ADV", "O número do CNPF deve ser informado.", "MSK_CodigoNacional"},
      {1, "12345678000196", "Fornecedor", "ERR", "Número do CNPJ inválido", "MSK_CodigoNacional"},
      {1, "1234567800019", "Fornecedor", "ERR", "Número do CNPJ inválido", "MSK_CodigoNacional"},
      {1, "12ABC34501DE36", "Fornecedor", "ERR", "Número do CNPJ inválido", "MSK_CodigoNacional"},
      {1, "00000000000000", "Fornecedor", "ERR", "Número do CNPJ inválido", "MSK_CodigoNacional"},
      {0, "12345678900", "Fornecedor", "ERR", "Número do CNPF inválido", "MSK_CodigoNacional"},
      {0, "123456789", "Fornecedor", "ERR", "Número do CNPF inválido", "MSK_CodigoNacional"},
      {1, "12345678000195", "   ", "ADV", "O nome / razão social do fornecedor deve ser informado.",
       "EDT_NomeFornecedor"},
      {0, "12345678909", "", "ADV", "O nome / razão social do fornecedor deve ser informado.",
       "EDT_NomeFornecedor"},
  };
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::Purpose::CP);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    messages.clear();
    pickIdentification(proposals::identificationAtIndex(c.identification));
    ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QString::fromUtf8(c.number)));
    ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_NomeFornecedor, QString::fromUtf8(c.name)));
    click(w.BBT_GravarFornecedor);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, QString::fromUtf8(c.kind));
    EXPECT_EQ(messages[0].text, QString::fromUtf8(c.text));
    EXPECT_FALSE(messages[0].withCancel);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromUtf8(c.focus));
    EXPECT_TRUE(w.PNL_Chave1->isEnabled());
    EXPECT_FALSE(w.BBT_Arquivo->isEnabled());
  }
  // A number with an empty position inside is invalid, not an error of another kind.
  messages.clear();
  pickIdentification(proposals::Identification::Cnpj);
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12345678")));
  QTest::keyClick(w.MSK_CodigoNacional, Qt::Key_Right);
  typeText(w.MSK_CodigoNacional, QStringLiteral("000195"));
  ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_NomeFornecedor, QStringLiteral("Fornecedor")));
  click(w.BBT_GravarFornecedor);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, u"Número do CNPJ inválido");
}

TEST_F(WindowTest, ConfirmedSupplierLocksThePanelUntilLimpar) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::PL, QStringLiteral("11144477735"), QStringLiteral("Maria")));
  EXPECT_FALSE(w.PNL_Chave1->isEnabled());
  EXPECT_TRUE(w.BBT_Arquivo->hasFocus());
  expectUsable(w, {true, true, true, false, false, true, false, false}, "supplier confirmed");
  click(w.BBT_Limpar);
  EXPECT_TRUE(w.PNL_Chave1->isEnabled());
  EXPECT_TRUE(w.NumberText().isEmpty());
  EXPECT_TRUE(w.EDT_NomeFornecedor->text().isEmpty());
  EXPECT_EQ(w.CMB_Identificacao->currentIndex(), 1);
  expectUsable(w, {true, false, false, false, false, false, false, false}, "after Limpar");
}

}  // namespace
}  // namespace proposals_testing
