// Reads a PDF back as text with pdftotext (poppler-utils), keeping the layout.
#pragma once

#include <QProcess>
#include <QString>

inline QString pdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
  return QString::fromUtf8(process.readAllStandardOutput());
}
