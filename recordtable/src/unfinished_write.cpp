#include "unfinished_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "messages.h"

namespace recordtable::detail {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void leftUnfinished(const fs::path& table, const fs::path& sideFile, const char* what,
                                 SideFileCheck check) {
  const std::string side = inQuotes(sideFile.filename().string());
  if (check == SideFileCheck::BeforeSave) {
    fail("O arquivo " + inQuotes(table.string()) +
         " foi deixado inacabado por outro programa e não foi gravado: ao lado dele há " + what + " (" +
         side + "). Feche-o no programa que o gravou ou remova " + side + " e grave de novo.");
  }
  fail("O arquivo " + inQuotes(table.string()) +
       " foi deixado inacabado por outro programa e não foi aberto: ao lado dele há " + what + " (" +
       side + "). Abra-o no programa que o gravou ou use uma cópia completa do arquivo.");
}

fs::path withSuffix(const fs::path& path, const char* suffix) {
  fs::path side = path;
  side += suffix;
  return side;
}

bool isPresent(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  // A side file that cannot even be looked at counts as present: better
  // refuse than load what may be half written.
  return status.type() != fs::file_type::not_found || (ec && ec != std::errc::no_such_file_or_directory);
}

// A rollback journal holds pages to put back unless it is empty or its
// header was zeroed on commit (SQLite's test: a zero first byte).
bool isHotJournal(const fs::path& journal) {
  if (!isPresent(journal)) return false;
  // Non-blocking, so that a pipe under that name cannot stall the load.
  const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return true;
  unsigned char first = 0;
  const ssize_t got = ::read(fd, &first, 1);
  ::close(fd);
  if (got == 0) return false;
  return got < 0 || first != 0;
}

void checkBeside(const fs::path& shown, const fs::path& file, SideFileCheck check) {
  const fs::path journal = withSuffix(file, "-journal");
  if (isHotJournal(journal)) {
    leftUnfinished(shown, journal, "o diário de uma gravação interrompida", check);
  }
  const fs::path wal = withSuffix(file, "-wal");
  if (isPresent(wal)) {
    leftUnfinished(shown, wal, "um registro de alterações ainda não gravadas no arquivo", check);
  }
}

}  // namespace

void refuseUnfinishedWrite(const fs::path& path, SideFileCheck check) {
  checkBeside(path, path, check);
  // SQLite keeps the side files of a link beside the file it leads to.
  std::error_code ec;
  const fs::path target = fs::canonical(path, ec);
  if (!ec && target != fs::absolute(path)) checkBeside(path, target, check);
}

}  // namespace recordtable::detail
