// Long results at a terminal go through a pager: the output is held until it
// is longer than the screen, then a pager ($PAGER, else "less -SFX") is
// started and gets all of it; a short result goes to the screen as it is.
#pragma once

#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>

namespace quovexsql {

class PagingBuffer : public std::streambuf {
 public:
  PagingBuffer(std::ostream& screen, std::string pagerCommand, std::size_t screenLines)
      : screen_(screen), command_(std::move(pagerCommand)), screenLines_(screenLines) {}
  ~PagingBuffer() override { finish(); }
  PagingBuffer(const PagingBuffer&) = delete;
  PagingBuffer& operator=(const PagingBuffer&) = delete;

  // Hands what is held to the screen, or waits for the pager to end.
  void finish();
  // True once the pager has gone (the user left it): nothing more is wanted.
  bool pagerGone() const { return gone_; }

 protected:
  int overflow(int c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;

 private:
  void put(const char* text, std::size_t count);

  std::ostream& screen_;
  std::string command_;
  std::size_t screenLines_;
  std::string held_;
  std::size_t lines_ = 0;
  FILE* pipe_ = nullptr;
  bool gone_ = false;
  bool finished_ = false;
};

// The pager to start: $PAGER, or "less -SFX" (cut long lines, leave at once
// when it fits, keep the screen); empty when there is none.
std::string pagerCommand();

// Lines of the terminal on standard output; 0 when it is not one.
std::size_t terminalLines();
// Columns of the terminal on standard output; 0 when it is not one.
std::size_t terminalColumns();

}  // namespace quovexsql
