// quovex-mkdb: makes a new, empty stand-in database file for the driver.
//   quovex-mkdb [--logging buffered|ansi|none] [--user NAME --password TEXT] FILE
// An existing file is never touched. Exit codes: 0 made, 1 not made (the
// reason on standard error), 2 wrong command line.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "ifxrt/admin.h"

int main(int argc, char** argv) {
  CLI::App app{"quovex-mkdb: makes a new, empty stand-in database file for the Informix driver.", "quovex-mkdb"};
  std::string path;
  std::string user;
  std::string password;
  IfxLogging logging = IFX_LOG_BUFFERED;
  const std::map<std::string, IfxLogging> kinds{
      {"buffered", IFX_LOG_BUFFERED}, {"ansi", IFX_LOG_ANSI}, {"none", IFX_LOG_NONE}};
  app.add_option("file", path, "database file to make")->required();
  app.add_option("--logging", logging, "transaction log: buffered (default), ansi or none")
      ->transform(CLI::CheckedTransformer(kinds, CLI::ignore_case));
  auto* userOption = app.add_option("--user", user, "the one user allowed to connect");
  app.add_option("--password", password, "that user's password")->needs(userOption);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::cerr << "quovex-mkdb: " << error.what() << "\nRun with --help for the options.\n";
    return 2;
  }

  std::error_code failed;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, failed))) {
    std::cerr << "quovex-mkdb: " << path << " already exists; it is left as it is\n";
    return 1;
  }
  if (ifxrtCreateDatabase(path.c_str(), logging) != 0) {
    std::cerr << "quovex-mkdb: cannot write " << path << "\n";
    return 1;
  }
  if (!user.empty() && ifxrtAddUser(path.c_str(), user.c_str(), password.c_str()) != 0) {
    std::cerr << "quovex-mkdb: cannot add the user to " << path << "\n";
    std::filesystem::remove(path, failed);
    return 1;
  }
  return 0;
}
