// TOpenDialog: the standard file-open dialog with a filter ("description|
// pattern") and a default extension. Execute() shows it modally and answers
// whether a file was picked; FileName then holds its path.
//
// Tests answer the dialog through a hook instead of showing it.
// GUI thread only.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace proposals {

class TOpenDialog {
 public:
  QString Filter;
  QString DefaultExt = QStringLiteral("*.ZUL");
  int FilterIndex = 0;
  QString FileName;

  bool Execute(QWidget* parent);
};

// "Processo Licitatório (PL_*.ZUL)|PL_*.ZUL" as a Qt name filter.
QString qtNameFilter(const QString& filter);

// Receives the filter instead of the real dialog while set; answers the
// picked path, or nothing for Cancel.
using OpenDialogHook = std::function<std::optional<QString>(const QString& filter)>;
OpenDialogHook setOpenDialogHook(OpenDialogHook hook);

}  // namespace proposals
