// KLAVRegistraPropostas: creates the main window and runs the event loop
// until it closes. The program reads no configuration: no settings file,
// environment variable or command-line option. The platform's own dialogs
// speak Brazilian Portuguese whatever the machine's language.
#include <QApplication>

#include "StartUp.h"
#include "Translations.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  proposals::installPortuguese(application);
  return proposals::runProgram();
}
