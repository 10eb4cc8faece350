// Qt's own Brazilian Portuguese translations, so that the platform's dialogs
// (open file, print, save as PDF, the standard message box, the edit boxes'
// context menus) speak the program's language whatever the machine's.
#pragma once

class QCoreApplication;
class QTranslator;

namespace proposals {

// Loads Qt's translations for pt_BR from the folder QLibraryInfo names and
// installs them into `application`, and makes pt_BR the default locale.
// Answers the installed translator, owned by `application`, or null when the
// translations are not on the machine (the dialogs then stay in English).
// Call once, before the first window is built.
QTranslator* installPortuguese(QCoreApplication& application);

}  // namespace proposals
