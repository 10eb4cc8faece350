// Start-up of the program: creates TFRM_KLAVPropostas as the main window,
// runs the event loop until it closes, and answers the exit code, always 0.
// An error during start-up is shown in the standard error box (with an
// empty message when the error carries none).
#pragma once

namespace proposals {

int runProgram();

}  // namespace proposals
