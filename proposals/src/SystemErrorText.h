// The operating system's error causes worded in Brazilian Portuguese for the
// user, and the message of a file that could not be written. Widget-free.
#pragma once

#include <string>

namespace proposals {

// The cause behind `systemError` (an errno value) as a short sentence
// without a final full stop: "Permissão negada", "Não há espaço livre no
// disco", "Arquivo não encontrado"… A cause without a wording of its own is
// "Erro do sistema número N"; 0 (no system error known) is "Erro desconhecido".
std::string systemErrorText(int systemError);

// "Não foi possível gravar o arquivo" LF fileName LF cause ".", the text of
// the error box where writing a file failed. `fileName` is shown as given.
std::string writeFailureMessage(const std::string& fileName, int systemError);

}  // namespace proposals
