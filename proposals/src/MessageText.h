// How the message dialog wraps its text. Widget-free.
#pragma once

#include <QString>

namespace proposals {

// The text as the message dialog lays it out: besides at blanks and line
// feeds, a line may end after each "-", so that a list such as "nos lotes
// -0001-0002-0003-" wraps instead of running past both edges. The break
// points are zero-width spaces (U+200B), invisible in the dialog; a "-" that
// ends the text or stands before a blank or a line feed needs none.
QString withBreaksAfterHyphens(const QString& text);

}  // namespace proposals
