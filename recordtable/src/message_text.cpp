#include "recordtable/message_text.h"

#include <cstdint>
#include <optional>

namespace recordtable {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

struct Decoded {
  char32_t codePoint;
  std::size_t bytes;
};

// One well-formed UTF-8 sequence at the start of `text` (no overlong forms,
// no surrogates), or nothing.
std::optional<Decoded> decodeUtf8(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) return Decoded{lead, 1};
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
  return Decoded{value, length};
}

// Characters that change how the rest of a line is shown rather than
// showing themselves.
bool isInvisibleControl(char32_t c) {
  return (c >= 0x80 && c <= 0x9F) ||      // C1 controls (CSI among them)
         c == 0x2028 || c == 0x2029 ||    // line and paragraph separators
         c == 0x200E || c == 0x200F ||    // direction marks
         (c >= 0x202A && c <= 0x202E) ||  // direction embeddings and overrides
         (c >= 0x2066 && c <= 0x2069);    // direction isolates
}

void appendByteEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

void appendCodePointEscape(std::string& out, char32_t c) {
  out += "\\u{";
  bool started = false;
  for (int shift = 20; shift >= 0; shift -= 4) {
    const unsigned digit = (c >> shift) & 0xF;
    if (digit != 0 || started || shift <= 12) {
      out += kHex[digit];
      started = true;
    }
  }
  out += '}';
}

void appendAscii(std::string& out, unsigned char c) {
  switch (c) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    case '\\': out += "\\\\"; return;
    case '"': out += "\\\""; return;
    default: break;
  }
  if (c < 0x20 || c == 0x7F) {
    appendByteEscape(out, c);
  } else {
    out += static_cast<char>(c);
  }
}

}  // namespace

std::string escapedForMessage(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::optional<Decoded> decoded = decodeUtf8(text);
    if (!decoded) {
      appendByteEscape(out, static_cast<unsigned char>(text.front()));
      text.remove_prefix(1);
      continue;
    }
    if (decoded->bytes == 1) {
      appendAscii(out, static_cast<unsigned char>(text.front()));
    } else if (isInvisibleControl(decoded->codePoint)) {
      appendCodePointEscape(out, decoded->codePoint);
    } else {
      out.append(text.substr(0, decoded->bytes));
    }
    text.remove_prefix(decoded->bytes);
  }
  return out;
}

std::string quotedForMessage(std::string_view text) { return '"' + escapedForMessage(text) + '"'; }

}  // namespace recordtable
