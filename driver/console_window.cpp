// The Windows console window, read and written in UTF-16.
#include "driver/console_window.h"

#ifdef _WIN32
#include <algorithm>
#include <cstdio>

#include "driver/line_end.h"
#include "driver/utf8_text.h"
#include "driver/windows_api.h"

namespace {

// Whether a standard handle is a console window; asked once, since the
// handles stay what they are for the whole run.
bool IsConsoleWindow(DWORD standardHandle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

// What the console handed over beyond the line asked for (a pasted block
// arrives at once).
std::u16string TypedAhead;

} // namespace

bool ReadConsoleWindowLine(std::string &line) {
  static const bool console = IsConsoleWindow(STD_INPUT_HANDLE);
  if (!console) return false;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
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
  DropLineEndReturn(typed);
  // Ctrl+Z at the start of a line ends the input, as it does for the C runtime.
  if (!typed.empty() && typed.front() == u'\x1a') typed.clear();
  line = Utf16ToUtf8(typed);
  return true;
}

bool WriteConsoleWindow(std::string_view text) {
  static const bool console = IsConsoleWindow(STD_OUTPUT_HANDLE);
  if (!console) return false;
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  std::fflush(stdout);
  // Windows' wide characters are UTF-16 units, so the text needs no copy.
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  const std::u16string wide = Utf8ToUtf16(text);
  const auto *characters = reinterpret_cast<const wchar_t *>(wide.data());
  std::size_t written = 0;
  while (written < wide.size()) {
    DWORD count = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - written, 4096));
    if (!WriteConsoleW(output, characters + written, chunk, &count, nullptr) || count == 0) break;
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
