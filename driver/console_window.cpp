// The Windows console window, read and written in UTF-16.
#include "driver/console_window.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

constexpr char32_t Replacement = 0xFFFD;

// The code point of the UTF-8 sequence at text[position], or Replacement for
// one byte that starts no valid sequence (overlong forms and surrogates
// included). Advances position past what it read.
char32_t NextCodePoint(std::string_view text, std::size_t &position) {
  const auto byte = [&](std::size_t index) { return static_cast<std::uint8_t>(text[index]); };
  const std::uint8_t lead = byte(position);
  if (lead < 0x80) {
    ++position;
    return lead;
  }
  std::size_t length = 0;
  char32_t point = 0;
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
  if (length == 0 || position + length > text.size()) {
    ++position;
    return Replacement;
  }
  for (std::size_t index = 1; index < length; ++index) {
    if ((byte(position + index) & 0xC0u) != 0x80u) {
      ++position;
      return Replacement;
    }
    point = (point << 6) | (byte(position + index) & 0x3Fu);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
    ++position;
    return Replacement;
  }
  position += length;
  return point;
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

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string wide;
  for (std::size_t position = 0; position < text.size();) {
    const char32_t point = NextCodePoint(text, position);
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

#ifdef _WIN32

namespace {

bool IsConsoleWindow(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

// What the console handed over beyond the line asked for (a pasted block
// arrives at once).
std::u16string TypedAhead;

} // namespace

bool ReadConsoleWindowLine(std::string &line) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsConsoleWindow(input)) return false;
  std::u16string typed = TypedAhead;
  std::size_t end = typed.find(u'\n');
  while (end == std::u16string::npos) {
    wchar_t buffer[256];
    DWORD count = 0;
    if (!ReadConsoleW(input, buffer, 256, &count, nullptr) || count == 0) break;
    typed.append(buffer, buffer + count);
    end = typed.find(u'\n');
  }
  TypedAhead = end == std::u16string::npos ? u"" : typed.substr(end + 1);
  typed = typed.substr(0, end);
  // A carriage return right before the line feed belongs to the line end.
  if (!typed.empty() && typed.back() == u'\r') typed.pop_back();
  // Ctrl+Z at the start of a line ends the input, as it does for the C runtime.
  if (!typed.empty() && typed.front() == u'\x1a') typed.clear();
  line = Utf16ToUtf8(typed);
  return true;
}

bool WriteConsoleWindow(std::string_view text) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!IsConsoleWindow(output)) return false;
  std::fflush(stdout);
  const std::u16string wide = Utf8ToUtf16(text);
  const std::wstring characters(wide.begin(), wide.end());
  std::size_t written = 0;
  while (written < characters.size()) {
    DWORD count = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(characters.size() - written, 4096));
    if (!WriteConsoleW(output, characters.data() + written, chunk, &count, nullptr) || count == 0)
      break;
    written += count;
  }
  return true;
}

#else

bool ReadConsoleWindowLine(std::string &) {
  return false;
}

bool WriteConsoleWindow(std::string_view) {
  return false;
}

#endif
