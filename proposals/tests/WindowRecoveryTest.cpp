// Stored but unwritten proposals through the real window: the question
// before closing, "Limpar" or opening another file throws them away, the
// recovery record offered when the same file is opened again (also after the
// program was killed), and a damaged record file moved aside.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>

#include "RecoveryFixture.h"

namespace proposals_testing {
namespace {

const QString kDiscardQuestion = QStringLiteral(
    "Existem propostas gravadas que ainda não foram salvas no arquivo de propostas.\nDeseja descartá-las?");

// The recovery question with its date read back; nothing when the text is
// another.
std::optional<QDateTime> recoveryQuestionDate(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral(
      "^Foram encontradas propostas não encerradas deste arquivo, gravadas em (\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d)\\."
      "\nDeseja recuperá-las\\?$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  return QDateTime::fromString(match.captured(1), QStringLiteral("dd/MM/yyyy hh:mm"));
}

QDateTime thisMinute() {
  QDateTime now = QDateTime::currentDateTime();
  now.setTime(QTime(now.time().hour(), now.time().minute()));
  return now;
}

// ---- a program killed after three "Gravar"s ---------------------------------

const char* const kChildFile = "PROPOSALS_RECOVERY_CHILD_FILE";
const char* const kChildData = "PROPOSALS_RECOVERY_CHILD_DATA";
const char* const kChildDone = "TRES PROPOSTAS GRAVADAS";

// Run only as the child of the test below, which names the process file in
// the environment and kills this process once it has reported.
TEST_F(RecoveryWindowTest, DISABLED_ChildStoresThreeProposalsAndWaitsToBeKilled) {
  const QString process = qEnvironmentVariable(kChildFile);
  ASSERT_FALSE(process.isEmpty());
  // The parent's data folder, where the parent looks for the record.
  qputenv("XDG_DATA_HOME", qgetenv(kChildData));
  confirmSupplier(proposals::Purpose::PL);
  openFile(window->BBT_Arquivo, process);
  ASSERT_TRUE(messages.empty());
  propose(QStringLiteral("Medley"), QStringLiteral("2,5"));
  propose(QStringLiteral("Cremer"), QStringLiteral("0,125"), QStringLiteral("1000"));
  propose(QStringLiteral("Soro Fisiológico"), QStringLiteral("3"));
  ASSERT_TRUE(messages.empty());
  std::fputs(kChildDone, stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
  QTest::qWait(60000);
  FAIL() << "the parent did not kill this process";
}

TEST_F(RecoveryWindowTest, ThreeProposalsSurviveTheProgramKilledAndComeBackOnTheSameFile) {
  const QString process = sample(QStringLiteral("PL_000001_2010"));
  const QDateTime started = thisMinute();
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QLatin1String(kChildFile), process);
  environment.insert(QLatin1String(kChildData), qEnvironmentVariable("XDG_DATA_HOME"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=RecoveryWindowTest.DISABLED_ChildStoresThreeProposalsAndWaitsToBeKilled")});
  ASSERT_TRUE(child.waitForStarted());
  QByteArray output;
  const bool reported = waitFor(
      [&] {
        child.waitForReadyRead(50);
        output += child.readAllStandardOutput();
        return output.contains(kChildDone) || child.state() == QProcess::NotRunning;
      },
      90000);
  ASSERT_TRUE(reported && output.contains(kChildDone)) << output.toStdString();
  child.kill();  // SIGKILL: nothing of the child runs after this
  ASSERT_TRUE(child.waitForFinished(10000));
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

  // Started again: the same supplier opens the same file.
  ASSERT_NO_FATAL_FAILURE(newWindow());
  TFRM_KLAVPropostas& w = *window;
  confirmSupplier(proposals::Purpose::PL);
  answers = {true};
  openFile(w.BBT_Arquivo, process);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"CON");
  EXPECT_TRUE(messages[0].withCancel);
  const std::optional<QDateTime> date = recoveryQuestionDate(messages[0].text);
  ASSERT_TRUE(date.has_value()) << messages[0].text.toStdString();
  EXPECT_GE(*date, started);
  EXPECT_LE(*date, QDateTime::currentDateTime());

  // As after a "Gravar": the values in their items, the total, "Encerrar".
  EXPECT_EQ(w.EDT_Marca->text(), u"Medley");
  EXPECT_EQ(w.MED_ValorUnitario->text(), u"2,5000");
  EXPECT_EQ(w.PNL_ValorTotal->text(), u"13.475,00 ");  // 4 800 x 2,5 + 1 000 x 0,125 + 450 x 3
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled());
  EXPECT_TRUE(w.BBT_Relatorio->isEnabled());
  EXPECT_TRUE(w.HasUnwrittenProposals());

  messages.clear();
  answers = {true};  // items without proposals: close anyway
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].kind, u"INF");
  const StoredRows rows = storedRows(scratch.filePath(QStringLiteral("PL_000001_2010_12345678000195.PRO")));
  ASSERT_EQ(rows.size(), 30u);
  const StoredRow& first = rows.at({1, 1});
  EXPECT_EQ(first.brand, "Medley");
  EXPECT_EQ(first.quantity, 4800);
  EXPECT_EQ(first.price, 2.5);
  EXPECT_EQ(first.total, 12000);
  const StoredRow& second = rows.at({1, 2});
  EXPECT_EQ(second.brand, "Cremer");
  EXPECT_EQ(second.quantity, 1000);
  EXPECT_EQ(second.price, 0.125);
  EXPECT_EQ(second.total, 125);
  const StoredRow& third = rows.at({1, 3});
  EXPECT_EQ(third.brand, "Soro Fisiológico");
  EXPECT_EQ(third.quantity, 450);
  EXPECT_EQ(third.total, 1350);
  EXPECT_EQ(rows.at({1, 4}).price, 0);
  // Written: the record is gone.
  EXPECT_FALSE(recorded(keyOf(process)).has_value());
}

// ---- the question before unwritten proposals are discarded --------------------

struct DiscardCase {
  const char* name;
  // Prepares what the action needs (a file to pick) before the proposal.
  std::function<QString(RecoveryWindowTest&)> prepare;
  std::function<void(RecoveryWindowTest&, const QString& prepared)> act;
  // Whether the action went through.
  std::function<bool(TFRM_KLAVPropostas&)> done;
};

const DiscardCase kDiscardCases[] = {
    {"CloseTheWindow", [](RecoveryWindowTest&) { return QString(); },
     [](RecoveryWindowTest& t, const QString&) { t.window->close(); },
     [](TFRM_KLAVPropostas& w) { return !w.isVisible(); }},
    {"Limpar", [](RecoveryWindowTest&) { return QString(); },
     [](RecoveryWindowTest& t, const QString&) { t.click(t.window->BBT_Limpar); },
     [](TFRM_KLAVPropostas& w) { return !w.CDS_Processo.isOpen(); }},
    {"AbrirProcesso", [](RecoveryWindowTest& t) { return t.sample(QStringLiteral("PL_000014_2011")); },
     [](RecoveryWindowTest& t, const QString& file) { t.openFile(t.window->BBT_Arquivo, file); },
     [](TFRM_KLAVPropostas& w) { return w.PNL_NumeroProcesso->text() == u"000014"; }},
    {"AbrirPropostas",
     [](RecoveryWindowTest& t) {
       return t.proposalsFixture(QStringLiteral("PL_000014_2011"), QStringLiteral("PL_000014_2011_12345678000195.PRO"));
     },
     [](RecoveryWindowTest& t, const QString& file) { t.openFile(t.window->BBT_Proposta, file); },
     [](TFRM_KLAVPropostas& w) { return w.PNL_NumeroProcesso->text() == u"000014"; }},
};

void PrintTo(const DiscardCase& c, std::ostream* os) { *os << c.name; }

class DiscardTest : public RecoveryWindowTest, public ::testing::WithParamInterface<DiscardCase> {
 protected:
  // A process file open with one stored proposal.
  QString storeOneProposal() {
    confirmSupplier(proposals::Purpose::PL);
    const QString process = sample(QStringLiteral("PL_000001_2010"));
    openFile(window->BBT_Arquivo, process);
    propose(QStringLiteral("Medley"), QStringLiteral("2"));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(recorded(keyOf(process)).has_value());
    return process;
  }
};

TEST_P(DiscardTest, CancelKeepsEverythingAndOkDiscardsTheProposalsAndTheirRecord) {
  const DiscardCase& c = GetParam();
  const QString prepared = c.prepare(*this);
  const QString process = storeOneProposal();
  ASSERT_TRUE(messages.empty());
  TFRM_KLAVPropostas& w = *window;

  answers = {false};
  c.act(*this, prepared);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"CON");
  EXPECT_EQ(messages[0].text, kDiscardQuestion);
  EXPECT_TRUE(messages[0].withCancel);
  EXPECT_FALSE(c.done(w));
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.PNL_NumeroProcesso->text(), u"000001");
  EXPECT_TRUE(w.HasUnwrittenProposals());
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled());
  ASSERT_TRUE(recorded(keyOf(process)).has_value());
  w.CDS_Processo.first();
  EXPECT_EQ(w.CDS_Processo.fieldByName("DES_MARCA").asText(), "Medley");
  if (!prepared.isEmpty()) {
    EXPECT_TRUE(picks.empty());  // asked after the file was chosen
  }

  messages.clear();
  answers = {true};
  c.act(*this, prepared);
  ASSERT_GE(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kDiscardQuestion);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(c.done(w));
  EXPECT_FALSE(recorded(keyOf(process)).has_value());
}

INSTANTIATE_TEST_SUITE_P(Actions, DiscardTest, ::testing::ValuesIn(kDiscardCases),
                         [](const ::testing::TestParamInfo<DiscardCase>& info) { return info.param.name; });

TEST_F(RecoveryWindowTest, NothingIsAskedWithoutUnwrittenProposalsOrWithoutAChosenFile) {
  TFRM_KLAVPropostas& w = *window;
  confirmSupplier(proposals::Purpose::PL);
  const QString process = sample(QStringLiteral("PL_000001_2010"));
  openFile(w.BBT_Arquivo, process);
  const QString lots = sample(QStringLiteral("PL_000014_2011"));
  openFile(w.BBT_Arquivo, lots);  // nothing stored yet
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(w.PNL_NumeroProcesso->text(), u"000014");

  // Stored, then the file dialog cancelled: nothing asked, nothing changed.
  click(w.DBG_Item);
  propose(QStringLiteral("Medley"), QStringLiteral("2"));
  ASSERT_TRUE(messages.empty());
  click(w.BBT_Arquivo);  // no pick: the dialog is cancelled
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(w.HasUnwrittenProposals());

  // Written by "Encerrar" once lot 1 is finished: closing asks nothing.
  click(w.DBG_Item);
  for (int i = 1; i < 6; ++i) propose(QStringLiteral("Marca"), QStringLiteral("1"));
  ASSERT_TRUE(messages.empty());
  ASSERT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 2");
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(recorded(keyOf(lots)).has_value());
}

// ---- the recovery question ----------------------------------------------------

TEST_F(RecoveryWindowTest, RecoveryIsOfferedForTheSameFileAndSupplierOnlyAndCancelDiscardsIt) {
  const QString process = sample(QStringLiteral("CP_000052_2012"));
  const QString other = sample(QStringLiteral("CP_000045_2012"));
  confirmSupplier(proposals::Purpose::CP);
  openFile(window->BBT_Arquivo, process);
  propose(QStringLiteral("Votoran"), QStringLiteral("10"));
  ASSERT_TRUE(messages.empty());

  // Another supplier, then another file: no question.
  ASSERT_NO_FATAL_FAILURE(newWindow());
  confirmSupplier(proposals::Purpose::CP, QStringLiteral("11144477735"), QStringLiteral("José"));
  openFile(window->BBT_Arquivo, process);
  EXPECT_TRUE(messages.empty());
  ASSERT_NO_FATAL_FAILURE(newWindow());
  confirmSupplier(proposals::Purpose::CP);
  openFile(window->BBT_Arquivo, other);
  EXPECT_TRUE(messages.empty());

  // The same file and supplier: asked; Cancel leaves the file as read and
  // forgets the record, so the next opening asks nothing.
  ASSERT_NO_FATAL_FAILURE(newWindow());
  confirmSupplier(proposals::Purpose::CP);
  answers = {false};
  openFile(window->BBT_Arquivo, process);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(recoveryQuestionDate(messages[0].text).has_value()) << messages[0].text.toStdString();
  EXPECT_EQ(window->EDT_Marca->text(), u"");
  EXPECT_EQ(window->PNL_ValorTotal->text(), u"0,00 ");
  EXPECT_FALSE(window->BBT_Encerrar->isEnabled());
  EXPECT_FALSE(window->HasUnwrittenProposals());
  EXPECT_FALSE(recorded(keyOf(process)).has_value());
  ASSERT_NO_FATAL_FAILURE(newWindow());
  confirmSupplier(proposals::Purpose::CP);
  openFile(window->BBT_Arquivo, process);
  EXPECT_TRUE(messages.empty());
}

TEST_F(RecoveryWindowTest, LotModeRecoveryPutsBackEveryLotAndShowsTheLotOnView) {
  const QString process = sample(QStringLiteral("PL_000014_2011"));
  confirmSupplier(proposals::Purpose::PL);
  openFile(window->BBT_Arquivo, process);
  TFRM_KLAVPropostas* w = window.get();
  // Lot 4 (one item) and item 1 of lot 1.
  click(w->DBG_Lote);
  QTest::keyClick(w->DBG_Lote, Qt::Key_End, Qt::ControlModifier);
  click(w->DBG_Item);
  propose(QStringLiteral("Soro"), QStringLiteral("3,5"));
  ASSERT_EQ(w->CDS_Processo.filterText(), "NRO_LOTE = 1");
  propose(QStringLiteral("Medley"), QStringLiteral("0,125"));
  ASSERT_TRUE(messages.empty());

  ASSERT_NO_FATAL_FAILURE(newWindow());
  w = window.get();
  confirmSupplier(proposals::Purpose::PL);
  answers = {true};
  openFile(w->BBT_Arquivo, process);
  ASSERT_EQ(messages.size(), 1u);
  ASSERT_TRUE(recoveryQuestionDate(messages[0].text).has_value());
  EXPECT_EQ(w->CDS_Processo.filterText(), "NRO_LOTE = 1");
  EXPECT_TRUE(w->CDS_Processo.filtered());
  EXPECT_EQ(w->PNL_ValorTotal->text(), u"15.000,00 ");  // lot 1: 120 000 x 0,125
  EXPECT_TRUE(w->BBT_Encerrar->isEnabled());

  // Lot 1 is partly priced; lot 4 is fully priced: the warning names lot 1
  // only, so lot 4's proposal came back too.
  messages.clear();
  click(w->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            u"Atenção! Existem itens no lote -0001- sem propostas e o encerramento não será realizado.");
  // Lot 1 finished: written, and the stored rows hold both lots.
  messages.clear();
  click(w->DBG_Item);
  QTest::keyClick(w->DBG_Item, Qt::Key_Down);
  for (int i = 1; i < 6; ++i) propose(QStringLiteral("Marca"), QStringLiteral("1"));
  click(w->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  const StoredRows rows = storedRows(scratch.filePath(QStringLiteral("PL_000014_2011_12345678000195.PRO")));
  EXPECT_EQ(rows.at({4, 16}).brand, "Soro");
  EXPECT_EQ(rows.at({4, 16}).total, 31500);  // 9 000 x 3,5
  EXPECT_EQ(rows.at({1, 1}).brand, "Medley");
  EXPECT_EQ(rows.at({1, 1}).total, 15000);
  EXPECT_EQ(rows.at({2, 7}).price, 0);
}

TEST_F(RecoveryWindowTest, ADamagedRecordFileIsRenamedAsideAndTheFileStillOpens) {
  ASSERT_TRUE(QDir().mkpath(recoveryFolder()));
  const QString recordPath = QDir(recoveryFolder()).filePath(proposals::RecoveryRecord::fileName());
  {
    QFile damaged(recordPath);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("SQLite format 3\0 mas não é mais", 31);
  }
  const QString process = sample(QStringLiteral("PL_000001_2010"));
  confirmSupplier(proposals::Purpose::PL);
  openFile(window->BBT_Arquivo, process);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"ADV");
  EXPECT_FALSE(messages[0].withCancel);
  static const QRegularExpression text(QStringLiteral(
      "^O arquivo de recuperação estava danificado e foi renomeado para\n(recuperacao-danificado-[0-9-]+\\.db)\\.$"));
  const QRegularExpressionMatch match = text.match(messages[0].text);
  ASSERT_TRUE(match.hasMatch()) << messages[0].text.toStdString();
  EXPECT_EQ(bytesOf(QDir(recoveryFolder()).filePath(match.captured(1))).size(), 31);

  EXPECT_TRUE(window->CDS_Processo.isOpen());
  EXPECT_EQ(window->PNL_NumeroProcesso->text(), u"000001");
  messages.clear();
  propose(QStringLiteral("Medley"), QStringLiteral("2"));
  ASSERT_TRUE(messages.empty());
  const auto found = recorded(keyOf(process));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->items.size(), 1u);
}

}  // namespace
}  // namespace proposals_testing
