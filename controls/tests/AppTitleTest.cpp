#include "controls/AppTitle.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(AppTitle, FileNameUpToFirstPointWithTheRestInLowerCase) {
  struct Case {
    const char* fileName;
    const char* title;
  };
  static const Case cases[] = {
      {"KLAVRegistraPropostas", "Klavregistrapropostas"},
      {"KLAVRegistraPropostas.exe", "Klavregistrapropostas"},
      {"/usr/local/bin/KLAVRegistraPropostas", "Klavregistrapropostas"},
      {"/opt/KLAV.Tool.EXE", "Klav"},
      {"/dir.with.points/ABC", "Abc"},
      {"klav", "klav"},  // the first character keeps its case
      {"ÉDITEUR", "Éditeur"},
      {".hidden", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(applicationTitleFromFileName(QString::fromUtf8(c.fileName)), QString::fromUtf8(c.title)) << c.fileName;
  }
}

TEST(AppTitle, RunningProgramUsesItsFileName) {
  EXPECT_EQ(applicationTitle(), QStringLiteral("controls_tests"));
}

}  // namespace
}  // namespace controls
