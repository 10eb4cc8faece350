// The pager of long results and the size of the terminal.
#include "pager.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "interrupts.h"

namespace quovexsql {

namespace {

// True when `program` is an executable file in a folder of $PATH.
bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string folder = folders.substr(start, end - start);
    if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string pagerCommand() {
  const char* pager = std::getenv("PAGER");
  if (pager != nullptr && *pager != '\0') return pager;
  // Without less the results stay on the screen rather than going nowhere.
  return onPath("less") ? "less -SFX" : "";
}

std::size_t terminalLines() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_row;
}

std::size_t terminalColumns() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

void PagingBuffer::put(const char* text, std::size_t count) {
  if (gone_) return;
  if (pipe_ != nullptr) {
    if (std::fwrite(text, 1, count, pipe_) != count) gone_ = true;
    return;
  }
  held_.append(text, count);
  for (std::size_t i = 0; i < count; ++i) lines_ += text[i] == '\n' ? 1 : 0;
  // One line is kept for the prompt that follows.
  if (lines_ + 1 < screenLines_) return;
  screen_.flush();
  pipe_ = ::popen(command_.c_str(), "w");
  if (pipe_ == nullptr) {
    screen_ << held_;
    held_.clear();
    screenLines_ = static_cast<std::size_t>(-1);
    return;
  }
  if (std::fwrite(held_.data(), 1, held_.size(), pipe_) != held_.size()) gone_ = true;
  held_.clear();
}

int PagingBuffer::overflow(int c) {
  if (c == traits_type::eof()) return traits_type::not_eof(c);
  const char byte = static_cast<char>(c);
  put(&byte, 1);
  return c;
}

std::streamsize PagingBuffer::xsputn(const char* text, std::streamsize count) {
  put(text, static_cast<std::size_t>(count));
  return count;
}

void PagingBuffer::finish() {
  if (finished_) return;
  finished_ = true;
  if (pipe_ != nullptr) {
    // The user reads in the pager now; Ctrl-C there does not end the shell.
    const InterruptsToAnotherProgram pagerReading;
    ::pclose(pipe_);
    pipe_ = nullptr;
    return;
  }
  screen_ << held_;
  screen_.flush();
  held_.clear();
}

}  // namespace quovexsql
