// Portuguese wordings of the operating system's error causes.
#include "SystemErrorText.h"

#include <cerrno>

namespace proposals {

std::string systemErrorText(int systemError) {
  switch (systemError) {
    case 0: return "Erro desconhecido";
    case EACCES:
    case EPERM: return "Permissão negada";
    case ENOSPC: return "Não há espaço livre no disco";
    case EDQUOT: return "A cota de disco do usuário se esgotou";
    case ENOENT: return "Arquivo não encontrado";
    case ENOTDIR: return "Pasta não encontrada";
    case EROFS: return "O disco está protegido contra gravação";
    case EISDIR: return "O caminho é uma pasta";
    case EEXIST: return "O arquivo já existe";
    case ENAMETOOLONG: return "O nome do arquivo é longo demais";
    case EIO: return "Erro de entrada e saída no disco";
    case ENOMEM: return "Não há memória suficiente";
    case EMFILE:
    case ENFILE: return "Há arquivos abertos demais";
    case EFBIG: return "O arquivo é grande demais";
    case EBUSY:
    case ETXTBSY: return "O arquivo está em uso";
    case ENODEV:
    case ENXIO: return "O dispositivo não está disponível";
    default: return "Erro do sistema número " + std::to_string(systemError);
  }
}

std::string writeFailureMessage(const std::string& fileName, int systemError) {
  return "Não foi possível gravar o arquivo\n" + fileName + "\n" + systemErrorText(systemError) + ".";
}

}  // namespace proposals
