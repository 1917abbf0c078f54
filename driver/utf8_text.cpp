// UTF-8 checked and converted to and from UTF-16.
#include "driver/utf8_text.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Reads the well-formed UTF-8 sequence at text[position] into point and
// advances past it; false, advancing one byte only, when none starts there.
bool ReadCodePoint(std::string_view text, std::size_t &position, char32_t &point) {
  const auto byte = [&](std::size_t index) { return static_cast<std::uint8_t>(text[index]); };
  const std::size_t start = position++;
  const std::uint8_t lead = byte(start);
  point = lead;
  if (lead < 0x80) return true;
  std::size_t length = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    point = lead & 0x1Fu;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    point = lead & 0x0Fu;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    point = lead & 0x07u;
    least = 0x10000;
  }
  if (length == 0 || start + length > text.size()) return false;
  for (std::size_t index = 1; index < length; ++index) {
    if ((byte(start + index) & 0xC0u) != 0x80u) return false;
    point = (point << 6) | (byte(start + index) & 0x3Fu);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
  position = start + length;
  return true;
}

void AppendUtf8(std::string &text, char32_t point) {
  const auto put = [&](char32_t bits) { text.push_back(static_cast<char>(bits)); };
  if (point < 0x80) {
    put(point);
  } else if (point < 0x800) {
    put(0xC0 | (point >> 6));
    put(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    put(0xE0 | (point >> 12));
    put(0x80 | ((point >> 6) & 0x3F));
    put(0x80 | (point & 0x3F));
  } else {
    put(0xF0 | (point >> 18));
    put(0x80 | ((point >> 12) & 0x3F));
    put(0x80 | ((point >> 6) & 0x3F));
    put(0x80 | (point & 0x3F));
  }
}

} // namespace

bool IsUtf8(std::string_view text) {
  char32_t point = 0;
  for (std::size_t position = 0; position < text.size();)
    if (!ReadCodePoint(text, position, point)) return false;
  return true;
}

std::size_t Utf8CharacterLength(std::string_view text, std::size_t position) {
  std::size_t end = position;
  char32_t point = 0;
  return ReadCodePoint(text, end, point) ? end - position : 0;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string wide;
  for (std::size_t position = 0; position < text.size();) {
    char32_t point = 0;
    if (!ReadCodePoint(text, position, point)) point = Replacement;
    if (point < 0x10000) {
      wide.push_back(static_cast<char16_t>(point));
    } else {
      wide.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
    }
  }
  return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string narrow;
  for (std::size_t index = 0; index < text.size(); ++index) {
    char32_t point = text[index];
    if (point >= 0xD800 && point <= 0xDBFF && index + 1 < text.size() &&
        text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF) {
      point = 0x10000 + ((point - 0xD800) << 10) + (text[index + 1] - 0xDC00u);
      ++index;
    } else if (point >= 0xD800 && point <= 0xDFFF) {
      point = Replacement;
    }
    AppendUtf8(narrow, point);
  }
  return narrow;
}
