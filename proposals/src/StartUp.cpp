#include "StartUp.h"

#include <QApplication>

#include <memory>

#include "UNT_KLAVPropostas.h"
#include "controls/ErrorBox.h"

namespace proposals {

int runProgram() {
  try {
    auto window = std::make_unique<TFRM_KLAVPropostas>();
    FRM_KLAVPropostas = window.get();
    window->show();
    QApplication::exec();
  } catch (const std::exception& error) {
    controls::showErrorBox(nullptr, QString::fromUtf8(error.what()));
  } catch (...) {
    controls::showErrorBox(nullptr, QString());
  }
  FRM_KLAVPropostas = nullptr;
  return 0;
}

}  // namespace proposals
