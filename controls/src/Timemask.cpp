#include "controls/Timemask.h"

namespace controls {

TTimeMaskEdit::TTimeMaskEdit(QWidget* parent) : CheckedLineEdit(parent) {
  setInputMask(kInputMask);
  resize(49, 21);
}

void TTimeMaskEdit::enterStep() {
  if (inputMask() != kReportedInputMask) setInputMask(kInputMask);
  selectAll();
}

bool TTimeMaskEdit::exitStep() {
  if (!rules_.DateIsValid(Text())) refuseExit(QStringLiteral("Hora inválida"));
  return true;  // the owner's exit event runs even after an invalid time
}

// Editing keys and control characters (Backspace, Delete, copy, paste) go to
// the mask's own handling first; only what would be typed is filtered.
bool TTimeMaskEdit::filtersKey(const TypedKey& key) const {
  return key.kind == TypedKey::Kind::Several ||
         (key.kind == TypedKey::Kind::Character && !isControlCharacter(key.character));
}

bool TTimeMaskEdit::acceptKey(QChar& key) { return timeKeyAllowed(key); }

}  // namespace controls
