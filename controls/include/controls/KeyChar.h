// The character a key press types, as the controls' key filters see it:
// Backspace is character 8, Return and Enter are carriage return (13), Ctrl
// with a letter is its control character (Ctrl+V is 22), any other key that
// writes one character is that character. Editing keys that write nothing
// (arrows, Home, End, Delete, function keys) type no character and go
// straight to the edit box's own handling.
#pragma once

#include <QChar>
#include <QString>

class QKeyEvent;

namespace controls {

struct TypedKey {
  enum class Kind {
    None,      // an editing key: no character
    Character, // `character` is what the key types
    Several,   // the key writes more than one character (composed input)
  };
  Kind kind = Kind::None;
  QChar character;
};

TypedKey typedKey(const QKeyEvent& event);

// The typed key for a text that arrives outside a key press (a committed
// input-method text, such as an accented letter from a dead key).
TypedKey typedText(const QString& text);

inline bool isControlCharacter(QChar c) { return c.unicode() < 32; }

}  // namespace controls
