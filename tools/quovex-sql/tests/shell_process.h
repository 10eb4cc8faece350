// Running quovex-sql and quovex-mkdb as a user does: with arguments and
// standard input, or at a pseudo-terminal.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quovexsql::testing {

struct ProcessResult {
  bool exitedNormally = false;  // false when a signal (a crash) ended it
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` (no shell involved), `input` as its standard
// input, and collects both outputs; with `stdoutTo` given, standard output
// goes to that file instead.
ProcessResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}, const std::string& stdoutTo = {});

// A program running at a pseudo-terminal, driven by what is typed into it.
class TerminalSession {
 public:
  TerminalSession(const std::string& program, const std::vector<std::string>& args);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  void type(const std::string& keys);
  // Reads the terminal until `text` has appeared after the last match (or
  // a few seconds have passed); true when it appeared.
  bool waitFor(const std::string& text);
  // Waits until the program reads the terminal key by key (the line editor
  // has turned canonical mode off), so a control key typed next reaches the
  // editor instead of the terminal's own line handling; true when it did.
  bool waitForKeyByKeyInput();
  // Everything the program has written to the terminal so far.
  const std::string& screen() const { return screen_; }
  // Waits for the program to end; its exit code, or -1 after a signal or
  // when it does not end within a few seconds.
  int wait();

 private:
  bool readSome(int timeoutMs);

  int master_ = -1;
  int pid_ = -1;
  std::string screen_;
  std::size_t matchedUpTo_ = 0;
};

// A folder of its own for one test, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

// Whether `text` holds `part` anywhere (an output checked for a message).
inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
void writeFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace quovexsql::testing
