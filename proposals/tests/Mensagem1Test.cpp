// The message dialog: its layout per kind, the real modal dialog answered by
// mouse and keys through ShowMessageBox, and the hook tests answer through.
#include "UNT_Mensagem1.h"

#include "ProposalRules.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

QLabel* label(QWidget& dialog, const char* name) { return dialog.findChild<QLabel*>(QLatin1String(name)); }
QPushButton* button(QWidget& dialog, const char* name) {
  return dialog.findChild<QPushButton*>(QLatin1String(name));
}

struct KindCase {
  const char* kind;
  const char* caption;
  const char* icon;
  QSize iconSize;
};

const KindCase kKinds[] = {
    {"CON", "Confirmação . . .", "IMG_Confirmacao", {38, 39}},
    {"ERR", "Erro . . .", "IMG_Erro", {38, 40}},
    {"INF", "Informação . . .", "IMG_Informacao", {38, 41}},
    {"ADV", "Advertência . . .", "IMG_Advertencia", {38, 39}},
};
const char* const kIcons[] = {"IMG_Confirmacao", "IMG_Erro", "IMG_Informacao", "IMG_Advertencia"};

TEST(Mensagem1, LayoutFollowsKindAndCancel) {
  for (const KindCase& c : kKinds) {
    for (const bool withCancel : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.kind << (withCancel ? " with Cancelar" : " Ok only"));
      TFRM_Mensagem1 dialog;
      dialog.setWithCancel(withCancel);
      dialog.setText(QStringLiteral("Texto"));
      dialog.setKind(QString::fromLatin1(c.kind));
      dialog.show();

      EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
      EXPECT_EQ(dialog.size(), QSize(362, 106));
      EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
      EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
      EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
      for (const char* icon : kIcons) {
        ASSERT_NE(label(dialog, icon), nullptr) << icon;
        EXPECT_EQ(label(dialog, icon)->isVisible(), qstrcmp(icon, c.icon) == 0) << icon;
      }
      EXPECT_EQ(label(dialog, c.icon)->geometry(), QRect(QPoint(5, 5), c.iconSize));
      EXPECT_FALSE(label(dialog, c.icon)->pixmap().isNull());
      // The label fills its room, a frameless scroll area at the label's place.
      QWidget* room = dialog.findChild<QWidget*>(QStringLiteral("SCR_Mensagem"));
      EXPECT_EQ(room->geometry(), QRect(50, 0, 307, 71));
      EXPECT_EQ(label(dialog, "LBL_Mensagem")->geometry(), QRect(0, 0, 307, 71));
      EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("PNL_Botoes"))->geometry(), QRect(0, 71, 362, 35));

      QPushButton* ok = button(dialog, "BBT_Ok");
      QPushButton* cancel = button(dialog, "BBT_Cancelar");
      EXPECT_EQ(ok->text(), u"Ok");
      EXPECT_EQ(cancel->text(), u"Cancelar");
      EXPECT_EQ(ok->geometry(), QRect(withCancel ? 96 : 141, 5, 80, 25));
      EXPECT_EQ(cancel->geometry(), QRect(186, 5, 80, 25));
      EXPECT_EQ(cancel->isVisible(), withCancel);
      if (!withCancel) {
        EXPECT_TRUE(ok->isDefault());  // a focused Cancelar stands in while it has the focus
      }
      EXPECT_EQ(dialog.focusWidget(), withCancel ? cancel : ok) << "focus starts on the first button shown";
      EXPECT_EQ(cancel->nextInFocusChain(), ok) << "tab order: Cancelar, then Ok";
    }
  }
}

TEST(Mensagem1, UnknownKindShowsNoIcon) {
  TFRM_Mensagem1 dialog;
  dialog.setKind(QStringLiteral("con"));  // kinds are case-sensitive
  dialog.show();
  for (const char* icon : kIcons) EXPECT_FALSE(label(dialog, icon)->isVisible()) << icon;
}

TEST(Mensagem1, TextIsShownUnchangedAndLineFeedsStartNewLines) {
  TFRM_Mensagem1 dialog;
  const QString text = QStringLiteral("Valor <b>zero</b> & mais\nConfirma?");
  dialog.setText(text);
  QLabel* message = label(dialog, "LBL_Mensagem");
  EXPECT_EQ(message->text(), text);
  EXPECT_EQ(message->textFormat(), Qt::PlainText) << "a quoted value is never read as markup";
  EXPECT_TRUE(message->wordWrap());
  EXPECT_EQ(message->alignment(), Qt::AlignCenter);

  QLabel oneLine;
  oneLine.setFont(message->font());
  oneLine.setWordWrap(true);
  oneLine.setText(QStringLiteral("Linha um Linha dois"));
  QLabel twoLines;
  twoLines.setFont(message->font());
  twoLines.setWordWrap(true);
  twoLines.setText(QStringLiteral("Linha um\nLinha dois"));
  EXPECT_GT(twoLines.heightForWidth(307), oneLine.heightForWidth(307));
}

// The closing warning of Encerrar with 100 partly priced lots: the list
// wraps after its hyphens inside the label's width, and the mouse wheel over
// the label scrolls to the last lot while the window keeps its size.
TEST(Mensagem1, ALongWarningWrapsAfterHyphensAndScrollsToItsEnd) {
  proposals::PartlyPricedLots lots;
  for (int lot = 1; lot <= 100; ++lot) {
    lots.list += QStringLiteral("%1-").arg(lot, 4, 10, QLatin1Char('0')).toStdString();
    ++lots.count;
  }
  const QString text = QString::fromStdString(proposals::partlyPricedMessage(lots));
  ASSERT_TRUE(text.contains(QStringLiteral("-0099-0100- sem propostas")));

  TFRM_Mensagem1 dialog;
  dialog.setKind(QStringLiteral("ADV"));
  dialog.setText(text);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.text(), text) << "the text is kept as given";
  EXPECT_EQ(dialog.size(), QSize(362, 106));
  auto* room = dialog.findChild<QScrollArea*>(QStringLiteral("SCR_Mensagem"));
  QLabel* message = label(dialog, "LBL_Mensagem");
  QScrollBar* bar = room->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0) << "longer than the label holds";
  EXPECT_EQ(bar->value(), 0);

  // Every line fits the label's width: nothing is cut at the sides.
  const QRect laidOut = message->fontMetrics().boundingRect(QRect(0, 0, message->width(), 100000),
                                                            Qt::AlignCenter | Qt::TextWordWrap, message->text());
  EXPECT_LE(laidOut.width(), message->width());
  EXPECT_LE(message->heightForWidth(message->width()), message->height()) << "the label holds the whole text";

  for (int notch = 0; notch < 200 && bar->value() < bar->maximum(); ++notch) {
    const QPointF at(room->viewport()->rect().center());
    QWheelEvent wheel(at, room->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(room->viewport(), &wheel);
  }
  EXPECT_EQ(bar->value(), bar->maximum());
  // The label's last line ("... 0100- sem propostas e o encerramento não será
  // realizado.") is inside the visible room.
  const QPoint bottom = message->mapTo(room->viewport(), QPoint(0, message->height()));
  EXPECT_LE(bottom.y(), room->viewport()->height());
  EXPECT_GE(bottom.y(), room->viewport()->height() - message->fontMetrics().height());
  EXPECT_EQ(dialog.size(), QSize(362, 106)) << "the window never grows";
}

// Runs `act` on the message dialog once it is the active modal window (a
// zero-time timer, tried again until the dialog is up).
void whenDialogShown(std::function<void(TFRM_Mensagem1&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<TFRM_Mensagem1*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      whenDialogShown(act);
      return;
    }
    act(*dialog);
  });
}

void press(TFRM_Mensagem1& dialog, const char* name) {
  QPushButton* b = button(dialog, name);
  ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
  QTest::mouseClick(b, Qt::LeftButton);
}

void key(TFRM_Mensagem1& dialog, Qt::Key k) {
  QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  QTest::keyClick(target, k);
}

int messageDialogs() {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) count += qobject_cast<TFRM_Mensagem1*>(w) != nullptr ? 1 : 0;
  return count;
}

struct AnswerCase {
  const char* what;
  bool withCancel;
  std::function<void(TFRM_Mensagem1&)> answer;
  bool expected;
};

TEST(Mensagem1, RealDialogAnswersTrueOnlyForOk) {
  const AnswerCase cases[] = {
      {"click Ok, Ok only", false, [](TFRM_Mensagem1& d) { press(d, "BBT_Ok"); }, true},
      {"click Ok beside Cancelar", true, [](TFRM_Mensagem1& d) { press(d, "BBT_Ok"); }, true},
      {"click Cancelar", true, [](TFRM_Mensagem1& d) { press(d, "BBT_Cancelar"); }, false},
      {"Enter, Ok only", false, [](TFRM_Mensagem1& d) { key(d, Qt::Key_Return); }, true},
      {"Enter on the initial Cancelar", true, [](TFRM_Mensagem1& d) { key(d, Qt::Key_Return); }, false},
      {"Tab to Ok, Enter", true,
       [](TFRM_Mensagem1& d) {
         key(d, Qt::Key_Tab);
         key(d, Qt::Key_Enter);
       },
       true},
      {"Esc with Cancelar", true, [](TFRM_Mensagem1& d) { key(d, Qt::Key_Escape); }, false},
      {"close box, Ok only", false, [](TFRM_Mensagem1& d) { d.close(); }, false},
      {"close box with Cancelar", true, [](TFRM_Mensagem1& d) { d.close(); }, false},
      {"Esc without Cancelar does nothing", false,
       [](TFRM_Mensagem1& d) {
         key(d, Qt::Key_Escape);
         QApplication::processEvents();
         EXPECT_TRUE(d.isVisible()) << "Esc belongs to Cancelar";
         press(d, "BBT_Ok");
       },
       true},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.what);
    bool answered = false;
    whenDialogShown([&](TFRM_Mensagem1& dialog) {
      answered = true;
      EXPECT_EQ(dialog.withCancel(), c.withCancel);
      EXPECT_EQ(label(dialog, "LBL_Mensagem")->text(), u"Confirma a gravação?");
      c.answer(dialog);
    });
    EXPECT_EQ(ShowMessageBox(QStringLiteral("CON"), QStringLiteral("Confirma a gravação?"), c.withCancel), c.expected);
    EXPECT_TRUE(answered);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog is gone when the call returns";
    EXPECT_EQ(messageDialogs(), 0) << "destroyed, not only closed";
  }
}

TEST(Mensagem1, HookAnswersInPlaceOfTheDialogUntilCleared) {
  std::vector<QString> seen;
  setMessageBoxHook([&](const QString& kind, const QString& text, bool withCancel) {
    seen.push_back(kind + u'|' + text + u'|' + (withCancel ? u'1' : u'0'));
    return withCancel;
  });
  EXPECT_TRUE(ShowMessageBox(QStringLiteral("CON"), QStringLiteral("Sim?"), true));
  EXPECT_FALSE(ShowMessageBox(QStringLiteral("ERR"), QStringLiteral("Falhou"), false));
  EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("CON|Sim?|1"), QStringLiteral("ERR|Falhou|0")}));

  setMessageBoxHook({});
  bool realDialog = false;
  whenDialogShown([&](TFRM_Mensagem1& dialog) {
    realDialog = true;
    press(dialog, "BBT_Ok");
  });
  EXPECT_TRUE(ShowMessageBox(QStringLiteral("INF"), QStringLiteral("Pronto"), false));
  EXPECT_TRUE(realDialog);
  EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
