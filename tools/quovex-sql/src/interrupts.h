// Ctrl-C in an interactive session: at the prompt it discards what is being
// typed; while a statement runs or its rows print it asks the fetch loop to
// stop at the next row; a second Ctrl-C within two seconds of one that came
// while a statement ran ends the shell.
#pragma once

namespace quovexsql {

// Installs the SIGINT handler and keeps the terminal's modes, so that a
// forced end can give the terminal back as it was. Only for interactive
// sessions: a script keeps the default (Ctrl-C ends it).
void installInterruptHandler();

// True once Ctrl-C has been pressed since the last clearInterrupt().
bool interruptRequested();
void clearInterrupt();

// While the prompt waits for a line, Ctrl-C only discards the line; a second
// Ctrl-C that reaches the prompt ends the session cleanly (quitRequested).
void setAtPrompt(bool atPrompt);
bool quitByInterrupt();

// While another program has the terminal (the editor of \e, a pager being
// waited for), Ctrl-C is that program's: the shell lets it pass.
class InterruptsToAnotherProgram {
 public:
  InterruptsToAnotherProgram();
  ~InterruptsToAnotherProgram();
  InterruptsToAnotherProgram(const InterruptsToAnotherProgram&) = delete;
  InterruptsToAnotherProgram& operator=(const InterruptsToAnotherProgram&) = delete;
};

// A descriptor that becomes readable on each Ctrl-C, for a poll() beside
// the terminal; -1 before installInterruptHandler(). drainInterruptSignals()
// empties it.
int interruptDescriptor();
void drainInterruptSignals();

}  // namespace quovexsql
