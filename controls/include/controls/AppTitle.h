// The application's title: the program file's name up to its first ".",
// every character after the first in lower case ("KLAVRegistraPropostas"
// gives "Klavregistrapropostas"). The program sets no title of its own; the
// controls' error boxes use this one as their caption.
#pragma once

#include <QString>

namespace controls {

// Title from a program file name or path. Only the last path component
// counts, so "/opt/x/KLAV.Tool.exe" gives "Klav". An empty name gives an
// empty title.
QString applicationTitleFromFileName(const QString& fileName);

// Title of the running program, from QCoreApplication::applicationFilePath().
// Empty when no QCoreApplication exists yet.
QString applicationTitle();

}  // namespace controls
