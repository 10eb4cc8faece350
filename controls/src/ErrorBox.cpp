#include "controls/ErrorBox.h"

#include "controls/AppTitle.h"

#include <QMessageBox>
#include <QWidget>

#include <utility>

namespace controls {
namespace {

ErrorBoxHook& installedHook() {
  static ErrorBoxHook hook;
  return hook;
}

}  // namespace

void showErrorBox(QWidget* parent, const QString& text) {
  if (const ErrorBoxHook hook = installedHook()) {  // a copy: the hook may replace itself
    hook(parent, text);
    return;
  }
  QWidget* owner = parent != nullptr ? parent->window() : nullptr;
  QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, owner);
  box.exec();
}

ErrorBoxHook setErrorBoxHook(ErrorBoxHook hook) {
  return std::exchange(installedHook(), std::move(hook));
}

}  // namespace controls
