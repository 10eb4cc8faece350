// The fonts the windows name, resolved to free fonts of matching widths, and
// the desktop conventions every window of the program follows.
#pragma once

namespace proposals {

// Makes "Arial" resolve to Liberation Sans (metric-compatible) and "MS Sans
// Serif" to Wine's free re-creation of that font (same widths, same 13 px
// line at 11 px), loaded from the fonts-wine package; without that package
// "MS Sans Serif" falls back to Liberation Sans. Needs
// the application object; later calls do nothing.
void loadWindowFonts();

// Enter (or the keypad's Enter) on a focused button presses it, as Space
// does, in every window of the application. Push buttons that already take
// Enter themselves (the auto-default buttons of dialogs) are left to do so.
// Needs the application object; later calls do nothing.
void installEnterPressesButtons();

// Both of the above: called by every window of the program when it is built.
void prepareDesktop();

}  // namespace proposals
