// KLAVRegistraPropostas: creates the main window and runs the event loop
// until it closes. The program reads no configuration: no settings file,
// environment variable or command-line option.
#include <QApplication>

#include "StartUp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return proposals::runProgram();
}
