#include "OpenDialog.h"

#include <QFileDialog>

namespace proposals {

namespace {
OpenDialogHook& currentHook() {
  static OpenDialogHook hook;
  return hook;
}
}  // namespace

OpenDialogHook setOpenDialogHook(OpenDialogHook hook) {
  OpenDialogHook previous = std::move(currentHook());
  currentHook() = std::move(hook);
  return previous;
}

QString qtNameFilter(const QString& filter) {
  const int bar = filter.indexOf(u'|');
  if (bar < 0) return filter;
  const QString description = filter.left(bar);
  const QString pattern = filter.mid(bar + 1);
  // The pattern also matches names in lower case: files copied through
  // other systems often lose their case.
  return QStringLiteral("%1 (%2 %3)").arg(description.section(u'(', 0, 0).trimmed(), pattern, pattern.toLower());
}

bool TOpenDialog::Execute(QWidget* parent) {
  if (const auto& hook = currentHook()) {
    const std::optional<QString> answer = hook(Filter);
    if (!answer) return false;
    FileName = *answer;
    return true;
  }
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilter(qtNameFilter(Filter));
  dialog.setDefaultSuffix(QString(DefaultExt).remove(QStringLiteral("*.")));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  FileName = dialog.selectedFiles().first();
  return true;
}

}  // namespace proposals
