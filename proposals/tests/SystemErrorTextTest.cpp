// The Portuguese wording of system error causes and of a failed write.
#include <gtest/gtest.h>

#include <cerrno>

#include "SystemErrorText.h"

namespace {

TEST(SystemErrorText, CommonCausesAreWordedInPortuguese) {
  const struct {
    int systemError;
    const char* text;
  } cases[] = {
      {EACCES, "Permissão negada"},
      {EPERM, "Permissão negada"},
      {ENOSPC, "Não há espaço livre no disco"},
      {EDQUOT, "A cota de disco do usuário se esgotou"},
      {ENOENT, "Arquivo não encontrado"},
      {ENOTDIR, "Pasta não encontrada"},
      {EROFS, "O disco está protegido contra gravação"},
      {EISDIR, "O caminho é uma pasta"},
      {ENAMETOOLONG, "O nome do arquivo é longo demais"},
      {EIO, "Erro de entrada e saída no disco"},
      {EMFILE, "Há arquivos abertos demais"},
      {0, "Erro desconhecido"},
      {EPIPE, "Erro do sistema número 32"},    // no wording of its own: the number
      {-5, "Erro do sistema número -5"},       // not a system error at all
  };
  for (const auto& c : cases) {
    EXPECT_EQ(proposals::systemErrorText(c.systemError), c.text) << "errno " << c.systemError;
  }
}

TEST(SystemErrorText, AFailedWriteNamesTheFileOnItsOwnLine) {
  EXPECT_EQ(proposals::writeFailureMessage("PL_000014_2011_12345678000195.PRO", EACCES),
            "Não foi possível gravar o arquivo\nPL_000014_2011_12345678000195.PRO\nPermissão negada.");
  EXPECT_EQ(proposals::writeFailureMessage("", ENOSPC),
            "Não foi possível gravar o arquivo\n\nNão há espaço livre no disco.");
}

}  // namespace
