#include "controls/AppTitle.h"

#include <QCoreApplication>

namespace controls {

QString applicationTitleFromFileName(const QString& fileName) {
  const qsizetype slash = fileName.lastIndexOf(u'/');
  const QString baseName = fileName.mid(slash + 1);
  const QString stem = baseName.section(u'.', 0, 0);
  if (stem.isEmpty()) return {};
  return stem.left(1) + stem.mid(1).toLower();
}

QString applicationTitle() {
  if (QCoreApplication::instance() == nullptr) return {};
  return applicationTitleFromFileName(QCoreApplication::applicationFilePath());
}

}  // namespace controls
