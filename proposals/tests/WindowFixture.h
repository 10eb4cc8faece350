// A real main window in an active window for the widget tests: messages and
// the file-open dialog answered through their hooks, error boxes recorded,
// sample files copied into a scratch folder per test, fixtures made with
// zultool, and helpers that type and click as a user does.
#pragma once

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "OpenDialog.h"
#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"
#include "WaitUntil.h"
#include "controls/ErrorBox.h"

namespace proposals_testing {

struct Message {
  QString kind;
  QString text;
  bool withCancel;
};

class WindowTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    setMessageBoxHook([this](const QString& kind, const QString& text, bool withCancel) {
      messages.push_back({kind, text, withCancel});
      if (answers.empty()) return true;
      const bool answer = answers.front();
      answers.pop_front();
      return answer;
    });
    proposals::setOpenDialogHook([this](const QString& filter) -> std::optional<QString> {
      filters.push_back(filter);
      if (picks.empty()) return std::nullopt;
      const std::optional<QString> pick = picks.front();
      picks.pop_front();
      return pick;
    });
    controls::setErrorBoxHook([this](QWidget*, const QString& text) { errors.push_back(text); });
    window = std::make_unique<TFRM_KLAVPropostas>();
    window->show();
    ASSERT_NO_FATAL_FAILURE(activate(window.get()));
  }

  // Makes a shown window the active one (asserts).
  virtual void activate(QWidget* shown) {
    shown->activateWindow();
    QApplication::setActiveWindow(shown);
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
  }

  void TearDown() override {
    window.reset();
    setMessageBoxHook({});
    proposals::setOpenDialogHook({});
    controls::setErrorBoxHook({});
  }

  // A sample process file copied into the scratch folder.
  QString sample(const QString& name) {
    const QString target = scratch.filePath(name + QStringLiteral(".ZUL"));
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(QStringLiteral(PROPOSALS_SAMPLES_DIR "/") + name + QStringLiteral(".ZUL"), target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
  }

  // Runs zultool; answers its standard output.
  QByteArray zultool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PROPOSALS_ZULTOOL), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
  }

  // A sample changed through its JSON form: `edit` rewrites the JSON text.
  QString fixture(const QString& sampleName, const QString& targetName,
                  const std::function<void(QByteArray&)>& edit) {
    QByteArray json = zultool({QStringLiteral("export"), sample(sampleName)});
    edit(json);
    const QString jsonPath = scratch.filePath(targetName + QStringLiteral(".json"));
    QFile file(jsonPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    const QString target = scratch.filePath(targetName);
    zultool({QStringLiteral("import"), jsonPath, target});
    return target;
  }

  // ---- acting as the user ------------------------------------------------
  void click(QWidget* widget) {
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    ASSERT_TRUE(widget->isEnabled()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
  }

  // Clicks into a box, selects everything and types over it. Asserts: call it
  // through ASSERT_NO_FATAL_FAILURE.
  void typeInto(QWidget* box, const QString& text) {
    ASSERT_NO_FATAL_FAILURE(click(box));
    ASSERT_TRUE(waitUntil([box] { return box->hasFocus(); })) << box->objectName().toStdString();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Home);
    typeText(box, text);
  }

  // Types each character as a key press (accented letters included).
  static void typeText(QWidget* box, const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 128) {
        QTest::keyClick(box, c.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }

  void pickPurpose(proposals::Purpose purpose) {
    const int index = proposals::indexOfPurpose(purpose);
    // Picked with the keyboard, as a user may: each key that changes the
    // row is a pick.
    window->CMB_Finalidade->setFocus();
    QTest::keyClick(window->CMB_Finalidade, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(window->CMB_Finalidade, Qt::Key_Down);
    // From no selection, Home lands on item 0 (a pick of item 0 too).
    ASSERT_EQ(window->CMB_Finalidade->currentIndex(), index);
  }

  void pickIdentification(proposals::Identification identification) {
    const int index = proposals::indexOfIdentification(identification);
    window->CMB_Identificacao->setFocus();
    QTest::keyClick(window->CMB_Identificacao, index == 0 ? Qt::Key_Home : Qt::Key_End);
    ASSERT_EQ(window->CMB_Identificacao->currentIndex(), index);
  }

  // Purpose, company 12.345.678/0001-95 and a name, confirmed.
  void confirmSupplier(proposals::Purpose purpose, const QString& number = QStringLiteral("12345678000195"),
                       const QString& name = QStringLiteral("  Papelaria Central Ltda  ")) {
    ASSERT_NO_FATAL_FAILURE(pickPurpose(purpose));
    const auto identification =
        number.size() == 11 ? proposals::Identification::Cnpf : proposals::Identification::Cnpj;
    ASSERT_NO_FATAL_FAILURE(pickIdentification(identification));
    ASSERT_NO_FATAL_FAILURE(typeInto(window->MSK_CodigoNacional, number));
    ASSERT_NO_FATAL_FAILURE(typeInto(window->EDT_NomeFornecedor, name));
    ASSERT_NO_FATAL_FAILURE(click(window->BBT_GravarFornecedor));
    ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
  }

  void openFile(QPushButton* button, const QString& path) {
    picks.push_back(path);
    click(button);
  }

  std::unique_ptr<TFRM_KLAVPropostas> window;
  QTemporaryDir scratch;
  std::vector<Message> messages;
  std::deque<bool> answers;
  std::vector<QString> filters;
  std::deque<std::optional<QString>> picks;
  std::vector<QString> errors;
};

}  // namespace proposals_testing
