#include "controls/KeyChar.h"

#include <QKeyEvent>

namespace controls {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kCarriageReturn = 13;
constexpr char16_t kDelete = 127;

}  // namespace

TypedKey typedText(const QString& text) {
  if (text.isEmpty()) return {};
  if (text.size() > 1) return {TypedKey::Kind::Several, {}};
  if (text.front().unicode() == kDelete) return {};
  return {TypedKey::Kind::Character, text.front()};
}

TypedKey typedKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Backspace) return {TypedKey::Kind::Character, QChar(kBackspace)};
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return {TypedKey::Kind::Character, QChar(kCarriageReturn)};
  if (key == Qt::Key_Delete) return {};

  // Some platforms deliver Ctrl+letter without its control character.
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const bool ctrlOnly = modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
  if (ctrlOnly && key >= Qt::Key_A && key <= Qt::Key_Z) {
    return {TypedKey::Kind::Character, QChar(char16_t(key - Qt::Key_A + 1))};
  }
  return typedText(event.text());
}

}  // namespace controls
