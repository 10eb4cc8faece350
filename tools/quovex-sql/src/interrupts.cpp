// The SIGINT handler of interactive sessions and the flags it sets.
#include "interrupts.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace quovexsql {

namespace {

constexpr long long kSecondInterruptMs = 2000;
constexpr int kExitOnInterrupt = 130;  // as a shell reports a command ended by SIGINT

volatile std::sig_atomic_t interrupted = 0;
volatile std::sig_atomic_t atPromptNow = 0;
volatile std::sig_atomic_t quitRequested = 0;
volatile std::sig_atomic_t otherProgram = 0;
std::atomic<long long> lastStatementInterruptMs{0};
int wakeRead = -1;
int wakeWrite = -1;
termios savedTerminal{};
bool terminalSaved = false;

long long monotonicMs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void wake() {
  const char byte = 'i';
  [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite, &byte, 1);
}

// Only async-signal-safe calls here.
void onInterrupt(int /*signal*/) {
  if (otherProgram != 0) return;
  const long long now = monotonicMs();
  const long long previous = lastStatementInterruptMs.load();
  if (previous != 0 && now - previous < kSecondInterruptMs) {
    if (atPromptNow != 0) {
      quitRequested = 1;
      wake();
      return;
    }
    // A statement that does not come back: give the terminal back and end.
    if (terminalSaved) ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, "\n", 1);
    ::_exit(kExitOnInterrupt);
  }
  if (atPromptNow == 0) lastStatementInterruptMs.store(now);
  interrupted = 1;
  wake();
}

}  // namespace

void installInterruptHandler() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  wakeRead = ends[0];
  wakeWrite = ends[1];
  terminalSaved = ::tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a write to the terminal or a pager goes on
  ::sigaction(SIGINT, &action, nullptr);
}

InterruptsToAnotherProgram::InterruptsToAnotherProgram() { otherProgram = 1; }

InterruptsToAnotherProgram::~InterruptsToAnotherProgram() { otherProgram = 0; }

bool interruptRequested() { return interrupted != 0; }

void clearInterrupt() { interrupted = 0; }

void setAtPrompt(bool atPrompt) {
  if (atPrompt) {
    // A Ctrl-C that stopped a statement long ago no longer counts as a first one.
    if (monotonicMs() - lastStatementInterruptMs.load() >= kSecondInterruptMs) lastStatementInterruptMs.store(0);
  }
  atPromptNow = atPrompt ? 1 : 0;
}

bool quitByInterrupt() { return quitRequested != 0; }

int interruptDescriptor() { return wakeRead; }

void drainInterruptSignals() {
  char bytes[64];
  while (wakeRead >= 0 && ::read(wakeRead, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace quovexsql
