#include "platform/options/quoted_text.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr size_t kShownCharacters = 40;

// The length of the UTF-8 character that starts at `at`, or 0 where the bytes are not one
// (overlong forms, surrogates and values past U+10FFFF included).
size_t Utf8Length(std::string_view text, size_t at, uint32_t* value) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  uint32_t code = 0;
  if (lead < 0x80) {
    *value = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = code << 6 | (next & 0x3F);
  }
  const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  *value = code;
  return length;
}

void AppendByte(std::string& shown, unsigned char byte) {
  char escaped[5];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  shown += escaped;
}

// Up to `most` characters of `text`, control characters and bytes that are not UTF-8 escaped;
// with `quoting`, the quote and the backslash too. Returns how many bytes were taken.
size_t AppendShown(std::string& shown, std::string_view text, size_t most, bool quoting) {
  size_t at = 0;
  for (size_t characters = 0; at < text.size() && characters < most; ++characters) {
    uint32_t code = 0;
    const size_t length = Utf8Length(text, at, &code);
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F) || (quoting && code == '\'');
    if (length == 0 || control) {
      // A C1 control's two bytes both shown, so that nothing of it reaches the terminal.
      for (size_t i = 0; i < (length == 0 ? 1 : length); ++i) {
        AppendByte(shown, static_cast<unsigned char>(text[at + i]));
      }
      at += length == 0 ? 1 : length;
    } else if (quoting && code == '\\') {
      shown += "\\\\";
      at += 1;
    } else {
      shown.append(text, at, length);
      at += length;
    }
  }
  return at;
}

}  // namespace

std::string QuotedText(std::string_view text) {
  std::string shown = "'";
  if (AppendShown(shown, text, kShownCharacters, true) < text.size()) shown += "...";
  return shown + "'";
}

std::string ShownText(std::string_view text) {
  std::string shown;
  AppendShown(shown, text, text.size(), false);
  return shown;
}
