#include "shell_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace quovexsql::testing {

namespace {

std::vector<char*> argvOf(const std::string& program, const std::vector<std::string>& args,
                          std::vector<std::string>* storage) {
  storage->push_back(program);
  storage->insert(storage->end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : *storage) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& stdoutTo) {
  TempFolder folder;
  const auto in = folder / "in";
  const std::filesystem::path out = stdoutTo.empty() ? folder / "out" : std::filesystem::path(stdoutTo);
  const auto err = folder / "err";
  writeFile(in, input);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> storage;
  std::vector<char*> argv = argvOf(program, args, &storage);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  int status = 0;
  ::waitpid(pid, &status, 0);
  ProcessResult result;
  result.exitedNormally = WIFEXITED(status);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdoutTo.empty()) result.out = readFile(out);
  result.err = readFile(err);
  return result;
}

TerminalSession::TerminalSession(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> storage;
  std::vector<char*> argv = argvOf(program, args, &storage);
  struct winsize size {};
  size.ws_row = 40;
  size.ws_col = 200;
  pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
  if (pid_ < 0) throw std::runtime_error("forkpty failed");
  if (pid_ == 0) {
    ::setenv("TERM", "xterm", 1);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
}

TerminalSession::~TerminalSession() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) ::close(master_);
}

void TerminalSession::type(const std::string& keys) {
  std::size_t written = 0;
  while (written < keys.size()) {
    const ssize_t n = ::write(master_, keys.data() + written, keys.size() - written);
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

bool TerminalSession::readSome(int timeoutMs) {
  pollfd ready{master_, POLLIN, 0};
  if (::poll(&ready, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  const ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;
  screen_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool TerminalSession::waitFor(const std::string& text) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    const auto found = screen_.find(text, matchedUpTo_);
    if (found != std::string::npos) {
      matchedUpTo_ = found + text.size();
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    readSome(100);
  }
}

bool TerminalSession::waitForKeyByKeyInput() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    // The modes the program set are those of the terminal's own side (the
    // master side keeps modes of its own).
    const char* name = ::ptsname(master_);
    const int side = name != nullptr ? ::open(name, O_RDWR | O_NOCTTY) : -1;
    termios modes{};
    const bool keyByKey = side >= 0 && ::tcgetattr(side, &modes) == 0 && (modes.c_lflag & ICANON) == 0;
    if (side >= 0) ::close(side);
    if (keyByKey) return true;
    readSome(10);
  }
  return false;
}

int TerminalSession::wait() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    readSome(50);
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      while (readSome(50)) {
      }
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
  }
  return -1;
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("quovexsql-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return std::move(content).str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace quovexsql::testing
