// Fonts of matching widths and the Enter key on buttons, for every window.
#include "Appearance.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPushButton>

namespace proposals {
namespace {

// Wine's re-creation of "MS Sans Serif": its family name is the original's,
// so once loaded the windows' font requests find it as they are.
const char kWineSansSerif[] = "/usr/share/wine/fonts/ms_sans_serif.ttf";

class EnterPressesButton : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier || key->isAutoRepeat()) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr || !button->isEnabled() || !button->hasFocus()) return false;
    // A dialog's auto-default and default push buttons press themselves on
    // Enter; pressing them here too would press them twice.
    if (const auto* push = qobject_cast<QPushButton*>(button); push && (push->autoDefault() || push->isDefault())) {
      return false;
    }
    button->click();
    return true;
  }
};

}  // namespace

void loadWindowFonts() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  if (QFile::exists(QString::fromLatin1(kWineSansSerif))) {
    QFontDatabase::addApplicationFont(QString::fromLatin1(kWineSansSerif));
  }
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

void installEnterPressesButtons() {
  static EnterPressesButton* filter = nullptr;
  if (filter != nullptr || QCoreApplication::instance() == nullptr) return;
  filter = new EnterPressesButton(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(filter);
}

void prepareDesktop() {
  loadWindowFonts();
  installEnterPressesButtons();
}

}  // namespace proposals
