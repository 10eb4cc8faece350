// Loading Qt's pt_BR translations at start-up.
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace proposals {

QTranslator* installPortuguese(QCoreApplication& application) {
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  // Dialogs show sizes and dates of files in the Brazilian way; the
  // program's own numbers and dates are formatted by its patterns, which do
  // not follow the locale.
  QLocale::setDefault(brazil);
  auto* translator = new QTranslator(&application);
  // "qt" is the catalogue that gathers qtbase and the other modules' texts.
  if (!translator->load(brazil, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace proposals
