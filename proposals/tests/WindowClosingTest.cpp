// "Encerrar" through the real window where the supplier panel or the folder
// could make the written file wrong: the panel checked as "Confirmar" checks
// it and written into every row, the name's prefix from the purpose the file
// was read under, and an existing proposals file replaced only on Ok.
#include <QDir>

#include "RecoveryFixture.h"

namespace proposals_testing {
namespace {

const QString kProposalsName = QStringLiteral("PL_000014_2011_12345678000195.PRO");

// The supplier panel edited after "Abrir Propostas", then "Encerrar".
struct PanelCase {
  const char* name;
  std::function<void(RecoveryWindowTest&)> edit;
  // The message expected, kind and text; none when the file is written.
  const char* kind;
  const char* text;
  // The control that gets the focus after the message.
  std::function<QWidget*(TFRM_KLAVPropostas&)> focus;
};

const PanelCase kPanelCases[] = {
    {"NumberEmptied", [](RecoveryWindowTest& t) { t.typeInto(t.window->MSK_CodigoNacional, QString()); }, "ADV",
     "O número do CNPJ deve ser informado.", [](TFRM_KLAVPropostas& w) -> QWidget* { return w.MSK_CodigoNacional; }},
    {"NumberWithWrongCheckDigits",
     [](RecoveryWindowTest& t) { t.typeInto(t.window->MSK_CodigoNacional, QStringLiteral("12345678000100")); }, "ERR",
     "Número do CNPJ inválido", [](TFRM_KLAVPropostas& w) -> QWidget* { return w.MSK_CodigoNacional; }},
    {"CnpjNumberUnderCnpf",
     [](RecoveryWindowTest& t) { t.pickIdentification(proposals::Identification::Cnpf); }, "ERR", "Número do CNPF inválido",
     [](TFRM_KLAVPropostas& w) -> QWidget* { return w.MSK_CodigoNacional; }},
    {"NameOfBlanks", [](RecoveryWindowTest& t) { t.typeInto(t.window->EDT_NomeFornecedor, QStringLiteral("   ")); },
     "ADV", "O nome / razão social do fornecedor deve ser informado.",
     [](TFRM_KLAVPropostas& w) -> QWidget* { return w.EDT_NomeFornecedor; }},
};

void PrintTo(const PanelCase& c, std::ostream* os) { *os << c.name; }

class PanelTest : public RecoveryWindowTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelTest, AFailingSupplierCheckWritesNothing) {
  const PanelCase& c = GetParam();
  const QString opened = proposalsFixture(QStringLiteral("PL_000014_2011"), kProposalsName);
  const QByteArray before = bytesOf(opened);
  pickPurpose(proposals::Purpose::PL);
  openFile(window->BBT_Proposta, opened);
  ASSERT_TRUE(messages.empty());
  ASSERT_TRUE(window->PNL_Chave1->isEnabled());
  const QStringList files = QDir(scratch.path()).entryList(QDir::Files);

  c.edit(*this);
  ASSERT_TRUE(messages.empty());
  click(window->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, QString::fromUtf8(c.kind));
  EXPECT_EQ(messages[0].text, QString::fromUtf8(c.text));
  EXPECT_FALSE(messages[0].withCancel);
  EXPECT_EQ(QApplication::focusWidget(), c.focus(*window));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), files);
  EXPECT_EQ(bytesOf(opened), before);
}

INSTANTIATE_TEST_SUITE_P(Edits, PanelTest, ::testing::ValuesIn(kPanelCases),
                         [](const ::testing::TestParamInfo<PanelCase>& info) { return info.param.name; });

TEST_F(RecoveryWindowTest, AnotherSupplierTypedAfterOpeningNamesTheFileAndFillsEveryRow) {
  const QString opened = proposalsFixture(QStringLiteral("PL_000014_2011"), kProposalsName);
  const QByteArray before = bytesOf(opened);
  pickPurpose(proposals::Purpose::PL);
  openFile(window->BBT_Proposta, opened);
  ASSERT_TRUE(messages.empty());
  pickIdentification(proposals::Identification::Cnpf);
  typeInto(window->MSK_CodigoNacional, QStringLiteral("11144477735"));
  typeInto(window->EDT_NomeFornecedor, QStringLiteral("  José da Silva  "));
  click(window->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_EQ(messages[0].text,
            u"O arquivo\nPL_000014_2011_11144477735.PRO\nfoi gravado com êxito.\nO programa será encerrado.");
  const StoredRows rows = storedRows(scratch.filePath(QStringLiteral("PL_000014_2011_11144477735.PRO")));
  ASSERT_EQ(rows.size(), 16u);
  for (const auto& [key, row] : rows) {
    EXPECT_EQ(row.supplier, "11144477735") << key.second;
    EXPECT_EQ(row.name, "José da Silva") << key.second;
  }
  EXPECT_EQ(bytesOf(opened), before);  // the other supplier's file stays
}

TEST_F(RecoveryWindowTest, APurposePickedAfterOpeningDoesNotRenameTheFile) {
  const QString opened = proposalsFixture(QStringLiteral("PL_000014_2011"), kProposalsName);
  pickPurpose(proposals::Purpose::PL);
  openFile(window->BBT_Proposta, opened);
  ASSERT_TRUE(messages.empty());
  pickPurpose(proposals::Purpose::CP);
  ASSERT_EQ(window->BBT_Arquivo->text(), u"Abrir Cotação");
  click(window->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_TRUE(messages[0].text.contains(kProposalsName)) << messages[0].text.toStdString();
  EXPECT_EQ(QDir(scratch.path()).entryList({QStringLiteral("CP_*")}, QDir::Files), QStringList());
  EXPECT_EQ(storedRows(opened).at({1, 1}).supplier, kSupplierCnpj);
}

TEST_F(RecoveryWindowTest, AFinishedProposalsFileIsReplacedOnlyOnOkAndItsReopeningAsksNothing) {
  // Yesterday's finished proposal lies next to the process file.
  const QString yesterday = proposalsFixture(QStringLiteral("PL_000014_2011"), kProposalsName);
  const QByteArray before = bytesOf(yesterday);
  const QString process = sample(QStringLiteral("PL_000014_2011"));
  TFRM_KLAVPropostas* w = window.get();
  confirmSupplier(proposals::Purpose::PL);
  openFile(w->BBT_Arquivo, process);
  click(w->DBG_Lote);
  QTest::keyClick(w->DBG_Lote, Qt::Key_End, Qt::ControlModifier);
  click(w->DBG_Item);
  propose(QStringLiteral("Soro"), QStringLiteral("3,5"));
  ASSERT_TRUE(messages.empty());

  const QString question = QStringLiteral("Já existe o arquivo\n") + kProposalsName +
                           QStringLiteral("\nDeseja substituí-lo?");
  answers = {false};
  click(w->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"CON");
  EXPECT_EQ(messages[0].text, question);
  EXPECT_TRUE(messages[0].withCancel);
  EXPECT_EQ(bytesOf(yesterday), before);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->HasUnwrittenProposals());

  messages.clear();
  answers = {true};
  click(w->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, question);
  EXPECT_EQ(messages[1].kind, u"INF");
  EXPECT_EQ(storedRows(yesterday).at({4, 16}).total, 31500);

  // Reopened and closed again: replaced without a question.
  ASSERT_NO_FATAL_FAILURE(newWindow());
  pickPurpose(proposals::Purpose::PL);
  openFile(window->BBT_Proposta, yesterday);
  ASSERT_TRUE(messages.empty());
  click(window->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
}

}  // namespace
}  // namespace proposals_testing
